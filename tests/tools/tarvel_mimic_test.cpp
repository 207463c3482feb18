// tarvel mimic show and tarvel run --mimic, run as a teacher runs them.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "engine/chart_builder.h"
#include "flowchart/flow_document.h"
#include "flowchart/flow_file.h"
#include "interfaces/interface_model.h"
#include "mimics/mimic_text.h"
#include "platform/file_io.h"
#include "support/box_process.h"
#include "support/fake_messages.h"
#include "support/live_trace.h"
#include "support/temp_dir.h"
#include "support/tool_run.h"

namespace tarvel {
namespace {

// The keys of a JSON object in the order they were printed.
std::vector<std::string> keysOf(const nlohmann::ordered_json& object)
{
    std::vector<std::string> keys;
    for (auto it = object.begin(); it != object.end(); ++it) keys.push_back(it.key());
    return keys;
}

// A 24-bit bitmap file of the given size, all grey.
std::string bitmap(int width, int height)
{
    const int row = (width * 3 + 3) / 4 * 4;
    const int size = 54 + row * height;
    std::string b(static_cast<std::size_t>(size), '\x80');
    auto put = [&](std::size_t at, std::uint32_t v, int bytes) {
        for (int k = 0; k < bytes; ++k)
            b[at + static_cast<std::size_t>(k)] = char((v >> (8 * k)) & 0xFF);
    };
    b[0] = 'B';
    b[1] = 'M';
    put(2, static_cast<std::uint32_t>(size), 4);
    put(6, 0, 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(width), 4);
    put(22, static_cast<std::uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(30, 0, 4);
    put(34, static_cast<std::uint32_t>(row * height), 4);
    put(38, 2835, 4);
    put(42, 2835, 4);
    put(46, 0, 4);
    put(50, 0, 4);
    return b;
}

class TarvelMimic : public ::testing::Test {
protected:
    test::ToolRun tool(const std::vector<std::string>& args)
    {
        return test::runTool(TARVEL_TOOL_PATH, args, scratch.path());
    }
    void write(const std::string& name, const std::string& bytes)
    {
        ASSERT_EQ(writeFileReplacing((dir.path() / name).string(), bytes), WriteResult::Ok);
    }
    // A lamp on output 1, an "in 2" name, and a barrier on motor A with its
    // limit switches on inputs 1 and 2.
    test::MimicText lampSet()
    {
        test::MimicText m;
        m.pictures = {"FONDO.BMP", "luz.bmp"};
        m.object(0, 0, 400, 320, 0, "0", "0", "0", "0");
        m.object(10, 10, 34, 26, 0x41, "-1", "1", "-1", "-1");
        m.object(100, 100, 140, 120, 0x1A, "in 2", "x", "y", "z");
        m.object(200, 100, 300, 200, 0x01, "0", "0", "0", "0");
        m.object(10, 200, 40, 220, 0x01, "-1", "1", "-1", "-1");
        m.outputs[0] = {1, -1, -1};
        m.inputs[0] = {4, -1, -1};
        m.motors[0] = {3, -1, 1, 2};
        return m;
    }

    test::TempDir dir, scratch;
};

TEST_F(TarvelMimic, ShowPrintsTheSetAsTheWindowReadsIt)
{
    write("Luces", lampSet().str());
    write("FONDO.BMP", bitmap(400, 320));
    write("LUZ.BMP", bitmap(24, 16));
    for (const std::string numbering : {"1", "2"}) {
        const auto r =
            tool({"mimic", "show", "--numbering", numbering, dir.path().string(), "LUCES"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        const auto j = nlohmann::json::parse(r.out);
        ASSERT_EQ(j["objects"].size(), 5u);
        EXPECT_EQ(j["objects"][1]["rect"], (std::vector<int>{10, 10, 34, 26}));
        EXPECT_EQ(j["objects"][1]["flags"], 0x41);
        EXPECT_EQ(j["objects"][1]["texts"], (std::vector<std::string>{"-1", "1", "-1", "-1"}));
        // Widened, and numbered as the program numbers.
        EXPECT_EQ(j["objects"][2]["rect"], (std::vector<int>{96, 100, 144, 120}));
        EXPECT_EQ(j["objects"][2]["texts"][0], numbering == "2" ? "in 1" : "in 2");
        EXPECT_EQ(j["pictures"][0],
                  (nlohmann::json{{"file", "FONDO.BMP"}, {"width", 400}, {"height", 320}}));
        EXPECT_EQ(j["pictures"][1],
                  (nlohmann::json{{"file", "luz.bmp"}, {"width", 24}, {"height", 16}}));
        EXPECT_EQ(j["inputLinks"][0], (std::vector<int>{4, -1, -1}));
        EXPECT_EQ(j["outputLinks"][0], (std::vector<int>{1, -1, -1}));
        EXPECT_EQ(j["outputLinks"].size(), 8u);
        EXPECT_EQ(j["valueLinks"].size(), 4u);
        EXPECT_EQ(j["valueLinks"][0], (std::vector<int>{-1, -1}));
        EXPECT_EQ(j["motorLinks"][0], (std::vector<int>{3, -1, 1, 2}));
        EXPECT_EQ(j["variableLinks"], (std::vector<int>(8, -1)));
        // Scripts that read the text rely on the keys standing in the order
        // the set is described, not sorted.
        const auto ordered = nlohmann::ordered_json::parse(r.out);
        EXPECT_EQ(keysOf(ordered),
                  (std::vector<std::string>{"objects", "pictures", "inputLinks", "outputLinks",
                                            "valueLinks", "motorLinks", "variableLinks"}));
        EXPECT_EQ(keysOf(ordered["objects"][1]),
                  (std::vector<std::string>{"rect", "flags", "texts"}));
        EXPECT_EQ(keysOf(ordered["pictures"][1]),
                  (std::vector<std::string>{"file", "width", "height"}));
    }
    // Without --numbering the file's own numbers stand.
    const auto plain = tool({"mimic", "show", dir.path().string(), "Luces"});
    EXPECT_EQ(nlohmann::json::parse(plain.out)["objects"][2]["texts"][0], "in 2");
}

TEST_F(TarvelMimic, AnUnreadablePictureIsReportedTheSetStillShown)
{
    write("LUCES", lampSet().str());
    write("FONDO.BMP", bitmap(400, 320));
    write("luz.bmp", "\x89PNG not a bitmap");
    const auto r = tool({"mimic", "show", dir.path().string(), "LUCES"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "No se puede abrir el archivo de mapa de bits\n");
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["pictures"][1]["width"], 0);
    EXPECT_EQ(j["pictures"][1]["height"], 0);
}

TEST_F(TarvelMimic, ARefusedOrMissingSetIsAnErrorOnStderr)
{
    test::MimicText m = lampSet();
    m.motors[0] = {3, -1, 9, 2};
    write("MALA", m.str());
    auto r = tool({"mimic", "show", dir.path().string(), "MALA"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("La mímica MALA no se puede cargar"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("la entrada 9 no existe"), std::string::npos) << r.err;

    r = tool({"mimic", "show", dir.path().string(), "NINGUNA"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "No se puede abrir el archivo de mímica NINGUNA\n");
    EXPECT_EQ(tool({"mimic", "show", dir.path().string()}).status, 2);
    EXPECT_EQ(tool({"mimic", "list"}).status, 2);
}

TEST_F(TarvelMimic, ARunTracesTheStatesTheObjectsTake)
{
    write("LUCES", lampSet().str());
    // The lamp flashes once; the barrier motor runs forward, stops, reverses.
    const std::string chart = std::string(TARVEL_DATA_DIR) + "/EJEMPLOS/FAROGIRA.FLO";
    const auto r = tool({"run", "--ticks", "200", "--mimic", (dir.path() / "LUCES").string(),
                         "--input", "1=on@2", chart});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find("110 ")),
              "2 mimic 4 1\n"  // the switch pressed on input 1
              "2 motor a fd\n"
              "2 mimic 3 1\n"
              "2 mimic 4 0\n"  // leaving its limit switch
              "8 output 1 on\n"
              "8 mimic 1 1\n");
    EXPECT_NE(r.out.find("112 motor a off\n112 mimic 3 2\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("166 motor a rev\n166 mimic 3 3\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("276 motor a off\n276 mimic 3 0\n"), std::string::npos) << r.out;

    // A set that cannot be read stops the run before it starts.
    const auto bad = tool({"run", "--mimic", (dir.path() / "NADA").string(), chart});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err, "No se puede abrir el archivo de mímica NADA\n");
}

TEST_F(TarvelMimic, ObjectsAreTracedAsTheWindowRedrawsThem)
{
    // Objects without the redraw-at-once flag are drawn when the window
    // repaints after the pass, in index order, as they then stand; one with
    // the flag is drawn the moment it changes.
    test::MimicText m;
    m.object(0, 0, 40, 40, 0x01, "0", "1");               // output 2
    m.object(40, 0, 80, 40, 0x41, "0", "1");              // output 3, at once
    m.object(80, 0, 120, 40, 0x01, "0", "1");             // output 1
    m.object(120, 0, 160, 40, 0x01, "0", "1", "2", "3");  // motor a, second
    m.object(160, 0, 200, 40, 0x01, "0", "1", "2", "3");  // motor a, first
    m.outputs[0] = {2, -1, -1};
    m.outputs[1] = {0, -1, -1};
    m.outputs[2] = {1, -1, -1};
    m.motors[0] = {4, 3, -1, -1};
    write("ORDEN", m.str());

    // Two tasks: in the first pass one switches outputs 1 to 3 on while the
    // other switches output 2 off again.
    FlowDocument doc;
    test::ChartBuilder b(doc);
    const int s1 = b.start(), all = b.out("Set OUT = 7"), motor = b.out("Turn Motor a fd"),
              wait1 = b.proc("Delay 1"), stop1 = b.stop();
    const int s2 = b.start(), off2 = b.out("Turn Output 2 off"), wait2 = b.proc("Delay 0.5"),
              stop2 = b.stop();
    b.chain({s1, all, motor, wait1, stop1});
    b.chain({s2, off2, wait2, stop2});
    const std::string chart = (scratch.path() / "orden.FLO").string();
    ASSERT_TRUE(saveFlowFile(doc, chart, InterfaceSettings{}, test::ignoredMessages()));

    const auto r = tool({"run", "--mimic", (dir.path() / "ORDEN").string(), chart});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "2 output 1 on\n"
              "2 output 2 on\n"
              "2 output 3 on\n"
              "2 mimic 1 1\n"  // at once
              "2 output 2 off\n"
              "2 mimic 2 1\n"  // object 0 went on and off before the repaint
              "4 motor a fd\n"
              "4 mimic 3 1\n"
              "4 mimic 4 1\n"
              // The stop switches everything off: drawn before the last line.
              "106 mimic 1 0\n"
              "106 mimic 2 0\n"
              "106 mimic 3 2\n"
              "106 mimic 4 2\n"
              "106 end stop\n");

    // The window repaints after every pass, not once per tick.
    FlowDocument flash;
    test::ChartBuilder f(flash);
    f.chain({f.start(), f.out("Turn Output 1 on"), f.out("Turn Output 1 off"), f.proc("Delay 1")});
    const std::string flashChart = (scratch.path() / "destello.FLO").string();
    ASSERT_TRUE(saveFlowFile(flash, flashChart, InterfaceSettings{}, test::ignoredMessages()));
    const auto twice = tool({"run", "--ticks", "1", "--multiplicity", "2", "--mimic",
                             (dir.path() / "ORDEN").string(), flashChart});
    ASSERT_EQ(twice.status, 0) << twice.err;
    EXPECT_EQ(twice.out,
              "2 output 1 on\n"
              "2 mimic 2 1\n"
              "2 output 1 off\n"
              "2 mimic 2 0\n"
              "2 end ticks\n");

    // A stop puts the inputs and motors to idle before it switches the
    // outputs off: objects drawn at once show that order.
    test::MimicText now;
    now.object(0, 0, 40, 40, 0x41, "0", "1");              // output 1
    now.object(40, 0, 80, 40, 0x41, "0", "1");             // input 1
    now.object(80, 0, 120, 40, 0x41, "0", "1", "2", "3");  // motor a
    now.outputs[0] = {0, -1, -1};
    now.inputs[0] = {1, -1, -1};
    now.motors[0] = {2, -1, -1, -1};
    write("ALMOMENTO", now.str());
    FlowDocument run;
    test::ChartBuilder c(run);
    c.chain({c.start(), c.out("Turn Output 1 on"), c.out("Turn Motor a fd"), c.stop()});
    const std::string runChart = (scratch.path() / "parar.FLO").string();
    ASSERT_TRUE(saveFlowFile(run, runChart, InterfaceSettings{}, test::ignoredMessages()));
    const auto stop = tool(
        {"run", "--input", "1=on@0", "--mimic", (dir.path() / "ALMOMENTO").string(), runChart});
    ASSERT_EQ(stop.status, 0) << stop.err;
    EXPECT_EQ(stop.out,
              "2 mimic 1 1\n"
              "2 output 1 on\n"
              "2 mimic 0 1\n"
              "4 motor a fd\n"
              "4 mimic 2 1\n"
              "6 mimic 1 0\n"
              "6 mimic 2 2\n"
              "6 mimic 0 0\n"
              "6 end stop\n");

    // The chip simulator's stop puts the inputs off, then the outputs, then
    // the motors; its motor bytes drive the outputs of their pair.
    FlowDocument chip;
    test::ChartBuilder k(chip);
    k.chain({k.start(), k.out("Turn Motor a fd"), k.stop()});
    InterfaceSettings board;
    board.mode = 1;
    board.model = ModelTolvaChip;
    board.numbering = 1;
    const std::string chipChart = (scratch.path() / "chip.FLO").string();
    ASSERT_TRUE(saveFlowFile(chip, chipChart, board, test::ignoredMessages()));
    const auto chipStop = tool({"run", "--chip", "--input", "1=on@0", "--mimic",
                                (dir.path() / "ALMOMENTO").string(), chipChart});
    ASSERT_EQ(chipStop.status, 0) << chipStop.err;
    EXPECT_EQ(chipStop.out,
              "2 mimic 1 1\n"
              "2 motor a fd\n"
              "2 mimic 2 1\n"
              "2 output 1 on\n"
              "2 mimic 0 1\n"
              "4 mimic 1 0\n"
              "4 mimic 0 0\n"
              "4 mimic 2 2\n"
              "4 end stop\n");
}

TEST_F(TarvelMimic, ARunOnABoxTracesItsMimicAsTheSimulatedRunDoes)
{
    test::MimicText m;
    m.object(0, 0, 40, 40, 0x01, "0", "1");   // output 1
    m.object(40, 0, 80, 40, 0x01, "0", "1");  // input 3
    m.outputs[0] = {0, -1, -1};
    m.inputs[2] = {1, -1, -1};
    write("CAJA", m.str());
    FlowDocument doc;
    test::ChartBuilder c(doc);
    const int start = c.start(), lamp = c.out("Turn Output 1 on"), wait = c.decide("Is Input 3 on"),
              off = c.out("Turn Output 1 off"), stop = c.stop();
    c.chain({start, lamp, wait});
    c.join(wait, off, LineKind::Yes);
    c.join(wait, wait, LineKind::No);
    c.join(off, stop);
    InterfaceSettings settings;
    settings.mode = 1;
    settings.model = 1;
    const std::string chart = (scratch.path() / "CAJA.FLO").string();
    ASSERT_TRUE(saveFlowFile(doc, chart, settings, test::ignoredMessages()));

    test::BoxProcess box(TARVEL_TOOL_PATH, {"1"});
    ASSERT_FALSE(box.device().empty());
    box.send("in 3 on");
    ASSERT_EQ(box.readLines(5000, 1), (std::vector<std::string>{"in 3 on"}));
    const auto r = tool({"run", "--interface", "1", "--port", box.device(), "--ticks", "400",
                         "--mimic", (dir.path() / "CAJA").string(), chart});
    ASSERT_EQ(r.status, 0) << r.err;
    // The input read from the box is drawn after its pass; the stop's
    // switching-off comes before the last line. (This box's motor A
    // follows outputs 1 and 2.)
    EXPECT_EQ(test::events(r.out),
              (std::vector<std::string>{"output 1 on", "motor a fd", "mimic 0 1", "mimic 1 1",
                                        "output 1 off", "motor a off", "mimic 0 0", "mimic 1 0",
                                        "end stop"}))
        << r.out;
}

}  // namespace
}  // namespace tarvel
