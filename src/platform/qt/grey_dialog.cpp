#include "platform/qt/grey_dialog.h"

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace tarvel {

void paintDialogGrey(QWidget& dialog)
{
    QPalette palette = dialog.palette();
    palette.setColor(QPalette::Window, QColor(192, 192, 192));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(112, 112, 112));
    dialog.setPalette(palette);
    dialog.setAutoFillBackground(true);
}

}  // namespace tarvel
