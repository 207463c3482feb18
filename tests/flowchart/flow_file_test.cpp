#include "flowchart/flow_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "flowchart/flow_document.h"
#include "support/fake_messages.h"
#include "support/read_chart.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

std::string number(int v)
{
    std::string s;
    appendNumber(s, v);
    return s;
}

InterfaceSettings settingsFor(int mode, int model, int subModel = 0, int numbering = 1)
{
    InterfaceSettings s;
    s.mode = mode;
    s.model = model;
    s.subModel = subModel;
    s.numbering = numbering;
    return s;
}

// A chart that uses every part of the format.
void fillSample(FlowDocument& doc)
{
    const int a = doc.appendSymbol(SymbolKind::StartStop, {320, 84});
    doc.setSymbolText(a, "Start");
    const int b = doc.appendSymbol(SymbolKind::Output, {320, 168});
    doc.setSymbolText(b, "Turn Output 1 on");
    const int c = doc.appendSymbol(SymbolKind::Decision, {320, 252});
    doc.setSymbolText(c, "Is Input 2 off");
    const int d = doc.appendSymbol(SymbolKind::Process, {480, 252});
    doc.setSymbolText(d, "Sub 2(Luz) x 3");
    LineGeometry g;
    g.points[0] = {320, 97};
    g.points[1] = {320, 143};
    doc.appendLine(a, b, LineKind::Plain, g);
    g.tag = {330, 290};
    g.points[0] = {320, 277};
    g.points[1] = {320, 300};
    g.points[2] = {kConnectorMarkX, 'A'};
    g.points[3] = {320, 59};
    g.points[4] = {320, 71};
    doc.appendLine(c, a, LineKind::Yes, g);
    const int l = doc.appendLabel({40, 20});
    doc.labelRef(l).size = 3;
    doc.setLabelText(l,
                     "Sem\xE1"
                     "foro");
    doc.inputNames[1] = "Bot\xF3n";
    doc.outputNames[7] = "L\xE1mpara";
    doc.channelNames[2] = "Luz";
    doc.motorNames[0] = "Barrera";
    doc.outputLevels = {10, 20, 30, 40, 50, 60, 70, 80};
    doc.sensorAssignment = {kSensorNone, 17, kSensorPercent, kSensorPercent};
    doc.soundFiles[9] = "C:\\sonidos\\timbre.wav";
    doc.mimicSet = "Faro";
}

TEST(FlowFileNumbers, EncodeAsFourNibbleLetters)
{
    EXPECT_EQ(number(0), "AAAA");
    EXPECT_EQ(number(220), "AANM");
    EXPECT_EQ(number(-1), "PPPP");
    EXPECT_EQ(number(-10), "PPPG");
    EXPECT_EQ(number(-1000), "PMBI");
    for (int v = -32768; v <= 32767; v += 7) {
        int back = 0;
        ASSERT_TRUE(decodeNumber(number(v), back));
        ASSERT_EQ(back, v);
    }
    int out = 0;
    EXPECT_FALSE(decodeNumber("AAAQ", out));
    EXPECT_FALSE(decodeNumber("AA", out));
}

TEST(FlowFileWrite, EmptyChartHeaderAndBody)
{
    FlowDocument doc;
    const std::string bytes = serializeFlowFile(doc, settingsFor(1, 3, 0, 2));
    // version, analogueSource, highLow, mode, numbering, subModel ('H' based), model
    EXPECT_EQ(bytes.substr(0, 7), std::string("\x84"
                                              "AABCHD"));
    EXPECT_EQ(bytes.substr(7, 12), "AAAAAAAAAAAA");
    EXPECT_EQ(bytes.substr(19, 8), std::string(8, '\x84'));  // 8 levels of 100
    EXPECT_EQ(bytes[27], '\0');                              // no mimic set
    EXPECT_EQ(bytes.substr(28, 16), "PPPPPPPPPPPPPPPP");     // four channels in percent
    // 16 channel names, 4 sensor names, 10 empty sounds; no motor names.
    std::string names;
    for (int k = 0; k < 8; ++k) names += std::string("Entrada\0Salida\0", 15);
    names += std::string("Val 1\0Val 2\0Val 3\0Val 4\0", 24);
    names += std::string(10, '\0');
    EXPECT_EQ(bytes.substr(44), names);

    FlowDocument back;
    FlowFileInfo info;
    FlowLoadContext ctx;
    ctx.current = settingsFor(1, 3, 0, 2);
    ASSERT_EQ(test::readChart(bytes, back, info, ctx), "");
    EXPECT_EQ(back.symbolCount(), 0);
    EXPECT_EQ(back.inputNames[0], "Entrada");
    EXPECT_EQ(serializeFlowFile(back, settingsFor(1, 3, 0, 2)), bytes);
}

