#include "flowchart/flow_document.h"

#include <gtest/gtest.h>

#include "support/fake_messages.h"

namespace tarvel {
namespace {

class RecordingObserver final : public DocumentObserver {
public:
    void invalidate(const Rect& area) override { areas.push_back(area); }
    void subroutinesChanged() override { ++menuRebuilds; }
    std::vector<Rect> areas;
    int menuRebuilds = 0;
};

LineGeometry straight(Point a, Point b)
{
    LineGeometry g;
    g.points[0] = a;
    g.points[1] = b;
    return g;
}

LineGeometry viaConnector(Point a, Point b, int letter)
{
    LineGeometry g;
    g.points[0] = a;
    g.points[1] = {a.x, a.y + 24};
    g.points[2] = {kConnectorMarkX, letter};
    g.points[3] = {b.x, b.y - 24};
    g.points[4] = b;
    return g;
}

class DocumentTest : public ::testing::Test {
protected:
    test::FakeMessages messages;
    RecordingObserver observer;
    FlowDocument doc{&messages, &observer};

    int addSymbol(SymbolKind kind, int y, std::string_view text = {})
    {
        const int i = doc.appendSymbol(kind, {320, y});
        doc.setSymbolText(i, text);
        return i;
    }
    int join(int a, int b, LineKind kind = LineKind::Plain)
    {
        return doc.appendLine(a, b, kind, straight({320, 100 * a + 25}, {320, 100 * b - 25}));
    }
};

TEST_F(DocumentTest, DeletingASymbolRemovesItsLinesAndRenumbersTheRest)
{
    addSymbol(SymbolKind::StartStop, 84, "Start");
    addSymbol(SymbolKind::Output, 168, "Turn Output 1 on");
    addSymbol(SymbolKind::StartStop, 252, "Stop");
    join(0, 1);
    join(1, 2);
    doc.selectSymbol(0);
    EXPECT_TRUE(doc.deleteSelection());

    ASSERT_EQ(doc.symbolCount(), 2);
    EXPECT_EQ(doc.symbol(0).text, "Turn Output 1 on");
    EXPECT_EQ(doc.symbol(1).text, "Stop");
    ASSERT_EQ(doc.lineCount(), 1);
    EXPECT_EQ(doc.line(0).origin, 0);
    EXPECT_EQ(doc.line(0).destination, 1);
    EXPECT_TRUE(doc.selectedSymbols().empty());
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(observer.menuRebuilds, 1);
    EXPECT_FALSE(observer.areas.empty());
    ASSERT_FALSE(messages.statusTexts.empty());
    EXPECT_EQ(messages.statusTexts.back(), "");
    // One object selected: no question.
    EXPECT_TRUE(messages.empty());
}

TEST_F(DocumentTest, SeveralSelectedSymbolsAreDeletedInSelectionOrder)
{
    for (int i = 0; i < 5; ++i)
        addSymbol(SymbolKind::Process, 84 + 56 * i, "Delay " + std::to_string(i));
    join(0, 1);
    join(1, 2);
    join(2, 3);
    join(3, 4);
    // Selected out of order: deleting 1 first shifts 3 down to 2.
    doc.selectSymbol(3);
    doc.selectSymbol(1);
    messages.answerNext(MsgAnswer::Yes);
    EXPECT_TRUE(doc.deleteSelection());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().caption, "Mensaje de Tarvel");
    EXPECT_EQ(messages.last().text, "¿Está seguro de que quiere borrar estos objetos?");
    EXPECT_EQ(messages.last().buttons, MsgButtons::YesNo);

