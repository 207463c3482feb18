// The command-line tool, run as a user runs it.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "engine/chart_builder.h"
#include "flowchart/flow_document.h"
#include "flowchart/flow_file.h"
#include "support/read_chart.h"
#include "support/temp_dir.h"
#include "support/tool_run.h"

namespace tarvel {
namespace {

using test::slurp;
using test::ToolRun;

class TarvelTool : public ::testing::Test {
protected:
    test::TempDir dir;

    ToolRun tool(const std::vector<std::string>& args)
    {
        return test::runTool(TARVEL_TOOL_PATH, args, dir.path());
    }

    // A chart saved with numbering from 0 on a compact interface.
    std::string sampleChart()
    {
        FlowDocument doc;
        doc.setSymbolText(doc.appendSymbol(SymbolKind::StartStop, {320, 84}), "Start");
        doc.setSymbolText(doc.appendSymbol(SymbolKind::Output, {320, 168}), "Turn Output 0 on");
        doc.setSymbolText(doc.appendSymbol(SymbolKind::StartStop, {320, 252}), "Stop");
        LineGeometry g;
        g.points[0] = {320, 97};
        g.points[1] = {320, 115};
        g.points[2] = {kConnectorMarkX, 'B'};
        g.points[3] = {320, 125};
        g.points[4] = {320, 143};
        doc.appendLine(0, 1, LineKind::Plain, g);
        doc.setLabelText(doc.appendLabel({40, 20}),
                         "Faro de se\xF1"
                         "ales");
        doc.outputNames[0] = "L\xE1mpara";
        doc.motorNames[2] =
            "Gr\xFA"
            "a";
        doc.soundFiles[1] = "bocina.wav";
        doc.mimicSet = "Faro";
        doc.sensorAssignment = {-2, -1, 12, -1};
        InterfaceSettings s;
        s.mode = 1;
        s.model = 7;
        s.numbering = 2;
        s.highLow = 1;
        s.subModel = 0;
        const std::string path = (dir.path() / "faro.FLO").string();
        EXPECT_TRUE(saveFlowFile(doc, path, s, test::ignoredMessages()));
        return path;
    }
};

TEST_F(TarvelTool, ShowPrintsTheWholeChartAsJson)
{
    const ToolRun r = tool({"show", sampleChart()});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["version"], 132);
    EXPECT_EQ(j["settings"]["model"], 7);
    EXPECT_EQ(j["settings"]["numbering"], 2);
    EXPECT_EQ(j["settings"]["highLow"], 1);
    EXPECT_EQ(j["levels"].size(), 4u);
    EXPECT_EQ(j["levels"][0], 100);
    ASSERT_EQ(j["symbols"].size(), 3u);
    EXPECT_EQ(j["symbols"][1]["text"], "Turn Output 0 on");
    EXPECT_EQ(j["symbols"][1]["caption"], "Activar salida 0");
    EXPECT_EQ(j["symbols"][0]["caption"], "Inicio");
    EXPECT_EQ(j["symbols"][2]["kind"], 0);
    EXPECT_EQ(j["symbols"][2]["y"], 252);
    EXPECT_EQ(j["labels"][0]["text"], "Faro de señales");
    EXPECT_EQ(j["labels"][0]["size"], 1);
    const auto& line = j["lines"][0];
    EXPECT_EQ(line["tag"], nlohmann::json::array({-1, -1}));
    ASSERT_EQ(line["points"].size(), 5u);
    EXPECT_EQ(line["points"][2], nlohmann::json::array({-10, 66}));
    EXPECT_EQ(j["mimic"], "Faro");
    EXPECT_EQ(j["sensors"], nlohmann::json::array({-2, -1, 12, -1}));
    EXPECT_EQ(j["outputNames"][0], "Lámpara");
    EXPECT_EQ(j["motorNames"][2], "Grúa");
    EXPECT_EQ(j["channelNames"][3], "Val 4");
    EXPECT_EQ(j["sounds"][1], "bocina.wav");
    EXPECT_EQ(j["sounds"].size(), 10u);
}

// Scripts and checkers read the objects in the order the keys are documented
// (the file's own order), so the printing never sorts them.
std::vector<std::string> keysOf(const nlohmann::ordered_json& object)
{
    std::vector<std::string> keys;
    for (const auto& item : object.items()) keys.push_back(item.key());
    return keys;
}

TEST_F(TarvelTool, ShowAndCapsKeepTheirKeysInTheDocumentedOrder)
{
    ToolRun r = tool({"show", sampleChart()});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::ordered_json::parse(r.out);
    using Keys = std::vector<std::string>;
    EXPECT_EQ(keysOf(j), (Keys{"version", "settings", "levels", "symbols", "labels", "lines",
                               "mimic", "sensors", "inputNames", "outputNames", "motorNames",
                               "channelNames", "sounds"}));
    EXPECT_EQ(keysOf(j["settings"]),
              (Keys{"analogueSource", "highLow", "mode", "numbering", "subModel", "model"}));
    EXPECT_EQ(keysOf(j["symbols"][0]), (Keys{"kind", "x", "y", "text", "caption"}));
    EXPECT_EQ(keysOf(j["labels"][0]), (Keys{"size", "x", "y", "text"}));
    EXPECT_EQ(keysOf(j["lines"][0]), (Keys{"origin", "destination", "kind", "tag", "points"}));

    r = tool({"caps", "13", "0", "1"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(keysOf(nlohmann::ordered_json::parse(r.out)),
              (Keys{"outputMask", "inputMask", "motorMask", "valueKeyMask", "turnKeyMask",
                    "decisionKeyMask", "optionWord", "motorSpeed", "sensorDir"}));
}

TEST_F(TarvelTool, ShowWithANumberingLoadsAsTheProgramWould)
{
    const std::string chart = sampleChart();
    ToolRun r = tool({"show", "--numbering", "1", chart});
    ASSERT_EQ(r.status, 0) << r.err;
    auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["symbols"][1]["text"], "Turn Output 1 on");
    EXPECT_EQ(j["settings"]["numbering"], 2);  // the header as read

    r = tool({"show", "--numbering", "2", chart});
    j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["symbols"][1]["text"], "Turn Output 0 on");
}

TEST_F(TarvelTool, ResaveIsByteIdenticalAndCanRenumber)
{
    const std::string chart = sampleChart();
    // A name with "ñ" reaches the disk as typed.
    const std::string copy = (dir.path() /
                              "se\xC3\xB1"
                              "al.FLO")
                                 .string();
    ToolRun r = tool({"resave", chart, copy});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(slurp(copy), slurp(chart));

    const std::string renumbered = (dir.path() / "uno.FLO").string();
    r = tool({"resave", "--numbering", "1", chart, renumbered});
    ASSERT_EQ(r.status, 0) << r.err;
    r = tool({"show", renumbered});
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["settings"]["numbering"], 1);
    EXPECT_EQ(j["symbols"][1]["text"], "Turn Output 1 on");
}

