#pragma once
// The output (601), process (602) and decision (603) panels.

#include <QMenu>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "editors/ui/editor_dialog.h"

namespace tarvel {

class Messages;

// Output panel: outputs, motors, the DAC, the output byte, sounds and serial sends.
class TEdIoDialog : public TKeypadDialog {
    Q_OBJECT
public:
    TEdIoDialog(ProgramState& state, Messages& messages, QWidget* parent);

    // What "&Envie" asks for the text to send: the "Enviar Serie" dialog
    // unless a test puts something else here. Nothing means Cancel.
    using SendChooser = std::function<std::optional<std::string>()>;
    void setSendChooser(SendChooser chooser) { sendChooser_ = std::move(chooser); }

signals:
    // "S&onido" was pressed: the sounds window is to be shown.
    void soundsRequested();

protected:
    void afterKey(int bit) override;

private:
    Messages& messages_;
    SendChooser sendChooser_;
};

// Process panel: delays, assignments and sub calls with their pop-up menu.
class TEdProcDialog : public TKeypadDialog {
    Q_OBJECT
public:
    TEdProcDialog(ProgramState& state, QWidget* parent);

    // The sub pop-up menu: "%d%s" per Sub head (ids 6000 + n), or "None".
    QMenu* subMenu() const { return subMenu_; }
    // An entry of the sub menu was chosen.
    void chooseSub(int id);

protected:
    void atStepZero() override;
    void afterKey(int bit) override;

private:
    QMenu* subMenu_;
    std::map<int, std::string> subEntries_;  // id → "3(luz)"
};

// Decision panel: inputs, channels, the margin and variables compared.
class TEdDeciDialog : public TKeypadDialog {
    Q_OBJECT
public:
    TEdDeciDialog(ProgramState& state, QWidget* parent);
};

}  // namespace tarvel
