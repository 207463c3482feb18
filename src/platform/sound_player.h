#pragma once
// The sound port: plays a WAV file asynchronously. Having no audio device is
// never an error; a new sound cuts the one still playing, and so does a run stop.

#include <string>

namespace tarvel {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // `slot` (0..9) is the chart's sound slot the path came from.
    virtual void play(int slot, const std::string& path) = 0;
    virtual void stop() = 0;
};

}  // namespace tarvel
