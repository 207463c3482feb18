#pragma once
// The byte-link port: the serial and USB byte streams to a control interface.
// The protocols talk to a box through it, never to a Qt class.

#include <string>

namespace tarvel {

class ByteLink {
public:
    virtual ~ByteLink() = default;
    // Opens the device for reading and writing, without sharing, and closes it
    // at once; false when it cannot be opened.
    virtual bool probe(const std::string& device) = 0;
};

}  // namespace tarvel
