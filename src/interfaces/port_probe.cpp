#include "interfaces/port_probe.h"

#include "platform/byte_link.h"

namespace tarvel {

PortNames PortNames::defaults()
{
    PortNames names;
    for (int n = 0; n < kComPorts; ++n) {
#ifdef _WIN32
        names.devices[static_cast<std::size_t>(n)] = "COM" + std::to_string(n + 1);
#else
        names.devices[static_cast<std::size_t>(n)] = "/dev/ttyS" + std::to_string(n);
#endif
    }
    return names;
}

void PortNames::setDevice(int port, const std::string& path)
{
    if (port >= 0 && port < kComPorts && !path.empty())
        devices[static_cast<std::size_t>(port)] = path;
}

PortPresence probePorts(ByteLink& link, const PortNames& names, int currentPort,
                        const PortPresence& previous)
{
    PortPresence present{};
    for (int n = 0; n < kComPorts; ++n) {
        const auto k = static_cast<std::size_t>(n);
        if (n == currentPort && previous[k])
            present[k] = true;
        else
            present[k] = link.probe(names.device(n));
    }
    return present;
}

int firstPresentPort(const PortPresence& present)
{
    for (int n = 0; n < kComPorts; ++n)
        if (present[static_cast<std::size_t>(n)]) return n;
    return -1;
}

int lastPresentPort(const PortPresence& present)
{
    for (int n = kComPorts - 1; n >= 0; --n)
        if (present[static_cast<std::size_t>(n)]) return n;
    return -1;
}

}  // namespace tarvel
