#pragma once
// A clock for tests: time moves only when the test says so, and sleeping
// advances it at once.

#include "platform/clock.h"

namespace tarvel::test {

class FakeClock final : public Clock {
public:
    std::int64_t nowMs() const override { return now; }
    void sleepMs(std::int64_t ms) override
    {
        if (ms > 0) {
            now += ms;
            slept += ms;
        }
    }
    void advance(std::int64_t ms) { now += ms; }

    std::int64_t now = 0;
    std::int64_t slept = 0;
};

}  // namespace tarvel::test
