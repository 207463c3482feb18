#pragma once
// The I/O image: what the interface has been told and what it reports. The
// interpreter, the monitors, the mimics and the data logger all read and write
// it through the interface layer.

#include <array>

namespace tarvel {

// The inputs and outputs of a box, its motors (an output pair each) and its
// analogue channels.
inline constexpr int kIoCount = 8;
inline constexpr int kMotorCount = 4;
inline constexpr int kSensorChannels = 4;

struct IoImage {
    std::array<int, 8> outputs{};      // outputs 1..8 at 0..7; bit i of the output byte
    std::array<int, 8> motorLines{};   // motor m: forward line 2m, reverse line 2m+1
    std::array<int, 8> outputPower{};  // percent; with a motor bank 2m and 2m+1 hold motor m's
    std::array<int, 8> inputs{};       // inputs 1..8 at 0..7
    std::array<int, 4> analogue{};     // raw readings 0..1024
    std::array<int, 4> analoguePrevious{};
    int sentOutputByte = 0;
    int sentMotorByte = 0;
    int lastInputByte = 0;
    int dacValue = 0;
    int sentDacValue = 0;
    int mfaBoardPresent = 0;

    int outputByte() const
    {
        int b = 0;
        for (int i = 0; i < 8; ++i) b |= (outputs[static_cast<std::size_t>(i)] ? 1 : 0) << i;
        return b;
    }
    int motorByte() const
    {
        int b = 0;
        for (int i = 0; i < 8; ++i) b |= (motorLines[static_cast<std::size_t>(i)] ? 1 : 0) << i;
        return b;
    }
};

// Displayed motor states.
inline constexpr int kMotorOff = 0;
inline constexpr int kMotorReverse = 1;
inline constexpr int kMotorForward = 3;

// How motors map onto lines and outputs for the interface in use (set by Connect).
struct MotorEncoding {
    bool separateMotorBank = false;
    bool outputsMirrorMotors = true;
    bool motorsDriveOutputs = false;
    // The first flag for motors A and B (outputs 1-4), the second for C and D.
    std::array<int, 2> encodingFlag{1, 1};

    int flagOfMotor(int m) const { return encodingFlag[m < 2 ? 0 : 1]; }

    // Forward is (1, 0); reverse is (flag, 1), so with flag 1 both lines are on
    // and with flag 0 only the second; anything else reads as off.
    int motorState(const IoImage& image, int m) const
    {
        const int f = image.motorLines[static_cast<std::size_t>(2 * m)];
        const int r = image.motorLines[static_cast<std::size_t>(2 * m + 1)];
        if (f == 1 && r == 0) return kMotorForward;
        if (f == flagOfMotor(m) && r == 1) return kMotorReverse;
        return kMotorOff;
    }

    void setMotorLines(IoImage& image, int m, int state) const
    {
        auto& f = image.motorLines[static_cast<std::size_t>(2 * m)];
        auto& r = image.motorLines[static_cast<std::size_t>(2 * m + 1)];
        if (state == kMotorForward) {
            f = 1;
            r = 0;
        } else if (state == kMotorReverse) {
            f = flagOfMotor(m);
            r = 1;
        } else {
            f = 0;
            r = 0;
        }
    }

    friend bool operator==(const MotorEncoding&, const MotorEncoding&) = default;
};

}  // namespace tarvel
