#pragma once
// The mimic options (222 "Opciones de Mímica"): the sets of the mimics
// directory in list 102 and "&Mostrar Etiquetas" (101). "Aceptar" (103), or a
// double click on a set, takes the choice; "Cancelar" (104) changes nothing.

#include <QDialog>
#include <string>
#include <vector>

class QCheckBox;
class QListWidget;

namespace tarvel {

class TMimicOptDialog final : public QDialog {
    Q_OBJECT
public:
    TMimicOptDialog(const std::vector<std::string>& sets, int selected, bool showLabels,
                    QWidget* parent);

    // The chosen set's place in the list and its name (UTF-8), -1 and empty
    // when none is selected.
    int chosenIndex() const;
    std::string chosenName() const;
    bool showLabels() const;

    QListWidget* list() const { return list_; }

private:
    QListWidget* list_ = nullptr;
    QCheckBox* labels_ = nullptr;
};

}  // namespace tarvel
