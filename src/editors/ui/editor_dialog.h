#pragma once
// The symbol and label editors. Each is a modeless panel across the bottom of
// the main window; only one is visible at a time. A panel edits one symbol
// (or label) by its index; "Aceptar" stores the text, marks the chart
// changed and redraws what it touched, "Cancelar" leaves everything as it was.

#include <QDialog>
#include <map>
#include <memory>
#include <span>

#include "editors/keypad.h"
#include "flowchart/flow_types.h"

class QLabel;
class QGridLayout;

namespace tarvel {

class ProgramState;
class TEdButton;

class TEditorDialog : public QDialog {
    Q_OBJECT
public:
    TEditorDialog(ProgramState& state, int dialogId, QWidget* parent);

    int dialogId() const { return dialogId_; }
    // The symbol or label being edited, -1 when none.
    int target() const { return target_; }

    // Shows the panel for a symbol or label: placed across the bottom of
    // `client` (global coordinates) at its own height, moved up to stay on
    // `screen`, filled from the document, with the focus.
    void openOn(int index, const QRect& client, const QRect& screen);
    // Stands across the bottom of `client` again (the main window moved or
    // changed size).
    void placeOn(const QRect& client, const QRect& screen);
    // Hides the panel without touching the document.
    void dismiss();

signals:
    // Something was stored into the document.
    void stored();

protected:
    // Fills the panel from the target; all keys start enabled.
    virtual void load() = 0;
    // Where the keyboard focus goes when the panel opens: its first enabled
    // control unless a panel says otherwise.
    virtual QWidget* openingFocus();
    // The document area the target covers, repainted on leaving.
    virtual Rect targetArea() const;
    // "Cancelar" and Escape: hidden, the target redrawn unchanged.
    void reject() override;
    // Alt held shows the keys' mnemonics; letting go, or leaving the panel, hides them.
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showMnemonics(bool shown);
    // After storing: the chart is changed, the area repainted, the panel hidden.
    void finishStore(const Rect& area);
    void repaint(const Rect& area);

    ProgramState& state_;
    int target_ = -1;

private:
    int dialogId_;
};

// One key of a keypad panel: its bit, caption and place in the key grid.
struct KeySpec {
    int bit;
    const char* caption;
    int row;
    int column;
};

// The output, process and decision panels: a keypad, the command shown in
// Spanish as it grows, and "Aceptar", "Borrar", "Cancelar".
class TKeypadDialog : public TEditorDialog {
    Q_OBJECT
public:
    TKeypadDialog(ProgramState& state, int dialogId, SymbolKind kind, std::unique_ptr<Keypad> pad,
                  std::span<const KeySpec> keys, QWidget* parent);
    ~TKeypadDialog() override;

    Keypad& keypad() { return *pad_; }
    const Keypad& keypad() const { return *pad_; }
    // The key of a bit, or nullptr when the panel has none there.
    TEdButton* keyButton(int bit) const;
    // What the panel shows of the command: its Spanish caption.
    QString shownCaption() const;
    // A key was clicked.
    void pressKey(int bit);
    // The keypad's context from the interface in force.
    static KeypadContext contextFrom(const ProgramState& state);

protected:
    void load() override;
    // "Aceptar" when the command is complete, else the first key offered.
    QWidget* openingFocus() override;
    // What a key does besides appending its token (dialogs, menus).
    virtual void afterKey(int bit) { (void)bit; }
    // Opening on an empty command (step 0).
    virtual void atStepZero() {}
    // Brings the keys and the caption in step with the keypad.
    void refresh();
    void storeCommand();

private:
    SymbolKind kind_;
    std::unique_ptr<Keypad> pad_;
    std::map<int, TEdButton*> keys_;
    QLabel* caption_ = nullptr;
};

}  // namespace tarvel
