// Helpers shared by the commands of the tool.

#include "tool_common.h"

#include <iostream>

#include "flowchart/flow_file.h"
#include "interfaces/interface_layer.h"
#include "interfaces/port_probe.h"
#include "platform/byte_link.h"
#include "platform/file_lookup.h"
#include "platform/install_paths.h"
#include "platform/utf8_path.h"

namespace tarvel::tool {

std::string defaultSensorsDir()
{
    if (const auto data = installedDataDir(programDirectory())) {
        if (const auto sensors = findIgnoringCase(*data, "SENSORS")) return utf8FromPath(*sensors);
    }
    return TARVEL_DEFAULT_SENSORS_DIR;
}

ScriptedMessages stderrMessages()
{
    return ScriptedMessages([](const ShownMessage& box) { std::cerr << box.text << '\n'; });
}

int usage()
{
    std::cerr
        << "uso:\n"
           "  tarvel show [--numbering N] ARCHIVO.FLO\n"
           "  tarvel caption TIPO TEXTO\n"
           "  tarvel resave [--numbering N] ENTRADA.FLO SALIDA.FLO\n"
           "  tarvel caps [--sensors DIR] MODELO SUBMODELO NUMERACION\n"
           "  tarvel run [--ticks N] [--interval MS] [--multiplicity M] [--numbering N]\n"
           "             [--run all|selection|sub:N] [--select I,J,...] [--break I,J,...]\n"
           "             [--sensors DIR] [--input N=on|off@CS]... [--value C=RAW@CS]...\n"
           "             [--mimic DIR/NOMBRE] [--chip]\n"
           "             [--capture SALIDA.SID [--first-span CS] [--end-time CS]] ARCHIVO.FLO\n"
           "  tarvel run --interface MODELO[:SUB] --port DISPOSITIVO [--ticks N] [--interval "
           "MS]\n"
           "             [--multiplicity M] [--numbering N] [--run ...] [--select I,J,...]\n"
           "             [--break I,J,...] [--sensors DIR] [--mimic DIR/NOMBRE] ARCHIVO.FLO\n"
           "  tarvel box MODELO[:SUB]|firmata [--sensors DIR] [--silent] [--wrong-ack] "
           "[--garbage]\n"
           "             [--stop-after N] [--wrong-address A] [--wrong-byte A] [--chip-byte B]\n"
           "             [--running N]\n"
           "  tarvel sensors DIR\n"
           "  tarvel calibrate ARCHIVO.CAL LECTURA\n"
           "  tarvel compile [--model M[:SUB]] [--sensors DIR] [--numbering N] ARCHIVO.FLO\n"
           "  tarvel download [--model M[:SUB]] [--sensors DIR] --port DISPOSITIVO ARCHIVO.FLO\n"
           "  tarvel mimic show [--numbering N] DIR NOMBRE\n"
           "  tarvel sid show [--sensors DIR] ARCHIVO.SID\n"
           "  tarvel sid export [--sensors DIR] [--numbering N] ARCHIVO.SID "
           "SALIDA.CSV|SALIDA.TSV\n";
    return 2;
}

bool parseModel(const std::string& value, int& model, int& subModel)
{
    const std::size_t colon = value.find(':');
    const auto m = parseInt(value.substr(0, colon));
    const auto s =
        colon == std::string::npos ? std::optional<int>(0) : parseInt(value.substr(colon + 1));
    if (!m || !s || *m < 0 || *s < 0) return false;
    model = *m;
    subModel = *s;
    return true;
}

std::optional<int> parseInt(const std::string& s)
{
    try {
        std::size_t used = 0;
        const int v = std::stoi(s, &used);
        if (used != s.size()) return std::nullopt;
        return v;
    } catch (...) {
        return std::nullopt;
    }
}

// Splits "--numbering N" off the arguments.
bool takeNumbering(std::vector<std::string>& args, std::optional<int>& numbering)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--numbering") continue;
        if (i + 1 >= args.size()) return false;
        numbering = parseInt(args[i + 1]);
        if (!numbering) return false;
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                   args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        return true;
    }
    return true;
}

bool readChartSettings(const std::string& path, std::optional<int> numbering,
                       tarvel::InterfaceSettings& settings)
{
    ScriptedMessages messages = stderrMessages();
    if (!tarvel::hasFlowExtension(path)) {
        tarvel::flowFileRefusal(tarvel::FlowFileRefusal::WrongExtension).show(messages);
        return false;
    }
    std::string bytes;
    if (!tarvel::readWholeFile(path, bytes)) {
        tarvel::flowFileRefusal(tarvel::FlowFileRefusal::CannotOpen).show(messages);
        return false;
    }
    const tarvel::Result<tarvel::FlowFileHeader> header = tarvel::parseFlowFileHeader(bytes);
    if (!header) {
        header.refusal().show(messages);
        return false;
    }
    settings.analogueSource = header->analogueSource;
    settings.highLow = header->highLow;
    settings.mode = header->mode;
    settings.numbering = numbering.value_or(header->numbering);
    settings.subModel = header->subModel;
    settings.model = header->model;
    return true;
}

bool loadChart(const std::string& path, const tarvel::InterfaceSettings& settings,
               tarvel::FlowDocument& doc, tarvel::FlowFileInfo& info)
{
    ScriptedMessages messages = stderrMessages();
    tarvel::FlowLoadContext context;
    context.current = settings;
    tarvel::Result<tarvel::FlowFileInfo> loaded =
        tarvel::loadFlowFile(doc, path, context, messages);
    if (!loaded) return false;
    info = std::move(loaded.value());
    return true;
}

bool loadAsProgram(const std::string& path, std::optional<int> numbering, tarvel::FlowDocument& doc,
                   tarvel::FlowFileInfo& info, tarvel::InterfaceSettings& settings)
{
    return readChartSettings(path, numbering, settings) && loadChart(path, settings, doc, info);
}

void setLivePort(InterfaceSettings& settings, const std::string& device)
{
    settings.mode = 1;
    settings.port = device == kUsbDevice ? kUsbPort : 0;
}

void attachLiveInterface(InterfaceLayer& io, ByteLink& link, const InterfaceSettings& settings,
                         const std::string& device, const std::string& sensorsDir)
{
    io.setByteLink(&link);
    PortNames names = PortNames::defaults();
    if (settings.port != kUsbPort) names.setDevice(settings.port, device);
    io.setPortNames(names);
    io.settings = settings;
    io.setSensorsDirectory(sensorsDir);
}

}  // namespace tarvel::tool
