#include "flowchart/captions.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

#include "platform/file_lookup.h"

namespace tarvel {

namespace {

using Pos = std::size_t;

// Kept apart from the words it opens: a hex escape would run on into "Es".
constexpr std::string_view kOpenQuestion = "\xBF";

// A command text lives in a NUL-terminated buffer, so it ends at its first NUL
// whatever the caller's view holds.
std::string_view commandText(std::string_view text)
{
    return text.substr(0, std::min(text.find('\0'), text.size()));
}

// The character at position i, or NUL at and past the end, as the stored
// buffer's terminator would read: every positional test past the end fails.
char at(std::string_view t, Pos i)
{
    return i < t.size() ? t[i] : '\0';
}

// The rest of the text from position p; nothing when p is at or past the end.
std::string_view from(std::string_view t, Pos p)
{
    return p < t.size() ? t.substr(p) : std::string_view{};
}

std::string join(std::string_view head, std::string_view tail)
{
    std::string s;
    s.reserve(head.size() + tail.size());
    s.append(head);
    s.append(tail);
    return s;
}

using WordPair = std::pair<std::string_view, std::string_view>;

template <std::size_t N>
std::string translateWhole(std::string_view text, const std::array<WordPair, N>& table)
{
    for (const auto& [english, spanish] : table) {
        if (equalsIgnoreCase(text, english)) return std::string(spanish);
    }
    return std::string(text);
}

// Output switching, "Output 1,2 on 3 off" (the "Turn" already dropped): each
// group of items ends two characters before the 'o' of its "on" or "off".
std::string captionSwitching(std::string_view t)
{
    const Pos n = t.size();
    // A long text takes the short words so the caption still fits the symbol.
    const bool useShort = n > 18;
    std::string caption;
    bool firstGroup = true;
    Pos pos = 7;
    while (pos < n) {
        const Pos o = t.find('o', pos);
        if (o == std::string_view::npos) break;
        // An "on" or "off" right at the start of the group has no items.
        const std::string_view items =
            o >= pos + 2 ? t.substr(pos, o - 1 - pos) : std::string_view{};
        if (at(t, o + 1) == 'n') {
            caption += firstGroup ? "Activar salida " : " activar ";
            pos = o + 3;
        } else {
            if (firstGroup)
                caption += useShort ? "Desact salida " : "Desactivar salida ";
            else
                caption += useShort ? " desact " : " desactivar ";
            pos = o + 4;
        }
        caption += items;
        firstGroup = false;
    }
    return firstGroup ? std::string("    salida") : caption;
}

bool isMotorDirection(char c)
{
    return c == 'f' || c == 'r' || c == 'o';
}

// Motors, "Motor a fd b rev 50%" (the "Turn" already dropped): the first motor
// letter is at 6 and its direction at 8; a second clause follows the first
// direction word after a blank, and anything left is the speed.
std::string captionMotors(std::string_view t)
{
    const Pos n = t.size();
    // Any two-clause text is longer than this, so two clauses always take the
    // short words; that keeps the first line of a broken caption short.
    const bool useShort = n > 12;
    if (n <= 5) return "    Motor";
    if (n <= 8) return join("    Motor", from(t, 5));

    const std::string_view forward = " adel";
    const std::string_view reverse = " atr\xE1s";
    const char firstDir = t[8];
    std::string caption;
    std::string_view tail;
    Pos wordWidth = 3;  // "rev", "off"
    if (firstDir == 'f') {
        caption = "Activar Motor ";
        tail = forward;
        wordWidth = 2;
    } else if (firstDir == 'r') {
        caption = "Activar Motor ";
        tail = reverse;
    } else {
        caption = useShort ? "Desact Motor " : "Desactivar Motor ";
    }
    caption += t[6];

    // A second clause exists only when 'f', 'r' or 'o' stands where its
    // direction word would start; otherwise what follows the first direction word is a speed (or
    // nothing), and the first clause keeps its direction word even when the text ends right after
    // it, so a bare "Motor a rev" still reads as reverse.
    const char secondDir = at(t, wordWidth + 11);
    if (!isMotorDirection(secondDir)) {
        caption += tail;
        caption += from(t, wordWidth + 8);
        return caption;
    }

    const char letter = firstDir == 'f' ? at(t, 11) : at(t, 12);
    const std::string_view secondWord = secondDir == 'f' ? forward : reverse;
    const std::string_view switchOff = useShort ? ", Desact " : ", Desactiva ";
    if (firstDir == 'f' || firstDir == 'r') {
        if (secondDir == firstDir) {
            // Both the same way: one direction word for both letters.
            caption += ',';
            caption += letter;
            caption += tail;
        } else if (secondDir == 'o') {
            caption += tail;
            caption += switchOff;
            caption += letter;
        } else {
            caption += tail;
            caption += ' ';
            caption += letter;
            caption += secondWord;
        }
    } else if (secondDir == 'o') {
        caption += ',';
        caption += letter;
    } else {
        caption += ", Activar ";
        caption += letter;
        caption += secondWord;
    }
    caption += from(t, secondDir == 'f' ? wordWidth + 13 : wordWidth + 14);
    return caption;
}

}  // namespace

std::string captionStartStop(std::string_view text)
{
    const std::string_view t = commandText(text);
    switch (at(t, 2)) {
        case 'a':  // "Start"
            return "Inicio";
        case 'o':  // "Stop", "Stop All"
            return t.size() > 4 ? "P\xE1ralo Todo" : "Alto";
        default:  // a subroutine head shows its own text
            return std::string(t);
    }
}

std::string captionProcess(std::string_view text)
{
    const std::string_view t = commandText(text);
    switch (at(t, 0)) {
        case 'D':  // "Delay 1.5": the blank before the time stays
            return join("Tardar", from(t, 5));
        case 'L':  // "Let a = 3"
            return join("Fijar", from(t, 3));
        default:  // a subroutine call shows its own text
            return std::string(t);
    }
}

std::string captionDecision(std::string_view text)
{
    const std::string_view t = commandText(text);
    const Pos n = t.size();
    if (n == 0) return {};
    // A bare "Is" (not yet set) keeps room for the question in the symbol.
    if (n == 2) return join(kOpenQuestion, "Es     ?");

    if (n > 3 && t.substr(3, 3) == "Inp") {
        // "Is Input 3 on": the input number at 9, "on"/"off" told apart at 12.
        std::string caption = join(kOpenQuestion, "Est\xE1 ");
        if (n < 13)
            caption += "        ";
        else
            caption += t[12] == 'n' ? "activada " : "desactiva ";
        caption += "ent ";
        if (n < 10)
            caption += "  ";
        else
            caption += t[9];
        caption += '?';
        return caption;
    }

    std::string caption = join(kOpenQuestion, "Es ");
    if (n < 4) {
        caption += "    ";
    } else if (t[3] == 'I') {  // "Is IN = 12"
        caption += "EN";
        caption += n <= 5 ? std::string_view("    ") : from(t, 5);
    } else if (t[3] == 'M') {  // "Is Margin < 2.5"
        caption += "Margen";
        caption += n <= 9 ? std::string_view("    ") : from(t, 9);
    } else {  // "Is Val 1 > 50", "Is x != y"
        caption += from(t, 3);
    }
    caption += '?';
    return caption;
}

std::string captionOutput(std::string_view text)
{
    const std::string_view t = commandText(text);
    if (t.starts_with("So")) return join("Sonido", from(t, 5));
    if (t.starts_with("Set")) return join("Define SAL", from(t, 7));
    if (t.starts_with("Send")) return join("Envie", from(t, 4));

    // "Turn Output 3 off" and "Turn Motor a fd " lose their "Turn " first, so
    // both forms are read at the same positions as "Output ..." and "Motor ...".
    if (at(t, 5) == 'O' || at(t, 0) == 'O')
        return captionSwitching(at(t, 5) == 'O' ? t.substr(5) : t);
    if (at(t, 5) == 'M' || at(t, 0) == 'M') return captionMotors(at(t, 5) == 'M' ? t.substr(5) : t);
    if (at(t, 5) == 'D') return join("Define DAC", from(t, 8));  // "Turn DAC 128"
    return {};
}

std::string symbolCaption(SymbolKind kind, std::string_view text)
{
    switch (kind) {
        case SymbolKind::StartStop:
            return captionStartStop(text);
        case SymbolKind::Output:
            return captionOutput(text);
        case SymbolKind::Process:
            return captionProcess(text);
        case SymbolKind::Decision:
            return captionDecision(text);
    }
    return {};
}

CaptionLines breakCaption(SymbolKind kind, std::string_view caption, const TextWidthFn& width,
                          int twoLineThreshold, int wideThreshold)
{
    CaptionLines lines;
    const int captionWidth = width ? width(caption) : 0;
    const Pos firstBlank = caption.find(' ');
    // A start or stop symbol is too flat for two lines; a caption with no
    // blank has nowhere to break.
    if (kind == SymbolKind::StartStop || captionWidth < twoLineThreshold ||
        firstBlank == std::string_view::npos) {
        lines.first = caption;
        return lines;
    }

    Pos cut = firstBlank;
    if (kind == SymbolKind::Output && captionWidth > wideThreshold) {
        const Pos secondBlank = caption.find(' ', firstBlank + 1);
        if (secondBlank != std::string_view::npos) {
            // The break point is the blank that ends the second word
            // ("Activar salida", "Desact Motor"); the character two places
            // after it is the one after a single-character item, so a ", "
            // there or a blank there means that item still fits on the first
            // line ("Desact Motor a," / "Activar salida 1"), and the break
            // moves onto the blank that follows it.
            cut = secondBlank;
            if (at(caption, cut + 2) == ',' && at(caption, cut + 3) == ' ')
                cut += 3;
            else if (at(caption, cut + 2) == ' ')
                cut += 2;
            // A first line longer than that would not fit the symbol: the
            // first word is the better break then.
            if (cut > 16) cut = firstBlank;
        }
    }
    lines.twoLines = true;
    lines.first = caption.substr(0, cut);
    lines.second = caption.substr(cut);
    return lines;
}

CaptionLines breakCaptionForClipboard(SymbolKind kind, std::string_view caption,
                                      const TextWidthFn& width)
{
    return breakCaption(kind, caption, width, CaptionLayout::clipboardTwoLineThreshold,
                        CaptionLayout::clipboardWideThreshold);
}

std::string translateSensorQuantity(std::string_view text)
{
    static constexpr std::array<WordPair, 6> table{{
        {"Angle", "Angulo"},
        {"Position", "Posici\xF3n"},
        {"Sound", "Sonido"},
        {"Temperature", "Temperatura"},
        {"Light", "Luz"},
        {"Voltage", "Voltaje"},
    }};
    return translateWhole(text, table);
}

std::string translateSensorUnit(std::string_view text)
{
    static constexpr std::array<WordPair, 5> table{{
        {"percentage", "porcentaje"},
        {"percent", "porcentaje"},
        {"degrees C", "grados C"},
        {"degrees", "grados"},
        {"volt", "voltios"},
    }};
    return translateWhole(text, table);
}

std::string translateModuleName(std::string_view text)
{
    static constexpr std::array<WordPair, 3> table{{
        {"Standard board", "Tablero est\xE1nder"},
        {"Motor board", "Tablero del motor"},
        {"ADC board", "Tablero del ADC"},
    }};
    return translateWhole(text, table);
}

std::string translateMimicChannelName(std::string_view text)
{
    // "in 3" and "out 3" keep their blank and number.
    if (text.starts_with("in ")) return join("ent", text.substr(2));
    if (text.starts_with("out ")) return join("sal", text.substr(3));
    return std::string(text);
}

}  // namespace tarvel
