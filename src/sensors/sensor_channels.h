#pragma once
// The sensors of the four analogue channels ("Val 1".."Val 4"): which
// calibration file each channel reads through, or plain percent, or no
// sensor; the automatic identification; and the conversions of a reading to
// the sensor's units and of a value back to the chip's byte.
//
// The chart keeps its part of this (the sensor IDs, the automatic flags and
// the channel names) in the document, which this object keeps up to date; the
// rest (the table, the chosen file's values, the units shown) lives here.

#include <array>
#include <string>
#include <vector>

#include "engine/run_ports.h"
#include "flowchart/flow_document.h"
#include "interfaces/interface_layer.h"
#include "sensors/sensor_table.h"

namespace tarvel {

class SensorIdReader;

// The choice that switches a channel's automatic identification on or off.
inline constexpr int kChooseAutomatic = kSensorAutomatic;
// A channel's name and unit as shown hold at most this many characters.
inline constexpr std::size_t kChannelLabelMax = 15;

// The displays that follow the channels' sensors: the sensors window, the
// monitors, the graph.
class SensorObserver {
public:
    virtual ~SensorObserver() = default;
    // The channel's sensor, name, unit or decimals changed.
    virtual void sensorChanged(int /*channel*/) {}
    // The table was read again: the sensor menus follow it.
    virtual void tableReloaded() {}
};

struct ChannelSensor {
    int sensor = kSensorPercent;  // table index, kSensorPercent or kSensorNone
    bool automatic = false;
    std::string units = "%";  // as shown (Windows-1252)
    // The chosen file as it was read (a channel with a sensor).
    std::string fileName;
    Calibration calibration;

    int decimals() const { return sensor >= 0 ? calibration.decimals() : 0; }
    // The value of a raw reading in the sensor's units.
    double calibrated(int raw) const;
    // The chip's byte for a value in the sensor's units.
    int toByte(double value) const;
};

class SensorChannels final : public ChannelValues, public InterfaceEvents {
public:
    SensorChannels(FlowDocument& doc, const InterfaceLayer& io);

    void setIdReader(SensorIdReader* reader) { idReader_ = reader; }
    void addObserver(SensorObserver* observer);
    void removeObserver(SensorObserver* observer);

    const SensorTable& table() const { return table_; }
    const ChannelSensor& channel(int c) const { return channels_[idx(c)]; }
    // The channel's name as shown (the chart's, Windows-1252).
    std::string_view name(int c) const { return doc_.channelNames[idx(c)].view(); }

    // ---- Operations ---------------------------------------------------------
    // Reads the calibration files of a folder. Each channel keeps its sensor
    // while the new table has it (the same file, else the last entry with its
    // ID); one whose sensor is gone reads in percent.
    void reloadTable(const std::string& dir);
    // choice >= 0: that table entry; kSensorPercent; kSensorNone;
    // kChooseAutomatic: automatic identification on or off (on identifies at
    // once). The channel's name and unit follow.
    void choose(int channel, int choice);
    // Asks the box which sensors are plugged in, for the boxes that can tell
    // and only over a live link; channels in automatic take them.
    void identify();
    // Appends a sensor that a data file names and the table lacks (no file,
    // no table of values); it lives until the table is next read. The index
    // it took, or -1 when the table is full.
    int addTemporary(SensorEntry entry);
    // Every channel's automatic flag, as a connect sets them.
    void setAutomaticAll(bool on);
    // Takes the chart's sensors after a load (names as the file has them) or
    // a new chart (names from the sensors).
    void adoptDocument(bool relabel);

    // ---- Values ---------------------------------------------------------------
    // Calibrate: the current reading of a channel in its sensor's units.
    double value(int channel) const override;
    // ToByte: the chip's byte 0..255 for a value of a channel.
    int toByte(int channel, double value) const;
    // The value as the sensors window writes it, with the channel's decimals.
    std::string valueText(int channel) const;
    // The value as the reduced monitor writes it: one decimal for sensors
    // with two, else none.
    std::string compactValueText(int channel) const;

    // ---- The graph's values cursor: the displays show a captured sample -------
    // Until released, value() gives these and the displays follow them.
    void holdValues(const std::array<double, kSensorChannels>& values);
    // The cursor lies past the newest sample: the value texts read "?".
    void holdUnknown();
    void releaseValues() { held_ = Held::Live; }
    bool valuesHeld() const { return held_ != Held::Live; }

    // ---- InterfaceEvents: the sensor steps of a connect ------------------------
    void reloadSensors(const std::string& sensorDir) override { reloadTable(sensorDir); }
    void setAutomaticSensors(bool on) override { setAutomaticAll(on); }
    void identifySensors() override { identify(); }

private:
    static std::size_t idx(int c) { return static_cast<std::size_t>(c); }
    // Sets the channel's sensor without touching its automatic flag.
    void apply(int channel, int choice, bool relabel);
    void relabel(int channel);
    void notifyChanged(int channel);

    FlowDocument& doc_;
    const InterfaceLayer& io_;
    SensorIdReader* idReader_ = nullptr;
    SensorTable table_;
    std::array<ChannelSensor, kSensorChannels> channels_{};
    std::vector<SensorObserver*> observers_;
    enum class Held { Live, Sample, Unknown } held_ = Held::Live;
    std::array<double, kSensorChannels> heldValues_{};
};

}  // namespace tarvel