    ASSERT_EQ(doc.symbolCount(), 3);
    EXPECT_EQ(doc.symbol(0).text, "Delay 0");
    EXPECT_EQ(doc.symbol(1).text, "Delay 2");
    EXPECT_EQ(doc.symbol(2).text, "Delay 4");
    EXPECT_EQ(doc.lineCount(), 0);
}

TEST_F(DocumentTest, AnsweringNoToTheQuestionDeletesNothing)
{
    addSymbol(SymbolKind::Process, 84, "Delay 1");
    const int label = doc.appendLabel({10, 10});
    doc.selectSymbol(0);
    doc.selectLabel(label);
    messages.answerNext(MsgAnswer::No);
    EXPECT_FALSE(doc.deleteSelection());
    EXPECT_EQ(doc.symbolCount(), 1);
    EXPECT_EQ(doc.labelCount(), 1);
    EXPECT_FALSE(doc.modified());
}

TEST_F(DocumentTest, DeletingLabelsAndTheSelectedLine)
{
    for (int i = 0; i < 4; ++i)
        doc.setLabelText(doc.appendLabel({10, 10 * i}), std::string(1, 'a' + i));
    doc.selectLabel(0);
    doc.selectLabel(2);
    messages.answerNext(MsgAnswer::Yes);
    doc.deleteSelection();
    ASSERT_EQ(doc.labelCount(), 2);
    EXPECT_EQ(doc.label(0).text, "b");
    EXPECT_EQ(doc.label(1).text, "d");
    EXPECT_TRUE(doc.selectedLabels().empty());

    addSymbol(SymbolKind::StartStop, 84, "Start");
    addSymbol(SymbolKind::StartStop, 168, "Stop");
    join(0, 1);
    const int letter = doc.takeConnectorLetter();
    ASSERT_EQ(letter, 'A');
    doc.appendLine(0, 1, LineKind::Plain, viaConnector({320, 97}, {320, 155}, letter));
    join(0, 1);
    doc.lineRef(2).selected = 3;  // a running mark, say
    doc.setSelectedLine(1);
    doc.deleteSelection();
    EXPECT_EQ(doc.lineCount(), 2);
    EXPECT_EQ(doc.selectedLine(), -1);
    EXPECT_EQ(doc.line(1).selected, 0);
    EXPECT_FALSE(doc.connectorLetterInUse('A'));
}

TEST_F(DocumentTest, ConnectorLettersAreTakenFromAAndFreedWithTheirLine)
{
    addSymbol(SymbolKind::StartStop, 84, "Start");
    addSymbol(SymbolKind::StartStop, 168, "Stop");
    for (int k = 0; k < kConnectorLetters; ++k) {
        const int letter = doc.takeConnectorLetter();
        EXPECT_EQ(letter, 'A' + k);
        doc.appendLine(0, 1, LineKind::Plain, viaConnector({320, 97}, {320, 155}, letter));
    }
    EXPECT_EQ(doc.takeConnectorLetter(), 0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().text, "Ya no hay más letras");
    EXPECT_EQ(messages.last().caption, "Amonestación de Tarvel");

    doc.setSelectedLine(0);  // the line lettered 'A'
    doc.deleteSelectedLine();
    EXPECT_EQ(doc.takeConnectorLetter(), 'A');

    // Deleting a symbol frees the letters of every line it loses.
    doc.selectSymbol(1);
    doc.deleteSelectedSymbols();
    EXPECT_EQ(doc.lineCount(), 0);
    for (int k = 1; k < kConnectorLetters; ++k) EXPECT_FALSE(doc.connectorLetterInUse('A' + k));
}

TEST_F(DocumentTest, DeletingASubHeadDropsTheNameFromItsCalls)
{
    addSymbol(SymbolKind::StartStop, 84, "Sub 3(Luz)");
    addSymbol(SymbolKind::Process, 168, "Sub 3(Luz) x 2");
    addSymbol(SymbolKind::Process, 252, "Sub 3(Luz)");
    addSymbol(SymbolKind::Process, 336, "Sub 4(Luz) x 2");
    addSymbol(SymbolKind::Process, 420, "Sub 30(Luz)");
    doc.selectSymbol(0);
    doc.deleteSelectedSymbols();
    ASSERT_EQ(doc.symbolCount(), 4);
    EXPECT_EQ(doc.symbol(0).text, "Sub 3 x 2");
    EXPECT_EQ(doc.symbol(1).text, "Sub 3");
    EXPECT_EQ(doc.symbol(2).text, "Sub 4(Luz) x 2");
    EXPECT_EQ(doc.symbol(3).text, "Sub 30(Luz)");
}

TEST_F(DocumentTest, RenamingASubRewritesEveryCallKeepingItsCount)
{
    addSymbol(SymbolKind::StartStop, 84, "Sub 7");
    addSymbol(SymbolKind::Process, 168, "Sub 7 x 5");
    addSymbol(SymbolKind::Process, 252, "Sub 7");
    addSymbol(SymbolKind::Process, 336, "Sub 7(Flex) x 0");
    addSymbol(SymbolKind::Decision, 420, "Sub 7");  // not a call: wrong kind
    EXPECT_EQ(doc.renameSubroutineCalls(7, "Faro"), 3);
    EXPECT_EQ(doc.symbol(1).text, "Sub 7(Faro) x 5");
    EXPECT_EQ(doc.symbol(2).text, "Sub 7(Faro)");
    EXPECT_EQ(doc.symbol(3).text, "Sub 7(Faro) x 0");
    EXPECT_EQ(doc.symbol(4).text, "Sub 7");
    // A name that would overflow the field is cut at the field's length.
    doc.renameSubroutineCalls(7, std::string(40, 'n'));
    EXPECT_EQ(doc.symbol(1).text.size(), static_cast<std::size_t>(kSymbolTextMax));
    EXPECT_EQ(doc.subHeads(), std::vector<int>{7});
}

// A move repaints where the object was and where it is now; a whole undo
// repaints the drawing and keeps the document talking to its window.
TEST_F(DocumentTest, EditsReportTheAreaLeftAndTheAreaTaken)
{
    addSymbol(SymbolKind::Process, 100, "Delay 1");
    addSymbol(SymbolKind::Process, 200, "Delay 2");
    join(1, 2);
    const int label = doc.appendLabel({40, 40});
    doc.setLabelText(label, "Hola");
    const FlowDocument snapshot = doc;

    const Rect symbolWas = FlowDocument::symbolBounds(doc.symbol(0));
    observer.areas.clear();
    doc.moveSymbol(0, {640, 336});
    EXPECT_EQ(doc.symbol(0).x, 640);
    EXPECT_EQ(doc.symbol(0).y, 336);
    EXPECT_EQ(observer.areas,
              (std::vector<Rect>{symbolWas, FlowDocument::symbolBounds(doc.symbol(0))}));

    const Rect labelWas = FlowDocument::labelBounds(doc.label(label));
    observer.areas.clear();
    doc.moveLabel(label, {400, 20});
    EXPECT_EQ(observer.areas,
              (std::vector<Rect>{labelWas, FlowDocument::labelBounds(doc.label(label))}));
    EXPECT_NE(labelWas, observer.areas.back());

    const Rect lineWas = FlowDocument::lineBounds(doc.line(0));
    observer.areas.clear();
    doc.setLineGeometry(0, straight({900, 125}, {900, 175}));
    EXPECT_EQ(doc.line(0).geometry.points[0], (Point{900, 125}));
    EXPECT_EQ(observer.areas, (std::vector<Rect>{lineWas, FlowDocument::lineBounds(doc.line(0))}));

    // A snapshot without ports puts the tables back, not its missing observer.
    FlowDocument portless = snapshot;
    portless.setObserver(nullptr);
    observer.areas.clear();
    doc.revertTo(portless);
    EXPECT_EQ(doc.symbol(0).x, 320);
    EXPECT_EQ(doc.label(label).x, 40);
    EXPECT_EQ(doc.line(0).geometry.points[0], (Point{320, 125}));
    EXPECT_EQ(doc.observer(), &observer);
    EXPECT_EQ(observer.areas, (std::vector<Rect>{{0, 0, kDrawingWidth, kDrawingHeight}}));
}

TEST_F(DocumentTest, TablesRefuseTheEntryBeyondTheirCapacity)
{
    for (int i = 0; i < kMaxSymbols; ++i)
        ASSERT_EQ(doc.appendSymbol(SymbolKind::Output, {64, 56}), i);
    for (int i = 0; i < kMaxLines; ++i) ASSERT_EQ(doc.appendLine(0, 1, LineKind::Plain, {}), i);
    for (int i = 0; i < kMaxLabels; ++i) ASSERT_EQ(doc.appendLabel({0, 0}), i);
    ASSERT_TRUE(messages.empty());

    EXPECT_EQ(doc.appendSymbol(SymbolKind::Output, {64, 56}), -1);
    EXPECT_EQ(doc.appendLine(0, 1, LineKind::Plain, {}), -1);
    EXPECT_EQ(doc.appendLabel({0, 0}), -1);
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.shown[0].text, "No se puede tener más que 220 símbolos");
    EXPECT_EQ(messages.shown[1].text, "Solamente puede tener 400 líneas");
    EXPECT_EQ(messages.shown[2].text, "Solo se puede tener 100 etiquetas");
    for (const auto& m : messages.shown) EXPECT_EQ(m.caption, "Amonestación de Tarvel");
    EXPECT_EQ(doc.symbolCount(), kMaxSymbols);
    EXPECT_EQ(doc.lineCount(), kMaxLines);
    EXPECT_EQ(doc.labelCount(), kMaxLabels);
}

