// tarvel sensors and tarvel calibrate: the sensor table of a folder of
// calibration files, and one reading through one file, as the program sees them.

#include <cstdio>
#include <iostream>

#include <nlohmann/json.hpp>

#include "platform/cp1252.h"
#include "platform/file_lookup.h"
#include "sensors/sensor_table.h"
#include "tool_common.h"

namespace tarvel::tool {

int sensorsCommand(const std::vector<std::string>& args)
{
    if (args.size() != 1) return usage();
    const SensorTable table = SensorTable::load(args[0]);
    nlohmann::ordered_json out = nlohmann::ordered_json::array();
    for (const SensorEntry& e : table.entries()) {
        const Calibration& c = e.calibration;
        out.push_back({{"file", e.fileName},
                       {"id", c.id},
                       {"name", cp1252ToUtf8(c.name)},
                       {"units", cp1252ToUtf8(c.units)},
                       {"shortUnits", cp1252ToUtf8(c.shortUnits)},
                       {"decimals", c.decimals()},
                       {"min", c.minimum},
                       {"max", c.maximum},
                       {"hasTable", c.hasTable}});
    }
    std::cout << out.dump(2) << '\n';
    return 0;
}

int calibrateCommand(const std::vector<std::string>& args)
{
    if (args.size() != 2) return usage();
    const std::string& path = args[0];
    // Only what the sensor table would list: a ".CAL" file it can read.
    if (path.size() < 4 ||
        !equalsIgnoreCase(std::string_view(path).substr(path.size() - 4), ".CAL")) {
        std::cerr << "El archivo de calibración debe tener la extensión .CAL\n";
        return 1;
    }
    const auto raw = parseInt(args[1]);
    if (!raw || *raw < 0 || *raw > 1023) {
        std::cerr << "La lectura debe ser un número entero de 0 a 1023\n";
        return 1;
    }
    const auto read = readCalibrationFile(path);
    if (!read) {
        std::cerr << read.refusal().text << '\n';
        return 1;
    }
    std::printf("%.*f\n", read->decimals(), read->calibrate(*raw));
    return 0;
}

}  // namespace tarvel::tool
