#include "calibration_sets.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tarvel::sensorsets {

namespace {

constexpr int kPoints = 1024;
constexpr double kFullScale = 1023.0;
// Sense and Control IDs are two bytes: high byte 1, low byte the kind.
constexpr int kSenseControlIdBase = 0x0100;

// The fraction of the reference voltage a reading stands for. The sensors
// whose curves run off to infinity at the ends take the middle of the
// reading's step instead.
double fraction(int raw)
{
    return raw / kFullScale;
}
double midStep(int raw)
{
    return (raw + 0.5) / kPoints;
}

double light(int raw)
{
    return 100.0 * fraction(raw);
}

double thermistor(int raw)
{
    constexpr double kFixed = 10000.0, kR25 = 10000.0, kB = 3950.0, kT25 = 298.15;
    const double x = midStep(raw);
    const double resistance = kFixed * (1.0 - x) / x;
    return 1.0 / (1.0 / kT25 + std::log(resistance / kR25) / kB) - 273.15;
}

double fineTemperature(int raw)
{
    return 20.0 + 25.0 * fraction(raw);
}

double sound(int raw)
{
    return 110.0 + 20.0 * std::log10(midStep(raw));
}

double voltage(int raw)
{
    return 10.0 * fraction(raw);
}

double angle(int raw)
{
    return 270.0 * fraction(raw);
}

double position(int raw)
{
    return 100.0 * fraction(raw);
}

double pressure(int raw)
{
    const double kPa = (fraction(raw) + 0.095) / 0.009;
    return 10.0 * kPa;  // millibar
}

// The Arduino board's kit sensors, read by its 10-bit converter against its
// 5 V supply: reading = V x 1024 / 5.
constexpr double kBoardVolts = 5.0;
double boardVolts(int raw)
{
    return (raw + 0.5) * kBoardVolts / kPoints;
}

// A light-dependent resistor from 5 V above a 10 kOhm resistor to ground.
// Its resistance falls with light as R = 15 kOhm (lux / 10)^-0.7; light is
// shown on the eye's logarithmic scale, 1 lux (a dark room) as 0 % and
// 10 000 lux (daylight) as 100 %.
double boardLight(int raw)
{
    constexpr double kFixed = 10000.0, kR10 = 15000.0, kGamma = 0.7;
    const double x = midStep(raw);
    const double resistance = kFixed * (1.0 - x) / x;
    const double lux = 10.0 * std::pow(resistance / kR10, -1.0 / kGamma);
    return std::clamp(25.0 * std::log10(lux), 0.0, 100.0);
}

// A TMP36: 0.5 V at 0 degrees C and 10 mV a degree.
double boardTemperature(int raw)
{
    return (boardVolts(raw) - 0.5) * 100.0;
}

// A kit potentiometer turns through 300 degrees between its ends.
double boardAngle(int raw)
{
    return 300.0 * fraction(raw);
}

std::string number(double v, int decimals)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    std::string s = text;
    // A value that rounds to zero is written without its sign.
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
}

std::string fileBytes(const SensorKind& kind, int id)
{
    const std::string eol = "\r\n";
    std::string out;
    out += "%%datasize,1" + eol;
    out += "%%EE_sensorname,1," + kind.name + eol;
    out += "%%fieldunits,1," + kind.units + eol;
    out += "%%maxmin,1," + number(kind.maximum, 0) + "," + number(kind.minimum, 0) + eol;
    out += "%%EE_sensorID,1," + std::to_string(id) + eol;
    out += "% " + kind.explanation + eol;
    for (int raw = 0; raw < kPoints; ++raw) out += number(kind.model(raw), kind.decimals) + eol;
    return out;
}

}  // namespace

