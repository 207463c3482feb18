#pragma once
// Where the program's tool windows stand in relation to the main window.

#include <QRect>
#include <functional>

class QMainWindow;
class QObject;
class QWidget;

namespace tarvel {

// The main window's client area (the chart's view), in screen coordinates.
QRect clientAreaOf(const QMainWindow& frame);
// The part of the screen a window of `w`'s may use.
QRect screenAreaOf(const QWidget& w);
// Moves a shown window so its outer edge stands on the bottom of `client`,
// flush with its left edge, raised as far as needed to stay on `screen`.
void placeOnBottom(QWidget& window, const QRect& client, const QRect& screen);
// Calls `replace` whenever the main window's client area moves or changes
// size on the screen (a resize, a zoom, the window dragged), so that what
// stands along its bottom keeps to it. The watch ends with `owner`.
void followClientArea(QMainWindow& frame, QObject& owner, std::function<void()> replace);

}  // namespace tarvel
