#include "platform/qt/qt_sound_player.h"

#include <QSoundEffect>

#include "platform/cp1252.h"
#include "platform/sound_path.h"

namespace tarvel {

QtSoundPlayer::QtSoundPlayer(std::function<std::string()> chartDir, QObject* parent)
    : QObject(parent), chartDir_(std::move(chartDir))
{
}

QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::play(int /*slot*/, const std::string& path)
{
    stop();
    const std::string file =
        resolveSoundPath(cp1252ToUtf8(path), chartDir_ ? chartDir_() : std::string());
    if (file.empty()) return;
    if (!effect_) effect_ = std::make_unique<QSoundEffect>();
    source_ = QUrl::fromLocalFile(QString::fromStdString(file));
    effect_->setSource(source_);
    // Asynchronous: a sound still loading starts as soon as it is read.
    effect_->play();
}

bool QtSoundPlayer::loading() const
{
    return effect_ && effect_->status() == QSoundEffect::Loading;
}

void QtSoundPlayer::stop()
{
    source_.clear();
    if (effect_) effect_->stop();
}

}  // namespace tarvel
