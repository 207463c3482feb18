#pragma once
// The interface dialog ("Interfaz"): which control interface is in use, on
// which port, how its inputs and outputs are numbered and whether its inputs
// are read inverted. "Aceptar" applies the choice for this session, "Aceptar y
// Guardar" also writes it to the configuration file.

#include <QDialog>
#include <string>
#include <utility>

#include "interfaces/port_probe.h"

class QButtonGroup;
class QComboBox;
class QPushButton;
class QShowEvent;

namespace tarvel {

class InterfaceLayer;
class Messages;
class TOptBox;
struct InterfaceSettings;

class TInterfaceDialog : public QDialog {
    Q_OBJECT
public:
    TInterfaceDialog(InterfaceLayer& layer, Messages& messages, QWidget* parent = nullptr);

    // The ports found by the probe that runs before the dialog opens; absent
    // ports cannot be chosen. Until told, every port is offered.
    void setPortsPresent(const PortPresence& present);
    // Where "Aceptar y Guardar" writes the configuration file.
    void setConfigPath(std::string path) { configPath_ = std::move(path); }

    // Shows the settings in force and the boards and chips of the chip data
    // file in the sensors directory. Runs whenever the dialog is shown.
    void loadFromSettings();

signals:
    // After a choice was applied: the chart relabels its symbols when the
    // numbering changed, the reduced monitor changes its layout when the model
    // changed to or from MFA, and the monitors are redrawn in every case.
    void numberingChanged(int numbering);
    void mfaModelChanged(bool mfa);
    void selectionApplied();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void modelClicked(int id);
    void connectionClicked(int id);
    // Enables the controls that belong to a model; with check, also checks
    // the numbering and high/low radios the model forces.
    void applyModelRule(int id, bool check);
    void applyNoInterface();
    void setModelRadiosEnabled(bool on);
    void refreshPorts();
    void openMfaDialog();
    void takeChoice(bool save);
    InterfaceSettings chosenSettings() const;
    TOptBox* option(int id) const;

    InterfaceLayer& layer_;
    Messages& messages_;
    std::string configPath_;
    PortPresence present_;

    QButtonGroup* connection_ = nullptr;  // 119 / 105
    QButtonGroup* ports_ = nullptr;
    QButtonGroup* models_ = nullptr;
    QButtonGroup* numbering_ = nullptr;
    QButtonGroup* highLow_ = nullptr;
    QPushButton* mfaButton_ = nullptr;
    QComboBox* boards_ = nullptr;
    QComboBox* chips_ = nullptr;
};

}  // namespace tarvel
