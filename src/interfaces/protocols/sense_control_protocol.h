#pragma once
// The Sense and Control box (model 2; COM ports only). Switched on, it waits
// for its operating system, which the program uploads at every start-up where
// the box asks for it; once running it takes one command byte and answers
// without an echo.

#include <optional>
#include <vector>

#include "interfaces/protocols/interface_protocol.h"

namespace tarvel {

class SenseControlProtocol final : public InterfaceProtocol {
public:
    using InterfaceProtocol::InterfaceProtocol;

    // The command bytes.
    static constexpr std::uint8_t kHello = 0xFF;
    static constexpr std::uint8_t kHelloReply = 0x56;  // 'V'
    static constexpr std::uint8_t kStatus = 0x05;
    static constexpr std::uint8_t kWaitsForSystem = 0x56;
    static constexpr std::uint8_t kSystemStarted = 0x04;
    static constexpr std::uint8_t kFourChannelMode[2] = {0xD7, 0xC8};
    static constexpr std::uint8_t kOutputs = 0xEC;
    static constexpr std::uint8_t kInputs = 0xED;
    static constexpr std::uint8_t kAnalogue = 0xEF;
    static constexpr std::uint8_t kSensorIds = 0xC7;

    // The operating-system image: its file in the sensors directory, the
    // largest file the program takes, and the part that is loaded (from
    // 0xD000 up to 0xE000), in chunks with the output drained before each.
    static constexpr const char* kSystemFile = "SACOS_4";
    static constexpr std::size_t kSystemBufferSize = 6000;
    static constexpr std::size_t kSystemLoadSize = 0xE000 - 0xD000;
    static constexpr std::uint8_t kUploadHeader[7] = {0x80, 0xDF, 0xFD, 0xE0, 0x00, 0xD0, 0x00};
    static constexpr std::size_t kChunkSize = 10;
    static constexpr int kDrainLimitMs = 200;
    // The box needs this long to gather its sensor IDs.
    static constexpr int kSensorIdDelayMs = 100;
    // Answers with two channels are met with the mode command and a new
    // request this often before the reading counts as failed.
    static constexpr int kAnalogueRepeats = 3;

    static constexpr const char* kResetPrompt = "Presione RESET o Prende (ON) Sense & Control";

    // The hello, the pupil asked to reset the box until it answers, the
    // upload where the box asks for it, and the four-channel mode.
    bool startUp() override;
    // O236: the output byte, no reply.
    void sendOutputs(int byte) override;
    // I237: the reply is the input byte.
    int readInputs() override;
    // A239: four pairs; two pairs mean the box is in its two-channel mode.
    bool readAnalogue(std::array<int, kSensorChannels>& raw) override;
    // D199.
    std::array<int, kSensorIdChannels> readSensorIds() override;
    void allOff() override { sendOutputs(0); }

    // The part of the image that is uploaded, or nothing when the file is
    // missing, larger than the buffer or shorter than the part.
    static std::optional<std::vector<std::uint8_t>> loadSystemImage(const std::string& sensorsDir);

private:
    enum class Pairs { Four, Two, Other };

    // Step 1: the box answers the hello, or the pupil gives up.
    bool greet();
    // Step 2: whether the box runs, with its system uploaded where needed.
    bool bringUp();
    bool upload();
    Pairs readPairs(std::array<int, kSensorChannels>& raw);
};

}  // namespace tarvel
