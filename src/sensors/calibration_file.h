#pragma once
// A sensor calibration file (".CAL"): text lines, Windows-1252. Key lines
// begin with "%%" and read "%%key,channel,value"; the keys are looked for
// among the first twelve such lines:
//
//   %%datasize,1                  '1' right after "datasize," means a value table
//   %%EE_sensorname,1,Light       the sensor's name
//   %%fieldunits,1,degrees C      its unit
//   %%maxmin,1,110,-20            the largest and the smallest value shown
//   %%EE_sensorID,1,2             the ID the interface reports for it
//
// For every key but "datasize" the value starts after the first '1' that
// follows the key and the ',' after that '1'. Every other line that does not
// begin with '%' is a value line: the calibrated value of raw readings 0 to
// 1023 in order. Lines beginning with '%' (comments, the key lines) are
// skipped.

#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace tarvel {

// Raw readings 0..1023, one calibrated value each.
inline constexpr int kCalibrationPoints = 1024;
// The decimals shown are those of the value lines, at most this many.
inline constexpr int kMaxSensorDecimals = 2;
// The keys are looked for among this many key lines from the top.
inline constexpr int kCalibrationKeyLines = 12;
// Sensor IDs travel in a chart file as signed 16-bit numbers whose negative
// values mean percent, none and automatic.
inline constexpr int kMaxSensorId = 32767;

struct Calibration {
    int id = 0;
    std::string name;        // translated for display (Windows-1252)
    std::string units;       // translated for display
    std::string shortUnits;  // the unit symbol of the value displays
    double minimum = 0.0;
    double maximum = 0.0;
    bool hasTable = false;  // false: the sensor reads in percent
    // The largest count of digits after the '.' of the value lines, at most 2.
    int valueDecimals = 0;
    // The values read, at most kCalibrationPoints; a short file keeps what it had.
    std::vector<double> values;

    // The decimals a channel with this sensor shows: a sensor without a table
    // reads in percent, whole numbers.
    int decimals() const { return hasTable ? valueDecimals : 0; }
    // The calibrated value of a raw reading 0..1024.
    double calibrate(int raw) const;
    // The byte 0..255 the chip compares a reading with for this value.
    int toByte(double value) const;
};

// Reads a calibration file's text. A file lacking one of the five keys, or
// whose ID a chart could not store, is refused; anything else is read as far
// as it goes (a value that is not a number counts as 0).
Result<Calibration> parseCalibration(std::string_view bytes);

// Reads the file at a UTF-8 path. The program skips a calibration file it
// cannot read without a word, so this reports the refusal and shows nothing.
Result<Calibration> readCalibrationFile(const std::string& path);

// The display forms of names and units written in English in the files.
std::string translateSensorName(std::string_view name);
std::string translateSensorUnits(std::string_view units);
// The unit symbol, from the unit as the file writes it.
std::string sensorShortUnits(std::string_view units);

// Percent of full scale for a raw reading: raw x 100 / 1024.
double percentOfRaw(int raw);
// A value in percent as the chip's byte: x 2.56, truncated, within 0..255.
int percentToByte(double value);

}  // namespace tarvel