TEST(FlowFileWrite, CompactLayoutKeepsFourLevelsAndTheMotorNames)
{
    FlowDocument doc;
    fillSample(doc);
    const std::string sub0 = serializeFlowFile(doc, settingsFor(1, 7, 0));
    EXPECT_EQ(sub0.substr(19, 4), std::string({char(42), char(62), char(82), char(102)}));
    EXPECT_EQ(sub0.substr(23, 4), number(0));  // the symbol table follows at once
    EXPECT_NE(sub0.find(std::string("Barrera\0Motor\0Motor\0Motor\0", 26)), std::string::npos);

    // A board of the chip system has sliders for motors A and B only.
    const std::string board = serializeFlowFile(doc, settingsFor(1, 10, 1));
    EXPECT_EQ(board.substr(19, 4), std::string({char(42), char(62), char(132), char(132)}));
    // Files keep the stored layout: any subModel but 0 holds the levels of outputs
    // 0 and 2 and two bytes of 132, Deltronics Serie + included.
    const std::string serialPlus = serializeFlowFile(doc, settingsFor(1, 1, 2));
    EXPECT_EQ(serialPlus.substr(19, 4), std::string({char(42), char(62), char(132), char(132)}));

    const std::string full = serializeFlowFile(doc, settingsFor(1, 3));
    EXPECT_EQ(full.find("Barrera"), std::string::npos);
}

TEST(FlowFileRoundTrip, EverythingWrittenIsReadBackAndSavedByteForByte)
{
    for (const InterfaceSettings& s : {settingsFor(1, 3), settingsFor(0, 0), settingsFor(1, 7, 0),
                                       settingsFor(1, 1, 2), settingsFor(1, 12, 0)}) {
        FlowDocument doc;
        fillSample(doc);
        const std::string bytes = serializeFlowFile(doc, s);
        FlowDocument back;
        FlowFileInfo info;
        FlowLoadContext ctx;
        ctx.current = s;
        ASSERT_EQ(test::readChart(bytes, back, info, ctx), "") << s.model;
        EXPECT_EQ(serializeFlowFile(back, s), bytes) << s.model;

        ASSERT_EQ(back.symbolCount(), 4);
        EXPECT_EQ(back.symbol(2).text, "Is Input 2 off");
        EXPECT_EQ(back.symbol(3).kind, SymbolKind::Process);
        EXPECT_EQ(back.line(1).kind, LineKind::Yes);
        EXPECT_EQ(back.line(1).geometry.tag, (Point{330, 290}));
        EXPECT_EQ(back.line(1).pointCount(), 5);
        EXPECT_EQ(back.line(1).connectorLetter(), 'A');
        EXPECT_TRUE(back.connectorLetterInUse('A'));
        EXPECT_EQ(back.label(0).size, 3);
        EXPECT_EQ(back.label(0).text,
                  "Sem\xE1"
                  "foro");
        EXPECT_EQ(back.outputNames[7], "L\xE1mpara");
        EXPECT_EQ(back.sensorAssignment[1], 17);
        EXPECT_EQ(back.sensorAssignment[0], kSensorNone);
        EXPECT_EQ(back.soundFiles[9], "C:\\sonidos\\timbre.wav");
        EXPECT_EQ(info.mimic, "Faro");
    }
}

