#pragma once
// The calibration files that ship in data/SENSORS, one set per interface
// family's folder. Each file's 1024 values come from a plain physical model
// of the sensor and the interface's 10-bit reading (0..1023 over the
// reference voltage), so they can be made again and explained:
//
//   Luz          a photodiode with a linear amplifier: percent of full scale
//   Temperatura  a 10 kOhm NTC thermistor (B = 3950 K) above a 10 kOhm
//                resistor: its resistance from the divider, then the B equation
//   Temp. fina   a 10 mV/degree sensor amplified so 20..45 degrees C fill the
//                range: two decimals
//   Sonido       a microphone with a peak detector, reading proportional to
//                the sound pressure: 110 dB at full scale, 20 log10 below it
//   Voltaje      two equal resistors halve 0..10 V onto the 0..5 V input
//   Angulo       a 270-degree potentiometer as a voltage divider
//   Posición     a 100 mm slide potentiometer
//   Presión      an absolute pressure sensor, Vout = Vs (0.009 P/kPa - 0.095)
//
// The sensor IDs are those the boxes report: 1..8 in the Deltronics family's
// folder (one byte, 248 meaning no sensor) and in the folders of the boxes
// that do not identify; 0x0101..0x0108 (257..264) for Sense and Control,
// whose IDs are two bytes (high byte 0xFF meaning no sensor).

#include <string>
#include <vector>

namespace tarvel::sensorsets {

struct SensorKind {
    std::string fileName;  // e.g. "LUZ.CAL"
    int idOffset;          // 1..8, the ID in the one-byte folders
    std::string name;      // as written (English where the program translates it)
    std::string units;     // as written
    double maximum, minimum;
    int decimals;  // digits written after the '.'
    // The calibrated value of raw reading 0..1023, before rounding.
    double (*model)(int raw);
    // One comment line of the file saying where the values come from.
    std::string explanation;
    // What the program shows for them, for the test that reads the files back.
    std::string shownName, shownUnits, shownShortUnits;
};

struct CalibrationSetFile {
    std::string folder;    // "DSI", "SAC", "CC", "Lego", "Ft" or "OTHERS"
    std::string fileName;  // e.g. "LUZ.CAL"
    int id;
    const SensorKind* kind;
    std::string bytes;  // the whole file, Windows-1252, CR LF
};

// The sensor kinds, in the order of their IDs.
const std::vector<SensorKind>& sensorKinds();
// The Arduino board's folder holds the common kit sensors instead, with the
// IDs of the one-byte folders (the board identifies none):
//
//   Luz          a light-dependent resistor above 10 kOhm, on a log scale
//   Temperatura  a TMP36, 0.5 V at 0 degrees C and 10 mV a degree
//   Angulo       a 300-degree potentiometer as a divider of the 5 V supply
inline const std::string kBoardFolder = "Arduino";
const std::vector<SensorKind>& boardSensorKinds();

// The folders, and the ID of a kind in each.
const std::vector<std::string>& calibrationFolders();
int sensorIdIn(const std::string& folder, const SensorKind& kind);

// Every shipped file.
std::vector<CalibrationSetFile> makeCalibrationSets();

}  // namespace tarvel::sensorsets
