#pragma once
// The sensor table: one entry per calibration file of the interface's sensor
// sub-directory, read whenever the interface is connected.

#include <string>
#include <vector>

#include "sensors/calibration_file.h"

namespace tarvel {

// The most calibration files the table holds; the sensor menus number their
// entries from 5000, below nothing else of the program.
inline constexpr int kSensorTableCapacity = 100;

struct SensorEntry {
    std::string fileName;  // as on disk, without the folder (UTF-8)
    Calibration calibration;
};

class SensorTable {
public:
    // Reads every "*.CAL" file directly in `dir` (names matched ignoring case),
    // in the order of their names ignoring case, as the program's home
    // platform lists them. Files that cannot be read or lack a key are left
    // out; past the capacity the rest are left out too. A folder that is
    // missing or holds no such file gives an empty table.
    static SensorTable load(const std::string& dir);

    int size() const { return static_cast<int>(entries_.size()); }
    bool empty() const { return entries_.empty(); }
    const SensorEntry& entry(int index) const { return entries_[static_cast<std::size_t>(index)]; }
    const std::vector<SensorEntry>& entries() const { return entries_; }

    // The index of the last entry with that ID, or -1.
    int lastWithId(int id) const;
    // The index of the first entry with that ID, or -1.
    int firstWithId(int id) const;

    // For tests and tools that build a table in memory.
    void add(SensorEntry entry);

private:
    std::vector<SensorEntry> entries_;
};

}  // namespace tarvel