TEST(FlowFileRead, CompactLevelsFillBothOutputsOfEachMotor)
{
    FlowDocument doc;
    fillSample(doc);
    const std::string bytes = serializeFlowFile(doc, settingsFor(1, 7, 0));
    FlowDocument back;
    FlowFileInfo info;
    ASSERT_EQ(test::readChart(bytes, back, info, {}), "");
    EXPECT_EQ(info.levels, (std::vector<int>{10, 30, 50, 70}));
    EXPECT_EQ(back.outputLevels, (std::array<int, 8>{10, 10, 30, 30, 50, 50, 70, 70}));
    EXPECT_EQ(back.motorNames[0], "Barrera");
}

TEST(FlowFileRead, MotorNamesOfAFullLayoutFileUnderACompactInterface)
{
    FlowDocument doc;
    fillSample(doc);
    const std::string bytes = serializeFlowFile(doc, settingsFor(1, 3));
    FlowDocument back;
    back.motorNames[1] = "Grúa";
    FlowFileInfo info;
    FlowLoadContext ctx;
    ctx.current = settingsFor(1, 3);
    ASSERT_EQ(test::readChart(bytes, back, info, ctx), "");
    EXPECT_EQ(back.motorNames[1], "Grúa");  // not in the file, not shown: kept
    ctx.current = settingsFor(1, 7);
    ASSERT_EQ(test::readChart(bytes, back, info, ctx), "");
    EXPECT_EQ(back.motorNames[1], "Motor");
}

TEST(FlowFileRead, ModelTwelveMaySkipFourExtraLevelBytes)
{
    FlowDocument doc;
    fillSample(doc);
    std::string bytes = serializeFlowFile(doc, settingsFor(1, 12, 0));
    // Four level bytes followed by the symbol table: nothing is skipped.
    FlowDocument back;
    FlowFileInfo info;
    ASSERT_EQ(test::readChart(bytes, back, info, {}), "");
    EXPECT_EQ(back.symbolCount(), 4);
    // Eight level bytes: the four extra ones are skipped.
    bytes.insert(23, std::string(4, char(132)));
    ASSERT_EQ(test::readChart(bytes, back, info, {}), "");
    EXPECT_EQ(back.symbol(1).text, "Turn Output 1 on");
    EXPECT_EQ(back.symbol(0).x, 320);
}

TEST(FlowFileRead, AnEmptyModelTwelveChartReadsBack)
{
    // Nothing follows the level block but the mimic field and the texts, which
    // must not be taken for four more level bytes.
    for (const char* mimic : {"", "Faro", "ABBA"}) {
        FlowDocument doc;
        doc.mimicSet = mimic;
        doc.inputNames[0] = "Pulsador";
        const std::string bytes = serializeFlowFile(doc, settingsFor(1, 12, 0));
        FlowDocument back;
        FlowFileInfo info;
        ASSERT_EQ(test::readChart(bytes, back, info, {}), "") << mimic;
        EXPECT_EQ(back.inputNames[0], "Pulsador");
        EXPECT_EQ(info.mimic, mimic);
        EXPECT_EQ(serializeFlowFile(back, settingsFor(1, 12, 0)), bytes);
    }
    // An empty chart of the same model written with eight level bytes.
    FlowDocument doc;
    std::string bytes = serializeFlowFile(doc, settingsFor(1, 12, 0));
    bytes.insert(23, std::string(4, char(132)));
    FlowDocument back;
    FlowFileInfo info;
    ASSERT_EQ(test::readChart(bytes, back, info, {}), "");
    EXPECT_EQ(back.inputNames[0], "Entrada");
    EXPECT_EQ(back.channelNames[3], "Val 4");
}

