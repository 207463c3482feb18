#include "platform/qt/window_place.h"

#include <QMainWindow>
#include <QScreen>
#include <algorithm>

namespace tarvel {

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

}  // namespace tarvel
