#include "flowchart/captions.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

using namespace tarvel;
using namespace std::string_literals;

namespace {

struct Case {
    std::string_view text;
    std::string caption;
};

void expectCaptions(SymbolKind kind, const std::vector<Case>& cases)
{
    for (const auto& c : cases) EXPECT_EQ(symbolCaption(kind, c.text), c.caption) << c.text;
}

// Decision captions open with the inverted question mark.
std::string ask(std::string_view rest)
{
    return "\xBF"s.append(rest);
}

// The symbol font at 100 %: every character 6 units wide.
const TextWidthFn fixedPitch = [](std::string_view s) { return static_cast<int>(s.size()) * 6; };

TextWidthFn constantWidth(int w)
{
    return [w](std::string_view) { return w; };
}

}  // namespace

TEST(Captions, StartStopAndProcess)
{
    expectCaptions(SymbolKind::StartStop, {{"Start", "Inicio"},
                                           {"Stop", "Alto"},
                                           {"Stop All", "P\xE1ralo Todo"},
                                           {"Sub 3(Luz)", "Sub 3(Luz)"},
                                           {"St", "St"},
                                           {"", ""}});
    // The stored text ends at its first NUL.
    EXPECT_EQ(captionStartStop("Stop\0All"s), "Alto");

    expectCaptions(SymbolKind::Process, {{"Delay 5", "Tardar 5"},
                                         {"Let a = b + 3", "Fijar a = b + 3"},
                                         {"Sub 2(Luz) x 3", "Sub 2(Luz) x 3"},
                                         {"D", "Tardar"},
                                         {"Let", "Fijar"},
                                         {"", ""}});
    EXPECT_EQ(symbolCaption(static_cast<SymbolKind>(7), "Stop"), "");
}

TEST(Captions, Decision)
{
    expectCaptions(SymbolKind::Decision,
                   {{"Is Input 3 on", ask("Est\xE1 activada ent 3?")},
                    {"Is Input x off", ask("Est\xE1 desactiva ent x?")},
                    // Not yet told on or off, or no input yet: blanks hold the places.
                    {"Is Input 3", ask("Est\xE1         ent 3?")},
                    {"Is Inp", ask("Est\xE1         ent   ?")},
                    {"Is", ask("Es     ?")},
                    {"I", ask("Es     ?")},
                    {"", ""},
                    {"Is IN = 12", ask("Es EN = 12?")},
                    {"Is IN", ask("Es EN    ?")},
                    {"Is Margin < 2.5", ask("Es Margen < 2.5?")},
                    {"Is Margin", ask("Es Margen    ?")},
                    {"Is Val 1 > 50", ask("Es Val 1 > 50?")},
                    {"Is x != y", ask("Es x != y?")}});
}

TEST(Captions, OutputSoundSetSendDac)
{
    expectCaptions(SymbolKind::Output, {{"Sound 3", "Sonido 3"},
                                        {"Set OUT = 5", "Define SAL = 5"},
                                        {"Send 12,200", "Envie 12,200"},
                                        {"Turn DAC 128", "Define DAC 128"},
                                        {"Turn DAC", "Define DAC"},
                                        {"So", "Sonido"},
                                        {"Turn", ""},
                                        {"", ""}});
}

TEST(Captions, OutputSwitching)
{
    expectCaptions(SymbolKind::Output, {{"Turn Output 3 off", "Desactivar salida 3"},
                                        {"Turn Output x on", "Activar salida x"},
                                        // 19 characters, longer than 18: the short word.
                                        {"Output 1,2 on 3 off", "Activar salida 1,2 desact 3"},
                                        {"Output 1 on 2 off", "Activar salida 1 desactivar 2"},
                                        {"Output 1,2,3,4 off", "Desactivar salida 1,2,3,4"},
                                        {"Output 1,2,3,4,5 off", "Desact salida 1,2,3,4,5"},
                                        {"Output 1,2 on ", "Activar salida 1,2"},
                                        {"Turn Output ", "    salida"},
                                        {"Output 123", "    salida"},
                                        // An "on" with no items before it.
                                        {"Output on", "Activar salida "},
                                        {"Output  on", "Activar salida "},
                                        {"Output 1 o", "Desactivar salida 1"}});
}