// Builds an old-style file by hand: the version decides which items exist.
std::string oldFile(int version, std::string_view mimic, std::array<int, 4> sensors)
{
    std::string b;
    b.push_back(static_cast<char>(version));
    b += "AABBH";
    b.push_back('D');  // model 3, full layout
    b += number(1) + number(0) + number(0);
    b += std::string(8, char(132));
    b += number(0) + number(64) + number(56);
    if (version > 130) b += mimic;
    if (version > 128)
        for (const int s : sensors) b += number(s);
    b += std::string("Start\0", 6);
    for (int k = 0; k < 8; ++k) b += std::string("In\0Out\0", 7);
    b += std::string("A\0B\0C\0D\0", 8);
    if (version >= 132) b += std::string("uno.wav\0", 8) + std::string(9, '\0');
    return b;
}

TEST(FlowFileRead, OlderVersionsLackTheirLaterItems)
{
    FlowLoadContext ctx;
    ctx.current = settingsFor(1, 3);
    for (const int version : {0, 100, 128, 129, 130, 131, 132}) {
        FlowDocument doc;
        doc.mimicSet = "Previo";
        doc.soundFiles[0] = "antes.wav";
        FlowFileInfo info;
        const std::string bytes =
            oldFile(version, std::string("Faro\0\0\0\0\0\0", 10), {-2, -1, -2, 5});
        ASSERT_EQ(test::readChart(bytes, doc, info, ctx), "") << version;
        EXPECT_EQ(doc.symbol(0).text, "Start");
        EXPECT_EQ(doc.channelNames[3], "D");
        if (version <= 128) {
            EXPECT_FALSE(info.hasSensors);
            EXPECT_EQ(info.sensors, (std::array<int, 4>{-1, -1, -1, -1}));
            EXPECT_EQ(doc.sensorAssignment, (std::array<int, 4>{-1, -1, -1, -1})) << version;
        } else {
            EXPECT_EQ(doc.sensorAssignment, (std::array<int, 4>{-2, -1, -2, 5})) << version;
        }
        EXPECT_EQ(info.hasMimic, version > 130);
        EXPECT_EQ(info.mimic, version > 130 ? "Faro" : "");
        EXPECT_EQ(doc.soundFiles[0], version >= 132 ? "uno.wav" : "") << version;
    }
}

TEST(FlowFileRead, AutomaticSensorsAndUnknownIdentifiers)
{
    const std::string bytes = oldFile(132, std::string(1, '\0'), {-3, -3, 40, 41});
    FlowLoadContext ctx;
    ctx.sensorKnown = [](int id) { return id == 40; };
    FlowDocument doc;
    doc.sensorAssignment = {-2, -2, -2, 7};
    FlowFileInfo info;

    ctx.current = settingsFor(1, 2);
    ASSERT_EQ(test::readChart(bytes, doc, info, ctx), "");
    EXPECT_TRUE(doc.sensorAutomatic[0]);
    EXPECT_EQ(doc.sensorAssignment[2], 40);
    EXPECT_EQ(doc.sensorAssignment[3], kSensorPercent);  // not in the table: percent
    EXPECT_EQ(info.sensors, (std::array<int, 4>{-3, -3, 40, 41}));

    FlowDocument other;
    ctx.current = settingsFor(1, 6);
    ASSERT_EQ(test::readChart(bytes, other, info, ctx), "");
    EXPECT_FALSE(other.sensorAutomatic[0]);
    EXPECT_EQ(other.sensorAssignment[0], kSensorPercent);
}

TEST(FlowFileRead, MimicNameFieldIsTenBytes)
{
    FlowDocument doc;
    doc.mimicSet = "Ascensores";  // exactly 10: no terminator
    std::string bytes = serializeFlowFile(doc, settingsFor(1, 3));
    EXPECT_EQ(bytes.substr(27, 10), "Ascensores");
    EXPECT_EQ(bytes.substr(37, 4), "PPPP");
    FlowDocument back;
    FlowFileInfo info;
    ASSERT_EQ(test::readChart(bytes, back, info, {}), "");
    EXPECT_EQ(info.mimic, "Ascensores");

    doc.mimicSet = "Semaforo_Grande";
    bytes = serializeFlowFile(doc, settingsFor(1, 3));
    ASSERT_EQ(test::readChart(bytes, back, info, {}), "");
    EXPECT_EQ(info.mimic, "Semaforo_G");
}

