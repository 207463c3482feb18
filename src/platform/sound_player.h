#pragma once
// The sound port: plays a WAV file asynchronously. Having no audio device is
// never an error; a run stop cuts a playing sound off.

#include <string>

namespace tarvel {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const std::string& path) = 0;
    virtual void stop() = 0;
};

}  // namespace tarvel
