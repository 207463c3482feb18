#pragma once
// The light grey, RGB(192, 192, 192), behind the program's dialogs and their
// static texts.

class QWidget;

namespace tarvel {

// Greyed-out captions stay readable on the grey: the usual light disabled
// text would all but vanish.
void paintDialogGrey(QWidget& dialog);

}  // namespace tarvel
