#pragma once
// The byte link over QSerialPort in its blocking form: serial ports,
// USB-serial boxes and pseudo-terminals alike. Reads wait with
// waitForReadyRead for at most the profile's time-outs.

#include <memory>

#include "platform/byte_link.h"

class QSerialPort;

namespace tarvel {

class QtSerialLink final : public ByteLink {
public:
    QtSerialLink();
    ~QtSerialLink() override;
    QtSerialLink(const QtSerialLink&) = delete;
    QtSerialLink& operator=(const QtSerialLink&) = delete;

    bool open(const std::string& device, const SerialProfile& profile) override;
    void close() override;
    bool isOpen() const override;
    int readByte() override;
    std::vector<std::uint8_t> readBlock(int count) override;
    void purge() override;
    bool waitOutputDrained(int limitMs) override;
    int bytesWaiting() override;
    bool probe(const std::string& device) override;

protected:
    bool writeBytes(std::span<const std::uint8_t> bytes) override;

private:
    // Takes into the port's buffer whatever the device holds already.
    void takePending();

    std::unique_ptr<QSerialPort> port_;
    SerialTimeouts timeouts_;
};

}  // namespace tarvel
