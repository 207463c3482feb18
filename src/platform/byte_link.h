#pragma once
// The byte-link port: the serial and USB byte streams to a control interface.
// The protocols talk to a box through it, never to a Qt class. Every call
// blocks for at most the time-outs of the profile the link was opened with.

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

// The five time-outs of a port, in milliseconds. A read of n bytes gives up
// once readTotalMultiplier x n + readTotalConstant have passed, or once more
// than readInterval pass between two bytes after the first has arrived; a
// write of n bytes likewise after writeTotalMultiplier x n + writeTotalConstant.
struct SerialTimeouts {
    int readInterval = 0;
    int readTotalMultiplier = 0;
    int readTotalConstant = 0;
    int writeTotalMultiplier = 0;
    int writeTotalConstant = 0;

    constexpr int readTotalMs(int count) const
    {
        return readTotalMultiplier * count + readTotalConstant;
    }
    constexpr int writeTotalMs(int count) const
    {
        return writeTotalMultiplier * count + writeTotalConstant;
    }
    friend bool operator==(const SerialTimeouts&, const SerialTimeouts&) = default;
};

// How a port is opened for one kind of box: 9600 baud, 8 data bits, no parity,
// DTR and RTS on, no flow control, the profile's stop bits and time-outs, and
// the queue sizes asked of the driver (0: the driver keeps its own).
struct SerialProfile {
    std::string_view name;
    int baud = 9600;
    int stopBits = 1;
    SerialTimeouts timeouts;
    int inputQueue = 0;
    int outputQueue = 0;
    bool usbAllowed = false;

    friend bool operator==(const SerialProfile&, const SerialProfile&) = default;
};

inline constexpr int kLinkBaud = 9600;

// The device name of the USB box: the link opens the serial device whose USB
// description is "Quillo", wherever the system put it.
inline constexpr std::string_view kUsbDevice = "usb";
inline constexpr std::string_view kUsbDescription = "Quillo";
inline constexpr SerialTimeouts kTimeouts500{500, 500, 500, 500, 500};
inline constexpr SerialTimeouts kTimeouts100{100, 100, 100, 100, 100};

inline constexpr SerialProfile kDeltronicsProfile{"Deltronics", kLinkBaud, 1,    kTimeouts500,
                                                  128,          128,       false};
inline constexpr SerialProfile kSenseControlProfile{
    "SenseControl", kLinkBaud, 2, kTimeouts100, 0, 0, false};
inline constexpr SerialProfile kMfaProfile{"Mfa", kLinkBaud, 1, kTimeouts100, 0, 0, false};
inline constexpr SerialProfile kContactControllerProfile{
    "ContactController", kLinkBaud, 2, kTimeouts500, 128, 128, true};
// Downloads to the chip system and to Quillo: one stop bit on a COM port; the
// USB box is always opened with two.
inline constexpr SerialProfile kDownloadProfile{"Download", kLinkBaud, 1,   kTimeouts500,
                                                128,        128,       true};
inline constexpr SerialProfile kLegoProfile{"Lego", kLinkBaud, 1, kTimeouts500, 1900, 128, false};
inline constexpr SerialProfile kFischertechnikProfile{
    "Fischertechnik", kLinkBaud, 1, {200, 100, 200, 100, 200}, 1900, 128, false};

// The Arduino board with the standard Firmata firmware talks at 57 600 baud;
// its reports arrive unasked, so reads only take what already waits.
inline constexpr int kFirmataBaud = 57600;
inline constexpr SerialProfile kFirmataProfile{"Firmata", kFirmataBaud, 1, kTimeouts100, 0,
                                               0,         false};

class ByteLink {
public:
    virtual ~ByteLink() = default;

    // Opens the device with a profile and empties both queues; false when the
    // device cannot be opened or takes none of the settings.
    virtual bool open(const std::string& device, const SerialProfile& profile) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // One byte 0..255, or -1 when none arrived within the read time-outs.
    virtual int readByte() = 0;
    // Up to `count` bytes, fewer when the read time-outs end it first.
    virtual std::vector<std::uint8_t> readBlock(int count) = 0;
    // Writes all the bytes in one call; false when they could not all go out
    // within the write time-outs.
    bool write(std::span<const std::uint8_t> bytes) { return writeBytes(bytes); }
    bool write(std::initializer_list<std::uint8_t> bytes)
    {
        return writeBytes(std::span<const std::uint8_t>(bytes.begin(), bytes.size()));
    }
    // Throws away whatever waits in either direction.
    virtual void purge() = 0;
    // Waits until every byte written has left, for at most limitMs; false on time-out.
    virtual bool waitOutputDrained(int limitMs) = 0;
    // The bytes received and not yet read (the input-queue count).
    virtual int bytesWaiting() = 0;

    // Opens the device for reading and writing, without sharing, and closes it
    // at once; false when it cannot be opened.
    virtual bool probe(const std::string& device) = 0;

protected:
    virtual bool writeBytes(std::span<const std::uint8_t> bytes) = 0;
};

}  // namespace tarvel
