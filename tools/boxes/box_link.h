#pragma once
// A byte link to a simulated box in the same process: what is written goes
// to the box at once and its answer waits to be read, so nothing ever waits
// for a time-out except on a box told to misbehave (then a read finds
// nothing and gives -1 at once). For core tests and benchmarks.

#include <deque>
#include <memory>

#include "box_session.h"
#include "platform/byte_link.h"

namespace tarvel::boxes {

class BoxLink final : public ByteLink {
public:
    explicit BoxLink(BoxSession& session) : session_(session) {}

    bool open(const std::string& device, const SerialProfile& profile) override
    {
        opened = device;
        profileUsed = profile;
        open_ = true;
        input_.clear();
        return true;
    }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    int readByte() override
    {
        if (!open_ || input_.empty()) return -1;
        const int b = input_.front();
        input_.pop_front();
        return b;
    }
    std::vector<std::uint8_t> readBlock(int count) override
    {
        std::vector<std::uint8_t> out;
        while (open_ && static_cast<int>(out.size()) < count && !input_.empty()) {
            out.push_back(input_.front());
            input_.pop_front();
        }
        return out;
    }
    void purge() override { input_.clear(); }
    bool waitOutputDrained(int) override { return open_; }
    int bytesWaiting() override
    {
        // A streaming box has sent its next frame by the time anyone looks.
        if (open_) take(session_.stream());
        return static_cast<int>(input_.size());
    }
    bool probe(const std::string&) override { return true; }

    std::string opened;
    SerialProfile profileUsed;

protected:
    bool writeBytes(std::span<const std::uint8_t> bytes) override
    {
        if (!open_) return false;
        take(session_.receive(bytes));
        return true;
    }

private:
    void take(const std::vector<std::uint8_t>& bytes)
    {
        input_.insert(input_.end(), bytes.begin(), bytes.end());
    }

    BoxSession& session_;
    bool open_ = false;
    std::deque<std::uint8_t> input_;
};

}  // namespace tarvel::boxes
