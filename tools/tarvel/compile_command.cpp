// tarvel compile: the program image of a chart for the chip system or the
// Quillo box, as one JSON object on stdout. A compile error prints the
// program's message on stderr; the warning about more than four starts is
// printed there too and answered as OK.

#include <cstdio>
#include <iostream>
#include <string>

#include "chip/chip_compiler.h"
#include "chip/chip_data.h"
#include "interfaces/interface_layer.h"
#include "interfaces/model_traits.h"
#include "sensors/sensor_channel_scale.h"
#include "tool_common.h"

namespace tarvel::tool {

namespace {

// {"size": 256, "dialect": "skip", "image": "...", "map": [...]}
std::string programJson(const ChipProgram& p)
{
    std::string out = "{\"size\": " + std::to_string(p.image.size()) + ", \"dialect\": \"" +
                      (p.dialect == ChipDialect::Direct ? "direct" : "skip") + "\", \"image\": \"";
    char hex[3];
    for (const std::uint8_t b : p.image) {
        std::snprintf(hex, sizeof hex, "%02x", b);
        out += hex;
    }
    out += "\", \"map\": [";
    for (std::size_t a = 0; a < p.symbolAt.size(); ++a) {
        if (a > 0) out += ", ";
        out += std::to_string(p.symbolAt[a]);
    }
    return out + "]}";
}

}  // namespace

int compileCommand(std::vector<std::string> args)
{
    std::optional<int> numbering;
    if (!takeNumbering(args, numbering)) return usage();
    std::string sensors = defaultSensorsDir();
    bool modelGiven = false;
    int model = 0, subModel = 0;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--model" && hasValue) {
            if (!parseModel(args[++i], model, subModel)) return usage();
            modelGiven = true;
        } else if (a == "--sensors" && hasValue) {
            sensors = args[++i];
        } else if (a.rfind("--", 0) == 0) {
            return usage();
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 1) return usage();

    FlowDocument doc;
    FlowFileInfo info;
    InterfaceSettings settings;
    if (!loadAsProgram(files[0], numbering, doc, info, settings)) return 1;
    if (modelGiven) {
        settings.model = model;
        settings.subModel = subModel;
    }
    ChipData chips;
    const ChipEntry* chip = nullptr;
    if (usesChipEntry(settings.model)) {
        if (Result<ChipData> read = loadChipData(sensors)) chips = std::move(read.value());
        chip = chips.lookup(settings.subModel);
    }
    // Numbers compared with a channel read through the chart's sensors, from
    // the calibration files of the model's folder.
    InterfaceLayer io;
    io.settings = settings;
    SensorChannels channels(doc, io);
    channels.reloadTable(
        sensors + "/" + std::string(sensorSubdirectory(settings.model, chip ? chip->linkKind : 0)));
    channels.adoptDocument(false);
    const SensorChannelScale scale(channels);
    ScriptedMessages messages = stderrMessages();
    const ChipCompileResult result =
        compileChart(doc, chipTargetFor(settings, chip), messages, &scale);
    if (!result.program) return 1;
    std::cout << programJson(*result.program) << '\n';
    return 0;
}

}  // namespace tarvel::tool