TEST(Captions, OutputMotors)
{
    expectCaptions(SymbolKind::Output,
                   {{"Turn Motor a fd ", "Activar Motor a adel "},
                    {"Turn Motor a rev ", "Activar Motor a atr\xE1s "},
                    {"Turn Motor a off ", "Desactivar Motor a "},  // 12 characters: not short
                    {"Motor a off 5", "Desact Motor a 5"},
                    // A speed after the direction word is not a second clause.
                    {"Motor a fd 50%", "Activar Motor a adel 50%"},
                    {"Motor c rev 100%", "Activar Motor c atr\xE1s 100%"},
                    // Ending on the direction word still shows the direction.
                    {"Motor a rev", "Activar Motor a atr\xE1s"},
                    {"Motor a f", "Activar Motor a adel"},
                    {"Turn Motor", "    Motor"},
                    {"M", "    Motor"},
                    {"Turn Motor a", "    Motor a"},
                    // Two clauses, every pair of directions; always longer than 12, so short words.
                    {"Motor A fd B fd", "Activar Motor A,B adel"},
                    {"Motor A off B rev ", "Desact Motor A, Activar B atr\xE1s "},
                    {"Motor a fd b rev ", "Activar Motor a adel b atr\xE1s "},
                    {"Motor a fd b off ", "Activar Motor a adel, Desact b "},
                    {"Motor a rev b fd ", "Activar Motor a atr\xE1s b adel "},
                    {"Motor a rev b rev ", "Activar Motor a,b atr\xE1s "},
                    {"Motor a rev b off ", "Activar Motor a atr\xE1s, Desact b "},
                    {"Motor a off b fd ", "Desact Motor a, Activar b adel "},
                    {"Motor a off b off ", "Desact Motor a,b "},
                    {"Motor a fd b rev 50%", "Activar Motor a adel b atr\xE1s 50%"}});
}

TEST(BreakCaption, ThresholdsAndKinds)
{
    const auto screen = [](SymbolKind kind, std::string_view caption, int w) {
        return breakCaption(kind, caption, constantWidth(w), CaptionLayout::twoLineThreshold,
                            CaptionLayout::wideThreshold);
    };
    EXPECT_FALSE(screen(SymbolKind::Process, "Tardar 1.5", 79).twoLines);
    const auto at80 = screen(SymbolKind::Process, "Tardar 1.5", 80);
    EXPECT_TRUE(at80.twoLines);
    EXPECT_EQ(at80.first, "Tardar");
    EXPECT_EQ(at80.second, " 1.5");
    // A start/stop symbol is never broken; a caption with no blank cannot be.
    const auto head = screen(SymbolKind::StartStop, "Sub 12(Semaforo largo)", 500);
    EXPECT_FALSE(head.twoLines);
    EXPECT_EQ(head.first, "Sub 12(Semaforo largo)");
    EXPECT_FALSE(screen(SymbolKind::Process, "Sub7(Semaforo)", 200).twoLines);
    // Only an Output caption looks past its first word.
    EXPECT_EQ(screen(SymbolKind::Decision, ask("Est\xE1 activada ent 3?"), 200).first,
              ask("Est\xE1"));
    // Exactly 130 is not wider than 130.
    EXPECT_EQ(screen(SymbolKind::Output, "Activar salida 1,2 desact 3", 130).first, "Activar");
    EXPECT_TRUE(
        breakCaptionForClipboard(SymbolKind::Process, "Tardar 1.5", constantWidth(79)).twoLines);
}

TEST(BreakCaption, WideOutputBreaksAfterSecondWord)
{
    struct Expected {
        std::string_view caption, first, second;
    };
    const std::vector<Expected> cases{
        {"Desactivar salida 3", "Desactivar", " salida 3"},  // 114 units: not wide
        {"Activar salida 1,2 desact 3", "Activar salida", " 1,2 desact 3"},
        // A one-character item still fits after the second word.
        {"Activar salida 1 desactivar 2", "Activar salida 1", " desactivar 2"},
        {"Desact Motor a, Activar b atr\xE1s ", "Desact Motor a,", " Activar b atr\xE1s "},
        {"Activar Motor A,B adel", "Activar Motor", " A,B adel"},
        // Past character 16: back to the first word.
        {"Desactivar salida 1,2,3", "Desactivar", " salida 1,2,3"},
        {"Desactivar Motor A, Activar B atr\xE1s", "Desactivar", " Motor A, Activar B atr\xE1s"},
        {"Envie 1,2,3,4,5,6,7,8,9", "Envie", " 1,2,3,4,5,6,7,8,9"}};
    for (const auto& c : cases) {
        const auto lines = breakCaption(SymbolKind::Output, c.caption, fixedPitch, 80, 130);
        EXPECT_TRUE(lines.twoLines) << c.caption;
        EXPECT_EQ(lines.first, c.first) << c.caption;
        EXPECT_EQ(lines.second, c.second) << c.caption;
    }
}

