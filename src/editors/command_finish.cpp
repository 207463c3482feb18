#include "editors/command_finish.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "flowchart/command_text.h"
#include "flowchart/flow_document.h"

namespace tarvel {

namespace {

constexpr std::size_t kCommandMax = 40;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// "Turn Output 1 on,3 on,2 off" -> "Output 1,3 on 2 off".
std::string outputListForm(std::string_view text)
{
    std::string_view rest = text.substr(std::string_view("Turn Output ").size());
    std::string on, off;
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        std::string_view item = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
        const std::size_t blank = item.find(' ');
        if (blank == std::string_view::npos) continue;
        std::string& half = item.substr(blank + 1) == "on" ? on : off;
        if (!half.empty()) half += ',';
        half += item.substr(0, blank);
    }
    std::string out = "Output ";
    if (!on.empty()) out += on + " on ";
    if (!off.empty()) out += off + " off";
    return out;
}

// Caps the motor speed (the first number not starting with 0) at 100.
void capMotorSpeed(std::string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] < '1' || text[i] > '9' || (i > 0 && isDigit(text[i - 1]))) continue;
        std::size_t end = i;
        while (end < text.size() && isDigit(text[end])) ++end;
        if (end - i > 3 || std::stoi(text.substr(i, end - i)) > 100)
            text.replace(i, end - i, "100");
        return;
    }
}

void capDac(std::string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isDigit(text[i])) continue;
        std::size_t end = i;
        while (end < text.size() && isDigit(text[end])) ++end;
        if (end - i > 3 || std::stoi(text.substr(i, end - i)) > 255)
            text.replace(i, end - i, "255");
        return;
    }
}

}  // namespace

std::string finishCommand(std::string_view whole)
{
    std::string text(whole.substr(0, std::min(whole.size(), kCommandMax)));
    if (text.size() <= 5 || text.compare(0, 5, "Turn ") != 0) return text;
    switch (text[5]) {
        case 'O':
            if (text.size() > 17) text = outputListForm(text);
            break;
        case 'M':
            capMotorSpeed(text);
            // Accepting a finished text again must not add a second sign.
            if (text.back() != ' ' && text.back() != '%') text += '%';
            if (text.size() > 18) text.erase(0, 5);
            break;
        case 'D':
            capDac(text);
            break;
        default:
            break;
    }
    return text;
}

int chooseSubNumber(const FlowDocument& doc, int head, int remembered)
{
    std::vector<int> used;
    for (int i = 0; i < doc.symbolCount(); ++i)
        if (i != head && doc.isSubHead(i)) used.push_back(subNumberOf(doc.symbol(i).text.view()));
    for (int n = 1; n <= kMaxSubNumber; ++n)
        if (std::find(used.begin(), used.end(), n) == used.end()) return std::min(n, remembered);
    return remembered <= kMaxSubNumber ? remembered : 0;
}

int storeSubHead(FlowDocument& doc, int head, std::string_view name)
{
    const int remembered = doc.isSubHead(head) ? subNumberOf(doc.symbol(head).text.view()) : 1000;
    const int n = chooseSubNumber(doc, head, remembered);
    const std::string_view shortName = name.substr(0, std::min(name.size(), kSubNameMax));
    doc.setSymbolText(head, formatSubText(n, shortName, std::nullopt));
    doc.renameSubroutineCalls(n, shortName);
    doc.setModified();
    return n;
}

SendSerialResult sendSerialText(const SendSerialChoice& c)
{
    switch (c.kind) {
        case SendSerialChoice::Text:
            if (c.text.empty()) return {{}, "Debe incorporar texto para enviar."};
            if (c.text.size() == 1) return {"'" + c.text + "'", {}};
            return {"\"" + c.text.substr(0, 16) + "\"", {}};
        case SendSerialChoice::Number: {
            if (c.number.empty()) return {{}, "Debe introducir un número para enviar."};
            if (c.hex) {
                if (c.number.size() > 2) return {{}, "Debe entrar solamente 2 dígitos 00h - ffh."};
                std::string digits = c.number.size() == 1 ? "0" + c.number : c.number;
                for (char& ch : digits) {
                    ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
                    if (!isDigit(ch) && (ch < 'A' || ch > 'F'))
                        return {{},
                                "Solamente debe incorporar carácteres hexadecimales válidos (0-9 y "
                                "A-F)."};
                }
                return {digits + "h", {}};
            }
            // Every character must be a digit, not only the first three: "12a"
            // and "123a" are both refused rather than sent as something else.
            if (!std::all_of(c.number.begin(), c.number.end(), isDigit))
                return {{}, "Solamente debe incorporar carácteres numerales válidos (0-9)."};
            const std::size_t first = std::min(c.number.find_first_not_of('0'), c.number.size());
            const std::string significant = c.number.substr(first);
            if (significant.size() > 3 || (!significant.empty() && std::stoi(significant) > 255))
                return {{}, "Debe incorporar un número entre 0 y 255"};
            return {significant.empty() ? "0" : significant, {}};
        }
        case SendSerialChoice::Variable:
            return {c.variableY ? "y" : "x", {}};
    }
    return {};
}

}  // namespace tarvel
