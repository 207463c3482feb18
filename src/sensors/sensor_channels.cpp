#include "sensors/sensor_channels.h"

#include <algorithm>
#include <cstdio>

#include "interfaces/sensor_id_reader.h"

namespace tarvel {

double ChannelSensor::calibrated(int raw) const
{
    if (sensor == kSensorNone) return 0.0;
    if (sensor == kSensorPercent) return percentOfRaw(raw);
    return calibration.calibrate(raw);
}

int ChannelSensor::toByte(double value) const
{
    if (sensor == kSensorNone) return 0;
    if (sensor == kSensorPercent) return percentToByte(value);
    return calibration.toByte(value);
}

SensorChannels::SensorChannels(FlowDocument& doc, const InterfaceLayer& io) : doc_(doc), io_(io)
{
    for (int c = 0; c < kSensorChannels; ++c)
        channels_[idx(c)].automatic = doc.sensorAutomatic[idx(c)];
}

void SensorChannels::addObserver(SensorObserver* observer)
{
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void SensorChannels::removeObserver(SensorObserver* observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void SensorChannels::notifyChanged(int channel)
{
    for (SensorObserver* o : observers_) o->sensorChanged(channel);
}

void SensorChannels::reloadTable(const std::string& dir)
{
    table_ = SensorTable::load(dir);
    for (SensorObserver* o : observers_) o->tableReloaded();
    for (int c = 0; c < kSensorChannels; ++c) {
        const ChannelSensor& ch = channels_[idx(c)];
        if (ch.sensor < 0) {
            notifyChanged(c);
            continue;
        }
        // The old index may name another file now: the channel follows its
        // own file, else its sensor's ID.
        int found = -1;
        if (ch.sensor < table_.size() && table_.entry(ch.sensor).fileName == ch.fileName &&
            table_.entry(ch.sensor).calibration.id == ch.calibration.id)
            found = ch.sensor;
        else
            found = table_.lastWithId(ch.calibration.id);
        if (found >= 0)
            apply(c, found, false);
        else
            apply(c, kSensorPercent, true);
    }
}

void SensorChannels::apply(int channel, int choice, bool relabelToo)
{
    ChannelSensor& ch = channels_[idx(channel)];
    ch.sensor = choice;
    if (choice >= 0) {
        const SensorEntry& e = table_.entry(choice);
        ch.fileName = e.fileName;
        ch.calibration = e.calibration;
        doc_.sensorAssignment[idx(channel)] = e.calibration.id;
        ch.units = e.calibration.shortUnits.substr(0, kChannelLabelMax);
    } else {
        ch.fileName.clear();
        ch.calibration = Calibration{};
        doc_.sensorAssignment[idx(channel)] = choice;
        ch.units = choice == kSensorPercent ? "%" : "";
    }
    if (relabelToo) relabel(channel);
    notifyChanged(channel);
}

void SensorChannels::relabel(int channel)
{
    const ChannelSensor& ch = channels_[idx(channel)];
    const std::string number = std::to_string(channel + 1);
    std::string label;
    if (ch.sensor == kSensorPercent)
        label = "Val " + number;
    else if (ch.sensor == kSensorNone)
        label = "Ningun " + number;
    else
        label = table_.entry(ch.sensor).calibration.name.substr(0, kChannelLabelMax);
    doc_.channelNames[idx(channel)] = label;
}

void SensorChannels::choose(int channel, int choice)
{
    if (channel < 0 || channel >= kSensorChannels) return;
    if (choice == kChooseAutomatic) {
        ChannelSensor& ch = channels_[idx(channel)];
        ch.automatic = !ch.automatic;
        doc_.sensorAutomatic[idx(channel)] = ch.automatic;
        if (ch.automatic) identify();
        relabel(channel);
        notifyChanged(channel);
        return;
    }
    if (choice != kSensorPercent && choice != kSensorNone &&
        (choice < 0 || choice >= table_.size()))
        return;
    apply(channel, choice, true);
}

void SensorChannels::identify()
{
    if (!io_.traits().reportsSensorIds || !io_.linkLive() || !idReader_) return;
    const std::array<int, kSensorIdChannels> ids = idReader_->readSensorIds();
    for (int c = 0; c < kSensorChannels; ++c) {
        const ChannelSensor& ch = channels_[idx(c)];
        if (!ch.automatic) continue;
        const int id = ids[idx(c)];
        int want = id == kSensorIdAbsent ? kSensorNone : kSensorPercent;
        if (id >= 0) {
            // A sensor the table lacks reads in percent rather than in the
            // units of the one plugged in before.
            const int last = table_.lastWithId(id);
            if (last >= 0) want = last;
        }
        // An entry already chosen is read again only when another with the
        // same ID stands before it (it was passed over on the way to it).
        const bool reread = want >= 0 && table_.firstWithId(id) < want;
        if (want != ch.sensor || reread) apply(c, want, true);
    }
}

int SensorChannels::addTemporary(SensorEntry entry)
{
    if (table_.size() >= kSensorTableCapacity) return -1;
    table_.add(std::move(entry));
    for (SensorObserver* o : observers_) o->tableReloaded();
    return table_.size() - 1;
}

void SensorChannels::setAutomaticAll(bool on)
{
    for (int c = 0; c < kSensorChannels; ++c) {
        channels_[idx(c)].automatic = on;
        doc_.sensorAutomatic[idx(c)] = on;
        notifyChanged(c);
    }
}

void SensorChannels::adoptDocument(bool relabelToo)
{
    for (int c = 0; c < kSensorChannels; ++c) {
        channels_[idx(c)].automatic = doc_.sensorAutomatic[idx(c)];
        const int assigned = doc_.sensorAssignment[idx(c)];
        int choice = assigned == kSensorNone ? kSensorNone : kSensorPercent;
        if (assigned >= 0) {
            const int found = table_.lastWithId(assigned);
            if (found >= 0) choice = found;
        }
        apply(c, choice, relabelToo);
    }
}

double SensorChannels::value(int channel) const
{
    if (channel < 0 || channel >= kSensorChannels) return 0.0;
    if (held_ == Held::Sample) return heldValues_[idx(channel)];
    return channels_[idx(channel)].calibrated(io_.image().analogue[idx(channel)]);
}

int SensorChannels::toByte(int channel, double value) const
{
    if (channel < 0 || channel >= kSensorChannels) return 0;
    return channels_[idx(channel)].toByte(value);
}

void SensorChannels::holdValues(const std::array<double, kSensorChannels>& values)
{
    heldValues_ = values;
    held_ = Held::Sample;
}

void SensorChannels::holdUnknown()
{
    held_ = Held::Unknown;
}

std::string SensorChannels::valueText(int channel) const
{
    if (channel < 0 || channel >= kSensorChannels) return {};
    if (held_ == Held::Unknown) return "?";
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", channels_[idx(channel)].decimals(), value(channel));
    return text;
}

std::string SensorChannels::compactValueText(int channel) const
{
    if (channel < 0 || channel >= kSensorChannels) return {};
    if (held_ == Held::Unknown) return "?";
    char text[64];
    std::snprintf(text, sizeof text, channels_[idx(channel)].decimals() == 2 ? "%.1f" : "%.0f",
                  value(channel));
    return text;
}

}  // namespace tarvel
