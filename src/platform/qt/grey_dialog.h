#pragma once
// The light grey, RGB(192, 192, 192), behind the program's dialogs and their
// static texts, and the row of "Aceptar" and "Cancelar" most of them end on.

class QDialog;
class QHBoxLayout;
class QWidget;

namespace tarvel {

// Greyed-out captions stay readable on the grey: the usual light disabled
// text would all but vanish.
void paintDialogGrey(QWidget& dialog);

// "Aceptar" (the default button, named okName) and "Cancelar" (cancelName),
// pushed to the right of a new row for the caller to place. "Aceptar" calls
// the dialog's accept() and "Cancelar" its reject(), overrides included.
// The buttons join the focus chain after whatever the dialog made before.
QHBoxLayout* makeOkCancelRow(QDialog& dialog, const char* okName, const char* cancelName);

}  // namespace tarvel
