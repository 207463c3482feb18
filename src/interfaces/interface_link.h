#pragma once
// The link to the box of the chosen interface: the device a port number
// names (COM1..COM6 as configured, or the USB box), opening it with the
// model's serial profile, and the time of the last good exchange that the
// keep-alives read. One per main window, over the byte-link port.

#include <cstdint>
#include <string>

#include "interfaces/port_probe.h"
#include "platform/byte_link.h"

namespace tarvel {

class InterfaceLink {
public:
    InterfaceLink();

    // No byte link: every open fails, every write fails, every read is -1.
    void setByteLink(ByteLink* link);
    void setPortNames(const PortNames& names) { names_ = names; }
    const PortNames& portNames() const { return names_; }
    ByteLink& byteLink() { return *link_; }

    // The device a port number names: the configured COM device for 0..5,
    // kUsbDevice for -1; empty for any other number.
    std::string deviceOf(int port) const;
    // Opens the device of `port` with the profile. Only profiles that allow
    // USB reach the USB box, and always with two stop bits. False when the
    // port cannot be used or opened (the first exchange then fails).
    bool open(int port, const SerialProfile& profile);
    void close();
    bool isOpen() const { return link_->isOpen(); }
    bool overUsb() const { return usb_; }

    // Milliseconds on the program's clock of the last good exchange.
    std::int64_t lastExchange = 0;

private:
    ByteLink* link_;
    PortNames names_ = PortNames::defaults();
    bool usb_ = false;
};

}  // namespace tarvel
