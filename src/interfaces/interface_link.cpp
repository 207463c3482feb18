#include "interfaces/interface_link.h"

namespace tarvel {

namespace {

// What stands in while no byte link is wired: nothing opens, nothing answers.
class NoByteLink final : public ByteLink {
public:
    bool open(const std::string&, const SerialProfile&) override { return false; }
    void close() override {}
    bool isOpen() const override { return false; }
    int readByte() override { return -1; }
    std::vector<std::uint8_t> readBlock(int) override { return {}; }
    void purge() override {}
    bool waitOutputDrained(int) override { return false; }
    int bytesWaiting() override { return 0; }
    bool probe(const std::string&) override { return false; }

protected:
    bool writeBytes(std::span<const std::uint8_t>) override { return false; }
};

NoByteLink& noLink()
{
    static NoByteLink link;
    return link;
}

}  // namespace

InterfaceLink::InterfaceLink() : link_(&noLink()) {}

void InterfaceLink::setByteLink(ByteLink* link)
{
    if (link_->isOpen()) link_->close();
    link_ = link ? link : &noLink();
}

std::string InterfaceLink::deviceOf(int port) const
{
    if (port == kUsbPort) return std::string(kUsbDevice);
    if (port >= 0 && port < kComPorts) return names_.device(port);
    return {};
}

bool InterfaceLink::open(int port, const SerialProfile& profile)
{
    close();
    usb_ = port == kUsbPort;
    const std::string device = deviceOf(port);
    if (device.empty() || (usb_ && !profile.usbAllowed)) return false;
    SerialProfile used = profile;
    if (usb_) used.stopBits = 2;
    return link_->open(device, used);
}

void InterfaceLink::close()
{
    if (link_->isOpen()) link_->close();
}

}  // namespace tarvel