TEST(FlowFileRead, NewerVersionsAreRefused)
{
    FlowDocument doc;
    FlowFileInfo info;
    std::string bytes = oldFile(132, std::string(1, '\0'), {-1, -1, -1, -1});
    bytes[0] = '<';
    EXPECT_EQ(test::readChart(bytes, doc, info, {}),
              flowFileMessage(FlowFileRefusal::NewerVersion));
    bytes[0] = static_cast<char>(133);
    EXPECT_EQ(test::readChart(bytes, doc, info, {}),
              flowFileMessage(FlowFileRefusal::NewerVersion));
    EXPECT_EQ(flowFileMessage(FlowFileRefusal::NewerVersion),
              "Este archivo requiere una versión más reciente de Tarvel");
}

TEST(FlowFileRead, DamagedFilesAreRefusedWholeAndChangeNothing)
{
    FlowDocument sample;
    fillSample(sample);
    const std::string good = serializeFlowFile(sample, settingsFor(1, 3));

    FlowDocument doc;
    fillSample(doc);
    doc.inputNames[0] = "Intacto";
    doc.outputLevels = {1, 2, 3, 4, 5, 6, 7, 8};  // differ from the file's
    const std::string before = serializeFlowFile(doc, settingsFor(1, 3));
    FlowFileInfo info;
    auto refused = [&](const std::string& bytes) {
        const std::string refusal = test::readChart(bytes, doc, info);
        return refusal == flowFileMessage(FlowFileRefusal::Damaged) &&
               serializeFlowFile(doc, settingsFor(1, 3)) == before;
    };

    // Every truncation of a good file.
    for (std::size_t n = 0; n < good.size(); ++n) ASSERT_TRUE(refused(good.substr(0, n))) << n;

    auto patched = [&](std::size_t at, std::string_view with) {
        std::string b = good;
        b.replace(at, with.size(), with);
        return b;
    };
    EXPECT_TRUE(refused(patched(7, number(221))));   // symbol count beyond the table
    EXPECT_TRUE(refused(patched(11, number(401))));  // line count
    EXPECT_TRUE(refused(patched(15, number(101))));  // label count
    EXPECT_TRUE(refused(patched(7, number(-1))));
    EXPECT_TRUE(refused(patched(19, std::string(1, char(133)))));  // level above 100
    EXPECT_TRUE(refused(patched(19, std::string(1, char(31)))));   // level below 0
    EXPECT_TRUE(refused(patched(27, number(4))));                  // symbol kind 4
    EXPECT_TRUE(refused(patched(28, "a")));                        // not a number letter
    EXPECT_TRUE(refused(patched(3, "\x01")));                      // header byte out of range
    // A line whose destination is not a symbol of the file (4 symbols, 1 label).
    EXPECT_TRUE(refused(patched(27 + 4 * 12 + 12 + 4, number(4))));
    // A connector mark whose letter is not 'A'..'Z'.
    const std::size_t mark = good.find(number(kConnectorMarkX) + number('A'));
    ASSERT_NE(mark, std::string::npos);
    EXPECT_TRUE(refused(patched(mark + 4, number('Z' + 1))));
    // A symbol text longer than its field.
    const std::size_t start = good.find(std::string("Start\0", 6));
    ASSERT_NE(start, std::string::npos);
    std::string longText = good;
    longText.insert(start, std::string(35, 'x'));
    EXPECT_TRUE(refused(longText));
    std::string longName = good;
    longName.insert(good.find("Bot\xF3n"), std::string(15, 'x'));
    EXPECT_TRUE(refused(longName));
}

class FlowFileOnDisk : public ::testing::Test {
protected:
    test::TempDir dir;
    test::FakeMessages messages;
    FlowLoadContext ctx;

