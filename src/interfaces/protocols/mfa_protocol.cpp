#include "interfaces/protocols/mfa_protocol.h"

#include <algorithm>
#include <vector>

#include "platform/byte_link.h"

namespace tarvel {

namespace {

std::uint8_t byteOf(int value)
{
    return static_cast<std::uint8_t>(value & 0xFF);
}

bool sameBytes(const std::vector<std::uint8_t>& got, const std::uint8_t (&want)[4])
{
    return std::equal(got.begin(), got.end(), std::begin(want), std::end(want));
}

}  // namespace

BoardProbe MfaProtocol::probeBoard()
{
    // A failure reported already is not reported again by a probe.
    if (context().ioSuppressed()) return BoardProbe::Absent;
    for (int attempt = 0; attempt < kProbeAttempts; ++attempt) {
        // A write that fails here is only a lost attempt.
        if (!link().write({kProbe})) continue;
        const std::vector<std::uint8_t> reply = link().readBlock(4);
        if (sameBytes(reply, kBoardPresent)) return BoardProbe::Present;
        if (sameBytes(reply, kBoardAbsent)) return BoardProbe::Absent;
    }
    return BoardProbe::NoAnswer;
}

void MfaProtocol::sendOutputs(int byte)
{
    send({kOutputs, byteOf(byte)});
}

void MfaProtocol::sendDac(int value)
{
    send({kDac, byteOf(std::clamp(value, 0, 255))});
}

int MfaProtocol::readInputs()
{
    if (!send({kInputs})) return kNoReading;
    const int byte = read();
    return byte < 0 ? kNoAnswer : byte;
}

bool MfaProtocol::readAnalogue(std::array<int, kSensorChannels>& raw)
{
    if (!send({kAnalogue})) return false;
    const std::vector<std::uint8_t> reply = link().readBlock(kAnalogueReplySize);
    // The high eight bits first, then the two low bits at the top of the
    // second byte; a channel whose pair did not come whole keeps its value.
    bool any = false;
    for (int c = 0; c < kSensorChannels; ++c) {
        const auto first = static_cast<std::size_t>(kAnalogueLead + 2 * c);
        if (first + 1 >= reply.size()) break;
        raw[static_cast<std::size_t>(c)] = reply[first] * 4 + (reply[first + 1] >> 6);
        any = true;
    }
    return any;
}

void MfaProtocol::allOff()
{
    sendOutputs(0);
    if (context().ioImage().mfaBoardPresent) sendDac(0);
}

}  // namespace tarvel
