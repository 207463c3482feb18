// tarvel: a command-line tool over the core, for teachers checking pupils'
// files, for scripting and for end-to-end tests. Output is UTF-8; a refusal
// prints the program's own Spanish message on stderr and exits 1.

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "chip/chip_data.h"
#include "flowchart/captions.h"
#include "flowchart/flow_document.h"
#include "flowchart/flow_file.h"
#include "interfaces/interface_caps.h"
#include "interfaces/model_traits.h"
#include "mimic_trace.h"
#include "platform/cp1252.h"
#include "platform/utf8_path.h"
#include "tool_common.h"

namespace {

using tarvel::cp1252ToUtf8;
using namespace tarvel::tool;

int show(std::vector<std::string> args)
{
    std::optional<int> numbering;
    if (!takeNumbering(args, numbering) || args.size() != 1) return usage();
    tarvel::FlowDocument doc;
    tarvel::FlowFileInfo info;
    tarvel::InterfaceSettings settings;
    if (!loadAsProgram(args[0], numbering, doc, info, settings)) return 1;

    // Keys in the order the chart's file holds them, not sorted.
    using json = nlohmann::ordered_json;
    json out;
    out["version"] = info.header.version;
    out["settings"] = {{"analogueSource", info.header.analogueSource},
                       {"highLow", info.header.highLow},
                       {"mode", info.header.mode},
                       {"numbering", info.header.numbering},
                       {"subModel", info.header.subModel},
                       {"model", info.header.model}};
    out["levels"] = info.levels;
    json symbols = json::array();
    for (int i = 0; i < doc.symbolCount(); ++i) {
        const auto& s = doc.symbol(i);
        symbols.push_back(
            {{"kind", static_cast<int>(s.kind)},
             {"x", s.x},
             {"y", s.y},
             {"text", cp1252ToUtf8(s.text.view())},
             {"caption", cp1252ToUtf8(tarvel::symbolCaption(s.kind, s.text.view()))}});
    }
    out["symbols"] = symbols;
    json labels = json::array();
    for (int i = 0; i < doc.labelCount(); ++i) {
        const auto& l = doc.label(i);
        labels.push_back(
            {{"size", l.size}, {"x", l.x}, {"y", l.y}, {"text", cp1252ToUtf8(l.text.view())}});
    }
    out["labels"] = labels;
    json lines = json::array();
    for (int i = 0; i < doc.lineCount(); ++i) {
        const auto& l = doc.line(i);
        json points = json::array();
        for (int p = 0; p < l.pointCount(); ++p) {
            const auto& pt = l.geometry.points[static_cast<std::size_t>(p)];
            points.push_back({pt.x, pt.y});
        }
        lines.push_back({{"origin", l.origin},
                         {"destination", l.destination},
                         {"kind", static_cast<int>(l.kind)},
                         {"tag", {l.geometry.tag.x, l.geometry.tag.y}},
                         {"points", points}});
    }
    out["lines"] = lines;
    out["mimic"] = cp1252ToUtf8(info.mimic);
    out["sensors"] = info.sensors;
    auto names = [](const auto& arr) {
        json a = json::array();
        for (const auto& n : arr) a.push_back(cp1252ToUtf8(n.view()));
        return a;
    };
    out["inputNames"] = names(doc.inputNames);
    out["outputNames"] = names(doc.outputNames);
    out["motorNames"] = names(doc.motorNames);
    out["channelNames"] = names(doc.channelNames);
    out["sounds"] = names(doc.soundFiles);
    std::cout << out.dump(2) << '\n';
    return 0;
}

int caption(const std::vector<std::string>& args)
{
    if (args.size() != 2) return usage();
    const auto kind = parseInt(args[0]);
    if (!kind || *kind < 0 || *kind > 3) return usage();
    const std::string text = tarvel::utf8ToCp1252(args[1]);
    std::cout << cp1252ToUtf8(tarvel::symbolCaption(static_cast<tarvel::SymbolKind>(*kind), text))
              << '\n';
    return 0;
}

int resave(std::vector<std::string> args)
{
    std::optional<int> numbering;
    if (!takeNumbering(args, numbering) || args.size() != 2) return usage();
    tarvel::FlowDocument doc;
    tarvel::FlowFileInfo info;
    tarvel::InterfaceSettings settings;
    if (!loadAsProgram(args[0], numbering, doc, info, settings)) return 1;
    tarvel::ScriptedMessages messages = stderrMessages();
    return tarvel::saveFlowFile(doc, args[1], settings, messages) ? 0 : 1;
}

// The capability masks of an interface selection; model 10 reads its chip
// entry from the chip data file of the sensors directory.
int caps(std::vector<std::string> args)
{
    std::string sensors = defaultSensorsDir();
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--sensors") continue;
        if (i + 1 >= args.size()) return usage();
        sensors = args[i + 1];
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                   args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        break;
    }
    if (args.size() != 3) return usage();
    const auto model = parseInt(args[0]);
    const auto subModel = parseInt(args[1]);
    const auto numbering = parseInt(args[2]);
    if (!model || !subModel || !numbering) return usage();
    tarvel::InterfaceSettings settings;
    settings.mode = 1;
    settings.model = *model;
    settings.subModel = *subModel;
    settings.numbering = *numbering;
    tarvel::ChipData chips;
    const tarvel::ChipEntry* chip = nullptr;
    if (tarvel::modelTraits(settings).usesChipEntry) {
        if (auto read = tarvel::loadChipData(sensors)) chips = std::move(read.value());
        chip = chips.lookup(*subModel);
    }
    const tarvel::InterfaceCaps c = tarvel::computeCaps(settings, chip);
    const nlohmann::ordered_json out = {
        {"outputMask", c.outputMask},
        {"inputMask", c.inputMask},
        {"motorMask", c.motorMask},
        {"valueKeyMask", c.valueKeyMask},
        {"turnKeyMask", c.turnKeyMask},
        {"decisionKeyMask", c.decisionKeyMask},
        {"optionWord", c.optionWord},
        {"motorSpeed", c.motorSpeed},
        {"sensorDir", std::string(tarvel::sensorSubdirectory(*model, chip ? chip->linkKind : 0))}};
    std::cout << out.dump(2) << '\n';
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> all = tarvel::utf8Arguments(argc, argv);
    if (all.size() < 2) return usage();
    const std::string command = all[1];
    std::vector<std::string> args(all.begin() + 2, all.end());
    if (command == "show") return show(args);
    if (command == "caption") return caption(args);
    if (command == "resave") return resave(args);
    if (command == "caps") return caps(args);
    if (command == "run") return runCommand(args);
    if (command == "sensors") return sensorsCommand(args);
    if (command == "calibrate") return calibrateCommand(args);
    if (command == "compile") return compileCommand(args);
    if (command == "box") return boxCommand(args);
    if (command == "download") return downloadCommand(args);
    if (command == "sid") return sidCommand(args);
    if (command == "mimic") return tarvel::tool::mimicCommand(args);
    return usage();
}
