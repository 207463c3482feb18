#pragma once
// The sensors window (219 "Sensores"): one row per analogue channel, channel
// 1 at the bottom, with the channel's name, its value in the sensor's units,
// the unit, and the button of its sensor menu (the table's sensors,
// "Porcentaje", "Automática", "Ningun"); the program's picture, and
// "Modo de Probar", which polls the interface without a run.

#include <QDialog>
#include <array>

#include "interfaces/interface_layer.h"
#include "sensors/sensor_channels.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;

namespace tarvel {

class ProgramState;
class TLogoIcon;
class TMenuIcon;
class TTestMode;

// The commands of the sensor menus.
inline constexpr int kSensorMenuFirst = 5000;  // + the table index
inline constexpr int kSensorMenuPercent = 4000;
inline constexpr int kSensorMenuAutomatic = 4001;
inline constexpr int kSensorMenuNone = 4002;

class TSensorsDialog final : public QDialog, public IoObserver, public SensorObserver {
    Q_OBJECT
public:
    TSensorsDialog(ProgramState& state, TTestMode& testMode, QWidget* parent = nullptr);
    ~TSensorsDialog() override;

    QLineEdit* nameEdit(int channel) const { return names_[idx(channel)]; }
    QLineEdit* valueField(int channel) const { return values_[idx(channel)]; }
    QLabel* unitLabel(int channel) const { return units_[idx(channel)]; }
    TMenuIcon* menuButton(int channel) const { return buttons_[idx(channel)]; }
    QMenu* menu(int channel) const { return menus_[idx(channel)]; }
    QCheckBox* testBox() const { return testBox_; }

    // Every row as the channels and the chart now have them.
    void refresh();
    // Beside a large monitor: its right edge against the monitor's left,
    // its bottom level with the main window's.
    void placeBeside(const QRect& monitor, const QRect& mainFrame);
    // On its own: against the right edge of the main window.
    void placeAtRightOf(const QRect& mainFrame);

    // IoObserver
    void showValue(int channel, int raw) override;
    // SensorObserver
    void sensorChanged(int channel) override;
    // The four value texts emptied.
    void clearValues();
    void tableReloaded() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    static std::size_t idx(int i) { return static_cast<std::size_t>(i); }
    void build();
    void buildRow(int channel);
    void rebuildMenu(int channel);
    void markMenu(int channel);

    ProgramState& state_;
    TTestMode& testMode_;
    std::array<QLineEdit*, kSensorChannels> names_{};
    std::array<QLineEdit*, kSensorChannels> values_{};
    std::array<QLabel*, kSensorChannels> units_{};
    std::array<TMenuIcon*, kSensorChannels> buttons_{};
    std::array<QMenu*, kSensorChannels> menus_{};
    TLogoIcon* logo_ = nullptr;
    QCheckBox* testBox_ = nullptr;
};

}  // namespace tarvel
