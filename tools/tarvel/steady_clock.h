#pragma once
// The real clock of the tool's commands that talk to a box: milliseconds
// since the tool started.

#include <chrono>
#include <thread>

#include "platform/clock.h"

namespace tarvel::tool {

class SteadyClock final : public Clock {
public:
    std::int64_t nowMs() const override
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - start_)
            .count();
    }
    void sleepMs(std::int64_t ms) override
    {
        if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
    std::int64_t nowUs() const override
    {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now() - start_)
            .count();
    }
    void sleepUs(std::int64_t us) override
    {
        if (us > 0) std::this_thread::sleep_for(std::chrono::microseconds(us));
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace tarvel::tool