const std::vector<SensorKind>& sensorKinds()
{
    static const std::vector<SensorKind> kinds = {
        {"LUZ.CAL", 1, "Light", "percent", 100, 0, 0, light,
         "Fotodiodo con amplificador lineal: porcentaje de la escala", "Luz", "porcentaje", "%"},
        {"TEMP.CAL", 2, "Temperature", "degrees C", 110, -20, 1, thermistor,
         "Termistor NTC 10k (B 3950 K) sobre 10k: R = 10k (1 - x) / x, "
         "T = 1 / (1/298.15 + ln(R/10k) / 3950) - 273.15, x = (lectura + 0.5) / 1024",
         "Temperatura", "grados C",
         "\xB0"
         "C"},
        {"SONIDO.CAL", 3, "Sound", "decibel", 110, 40, 1, sound,
         "Micr\xF3"
         "fono con detector de picos: dB = 110 + 20 log10(x), x = (lectura + 0.5) / 1024",
         "Sonido", "decibel", "dB"},
        {"VOLTAJE.CAL", 4, "Voltage", "volt", 10, 0, 2, voltage,
         "Divisor de dos resistencias iguales: 0..10 V sobre la entrada de 0..5 V", "Voltaje",
         "voltios", "V"},
        {"ANGULO.CAL", 5, "Angle", "degrees", 270, 0, 0, angle,
         "Potenci\xF3metro de 270 grados como divisor de tensi\xF3n", "Angulo", "grados", "\xB0"},
        {"POSICION.CAL", 6, "Position", "mm", 100, 0, 1, position,
         "Potenci\xF3metro deslizante de 100 mm como divisor de tensi\xF3n", "Posici\xF3n", "mm",
         "mm"},
        {"PRESION.CAL", 7, "Presi\xF3n", "milli Bar", 1150, 150, 0, pressure,
         "Sensor de presi\xF3n absoluta: Vout = Vs (0.009 P/kPa - 0.095), P = 10 (x + 0.095) / "
         "0.009 mb",
         "Presi\xF3n", "milli Bar", "mb"},
        {"TEMPFINA.CAL", 8, "Temp. fina", "degrees C", 45, 20, 2, fineTemperature,
         "Sensor de 10 mV por grado amplificado: 20..45 grados C en toda la escala", "Temp. fina",
         "grados C",
         "\xB0"
         "C"},
    };
    return kinds;
}

const std::vector<SensorKind>& boardSensorKinds()
{
    static const std::vector<SensorKind> kinds = {
        {"LUZ.CAL", 1, "Light", "percent", 100, 0, 0, boardLight,
         "LDR desde 5 V sobre 10k a masa, R = 15k (lux / 10)^-0.7; 0 % = 1 lux, "
         "100 % = 10000 lux, % = 25 log10(lux)",
         "Luz", "porcentaje", "%"},
        {"TEMP.CAL", 2, "Temperature", "degrees C", 125, -40, 1, boardTemperature,
         "TMP36: T = (V - 0.5) x 100, V = (lectura + 0.5) x 5 / 1024", "Temperatura", "grados C",
         "\xB0"
         "C"},
        {"ANGULO.CAL", 5, "Angle", "degrees", 300, 0, 0, boardAngle,
         "Potenci\xF3metro de 300 grados como divisor de 5 V", "Angulo", "grados", "\xB0"},
    };
    return kinds;
}

const std::vector<std::string>& calibrationFolders()
{
    static const std::vector<std::string> folders = {"DSI", "SAC", "CC", "Lego", "Ft", "OTHERS"};
    return folders;
}

int sensorIdIn(const std::string& folder, const SensorKind& kind)
{
    return folder == "SAC" ? kSenseControlIdBase + kind.idOffset : kind.idOffset;
}

std::vector<CalibrationSetFile> makeCalibrationSets()
{
    std::vector<CalibrationSetFile> files;
    for (const std::string& folder : calibrationFolders()) {
        for (const SensorKind& kind : sensorKinds()) {
            const int id = sensorIdIn(folder, kind);
            files.push_back({folder, kind.fileName, id, &kind, fileBytes(kind, id)});
        }
    }
    for (const SensorKind& kind : boardSensorKinds())
        files.push_back(
            {kBoardFolder, kind.fileName, kind.idOffset, &kind, fileBytes(kind, kind.idOffset)});
    return files;
}

}  // namespace tarvel::sensorsets
