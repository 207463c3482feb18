#pragma once
// How fast the interpreter runs: the timer period, the symbols each task runs
// per tick, and single stepping with one hold flag per task.

#include <array>

namespace tarvel {

inline constexpr int kMaxTasks = 20;
inline constexpr int kMinInterval = 20;
inline constexpr int kSliderMax = 1000;

struct SpeedSettings {
    int interval = 20;     // timer period in ms, at least 20
    int multiplicity = 1;  // passes per tick, at least 1
    bool singleStep = false;
    std::array<bool, kMaxTasks> holdFlags{};
    int heldCount = 0;

    // Positions 0..800 shorten the timer from 820 ms to 20 ms with one pass per
    // tick; 801..1000 keep 20 ms and raise the passes from 1 to 101.
    int sliderPosition() const { return 2 * multiplicity - interval + 818; }
    void applySlider(int position)
    {
        const int m = (position - 798) / 2;  // truncates toward zero
        multiplicity = m < 1 ? 1 : m;
        const int i = 820 - position;
        interval = i < kMinInterval ? kMinInterval : i;
    }

    void holdAll()
    {
        holdFlags.fill(true);
        heldCount = kMaxTasks;
    }
    void releaseAll()
    {
        holdFlags.fill(false);
        heldCount = 0;
    }
};

}  // namespace tarvel
