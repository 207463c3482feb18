#pragma once
// The COM ports COM1..COM6 and which of them are present.

#include <array>
#include <string>

namespace tarvel {

class ByteLink;

inline constexpr int kComPorts = 6;
inline constexpr int kUsbPort = -1;

// The device behind each COM port number 0..5: "COM1".. on Windows,
// /dev/ttyS0.. elsewhere, unless the configuration names another path.
struct PortNames {
    std::array<std::string, kComPorts> devices;

    static PortNames defaults();
    // An override from the configuration ("COM1".."COM6" keys); empty keeps the default.
    void setDevice(int port, const std::string& path);
    const std::string& device(int port) const { return devices.at(static_cast<std::size_t>(port)); }
};

using PortPresence = std::array<bool, kComPorts>;

// Probes every port except the one in use when it is already marked present
// (the program itself holds it open, so a probe would fail).
PortPresence probePorts(ByteLink& link, const PortNames& names, int currentPort,
                        const PortPresence& previous);

// The first present port from COM1, or -1 when none is present.
int firstPresentPort(const PortPresence& present);
int lastPresentPort(const PortPresence& present);

}  // namespace tarvel
