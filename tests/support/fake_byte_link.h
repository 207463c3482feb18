#pragma once
// A byte link for tests: a scripted box. Bytes it "sends" are queued with
// feed() or as the reply to a write (replyTo); every write is recorded, every
// probe too. Reads take from the queue at once and give -1 when it is empty,
// as a real port does after its time-outs.

#include <cstdint>
#include <deque>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/byte_link.h"

namespace tarvel::test {

using Bytes = std::vector<std::uint8_t>;

class FakeByteLink final : public ByteLink {
public:
    bool open(const std::string& device, const SerialProfile& profile) override
    {
        opened.push_back(device);
        openProfile = profile;
        open_ = !refuseOpen;
        input.clear();
        return open_;
    }
    void close() override
    {
        if (open_) ++closes;
        open_ = false;
    }
    bool isOpen() const override { return open_; }

    int readByte() override
    {
        if (!open_ || input.empty()) {
            ++timeouts;
            return -1;
        }
        const int b = input.front();
        input.pop_front();
        return b;
    }
    std::vector<std::uint8_t> readBlock(int count) override
    {
        Bytes out;
        while (static_cast<int>(out.size()) < count && open_ && !input.empty()) {
            out.push_back(input.front());
            input.pop_front();
        }
        if (static_cast<int>(out.size()) < count) ++timeouts;
        return out;
    }
    void purge() override
    {
        ++purges;
        input.clear();
    }
    bool waitOutputDrained(int) override { return open_ && !stuckOutput; }
    int bytesWaiting() override { return open_ ? static_cast<int>(input.size()) : 0; }
    bool probe(const std::string& device) override
    {
        probed.push_back(device);
        return present.count(device) > 0;
    }

    // The box sends these bytes now.
    void feed(const Bytes& bytes) { input.insert(input.end(), bytes.begin(), bytes.end()); }
    // The box answers `reply` to the next write equal to `written`; the
    // replies are matched in the order they were scripted.
    void replyTo(Bytes written, Bytes reply)
    {
        script.emplace_back(std::move(written), std::move(reply));
    }

    std::set<std::string> present;    // devices a probe finds
    std::vector<std::string> probed;  // every device probed, in order
    std::vector<std::string> opened;  // every device opened, in order
    SerialProfile openProfile;        // the profile of the last open
    bool refuseOpen = false;          // open fails
    bool failWrites = false;          // every write fails
    bool stuckOutput = false;         // the output never drains
    std::vector<Bytes> writes;        // every write that went out
    std::deque<std::uint8_t> input;   // what waits to be read
    std::deque<std::pair<Bytes, Bytes>> script;
    int purges = 0, closes = 0, timeouts = 0;

protected:
    bool writeBytes(std::span<const std::uint8_t> bytes) override
    {
        if (!open_ || failWrites) return false;
        writes.emplace_back(bytes.begin(), bytes.end());
        if (!script.empty() && script.front().first == writes.back()) {
            feed(script.front().second);
            script.pop_front();
        }
        return true;
    }

private:
    bool open_ = false;
};

}  // namespace tarvel::test
