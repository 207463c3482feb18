#include "sensors/calibration_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "platform/file_io.h"
#include "platform/file_lookup.h"
#include "platform/messages.h"

namespace tarvel {

namespace {

constexpr std::string_view kDataSize = "datasize";
constexpr std::string_view kName = "EE_sensorname";
constexpr std::string_view kUnits = "fieldunits";
constexpr std::string_view kMaxMin = "maxmin";
constexpr std::string_view kId = "EE_sensorID";

// The file's lines without their line ends: LF ends a line, and the CRs
// before it (CR LF, or the CR CR LF of some writers) belong to the end.
std::vector<std::string_view> splitLines(std::string_view bytes)
{
    std::vector<std::string_view> lines;
    while (!bytes.empty()) {
        const std::size_t lf = bytes.find('\n');
        std::string_view line = bytes.substr(0, lf);
        while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (lf == std::string_view::npos) break;
        bytes.remove_prefix(lf + 1);
    }
    return lines;
}

// The number at the start of a text, after blanks; 0 when there is none.
double leadingNumber(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double v = 0.0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    (void)end;
    return ec == std::errc() && std::isfinite(v) ? v : 0.0;
}

// The first twelve key lines, "%%" taken off.
std::vector<std::string_view> keyLines(const std::vector<std::string_view>& lines)
{
    std::vector<std::string_view> keys;
    for (std::string_view line : lines) {
        if (line.substr(0, 2) != "%%") continue;
        keys.push_back(line.substr(2));
        if (static_cast<int>(keys.size()) == kCalibrationKeyLines) break;
    }
    return keys;
}

// What follows a key on its line, or nothing when no key line has it.
std::optional<std::string_view> afterKey(const std::vector<std::string_view>& keys,
                                         std::string_view key)
{
    for (std::string_view k : keys)
        if (k.substr(0, key.size()) == key) return k.substr(key.size());
    return std::nullopt;
}

// The value of a key with a channel field: after the first '1' and the ','
// after it. A line without them has no value.
std::optional<std::string_view> channelValue(const std::vector<std::string_view>& keys,
                                             std::string_view key)
{
    const auto rest = afterKey(keys, key);
    if (!rest) return std::nullopt;
    const std::size_t one = rest->find('1');
    if (one == std::string_view::npos) return std::nullopt;
    const std::size_t comma = rest->find(',', one);
    if (comma == std::string_view::npos) return std::nullopt;
    return rest->substr(comma + 1);
}

Refusal missingKey(std::string_view key)
{
    return Refusal{std::string(caption::FileError),
                   "Al archivo de calibración le falta la clave \"%%" + std::string(key) + "\"",
                   MsgIcon::Exclamation};
}

// The value lines: up to 1024 numbers, and the most digits after a '.'. A
// line that holds no number (a blank one too) counts as 0, so the readings
// after it keep their places.
void readValues(const std::vector<std::string_view>& lines, Calibration& c)
{
    c.values.reserve(kCalibrationPoints);
    for (std::string_view line : lines) {
        if (static_cast<int>(c.values.size()) == kCalibrationPoints) break;
        if (!line.empty() && line.front() == '%') continue;
        c.values.push_back(leadingNumber(line));
        const std::size_t dot = line.find('.');
        if (dot != std::string_view::npos)
            c.valueDecimals = std::max(c.valueDecimals, static_cast<int>(line.size() - dot - 1));
    }
    c.valueDecimals = std::min(c.valueDecimals, kMaxSensorDecimals);
}

}  // namespace

Result<Calibration> parseCalibration(std::string_view bytes)
{
    const std::vector<std::string_view> lines = splitLines(bytes);
    const std::vector<std::string_view> keys = keyLines(lines);

    const auto dataSize = afterKey(keys, kDataSize);
    if (!dataSize) return missingKey(kDataSize);
    const auto name = channelValue(keys, kName);
    if (!name) return missingKey(kName);
    const auto units = channelValue(keys, kUnits);
    if (!units) return missingKey(kUnits);
    const auto maxMin = channelValue(keys, kMaxMin);
    if (!maxMin) return missingKey(kMaxMin);
    const auto id = channelValue(keys, kId);
    if (!id) return missingKey(kId);

    Calibration c;
    c.hasTable = dataSize->substr(0, 2) == ",1";
    c.name = translateSensorName(*name);
    c.units = translateSensorUnits(*units);
    c.shortUnits = sensorShortUnits(*units);
    c.maximum = leadingNumber(*maxMin);
    const std::size_t comma = maxMin->find(',');
    c.minimum = comma == std::string_view::npos ? 0.0 : leadingNumber(maxMin->substr(comma + 1));
    const double idValue = std::trunc(leadingNumber(*id));
    if (idValue < 0 || idValue > kMaxSensorId)
        return Refusal{std::string(caption::FileError),
                       "El número de sensor del archivo de calibración debe estar entre 0 y " +
                           std::to_string(kMaxSensorId),
                       MsgIcon::Exclamation};
    c.id = static_cast<int>(idValue);
    readValues(lines, c);
    return c;
}

Result<Calibration> readCalibrationFile(const std::string& path)
{
    std::string bytes;
    if (!readWholeFile(existingSpelling(path), bytes))
        return Refusal{std::string(caption::FileError), "No se puede abrir archivo",
                       MsgIcon::Exclamation};
    return parseCalibration(bytes);
}

double Calibration::calibrate(int raw) const
{
    if (!hasTable) return percentOfRaw(raw);
    // Raw readings run to 1024 on some interfaces; the table ends at 1023.
    const int i = std::clamp(raw, 0, kCalibrationPoints - 1);
    const double v =
        i < static_cast<int>(values.size()) ? values[static_cast<std::size_t>(i)] : 0.0;
    // Raised to the minimum first, so a file whose limits cross shows its maximum.
    return std::min(std::max(v, minimum), maximum);
}

int Calibration::toByte(double value) const
{
    if (!hasTable) return percentToByte(value);
    // The chip reads a channel as raw / 4: the byte whose reading the table
    // puts nearest to the value, the first of equals.
    int best = 0;
    double bestDistance = 0.0;
    for (int i = 0; i <= 255; ++i) {
        const std::size_t raw = static_cast<std::size_t>(4 * i);
        const double entry = raw < values.size() ? values[raw] : 0.0;
        const double distance = std::fabs(entry - value);
        if (i == 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

double percentOfRaw(int raw)
{
    return raw * 0.09765625;
}

int percentToByte(double value)
{
    const double scaled = std::trunc(value * 2.56);
    if (!(scaled > 0.0)) return 0;
    return scaled >= 255.0 ? 255 : static_cast<int>(scaled);
}

std::string translateSensorName(std::string_view name)
{
    static constexpr std::pair<std::string_view, std::string_view> kNames[] = {
        {"Angle", "Angulo"}, {"Position", "Posici\xF3n"},
        {"Sound", "Sonido"}, {"Temperature", "Temperatura"},
        {"Light", "Luz"},    {"Voltage", "Voltaje"}};
    for (const auto& [english, spanish] : kNames)
        if (equalsIgnoreCase(name, english)) return std::string(spanish);
    return std::string(name);
}

std::string translateSensorUnits(std::string_view units)
{
    static constexpr std::pair<std::string_view, std::string_view> kUnitNames[] = {
        {"percentage", "porcentaje"},
        {"percent", "porcentaje"},
        {"degrees C", "grados C"},
        {"degrees", "grados"},
        {"volt", "voltios"}};
    for (const auto& [english, spanish] : kUnitNames)
        if (equalsIgnoreCase(units, english)) return std::string(spanish);
    return std::string(units);
}

std::string sensorShortUnits(std::string_view units)
{
    static constexpr std::pair<std::string_view, std::string_view> kSymbols[] = {
        {"percent", "%"},
        {"degrees C",
         "\xB0"
         "C"},
        {"degrees", "\xB0"},
        {"volt", "V"},
        {"newton", "N"},
        {"decibel", "dB"},
        {"ratio", " "},
        {"milli Bar", "mb"}};
    for (const auto& [unit, symbol] : kSymbols)
        if (units == unit) return std::string(symbol);
    return std::string(units.substr(0, 2));
}

}  // namespace tarvel
