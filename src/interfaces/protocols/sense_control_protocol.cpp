#include "interfaces/protocols/sense_control_protocol.h"

#include <algorithm>
#include <fstream>

#include "platform/byte_link.h"
#include "platform/file_lookup.h"
#include "platform/messages.h"
#include "platform/utf8_path.h"

namespace tarvel {

namespace {

// What a high byte of a sensor ID says besides an ID.
constexpr int kIdNoSensor = 0xFF;
constexpr int kIdUnchanged = 0xFE;

std::size_t at(int i)
{
    return static_cast<std::size_t>(i);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> SenseControlProtocol::loadSystemImage(
    const std::string& sensorsDir)
{
    const auto path = findIgnoringCase(pathFromUtf8(sensorsDir), kSystemFile);
    if (!path) return std::nullopt;
    std::ifstream in(*path, std::ios::binary);
    if (!in) return std::nullopt;
    // One byte past the buffer tells a file that does not fit it.
    std::vector<std::uint8_t> image(kSystemBufferSize + 1);
    in.read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(image.size()));
    const auto size = static_cast<std::size_t>(in.gcount());
    // A file too large for the buffer, or too short for the part the box
    // loads, is no image of this box: nothing of it is sent.
    if (size > kSystemBufferSize || size < kSystemLoadSize) return std::nullopt;
    image.resize(kSystemLoadSize);
    return image;
}

bool SenseControlProtocol::startUp()
{
    return greet() && bringUp();
}

bool SenseControlProtocol::greet()
{
    // Only the pupil can reset the box; the question repeats for as long as
    // OK is chosen and the box keeps quiet.
    for (;;) {
        if (!send({kHello})) return false;
        if (read() == kHelloReply) return true;
        LinkShell& shell = context().shell();
        shell.stopRunTimers();
        const MsgAnswer answer = context().messages().show(
            caption::Message, kResetPrompt, MsgIcon::Information, MsgButtons::OkCancel);
        if (answer == MsgAnswer::Cancel) {
            shell.resumeRunTimers();
            return false;
        }
        link().purge();
        shell.resumeRunTimers();
    }
}

bool SenseControlProtocol::bringUp()
{
    link().purge();
    if (!send({kStatus})) return false;
    const int status = read();
    if (status < 0) return false;
    if (status == kWaitsForSystem) {
        if (!upload() || !send({kStatus})) return false;
        if (read() != kSystemStarted) return false;
    }
    return send(std::span<const std::uint8_t>(kFourChannelMode));
}

bool SenseControlProtocol::upload()
{
    const auto image = loadSystemImage(context().sensorsDirectory());
    if (!image) return false;
    if (!send(std::span<const std::uint8_t>(kUploadHeader))) return false;
    // The box takes the image no faster than the line carries it: each chunk
    // goes once the last one has left.
    for (std::size_t from = 0; from < image->size(); from += kChunkSize) {
        if (!link().waitOutputDrained(kDrainLimitMs)) return false;
        const std::size_t n = std::min(kChunkSize, image->size() - from);
        if (!send(std::span<const std::uint8_t>(image->data() + from, n))) return false;
    }
    return true;
}

void SenseControlProtocol::sendOutputs(int byte)
{
    send({kOutputs, static_cast<std::uint8_t>(byte & 0xFF)});
}

int SenseControlProtocol::readInputs()
{
    if (!send({kInputs})) return kNoReading;
    const int byte = read();
    return byte < 0 ? kNoAnswer : byte;
}

bool SenseControlProtocol::readAnalogue(std::array<int, kSensorChannels>& raw)
{
    for (int request = 0;; ++request) {
        if (!send({kAnalogue})) return false;
        std::array<int, kSensorChannels> got = raw;
        switch (readPairs(got)) {
            case Pairs::Four:
                raw = got;
                return true;
            case Pairs::Two:
                // The box is in its two-channel mode (it was reset since the
                // start-up): switch it back and ask again, a few times.
                if (request == kAnalogueRepeats) return false;
                if (!send(std::span<const std::uint8_t>(kFourChannelMode))) return false;
                break;
            case Pairs::Other:
                fail();
                return false;
        }
    }
}

SenseControlProtocol::Pairs SenseControlProtocol::readPairs(std::array<int, kSensorChannels>& raw)
{
    // The high eight bits first, then the two low bits at the top of the
    // second byte; the fourth pair ends the answer, a silence any other.
    int pairs = 0;
    for (; pairs < kSensorChannels; ++pairs) {
        const int high = read();
        if (high < 0) break;
        const int low = read();
        if (low < 0) return Pairs::Other;
        raw[at(pairs)] = high * 4 + (low >> 6);
    }
    if (pairs == kSensorChannels) return Pairs::Four;
    return pairs == 2 ? Pairs::Two : Pairs::Other;
}

std::array<int, kSensorIdChannels> SenseControlProtocol::readSensorIds()
{
    std::array<int, kSensorIdChannels> ids;
    ids.fill(kSensorIdUnknown);
    if (!send({kSensorIds})) return ids;
    waitMs(kSensorIdDelayMs);
    // The four low bytes, then the four high bytes; an answer cut short is
    // no answer.
    std::array<int, 2 * kSensorIdChannels> bytes{};
    for (int& b : bytes) {
        b = read();
        if (b < 0) return ids;
    }
    for (int c = 0; c < kSensorIdChannels; ++c) {
        const int high = bytes[at(kSensorIdChannels + c)];
        const int low = bytes[at(c)];
        if (high == kIdNoSensor)
            ids[at(c)] = kSensorIdAbsent;
        else if (high != kIdUnchanged)
            ids[at(c)] = high * 256 + low;
    }
    return ids;
}

}  // namespace tarvel
