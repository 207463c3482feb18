#pragma once
// The byte link over QSerialPort: serial ports, USB-serial boxes and
// pseudo-terminals alike.

#include "platform/byte_link.h"

namespace tarvel {

class QtSerialLink final : public ByteLink {
public:
    bool probe(const std::string& device) override;
};

}  // namespace tarvel
