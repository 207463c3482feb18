#pragma once
// The system's monotonic millisecond clock.

#include <QElapsedTimer>
#include <QThread>

#include "platform/clock.h"

namespace tarvel {

class QtClock final : public Clock {
public:
    QtClock() { timer_.start(); }
    std::int64_t nowMs() const override { return timer_.elapsed(); }
    void sleepMs(std::int64_t ms) override
    {
        if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
    }
    std::int64_t nowUs() const override { return timer_.nsecsElapsed() / 1000; }
    void sleepUs(std::int64_t us) override
    {
        if (us > 0) QThread::usleep(static_cast<unsigned long>(us));
    }

private:
    QElapsedTimer timer_;
};

}  // namespace tarvel
