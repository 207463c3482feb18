#pragma once
// A simulated interface box: it answers the program's commands byte for byte
// from a small image of its own (outputs, motors, power levels, inputs,
// analogue values, sensor IDs), prints one line for each change of that
// image, and takes commands that set its inputs, values and IDs. `tarvel box`
// serves one over a pseudo-terminal; tests and benchmarks speak to one in
// process through BoxLink.
//
// Adding a family's box: tools/boxes/<family>_box.{h,cpp} with a class
// derived from SimulatedBox that implements receive(), most through
// answerPending() (and, for a box that streams, streamPeriodMs() and
// stream()), and one line in box_registry.cpp.
// Change the image only through the setters below, so every change prints.
//
// The lines (item numbers as on the box's labels, from 1; motors A..D):
//   output N on|off      motor A fd|rev|off      power N P      power A P
//   dac V                in N on|off             val C RAW      id C ID
//   and notes of the family's own: reset, upload N, handshake, board present|absent
// Standard input takes `in N on|off`, `val C RAW` and `id C ID`.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "interfaces/io_image.h"

namespace tarvel::boxes {

// What a box answers: its bytes, with the acknowledgements marked (a box
// told to misbehave changes those), and how many commands it completed.
struct BoxReply {
    void byte(std::uint8_t b)
    {
        bytes.push_back(b);
        acks.push_back(false);
    }
    void ack(std::uint8_t b)
    {
        bytes.push_back(b);
        acks.push_back(true);
    }
    void exchangeDone() { ++exchanges; }

    std::vector<std::uint8_t> bytes;
    std::vector<bool> acks;
    int exchanges = 0;
};

struct BoxImage {
    std::array<bool, kIoCount> outputs{};
    std::array<int, kMotorCount> motors{};  // kMotorOff, kMotorForward, kMotorReverse
    std::array<int, kIoCount> power{};      // percent of full scale, per output
    std::array<int, kMotorCount> motorPower{};
    int dac = 0;
    std::array<bool, kIoCount> inputs{};
    std::array<int, kSensorChannels> values{};  // raw readings
    std::array<int, kSensorChannels> ids{};
};

using BoxPrinter = std::function<void(const std::string&)>;

class ChipDownloader;

class SimulatedBox {
public:
    explicit SimulatedBox(BoxPrinter print) : print_(std::move(print)) {}
    virtual ~SimulatedBox() = default;
    SimulatedBox(const SimulatedBox&) = delete;
    SimulatedBox& operator=(const SimulatedBox&) = delete;

    // The bytes the program sent (in any pieces); the box adds its answers.
    virtual void receive(std::span<const std::uint8_t> bytes, BoxReply& reply) = 0;
    // A box that sends without being asked: how often, and what it sends.
    virtual int streamPeriodMs() const { return 0; }
    virtual void stream(BoxReply& /*reply*/) {}
    // The program opened the line (a board that restarts then does so).
    virtual void lineOpened() {}

    // A line of standard input; false (and nothing changed) when it is not
    // a command of this box.
    virtual bool command(const std::string& line);
    const BoxImage& image() const { return image_; }

    // The largest raw reading the box reports.
    virtual int valueLimit() const { return 1023; }
    // The largest sensor ID the box can send.
    virtual int idLimit() const { return 0xFFFF; }

    // The downloader of a box that takes compiled programs, else null.
    virtual ChipDownloader* downloader() { return nullptr; }

protected:
    void setOutput(int index, bool on);
    // Bit i is output i + 1.
    void setOutputByte(int byte);
    void setMotor(int motor, int state);
    void setPower(int output, int percent);
    void setMotorPower(int motor, int percent);
    void setDac(int value);
    void setInput(int index, bool on);
    void setValue(int channel, int raw);
    void setId(int channel, int id);
    // Bit i is input i + 1.
    int inputByte() const;
    void note(const std::string& line) { print_(line); }

    // Adds `bytes` to pending_ and answers from its front for as long as
    // `answer()` takes something: it returns how many leading bytes it used,
    // 0 while the command there is still incomplete (kept for the next piece).
    template <typename Answer>
    void answerPending(std::span<const std::uint8_t> bytes, Answer&& answer)
    {
        pending_.insert(pending_.end(), bytes.begin(), bytes.end());
        while (!pending_.empty()) {
            const std::size_t used = std::min<std::size_t>(answer(), pending_.size());
            if (used == 0) break;
            pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(used));
        }
    }

    BoxImage image_;
    // The bytes received and not yet answered.
    std::vector<std::uint8_t> pending_;

private:
    BoxPrinter print_;
};

// A power level the box took, in percent of its full scale (rounded), so a
// chart's 60 % shows as 58 on a box with 31 steps.
int percentOfLevel(int level, int fullScale);

}  // namespace tarvel::boxes
