// Accepting a command: the stored forms, the Sub head numbers and renaming,
// and what "Enviar Serie" sends or refuses.

#include "editors/command_finish.h"

#include <gtest/gtest.h>

#include "flowchart/command_text.h"
#include "flowchart/flow_document.h"

namespace tarvel {
namespace {

TEST(FinishCommand, OutputListsMotorSpeedsAndDac)
{
    // Long switching texts take the list form, the on-list first.
    EXPECT_EQ(finishCommand("Turn Output 1 on,2 off"), "Output 1 on 2 off");
    EXPECT_EQ(finishCommand("Turn Output 2 off,1 on,a on,3 off"), "Output 1,a on 2,3 off");
    EXPECT_EQ(finishCommand("Turn Output 1 off,2 off"), "Output 1,2 off");
    EXPECT_EQ(finishCommand("Turn Output 1 on"), "Turn Output 1 on");  // short: as built

    EXPECT_EQ(finishCommand("Turn Motor a fd 150"), "Motor a fd 100%");
    EXPECT_EQ(finishCommand("Turn Motor a fd 50"), "Motor a fd 50%");
    EXPECT_EQ(finishCommand("Turn Motor a fd 0"), "Turn Motor a fd 0%");
    EXPECT_EQ(finishCommand("Turn Motor a off "), "Turn Motor a off ");
    EXPECT_EQ(finishCommand("Turn Motor a off b rev 999"), "Motor a off b rev 100%");
    // Accepting a stored text again changes nothing.
    EXPECT_EQ(finishCommand(finishCommand("Turn Motor b rev 7")),
              finishCommand("Turn Motor b rev 7"));
    EXPECT_EQ(finishCommand("Turn Motor a fd 7%"), "Turn Motor a fd 7%");

    EXPECT_EQ(finishCommand("Turn DAC 300"), "Turn DAC 255");
    EXPECT_EQ(finishCommand("Turn DAC 255"), "Turn DAC 255");
    EXPECT_EQ(finishCommand("Turn DAC x"), "Turn DAC x");
    EXPECT_EQ(finishCommand("Delay 1.5"), "Delay 1.5");
    EXPECT_EQ(finishCommand(std::string(60, 'L')).size(), 40u);
}

TEST(SubHeads, TheLowestFreeNumberAndEveryCallRenamed)
{
    FlowDocument doc;
    const int one = doc.appendSymbol(SymbolKind::StartStop, {100, 100});
    doc.setSymbolText(one, "Sub 1");
    const int three = doc.appendSymbol(SymbolKind::StartStop, {300, 100});
    doc.setSymbolText(three, "Sub 3(bomba)");
    const int fresh = doc.appendSymbol(SymbolKind::StartStop, {500, 100});
    const int call = doc.appendSymbol(SymbolKind::Process, {500, 200});
    doc.setSymbolText(call, "Sub 2 x 4");
    const int plain = doc.appendSymbol(SymbolKind::Process, {500, 300});
    doc.setSymbolText(plain, "Sub 2");

    EXPECT_EQ(storeSubHead(doc, fresh, "luzverde"), 2);
    EXPECT_EQ(doc.symbol(fresh).text.view(), "Sub 2(luzverd)");
    EXPECT_EQ(doc.symbol(call).text.view(), "Sub 2(luzverd) x 4");
    EXPECT_EQ(doc.symbol(plain).text.view(), "Sub 2(luzverd)");
    EXPECT_TRUE(doc.modified());

    // Renaming keeps the number while no lower one is free.
    EXPECT_EQ(storeSubHead(doc, three, ""), 3);
    EXPECT_EQ(doc.symbol(three).text.view(), "Sub 3");
    // With 1 freed, head 3 moves down to it.
    doc.setSymbolText(one, "Start");
    EXPECT_EQ(chooseSubNumber(doc, three, 3), 1);

    // All fifty in use: a new head gets 0, a renamed one keeps its number.
    FlowDocument full;
    for (int n = 1; n <= kMaxSubNumber; ++n) {
        const int h = full.appendSymbol(SymbolKind::StartStop, {100, 30 * n});
        full.setSymbolText(h, "Sub " + std::to_string(n));
    }
    const int extra = full.appendSymbol(SymbolKind::StartStop, {600, 100});
    EXPECT_EQ(chooseSubNumber(full, extra, 1000), 0);
    EXPECT_EQ(chooseSubNumber(full, 9, 10), 10);
}

TEST(SendSerial, ResultsAndEveryWarning)
{
    using C = SendSerialChoice;
    auto text = [](std::string t) {
        return sendSerialText({C::Text, false, false, std::move(t), {}});
    };
    auto hex = [](std::string n) {
        return sendSerialText({C::Number, true, false, {}, std::move(n)});
    };
    auto dec = [](std::string n) {
        return sendSerialText({C::Number, false, false, {}, std::move(n)});
    };

    EXPECT_EQ(text("").warning, "Debe incorporar texto para enviar.");
    EXPECT_EQ(text("k").send, "'k'");
    EXPECT_EQ(text("hola mundo desde el aula").send, "\"hola mundo desde\"");

    EXPECT_EQ(hex("f").send, "0Fh");
    EXPECT_EQ(hex("a3").send, "A3h");
    EXPECT_EQ(hex("").warning, "Debe introducir un número para enviar.");
    EXPECT_EQ(hex("100").warning, "Debe entrar solamente 2 dígitos 00h - ffh.");
    EXPECT_EQ(hex("g1").warning,
              "Solamente debe incorporar carácteres hexadecimales válidos (0-9 y A-F).");
    EXPECT_TRUE(hex("g1").send.empty());

    EXPECT_EQ(dec("255").send, "255");
    EXPECT_EQ(dec("007").send, "7");
    EXPECT_EQ(dec("0").send, "0");
    EXPECT_EQ(dec("256").warning, "Debe incorporar un número entre 0 y 255");
    EXPECT_EQ(dec("99999999999999").warning, "Debe incorporar un número entre 0 y 255");
    EXPECT_EQ(dec("1a").warning, "Solamente debe incorporar carácteres numerales válidos (0-9).");
    EXPECT_EQ(dec("123a").warning, "Solamente debe incorporar carácteres numerales válidos (0-9).");
    EXPECT_EQ(dec("").warning, "Debe introducir un número para enviar.");

    EXPECT_EQ(sendSerialText({C::Variable, false, true, {}, {}}).send, "y");
    EXPECT_EQ(sendSerialText({C::Variable, false, false, {}, {}}).send, "x");
}

}  // namespace
}  // namespace tarvel
