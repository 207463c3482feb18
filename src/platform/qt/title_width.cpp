#include "platform/qt/title_width.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <algorithm>

namespace tarvel {

namespace {
// The title bar's icon, its minimise, maximise and close buttons and its
// padding, as the common window managers draw them.
constexpr int kTitleBarExtras = 140;
}  // namespace

int widthForTitle(const QWidget& window, const QString& title)
{
    // Title bars use a bold face, often a little larger than the dialog's.
    QFont font = window.font();
    font.setBold(true);
    if (font.pointSizeF() > 0) font.setPointSizeF(font.pointSizeF() * 1.1);
    return QFontMetrics(font).horizontalAdvance(title) + kTitleBarExtras;
}

void reserveTitleWidth(QGridLayout& grid, const QWidget& window)
{
    const QMargins m = grid.contentsMargins();
    const int want = widthForTitle(window, window.windowTitle()) - m.left() - m.right();
    grid.addItem(new QSpacerItem(std::max(0, want), 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                 grid.rowCount(), 0, 1, std::max(1, grid.columnCount()));
}

void fitTitle(QMessageBox& box)
{
    // The box sizes itself from its layout's minimum on every show, so the
    // width goes into the layout.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        reserveTitleWidth(*grid, box);
    else
        box.setMinimumWidth(widthForTitle(box, box.windowTitle()));
}

}  // namespace tarvel