TEST_F(TarvelTool, CaptionPrintsTheSpanishText)
{
    ToolRun r = tool({"caption", "0", "Stop All"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Páralo Todo\n");
    r = tool({"caption", "2", "Delay 5"});
    EXPECT_EQ(r.out, "Tardar 5\n");
    r = tool({"caption", "3", "Is Input 3 on"});
    EXPECT_EQ(r.out, "¿Está activada ent 3?\n");
    r = tool({"caption", "7", "Start"});
    EXPECT_NE(r.status, 0);
}

TEST_F(TarvelTool, RefusalsPrintTheProgramsMessage)
{
    ToolRun r = tool({"show", (dir.path() / "nada.FLO").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "No se puede abrir archivo\n");
    EXPECT_TRUE(r.out.empty());

    const auto wrong = dir.path() / "chart.txt";
    std::ofstream(wrong) << "x";
    r = tool({"show", wrong.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Debe cargar un archivo de Tarvel con extención .FLO\n");

    const auto newer = dir.path() / "nuevo.FLO";
    std::ofstream(newer) << "<AABBHD";
    r = tool({"show", newer.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Este archivo requiere una versión más reciente de Tarvel\n");

    const std::string chart = sampleChart();
    const std::string cut = (dir.path() / "cortado.FLO").string();
    std::ofstream(cut, std::ios::binary) << slurp(chart).substr(0, 100);
    r = tool({"show", cut});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "El archivo está dañado o incompleto\n");

    r = tool({"resave", chart, (dir.path() / "no" / "x.FLO").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "No se puede abrir archivo\n");
}

TEST_F(TarvelTool, RunPrintsEveryEventOnTheVirtualClock)
{
    FlowDocument doc;
    test::ChartBuilder b(doc);
    const int s = b.start(), on = b.out("Turn Output 1 on"), wait = b.proc("Delay 0.5"),
              motor = b.out("Motor a rev 40%"), let = b.proc("Let x = 7"),
              dac = b.out("Turn DAC 20"), ask = b.decide("Is Input 2 on"),
              off = b.out("Turn Output 1 off"), end = b.stop();
    b.chain({s, on, wait, motor, let, dac, ask});
    b.join(ask, off, LineKind::Yes);
    b.join(ask, ask, LineKind::No);
    b.join(off, end);
    InterfaceSettings settings;  // simulation, numbering 1-8
    const std::string path = (dir.path() / "ejemplo.FLO").string();
    ASSERT_TRUE(saveFlowFile(doc, path, settings, test::ignoredMessages()));

    ToolRun r = tool({"run", "--input", "2=on@150", path});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "2 output 1 on\n"
              "54 motor a rev\n"  // the delay began at 4 and held the task for 50
              "54 power 1 40\n"
              "56 var x 7\n"
              "58 dac 20\n"
              "152 output 1 off\n"  // input 2 came on before the tick at 150
              "154 end stop\n");

    // The tick limit, and a longer interval.
    r = tool({"run", "--ticks", "10", "--interval", "50", path});
    EXPECT_EQ(r.out, "5 output 1 on\n50 end ticks\n");

    // A run-time error ends with its own message.
    doc.setSymbolText(let, "Let x = x / y");
    ASSERT_TRUE(saveFlowFile(doc, path, settings, test::ignoredMessages()));
    r = tool({"run", path});
    EXPECT_NE(r.out.find(" end Divide por cero cuando ejecute este símbolo\n"), std::string::npos)
        << r.out;

    // Running a sub alone that the chart lacks: the start-time message, at time 0.
    r = tool({"run", "--run", "sub:4", path});
    EXPECT_EQ(r.out, "0 end Debe haber un Sub 4 para ejecutar\n");
    EXPECT_EQ(r.status, 0);

    EXPECT_EQ(tool({"run", "--input", "9=on@0", path}).status, 2);
    EXPECT_EQ(tool({"run", (dir.path() / "nada.FLO").string()}).status, 1);
}

TEST_F(TarvelTool, RunStopsAtTheFirstBreakpointReached)
{
    FlowDocument doc;
    test::ChartBuilder b(doc);
    const int s = b.start(), on = b.out("Turn Output 1 on"), wait = b.proc("Delay 0.1"),
              off = b.out("Turn Output 1 off");
    b.chain({s, on, wait, off, on});
    const std::string path = (dir.path() / "parada.FLO").string();
    ASSERT_TRUE(saveFlowFile(doc, path, InterfaceSettings{}, test::ignoredMessages()));

    // The task waits out the delay and stops before it switches the output off.
    ToolRun r = tool({"run", "--break", std::to_string(off) + "," + std::to_string(s), path});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "2 output 1 on\n14 break 3 task 1\n14 end break\n");

    EXPECT_EQ(tool({"run", "--break", "4", path}).status, 1);  // no symbol 4
    EXPECT_EQ(tool({"run", "--break", "-1", path}).status, 2);
    EXPECT_EQ(tool({"run", "--chip", "--break", "1", path}).status, 2);
}

// A chart for the chip compiler, saved with the given interface in its header.
std::string chipChart(const std::filesystem::path& dir, int model, int subModel, int starts)
{
    FlowDocument doc;
    test::ChartBuilder b(doc);
    const int out = b.out("Turn Output 1 on"), stop = b.stop();
    b.join(out, stop);
    for (int k = 0; k < starts; ++k) b.join(b.start(), out);
    InterfaceSettings s;
    s.mode = 1;
    s.model = model;
    s.subModel = subModel;
    s.numbering = 1;
    const std::string path = (dir / "chip.FLO").string();
    EXPECT_TRUE(saveFlowFile(doc, path, s, test::ignoredMessages()));
    return path;
}

// The image as the tool writes it: two lowercase hex digits a byte.
std::string hexImage(int size, std::initializer_list<std::pair<int, int>> bytes)
{
    std::vector<int> image(static_cast<std::size_t>(size), 0);
    image.back() = 2;
    for (const auto& [address, value] : bytes) image[static_cast<std::size_t>(address)] = value;
    std::string hex;
    char two[3];
    for (const int v : image) {
        std::snprintf(two, sizeof two, "%02x", v);
        hex += two;
    }
    return hex;
}

TEST_F(TarvelTool, CompilePrintsTheProgramImageAsOneJsonObject)
{
    // Quillo: the direct dialect. Output 1 on is symbol 0 at 3, the Stop
    // (symbol 1) ends the task at 4.
    const std::string chart = chipChart(dir.path(), 13, 0, 1);
    ToolRun r = tool({"compile", chart});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.err.empty());
    std::string map = "[-1, -1, -1, 0, 1";
    for (int a = 5; a < 256; ++a) map += ", -1";
    EXPECT_EQ(r.out, "{\"size\": 256, \"dialect\": \"direct\", \"image\": \"" +
                         hexImage(256, {{3, 0x10}, {4, 0x3E}}) + "\", \"map\": " + map + "]}\n");

    // Another model, as given; without a sub-model, sub-model 0.
    r = tool({"compile", "--model", "7", chart});
    ASSERT_EQ(r.status, 0) << r.err;
    auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["dialect"], "skip");
    EXPECT_EQ(j["image"], hexImage(256, {{3, 0x10}, {4, 0x3D}}));

    // The chip system with a chip data file of the teacher's own: entry 1 is
    // a 128-byte chip that talks live (direct), entry 0 a board (skip).
    std::ofstream(dir.path() / "TOLVACHIP.DAT", std::ios::binary)
        << "1;Standard board;\r\n1,11111111,11111111,1111,1111,1,0,256,\r\n"
           "2;Chip;\r\n2,11000000,11110000,1000,1000,0,1,128,\r\n";
    r = tool({"compile", "--sensors", dir.path().string(), "--model", "10:1", chart});
    ASSERT_EQ(r.status, 0) << r.err;
    j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["size"], 128);
    EXPECT_EQ(j["dialect"], "direct");
    // Option word 1 marks the single start: 0x13, 0x14, then the code.
    EXPECT_EQ(j["image"], hexImage(128, {{3, 0x13}, {4, 0x14}, {5, 0x10}, {6, 0x3E}}));
    EXPECT_EQ(j["map"].size(), 128u);
    EXPECT_EQ(j["map"][5], 0);

    // The chart's own model 10 and sub-model from its header, with the bundled
    // file: entry 3 is a 128-byte chip that talks live.
    r = tool({"compile", chipChart(dir.path(), 10, 3, 1)});
    ASSERT_EQ(r.status, 0) << r.err;
    j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["size"], 128);
    EXPECT_EQ(j["dialect"], "direct");
}

TEST_F(TarvelTool, CompileErrorsAndWarningsGoToStderr)
{
    ToolRun r = tool({"compile", chipChart(dir.path(), 13, 0, 0)});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(r.err, "Debe tener un Inicie para compilar el diagrama\n");

    // Five starts: the warning, then the compile goes on as after OK.
    r = tool({"compile", chipChart(dir.path(), 13, 0, 5)});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err,
              "Hay más que 4 inicies en el diagrama de flujo, solamente se compilarán las "
              "primeras 4\n");
    const auto j = nlohmann::json::parse(r.out);
    // Starts 2..4 share the code at 3.
    EXPECT_EQ(j["image"], hexImage(256, {{0, 3}, {1, 3}, {2, 3}, {3, 0x10}, {4, 0x3E}}));

    r = tool({"compile", (dir.path() / "nada.FLO").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "No se puede abrir archivo\n");
    const std::string chart = chipChart(dir.path(), 13, 0, 1);
    EXPECT_EQ(tool({"compile", "--model", "x", chart}).status, 2);
    EXPECT_EQ(tool({"compile", "--model", "10:", chart}).status, 2);
    EXPECT_EQ(tool({"compile", "--speed", "3", chart}).status, 2);
    EXPECT_EQ(tool({"compile"}).status, 2);
}

TEST_F(TarvelTool, CapsPrintsTheMasksOfASelection)
{
    ToolRun r = tool({"caps", "7", "5", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["outputMask"], 0x1E00);
    EXPECT_EQ(j["motorMask"], 0xC00000);
    EXPECT_EQ(j["motorSpeed"], 1);
    EXPECT_EQ(j["sensorDir"], "CC");

    r = tool({"caps", "1", "0", "2"});
    j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["outputMask"], 0xFF00);
    EXPECT_EQ(j["sensorDir"], "DSI");
    EXPECT_EQ(j["turnKeyMask"], 0xD0);
    EXPECT_EQ(j["decisionKeyMask"], 0x3FC000D2);

    // Model 10 from a chip data file of the teacher's own.
    std::ofstream(dir.path() / "tolvachip.dat", std::ios::binary)
        << "1;Standard board;\r\n1,11111111,11111111,1111,1111,1,0,256,\r\n"
           "2;Chip;\r\n2,11000000,11110000,1000,1000,0,5,128,\r\n";
    r = tool({"caps", "--sensors", dir.path().string(), "10", "1", "1"});
    ASSERT_EQ(r.status, 0) << r.err;
    j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["inputMask"], 0x600);
    EXPECT_EQ(j["outputMask"], 0x1E00);
    EXPECT_EQ(j["optionWord"], 5);
    EXPECT_EQ(j["valueKeyMask"], 0x210);
    EXPECT_EQ(j["sensorDir"], "CC");

    // The bundled file by default.
    r = tool({"caps", "10", "0", "1"});
    j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["outputMask"], 0x1FE00);
    EXPECT_EQ(j["sensorDir"], "OTHERS");

    EXPECT_EQ(tool({"caps", "7", "x", "1"}).status, 2);
}

}  // namespace
}  // namespace tarvel