TEST(WordTables, WholeTextIgnoringCase)
{
    const std::vector<std::pair<std::string, std::string>> quantities{
        {"Angle", "Angulo"},
        {"POSITION", "Posici\xF3n"},
        {"sound", "Sonido"},
        {"Temperature", "Temperatura"},
        {"light", "Luz"},
        {"Voltage", "Voltaje"},
        {"Light level", "Light level"},
        {"", ""}};
    for (const auto& [in, out] : quantities) EXPECT_EQ(translateSensorQuantity(in), out);
    const std::vector<std::pair<std::string, std::string>> units{
        {"Percentage", "porcentaje"}, {"percent", "porcentaje"}, {"Degrees C", "grados C"},
        {"degrees", "grados"},        {"VOLT", "voltios"},       {"volts", "volts"}};
    for (const auto& [in, out] : units) EXPECT_EQ(translateSensorUnit(in), out);
    const std::vector<std::pair<std::string, std::string>> modules{
        {"Standard board", "Tablero est\xE1nder"},
        {"motor BOARD", "Tablero del motor"},
        {"adc board", "Tablero del ADC"},
        {"Relay board", "Relay board"}};
    for (const auto& [in, out] : modules) EXPECT_EQ(translateModuleName(in), out);
}

TEST(WordTables, MimicChannelPrefixIsCaseSensitive)
{
    const std::vector<std::pair<std::string, std::string>> names{
        {"in 3", "ent 3"},  {"out 7", "sal 7"}, {"in ", "ent "},    {"In 3", "In 3"},
        {"OUT 7", "OUT 7"}, {"input", "input"}, {"outer", "outer"}, {"in", "in"}};
    for (const auto& [in, out] : names) EXPECT_EQ(translateMimicChannelName(in), out);
}

// Captions take whatever bytes a file held. Each text is copied into a buffer
// of exactly its size, so a read past its end is caught by the address
// sanitizer; a broken caption must keep every character.
TEST(CaptionRobustness, PrefixesAndRandomBytes)
{
    std::vector<std::string> texts{
        "Stop All",         "Sub 12(Semaforo)",    "Delay 1.5",        "Let a = b + 3",
        "Is Input 3 off",   "Is IN = 12",          "Is Margin < 2",    "Turn Output 3 off",
        "Output on off",    "Output 1,2 on 3 off", "Turn Motor a fd ", "Motor a off b rev 50%",
        "Motor a fd b fd ", "Turn DAC 128",        "Set OUT = 255",    "Send 12,200"};
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> length(0, 45);
    std::uniform_int_distribution<int> byte(0, 255);
    const std::string letters = " ofnrdMOIDSpae,";
    std::uniform_int_distribution<std::size_t> letter(0, letters.size() - 1);
    for (int i = 0; i < 3000; ++i) {
        std::string s(static_cast<std::size_t>(length(random)), ' ');
        // Half of them from the letters the rules look for, so the deep branches run.
        for (auto& c : s) c = i % 2 ? static_cast<char>(byte(random)) : letters[letter(random)];
        texts.push_back(s);
    }
    for (const auto& text : texts) {
        for (std::size_t n = 0; n <= text.size(); ++n) {
            const auto buffer = std::make_unique<char[]>(n);
            std::copy_n(text.data(), n, buffer.get());
            const std::string_view exact(buffer.get(), n);
            for (const auto kind : {SymbolKind::StartStop, SymbolKind::Output, SymbolKind::Process,
                                    SymbolKind::Decision}) {
                const std::string caption = symbolCaption(kind, exact);
                const auto lines = breakCaption(kind, caption, fixedPitch, 80, 130);
                ASSERT_EQ(lines.first + lines.second, caption);
                if (lines.twoLines) {
                    ASSERT_EQ(lines.second.front(), ' ');
                }
            }
            translateMimicChannelName(exact);
        }
    }
}
