#pragma once
// What the symbol editors do with a finished command text when the pupil
// accepts it, and the two other decisions they take outside the keypads: the
// number a Sub head gets, and what the "Enviar Serie" dialog sends.

#include <string>
#include <string_view>
#include <variant>

namespace tarvel {

class FlowDocument;

// The characters of a Sub head's name that are kept.
inline constexpr std::size_t kSubNameMax = 7;

// The text the output, process and decision editors store on "Aceptar":
// long output switching texts in the interpreter's list form ("Output 1,3 on
// 2 off"), motor speeds capped at 100 with "%" (dropping "Turn " when the text
// grows past 18 characters), DAC values capped at 255. At most 40 characters
// are taken.
std::string finishCommand(std::string_view text);

// The number for a Sub head being (re)named: the lowest of 1..50 that no other
// head uses, unless `remembered` (the head's own number, or 1000 for none) is
// lower; with all 50 in use, `remembered` when it is at most 50, else 0.
// `head` is the symbol being edited (its own number does not count as used).
int chooseSubNumber(const FlowDocument& doc, int head, int remembered);

// Stores "Sub %d(%s)" or "Sub %d" into the head (the name cut to 7
// characters) and renames every call of that number, keeping its repeat
// count. Returns the number chosen.
int storeSubHead(FlowDocument& doc, int head, std::string_view name);

// The "Enviar Serie" dialog's choices and what they send.
struct SendSerialChoice {
    enum Kind { Text, Number, Variable };
    Kind kind = Text;
    bool hex = false;        // a number in hexadecimal
    bool variableY = false;  // a variable: y, else x
    std::string text;        // the text field
    std::string number;      // the number field
};

// The text appended after "Send ", or the warning to show (the dialog stays open).
struct SendSerialResult {
    std::string send;
    std::string warning;
};
SendSerialResult sendSerialText(const SendSerialChoice& choice);

}  // namespace tarvel
