#pragma once
// The millisecond clock port. The interpreter and data capture count
// hundredths of a second from it; tests drive a fake one.

#include <cstdint>

namespace tarvel {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary fixed point; never goes backwards.
    virtual std::int64_t nowMs() const = 0;
    // Blocks the thread for the given time (used only by the wire protocols).
    virtual void sleepMs(std::int64_t ms) = 0;

    std::int64_t nowCentiseconds() const { return nowMs() / 10; }

    // Microseconds, for a pace that must never come short by the rounding of
    // a millisecond reading. A clock that counts milliseconds only gives
    // nowMs x 1000 and sleeps whole milliseconds.
    virtual std::int64_t nowUs() const { return nowMs() * 1000; }
    virtual void sleepUs(std::int64_t us)
    {
        if (us > 0) sleepMs((us + 999) / 1000);
    }
};

}  // namespace tarvel
