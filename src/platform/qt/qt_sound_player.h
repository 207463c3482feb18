#pragma once
// The sound port on Qt Multimedia: one QSoundEffect, so that a new sound cuts
// the one still playing. Slot texts are Windows-1252 bytes; the file is
// looked for as resolveSoundPath says. A file that is missing or no WAV, or a
// machine without an audio device, plays nothing and raises nothing.

#include <QObject>
#include <QUrl>
#include <functional>
#include <memory>

#include "platform/sound_player.h"

class QSoundEffect;

namespace tarvel {

class QtSoundPlayer final : public QObject, public SoundPlayer {
    Q_OBJECT
public:
    // `chartDir` gives the folder of the chart in memory when a sound plays.
    explicit QtSoundPlayer(std::function<std::string()> chartDir, QObject* parent = nullptr);
    ~QtSoundPlayer() override;

    void play(int slot, const std::string& path) override;
    void stop() override;

    // The file last given to the effect (empty after a stop or a file not found).
    QUrl source() const { return source_; }
    // The effect is still reading its file on the loader thread.
    bool loading() const;

private:
    std::function<std::string()> chartDir_;
    // Made on the first sound: opening the audio output costs time at start-up.
    std::unique_ptr<QSoundEffect> effect_;
    QUrl source_;
};

}  // namespace tarvel
