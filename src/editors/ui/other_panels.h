#pragma once
// The start/stop/sub panel (600) and the label panel (604).

#include <functional>

#include "editors/ui/editor_dialog.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tarvel {

struct FlowLabel;

// "&Inicio", "&Alto" and "&Páralo Todo" store at once; "&Sub" lets the pupil
// name the head, and "Aceptar" numbers it and renames every call.
class TEdSTSTDialog : public TEditorDialog {
    Q_OBJECT
public:
    TEdSTSTDialog(ProgramState& state, QWidget* parent);

    QPushButton* button(int id) const;
    QLineEdit* nameField() const { return name_; }

protected:
    void load() override;
    // "&Inicio".
    QWidget* openingFocus() override;

private:
    void storeFixed(const char* text);
    void storeSub();

    QPushButton* start_;
    QPushButton* stop_;
    QPushButton* stopAll_;
    QPushButton* sub_;
    QPushButton* accept_;
    QLineEdit* name_;
};

// "Editar etiqueta": a label's text and its size.
class TEdTextDialog : public TEditorDialog {
    Q_OBJECT
public:
    // `labelArea` gives the document area a label's text covers.
    using LabelAreaFn = std::function<Rect(const FlowLabel&)>;
    TEdTextDialog(ProgramState& state, LabelAreaFn labelArea, QWidget* parent);

    QLineEdit* textField() const { return text_; }
    QRadioButton* sizeOption(int size) const;

    void accept() override;

protected:
    void load() override;
    // The text field, so the pupil types straight in.
    QWidget* openingFocus() override;
    Rect targetArea() const override;

private:
    LabelAreaFn labelArea_;
    QLineEdit* text_;
    QRadioButton* sizes_[3];
};

}  // namespace tarvel