    std::string write(const std::string& name, const std::string& bytes)
    {
        const std::string path = (dir.path() / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
};

TEST_F(FlowFileOnDisk, SaveThenLoadSetsFlagsAndPath)
{
    FlowDocument doc(&messages);
    fillSample(doc);
    doc.setModified();
    const std::string path = (dir.path() / "faro.FLO").string();
    ASSERT_TRUE(saveFlowFile(doc, path, settingsFor(1, 3), messages));
    EXPECT_FALSE(doc.modified());
    EXPECT_FALSE(doc.untitled());
    EXPECT_EQ(doc.path(), path);
    EXPECT_EQ(doc.fileName(), "faro.FLO");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp~"));

    FlowDocument loaded(&messages);
    loaded.setModified();
    ctx.current = settingsFor(1, 3);
    ASSERT_TRUE(loadFlowFile(loaded, path, ctx, messages, false));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(loaded.symbolCount(), 4);
    EXPECT_FALSE(loaded.modified());
    EXPECT_FALSE(loaded.untitled());
    EXPECT_EQ(loaded.path(), path);
    EXPECT_EQ(loaded.mimicSet, "Faro");  // nobody to ask: the name is taken
}

TEST_F(FlowFileOnDisk, LoadingUnderTheOtherNumberingRenumbers)
{
    FlowDocument doc;
    const int a = doc.appendSymbol(SymbolKind::Output, {64, 56});
    doc.setSymbolText(a, "Turn Output 0 on");
    const int b = doc.appendSymbol(SymbolKind::Output, {64, 112});
    doc.setSymbolText(b, "Output 0,2 on 1 off");
    const int c = doc.appendSymbol(SymbolKind::Decision, {64, 168});
    doc.setSymbolText(c, "Is Input 0 on");
    const std::string path = (dir.path() / "cero.flo").string();
    ASSERT_TRUE(saveFlowFile(doc, path, settingsFor(1, 3, 0, 2), messages));

    FlowDocument loaded;
    ctx.current = settingsFor(1, 3, 0, 1);
    ASSERT_TRUE(loadFlowFile(loaded, path, ctx, messages, false));
    EXPECT_EQ(loaded.symbol(0).text, "Turn Output 1 on");
    EXPECT_EQ(loaded.symbol(1).text, "Output 1,3 on 2 off");
    EXPECT_EQ(loaded.symbol(2).text, "Is Input 1 on");
}

TEST_F(FlowFileOnDisk, RefusalsShowTheirMessageAndKeepTheDocument)
{
    FlowDocument doc(&messages);
    fillSample(doc);
    doc.setModified();
    doc.setPath("/anterior.FLO");
    const std::string before = serializeFlowFile(doc, settingsFor(1, 3));

    auto unchanged = [&] {
        return serializeFlowFile(doc, settingsFor(1, 3)) == before && doc.modified() &&
               doc.path() == "/anterior.FLO";
    };

    EXPECT_EQ(loadFlowFile(doc, write("a.Flo", before), ctx, messages, false).refusal().text,
              flowFileMessage(FlowFileRefusal::WrongExtension));
    EXPECT_EQ(messages.last().text, "Debe cargar un archivo de Tarvel con extención .FLO");
    EXPECT_EQ(messages.last().caption, "Error de archivo");
    const std::size_t shownBefore = messages.shown.size();
    EXPECT_EQ(loadFlowFile(doc, write("b.txt", before), ctx, messages, true).refusal().text,
              flowFileMessage(FlowFileRefusal::WrongExtension));
    EXPECT_EQ(messages.shown.size(), shownBefore);  // silent

    EXPECT_EQ(loadFlowFile(doc, (dir.path() / "missing.FLO").string(), ctx, messages, false)
                  .refusal()
                  .text,
              flowFileMessage(FlowFileRefusal::CannotOpen));
    EXPECT_EQ(messages.last().text, "No se puede abrir archivo");

    EXPECT_EQ(loadFlowFile(doc, write("new.FLO", std::string("<AABBHD")), ctx, messages, false)
                  .refusal()
                  .text,
              flowFileMessage(FlowFileRefusal::NewerVersion));
    EXPECT_EQ(messages.last().text, "Este archivo requiere una versión más reciente de Tarvel");

    EXPECT_EQ(loadFlowFile(doc, write("cut.FLO", before.substr(0, 200)), ctx, messages, false)
                  .refusal()
                  .text,
              flowFileMessage(FlowFileRefusal::Damaged));
    EXPECT_EQ(messages.last().text, "El archivo está dañado o incompleto");
    EXPECT_EQ(messages.last().caption, "Error de archivo");
    EXPECT_TRUE(unchanged());
}

TEST_F(FlowFileOnDisk, ADocumentThatWouldNotReadBackIsNotWritten)
{
    const std::string old = write("viejo.FLO", "contenido anterior");
    struct Case {
        const char* why;
        std::function<void(FlowDocument&, InterfaceSettings&)> spoil;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"a line from a symbol past the table",
         [](FlowDocument& d, InterfaceSettings&) { d.lineRef(1).origin = d.symbolCount(); },
         "No se puede guardar el diagrama: la línea 2 une un símbolo que no existe"},
        {"a line into no symbol",
         [](FlowDocument& d, InterfaceSettings&) { d.lineRef(0).destination = -1; },
         "No se puede guardar el diagrama: la línea 1 une un símbolo que no existe"},
        {"a connector mark without its letter",
         [](FlowDocument& d, InterfaceSettings&) { d.lineRef(1).geometry.points[2].y = 0; },
         "No se puede guardar el diagrama: la línea 2 tiene un conector sin letra"},
        {"a line kind the format lacks",
         [](FlowDocument& d, InterfaceSettings&) { d.lineRef(0).kind = static_cast<LineKind>(3); },
         "No se puede guardar el diagrama: la línea 1 es de un tipo desconocido"},
        {"a symbol kind the format lacks",
         [](FlowDocument& d, InterfaceSettings&) {
             d.symbolRef(3).kind = static_cast<SymbolKind>(4);
         },
         "No se puede guardar el diagrama: el símbolo 4 es de un tipo desconocido"},
        {"a label size the format lacks",
         [](FlowDocument& d, InterfaceSettings&) { d.labelRef(0).size = 0; },
         "No se puede guardar el diagrama: la etiqueta 1 tiene un tamaño desconocido"},
        {"a position beyond four letters",
         [](FlowDocument& d, InterfaceSettings&) { d.symbolRef(0).y = 40000; },
         "No se puede guardar el diagrama: el símbolo 1 está fuera del dibujo"},
        {"a sensor assignment the reader refuses",
         [](FlowDocument& d, InterfaceSettings&) { d.sensorAssignment[2] = -7; },
         "No se puede guardar el diagrama: el sensor del canal 3 no es válido"},
        {"a model no code byte holds", [](FlowDocument&, InterfaceSettings& s) { s.model = 40; },
         "No se puede guardar el diagrama: la configuración del interfaz no es válida"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        FlowDocument doc(&messages);
        fillSample(doc);
        doc.setModified();
        InterfaceSettings settings = settingsFor(1, 3);
        c.spoil(doc, settings);
        // What the reader would refuse, or (a position beyond four letters)
        // read back as another place.
        FlowDocument scratch;
        FlowFileInfo info;
        const std::string read =
            test::readChart(serializeFlowFile(doc, settings), scratch, info, ctx);
        EXPECT_TRUE(!read.empty() || scratch.symbol(0).y != doc.symbol(0).y);
        EXPECT_EQ(checkFlowFile(doc, settings).refusal().text, c.message);

        EXPECT_EQ(saveFlowFile(doc, old, settings, messages).refusal().text, c.message);
        EXPECT_EQ(messages.last().caption, "Error de archivo");
        EXPECT_EQ(messages.last().text, c.message);
        EXPECT_TRUE(doc.modified());
        EXPECT_TRUE(doc.untitled());
        std::string kept;
        ASSERT_TRUE(readWholeFile(old, kept));
        EXPECT_EQ(kept, "contenido anterior");
    }
    // The sample itself is sound.
    FlowDocument doc(&messages);
    fillSample(doc);
    EXPECT_TRUE(checkFlowFile(doc, settingsFor(1, 3)));
}

TEST_F(FlowFileOnDisk, AFailedSaveLeavesTheOldFileAndTheFlags)
{
    FlowDocument doc(&messages);
    fillSample(doc);
    doc.setModified();
    const std::string old = write("viejo.FLO", "contenido anterior");

    // The target is a folder: nothing can be written there.
    const std::string folder = (dir.path() / "carpeta.FLO").string();
    std::filesystem::create_directory(folder);
    EXPECT_EQ(saveFlowFile(doc, folder, settingsFor(1, 3), messages).refusal().text,
              flowFileMessage(FlowFileRefusal::CannotOpen));
    EXPECT_EQ(messages.last().text, "No se puede abrir archivo");
    EXPECT_EQ(messages.last().caption, "Error de archivo");
    EXPECT_EQ(messages.last().icon, MsgIcon::Exclamation);
    EXPECT_TRUE(doc.modified());
    EXPECT_TRUE(doc.untitled());

    // A folder that does not exist.
    EXPECT_EQ(saveFlowFile(doc, (dir.path() / "no" / "x.FLO").string(), settingsFor(1, 3), messages)
                  .refusal()
                  .text,
              flowFileMessage(FlowFileRefusal::CannotOpen));

    // A write that fails part-way (a full disk) leaves the old file whole.
    if (std::filesystem::exists("/dev/full")) {
        const std::string bytes = serializeFlowFile(doc, settingsFor(1, 3));
        std::ofstream full("/dev/full", std::ios::binary);
        full.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        full.flush();
        EXPECT_FALSE(full.good());
    }
    std::string kept;
    ASSERT_TRUE(readWholeFile(old, kept));
    EXPECT_EQ(kept, "contenido anterior");

    ASSERT_TRUE(saveFlowFile(doc, old, settingsFor(1, 3), messages));
    ASSERT_TRUE(readWholeFile(old, kept));
    EXPECT_EQ(kept, serializeFlowFile(doc, settingsFor(1, 3)));
}

}  // namespace
}  // namespace tarvel

