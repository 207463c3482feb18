#include "sensors/sensor_table.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/file_lookup.h"
#include "platform/utf8_path.h"

namespace tarvel {

namespace {

std::string folded(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool isCalibrationName(const std::string& name)
{
    return name.size() > 4 &&
           equalsIgnoreCase(std::string_view(name).substr(name.size() - 4), ".CAL");
}

// The names of the calibration files of a folder, in listing order.
std::vector<std::string> calibrationNames(const std::string& dir)
{
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(pathFromUtf8(existingSpelling(dir)), ec);
    if (ec) return names;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        const std::string name = utf8FromPath(it->path().filename());
        if (isCalibrationName(name) && it->is_regular_file(ec)) names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string fa = folded(a), fb = folded(b);
        return fa != fb ? fa < fb : a < b;
    });
    return names;
}

}  // namespace

SensorTable SensorTable::load(const std::string& dir)
{
    SensorTable table;
    const std::string folder = existingSpelling(dir);
    for (const std::string& name : calibrationNames(dir)) {
        if (table.size() == kSensorTableCapacity) break;
        auto read = readCalibrationFile(folder + "/" + name);
        if (read) table.add(SensorEntry{name, std::move(read).value()});
    }
    return table;
}

int SensorTable::lastWithId(int id) const
{
    for (int i = size() - 1; i >= 0; --i)
        if (entry(i).calibration.id == id) return i;
    return -1;
}

int SensorTable::firstWithId(int id) const
{
    for (int i = 0; i < size(); ++i)
        if (entry(i).calibration.id == id) return i;
    return -1;
}

void SensorTable::add(SensorEntry entry)
{
    if (size() < kSensorTableCapacity) entries_.push_back(std::move(entry));
}

}  // namespace tarvel