TEST_F(DocumentTest, TextsAreCutAtTheirFieldLength)
{
    addSymbol(SymbolKind::Process, 84, std::string(60, 'x'));
    EXPECT_EQ(doc.symbol(0).text.size(), 39u);
    doc.setLabelText(doc.appendLabel({0, 0}), std::string(60, 'y'));
    EXPECT_EQ(doc.label(0).text.size(), 49u);
    doc.inputNames[0] = std::string(30, 'z');
    EXPECT_EQ(doc.inputNames[0].size(), 19u);
}

TEST_F(DocumentTest, RenumberingShiftsOnlyInputAndOutputNumbers)
{
    addSymbol(SymbolKind::Output, 84, "Turn Output 0 on");
    addSymbol(SymbolKind::Output, 168, "Output 0,2 on 4 off");
    addSymbol(SymbolKind::Decision, 252, "Is Input 0 on");
    addSymbol(SymbolKind::Output, 336, "Turn Output a on");
    addSymbol(SymbolKind::Process, 420, "Delay 0.5");
    addSymbol(SymbolKind::Process, 504, "Let a = 0");
    addSymbol(SymbolKind::Decision, 588, "Is IN = 20");
    addSymbol(SymbolKind::Decision, 672, "Is Input x off");
    addSymbol(SymbolKind::Output, 756, "Turn Motor a fd");

    EXPECT_FALSE(doc.renumberIo(1, 0));  // both count from 1
    EXPECT_TRUE(doc.renumberIo(2, 1));
    EXPECT_EQ(doc.symbol(0).text, "Turn Output 1 on");
    EXPECT_EQ(doc.symbol(1).text, "Output 1,3 on 5 off");
    EXPECT_EQ(doc.symbol(2).text, "Is Input 1 on");
    EXPECT_EQ(doc.symbol(3).text, "Turn Output a on");
    EXPECT_EQ(doc.symbol(4).text, "Delay 0.5");
    EXPECT_EQ(doc.symbol(5).text, "Let a = 0");
    EXPECT_EQ(doc.symbol(6).text, "Is IN = 20");
    EXPECT_EQ(doc.symbol(7).text, "Is Input x off");
    EXPECT_EQ(doc.symbol(8).text, "Turn Motor a fd");

    EXPECT_TRUE(doc.renumberIo(1, 2));
    EXPECT_EQ(doc.symbol(0).text, "Turn Output 0 on");
    EXPECT_EQ(doc.symbol(1).text, "Output 0,2 on 4 off");
    EXPECT_EQ(doc.symbol(2).text, "Is Input 0 on");
    EXPECT_EQ(doc.symbol(6).text, "Is IN = 20");
}