namespace tarvel {
namespace {

// Random damage anywhere in a good file: the reader either takes it or
// refuses it whole, and never reads out of bounds.
TEST(FlowFileRead, RandomDamageNeverBreaksTheReader)
{
    FlowDocument sample;
    fillSample(sample);
    const std::string good = serializeFlowFile(sample, settingsFor(1, 12, 0));
    std::uint32_t seed = 12345;
    auto next = [&] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (int round = 0; round < 4000; ++round) {
        std::string bytes = good;
        const int edits = 1 + static_cast<int>(next() % 4);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = next() % bytes.size();
            switch (next() % 3) {
                case 0:
                    bytes[at] = static_cast<char>(next());
                    break;
                case 1:
                    bytes.erase(at, 1 + next() % 8);
                    break;
                default:
                    bytes.insert(at, 1, static_cast<char>(next()));
                    break;
            }
            if (bytes.empty()) bytes = "x";
        }
        FlowDocument doc;
        FlowFileInfo info;
        const std::string st = test::readChart(bytes, doc, info);
        ASSERT_TRUE(st.empty() || st == flowFileMessage(FlowFileRefusal::Damaged) ||
                    st == flowFileMessage(FlowFileRefusal::NewerVersion));
        if (st.empty()) {
            // Whatever was accepted is a consistent chart.
            for (int i = 0; i < doc.lineCount(); ++i) {
                ASSERT_LT(doc.line(i).origin, doc.symbolCount());
                ASSERT_LT(doc.line(i).destination, doc.symbolCount());
            }
        }
    }
}

}  // namespace
}  // namespace tarvel
