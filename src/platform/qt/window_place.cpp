#include "platform/qt/window_place.h"

#include <QEvent>
#include <QMainWindow>
#include <QScreen>
#include <algorithm>

namespace tarvel {

namespace {

// Watches the frame (it moves) and its client (it moves within the frame
// and changes size when the frame does).
class ClientAreaWatch final : public QObject {
public:
    ClientAreaWatch(QMainWindow& frame, QObject& owner, std::function<void()> replace)
        : QObject(&owner), replace_(std::move(replace))
    {
        frame.installEventFilter(this);
        if (QWidget* client = frame.centralWidget()) client->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize) replace_();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> replace_;
};

}  // namespace

QRect clientAreaOf(const QMainWindow& frame)
{
    const QWidget* client = frame.centralWidget();
    return client ? QRect(client->mapToGlobal(QPoint(0, 0)), client->size()) : frame.geometry();
}

QRect screenAreaOf(const QWidget& w)
{
    const QScreen* screen = w.screen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

void placeOnBottom(QWidget& window, const QRect& client, const QRect& screen)
{
    const int h = window.frameGeometry().height();
    const int y = std::min(client.bottom() + 1 - h, screen.bottom() + 1 - h);
    window.move(client.left(), std::max(y, screen.top()));
}

void followClientArea(QMainWindow& frame, QObject& owner, std::function<void()> replace)
{
    new ClientAreaWatch(frame, owner, std::move(replace));
}

}  // namespace tarvel
