#pragma once
// Windows as wide as their title: a window manager cuts a caption that does
// not fit its title bar short ("El diagrama … o modificado"), so a box or a
// small window is made at least this wide.

#include <QString>

class QGridLayout;
class QMessageBox;
class QWidget;

namespace tarvel {

// The width a window needs so that its title bar shows `title` whole beside
// the bar's own icon and buttons.
int widthForTitle(const QWidget& window, const QString& title);
// Makes the window that `grid` lays out at least as wide as its title needs,
// with a spacer across a new bottom row (call it once the title is set).
void reserveTitleWidth(QGridLayout& grid, const QWidget& window);
// The same for a message box, whose text and buttons may ask for less.
void fitTitle(QMessageBox& box);

}  // namespace tarvel