TEST(Document, NewDocumentRestoresDefaults)
{
    FlowDocument doc;
    EXPECT_EQ(doc.channelNames[0], "Val 1");
    EXPECT_EQ(doc.channelNames[3], "Val 4");
    EXPECT_EQ(doc.outputLevels[7], 100);
    doc.appendSymbol(SymbolKind::Output, {64, 56});
    doc.inputNames[2] = "Puerta";
    doc.soundFiles[4] = "timbre.wav";
    doc.selectSymbol(0);
    doc.setModified();
    doc.setUntitled(false);
    doc.setPath("/tmp/a.FLO");

    doc.clear(2, 0);
    EXPECT_EQ(doc.symbolCount(), 0);
    EXPECT_EQ(doc.inputNames[2], "Entrada");
    EXPECT_EQ(doc.outputNames[0], "Salida");
    EXPECT_EQ(doc.motorNames[3], "Motor");
    EXPECT_TRUE(doc.soundFiles[4].empty());
    EXPECT_TRUE(doc.selectedSymbols().empty());
    EXPECT_FALSE(doc.modified());
    EXPECT_TRUE(doc.untitled());
    EXPECT_TRUE(doc.path().empty());
    EXPECT_EQ(doc.sensorAssignment[0], kSensorPercent);
    EXPECT_TRUE(doc.sensorAutomatic[0]);  // model 2 identifies its sensors

    doc.clear(1, 1);
    EXPECT_TRUE(doc.sensorAutomatic[3]);
    doc.clear(1, 0);
    EXPECT_FALSE(doc.sensorAutomatic[3]);
}

TEST(Document, SnapsCentresDownToTheGrid)
{
    EXPECT_EQ(FlowDocument::snapToGrid({100, 100}), (Point{96, 84}));
    EXPECT_EQ(FlowDocument::snapToGrid({64, 56}), (Point{64, 56}));
    EXPECT_EQ(FlowDocument::snapToGrid({-1, -1}), (Point{-32, -28}));
}

}  // namespace
}  // namespace tarvel
