#pragma once
// The wire side of the interface layer: one object per protocol family turns
// the layer's operations into the bytes of its box. The layer decides what
// to send and when (Connect, StartRun, WriteOutputs, PollInputs, ...) and
// keeps the image, the flags and the displays; a family only speaks.
//
// Adding a family:
//  1. src/interfaces/protocols/<family>_protocol.{h,cpp}: a class derived
//     from InterfaceProtocol overriding the commands its box has (the rest
//     send nothing and read nothing). Talk through send(), read(), ack() and
//     link() (the ByteLink port: readBlock, bytesWaiting, purge,
//     waitOutputDrained); never through Qt.
//  2. One line in protocol_registry.cpp: its ProtocolFamily and factory.
//  3. Its ModelTraits rows (model_traits.cpp) name the family and the serial
//     profile the layer opens the port with.
//  4. Its simulated box: tools/boxes/<family>_box.{h,cpp} and one line in
//     tools/boxes/box_registry.cpp (see simulated_box.h).
//  5. Tests in tests/interfaces/protocols/ over the scripted FakeByteLink
//     (support/protocol_harness.h sets up a live layer), and over a
//     pseudo-terminal with `tarvel box` (support/box_process.h).
//
// Failures: send() and ack() call the handler themselves (a failed write, a
// missing or wrong acknowledgement); call fail() for any other failure the
// family's rules name. The handler may close and reopen the link before
// fail() returns: return at once after a failure and keep no exchange state
// across it. While ioSuppressed(), send() sends nothing and read() reads
// nothing, so a dead link costs no time-outs.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>

#include "interfaces/io_image.h"
#include "interfaces/protocols/protocol_context.h"
#include "interfaces/sensor_id_reader.h"

namespace tarvel {

class ByteLink;

// readInputs() besides a byte 0..255: the read failed (already reported, or
// a failure the family's rules let pass) ...
inline constexpr int kNoReading = -1;
// ... or the box said nothing. Three polls in a row without an answer are
// taken for a dead box and go to the handler.
inline constexpr int kNoAnswer = -2;

// What a probe for an extension board found (the MFA's).
enum class BoardProbe { Present, Absent, NoAnswer };

class InterfaceProtocol {
public:
    explicit InterfaceProtocol(ProtocolContext& context) : ctx_(context) {}
    virtual ~InterfaceProtocol() = default;
    InterfaceProtocol(const InterfaceProtocol&) = delete;
    InterfaceProtocol& operator=(const InterfaceProtocol&) = delete;

    // ---- Start-up and upkeep ---------------------------------------------------
    // Connect, once the port is open (or failed to open): handshakes,
    // uploads, keep-alive timers. False: the start-up failed, and the layer
    // reports it once.
    virtual bool startUp() { return true; }
    // The extension-board probe of Connect and StartRun.
    virtual BoardProbe probeBoard() { return BoardProbe::Absent; }
    // Once per pass of a run, before the tasks (a keep-alive by the clock).
    virtual void runTick() {}
    // A keep-alive timer this family started (context().shell()) fired.
    virtual void keepAlive(int /*timerId*/) {}

    // ---- The commands ----------------------------------------------------------
    virtual void reset() {}
    virtual void sendOutputs(int /*byte*/) {}
    virtual void sendMotors(int /*byte*/) {}
    virtual void sendDac(int /*value*/) {}
    // One power level 0..100: per output, per motor or per output of a pair,
    // as the layer's SetPower and SetMotorPower choose for the family.
    virtual void sendPower(int /*index*/, int /*percent*/) {}
    // Every output's level, as Connect, StartRun and ResetOutputs send them:
    // by default each in turn.
    virtual void sendAllPowers(const std::array<int, kIoCount>& percent);
    // The input byte as the box reports it, kNoReading or kNoAnswer.
    virtual int readInputs() { return kNoReading; }
    // Raw readings 0..1024 of channels 1..4 into `raw`; a channel that was
    // not read keeps its value. False when nothing was read.
    virtual bool readAnalogue(std::array<int, kSensorChannels>& /*raw*/) { return false; }
    // The sensor IDs of channels 1..4 (kSensorIdUnknown where none came).
    virtual std::array<int, kSensorIdChannels> readSensorIds();
    // Every output and motor off.
    virtual void allOff() {}

protected:
    ProtocolContext& context() { return ctx_; }
    ByteLink& link() { return ctx_.link(); }
    // Writes the bytes in one call; a failed write goes to the handler.
    bool send(std::initializer_list<std::uint8_t> bytes);
    bool send(std::span<const std::uint8_t> bytes);
    // One byte, or -1 when none came within the time-outs.
    int read();
    // Reads a byte; if it is not `expected` reads one more; if that is not
    // it either, the handler is called.
    bool ack(std::uint8_t expected);
    void fail() { ctx_.communicationError(); }
    void waitMs(int ms);

private:
    ProtocolContext& ctx_;
};

}  // namespace tarvel
