#include "editors/keypad.h"

namespace tarvel {

namespace {

constexpr std::uint32_t bits(std::initializer_list<int> list)
{
    std::uint32_t k = 0;
    for (const int b : list) k |= keyBit(b);
    return k;
}

// Variables a..d, n, x, y, z on the process and decision keypads.
constexpr int kVariableBits[8] = {22, 23, 24, 25, 26, 27, 28, 29};
// On the output keypad 26 and 27 are "S&onido" and "&DAC": n..z sit above them.
constexpr int kOutputVariableBits[8] = {22, 23, 24, 25, 28, 29, 30, 31};
constexpr char kVariableLetters[8] = {'a', 'b', 'c', 'd', 'n', 'x', 'y', 'z'};

char letterIn(const int (&layout)[8], int bit)
{
    for (int i = 0; i < 8; ++i)
        if (layout[i] == bit) return kVariableLetters[i];
    return 0;
}

std::uint32_t keysOf(const int (&layout)[8], bool restricted)
{
    std::uint32_t k = 0;
    for (int i = 0; i < 8; ++i)
        if (!restricted || kVariableLetters[i] == 'x' || kVariableLetters[i] == 'y')
            k |= keyBit(layout[i]);
    return k;
}

}  // namespace

// ---- Shared ----------------------------------------------------------------------

void Keypad::open(std::string_view text)
{
    clear();
    if (!text.empty()) {
        text_ = text;
        finish();
    }
}

void Keypad::clear()
{
    text_.clear();
    step_ = 0;
    mode_ = 0;
    list_ = false;
    begin();
}

bool Keypad::press(int bit)
{
    if (bit < 0 || bit > 31 || !isEnabled(bit)) return false;
    if (bit == key::Clear) {
        clear();
        return true;
    }
    if (bit == key::Accept) return true;
    ++step_;
    key(bit);
    return true;
}

char Keypad::variableOf(int bit) const
{
    return letterIn(kVariableBits, bit);
}

std::uint32_t Keypad::variableKeys() const
{
    return keysOf(kVariableBits, ctx_.restricted());
}

std::uint32_t Keypad::allVariables() const
{
    return keysOf(kVariableBits, false);
}

// ---- Output ----------------------------------------------------------------------------

namespace {
enum OutputMode {
    OutStart,
    OutTurn,
    OutItems,
    OutMotorLetter,
    OutMotorDirection,
    OutMotorSpeed,
    OutDac,
    OutSal,
    OutSound,
    OutSend
};
}

char OutputKeypad::variableOf(int bit) const
{
    return letterIn(kOutputVariableBits, bit);
}

std::uint32_t OutputKeypad::variableKeys() const
{
    return keysOf(kOutputVariableBits, ctx_.restricted());
}

void OutputKeypad::begin()
{
    usedItems_ = 0;
    items_ = 0;
    clause_ = 1;
    digits_ = 0;
    awaitingItem_ = false;
    using namespace key::out;
    if (ctx_.chipKeys() == ChipKeys::LiveLink)
        offer(bits({Turn, Sound, Sal, Send}));
    else if (ctx_.chipKeys() == ChipKeys::TurnOnly)
        offer(keyBit(Turn));
    else
        offer(bits({Turn, Sound}));
}

std::uint32_t OutputKeypad::outputItems() const
{
    std::uint32_t k = ctx_.caps.outputMask & allDigits();
    if (!ctx_.restricted()) k |= keysOf(kOutputVariableBits, false);
    return k;
}

// Digits of a number that ends the command: a leading 0 ends it at once.
void OutputKeypad::number(int bit, int most)
{
    append(std::string(1, digitOf(bit)));
    if (digits_ == 0 && bit == key::digit(0)) {
        finish();
        return;
    }
    if (++digits_ >= most)
        finish();
    else
        offer(allDigits() | keyBit(key::Accept));
}

void OutputKeypad::afterDirection()
{
    // Without speeds a second clause or the end follows.
    if (clause_ == 1) {
        clause_ = 2;
        mode_ = OutMotorLetter;
        offer(motorLetters() | keyBit(key::Accept));
    } else {
        finish();
    }
}

void OutputKeypad::key(int bit)
{
    using namespace key::out;
    const char letter = variableOf(bit);
    switch (mode_) {
        case OutStart:
            if (bit == Turn) {
                append("Turn");
                mode_ = OutTurn;
                offer(ctx_.caps.turnKeyMask & bits({Output, Motor, Dac}));
            } else if (bit == Sound) {
                append("Sound ");
                mode_ = OutSound;
                offer(allDigits());
            } else if (bit == Sal) {
                append("Set OUT = ");
                mode_ = OutSal;
                digits_ = 0;
                offer(allDigits());
            } else if (bit == Send) {
                mode_ = OutSend;
                offer(0);
            }
            return;
        case OutTurn:
            if (bit == Output) {
                append(" Output ");
                mode_ = OutItems;
                awaitingItem_ = true;
                offer(outputItems());
            } else if (bit == Motor) {
                append(" Motor ");
                mode_ = OutMotorLetter;
                offer(motorLetters());
            } else if (bit == Dac) {
                append(" DAC ");
                mode_ = OutDac;
                digits_ = 0;
                offer(allDigits() | variableKeys());
            }
            return;
        case OutItems:
            if (awaitingItem_) {
                if (items_ > 0) append(",");
                append(std::string(1, letter ? letter : digitOf(bit)));
                usedItems_ |= keyBit(bit);
                awaitingItem_ = false;
                offer(bits({On, Off}));
                return;
            }
            append(bit == On ? " on" : " off");
            list_ = true;
            if (++items_ >= 4) {
                finish();
            } else {
                awaitingItem_ = true;
                offer((outputItems() & ~usedItems_) | keyBit(key::Accept));
            }
            return;
        case OutMotorLetter:
            append(std::string(1, letter));
            mode_ = OutMotorDirection;
            offer(bits({Off, Forward, Reverse}));
            return;
        case OutMotorDirection:
            if (bit == Off) {
                append(" off ");
                afterDirection();
                return;
            }
            append(bit == Forward ? " fd " : " rev ");
            if (!ctx_.caps.motorSpeed) {
                afterDirection();
                return;
            }
            mode_ = OutMotorSpeed;
            digits_ = 0;
            if (ctx_.restricted())
                offer((clause_ == 1 ? motorLetters() : 0) | allDigits());
            else
                offer((clause_ == 1 ? motorLetters() : 0) | allDigits() | bits({28, 29, 30, 31}));
            return;
        case OutMotorSpeed:
            if (isDigitKey(bit)) {
                number(bit, 3);
            } else if (letter == 'n' || letter == 'x' || letter == 'y' || letter == 'z') {
                append(std::string(1, letter));
                finish();
            } else {
                // A motor letter starts the second clause; the speed comes last.
                append(std::string(1, letter));
                clause_ = 2;
                mode_ = OutMotorDirection;
                offer(bits({Off, Forward, Reverse}));
            }
            return;
        case OutDac:
            if (letter) {
                append(std::string(1, letter));
                finish();
            } else {
                number(bit, 3);
            }
            return;
        case OutSal:
            number(bit, 3);
            return;
        case OutSound:
            append(std::string(1, digitOf(bit)));
            finish();
            return;
        default:
            return;
    }
}

void OutputKeypad::sendChosen(const std::string* result)
{
    if (mode_ != OutSend) return;
    if (!result) {
        clear();
        return;
    }
    append("Send " + *result);
    finish();
}

// ---- Process ----------------------------------------------------------------------------

namespace {
enum ProcessMode {
    ProcStart,
    ProcDelay,
    ProcTarget,
    ProcEquals,
    ProcFirst,
    ProcAfterVariable,
    ProcSecond,
    ProcNumber,
    ProcChannel,
    ProcRepeat,
    ProcRepeatMore,
    ProcDone
};
}

void ProcessKeypad::begin()
{
    using namespace key::proc;
    target_ = -1;
    digits_ = 0;
    point_ = false;
    operand_ = 0;
    offer(bits({Delay, Let, Sub}));
}

void ProcessKeypad::key(int bit)
{
    using namespace key::proc;
    const char letter = variableOf(bit);
    const bool restricted = ctx_.restricted();
    switch (mode_) {
        case ProcStart:
            if (bit == Delay) {
                append("Delay ");
                mode_ = ProcDelay;
                offer(allDigits() | keyBit(Point));
            } else if (bit == Let) {
                append("Let ");
                mode_ = ProcTarget;
                offer(variableKeys());
            } else if (bit == Sub) {
                append("Sub ");
                mode_ = kSubMenu;
                offer(0);
            }
            return;
        case ProcDelay:
            // 1 to 3 digits with no leading 0; or d.d; or 0.d.
            if (bit == Point) {
                append(digits_ == 0 ? "0." : ".");
                point_ = true;
                offer(allDigits());
            } else if (point_) {
                append(std::string(1, digitOf(bit)));
                finish();
            } else if (digits_ == 0 && bit == key::digit(0)) {
                append("0");
                digits_ = 1;
                offer(keyBit(Point));
            } else {
                append(std::string(1, digitOf(bit)));
                ++digits_;
                if (digits_ == 1)
                    offer(allDigits() | keyBit(Point) | keyBit(key::Accept));
                else if (digits_ == 2)
                    offer(allDigits() | keyBit(key::Accept));
                else
                    finish();
            }
            return;
        case ProcTarget:
            target_ = bit;
            append(std::string(1, letter) + " ");
            mode_ = ProcEquals;
            offer(keyBit(Equals));
            return;
        case ProcEquals:
            append("= ");
            mode_ = ProcFirst;
            if (restricted)
                offer(allDigits() | keyBit(target_));
            else
                offer(allDigits() | variableKeys() | keyBit(Val));
            return;
        case ProcFirst:
            if (bit == Val) {
                append("Val ");
                mode_ = ProcChannel;
                offer(ctx_.caps.valueKeyMask & allDigits());
            } else if (letter) {
                append(std::string(1, letter) + " ");
                mode_ = ProcAfterVariable;
                offer(keyBit(key::Accept) |
                      (restricted ? bits({Plus, Minus}) : bits({Plus, Minus, Times, Divide})));
            } else {
                mode_ = ProcNumber;
                digits_ = 0;
                key(bit);
            }
            return;
        case ProcAfterVariable:
            append(bit == Plus ? "+ " : bit == Minus ? "- " : bit == Times ? "* " : "/ ");
            mode_ = ProcSecond;
            operand_ = 1;
            offer(allDigits() | variableKeys());
            return;
        case ProcSecond:
            if (letter) {
                append(std::string(1, letter));
                finish();
            } else {
                mode_ = ProcNumber;
                digits_ = 0;
                key(bit);
            }
            return;
        case ProcNumber:
            append(std::string(1, digitOf(bit)));
            if (++digits_ >= 6)
                finish();
            else
                offer(allDigits() | keyBit(key::Accept));
            return;
        case ProcChannel:
            append(std::string(1, digitOf(bit)));
            finish();
            return;
        case ProcRepeat:
            append(" x " + std::string(1, digitOf(bit)));
            mode_ = ProcRepeatMore;
            offer(allDigits() | keyBit(key::Accept));
            return;
        case ProcRepeatMore:
            append(std::string(1, digitOf(bit)));
            finish();
            return;
        default:
            return;
    }
}

void ProcessKeypad::subChosen(std::string_view entry)
{
    if (mode_ != kSubMenu || entry.empty()) return;
    append(entry);
    ++step_;
    mode_ = ProcRepeat;
    // A repeat count starts with 1..9.
    offer((allDigits() & ~keyBit(key::digit(0))) | keyBit(key::Accept));
}

// ---- Decision ---------------------------------------------------------------------------

namespace {
enum DecisionMode {
    DeciStart,
    DeciWhat,
    DeciInputItem,
    DeciInputState,
    DeciOperator,
    DeciRight,
    DeciNumber,
    DeciLeftChannel,
    DeciRightChannel,
    DeciInEquals,
    DeciInVariable
};
}

void DecisionKeypad::begin()
{
    left_ = 0;
    keys_ = 0;
    point_ = false;
    offer(keyBit(key::deci::Is));
}

std::uint32_t DecisionKeypad::operators() const
{
    using namespace key::deci;
    return bits({Equals, NotEquals, Less, Greater});
}

void DecisionKeypad::rightOperand()
{
    using namespace key::deci;
    mode_ = DeciRight;
    keys_ = 0;
    point_ = false;
    if (!ctx_.restricted())
        offer(allDigits() | keyBit(Point) | keyBit(Val) | variableKeys());
    else if (left_ == 1)
        offer(allDigits() | keyBit(Point) | keyBit(Val));
    else
        offer(allDigits() | keyBit(Point) | variableKeys());
}

void DecisionKeypad::key(int bit)
{
    using namespace key::deci;
    const char letter = variableOf(bit);
    switch (mode_) {
        case DeciStart: {
            append("Is");
            mode_ = DeciWhat;
            std::uint32_t mask = ctx_.caps.decisionKeyMask & ~keyBit(key::Accept);
            if (ctx_.chipKeys() == ChipKeys::LiveLink)
                mask |= keyBit(In);
            else
                mask &= ~keyBit(In);
            offer(mask);
            return;
        }
        case DeciWhat:
            if (bit == Input) {
                append(" Input ");
                mode_ = DeciInputItem;
                offer((ctx_.caps.inputMask & allDigits()) |
                      (ctx_.restricted() ? 0 : allVariables()));
            } else if (bit == Val) {
                append(" Val ");
                left_ = 3;
                mode_ = DeciLeftChannel;
                offer(ctx_.caps.valueKeyMask & allDigits());
            } else if (bit == Margin) {
                append(" Margin");
                left_ = 1;
                mode_ = DeciOperator;
                offer(operators());
            } else if (bit == In) {
                append(" IN");
                left_ = 4;
                mode_ = DeciInEquals;
                offer(keyBit(Equals));
            } else {
                append(std::string(" ") + letter);
                left_ = 2;
                mode_ = DeciOperator;
                offer(operators());
            }
            return;
        case DeciInputItem:
            append(std::string(1, letter ? letter : digitOf(bit)));
            mode_ = DeciInputState;
            offer(bits({On, Off}));
            return;
        case DeciInputState:
            append(bit == On ? " on" : " off");
            finish();
            return;
        case DeciLeftChannel:
            append(std::string(1, digitOf(bit)));
            mode_ = DeciOperator;
            offer(operators());
            return;
        case DeciOperator:
            append(bit == Equals ? " = " : bit == NotEquals ? " != " : bit == Less ? " < " : " > ");
            rightOperand();
            return;
        case DeciInEquals:
            append(" = ");
            mode_ = DeciInVariable;
            offer(bits({27, 28}));  // x, y
            return;
        case DeciInVariable:
            append(std::string(1, letter));
            finish();
            return;
        case DeciRight:
            if (bit == Val) {
                append("Val ");
                mode_ = DeciRightChannel;
                offer(ctx_.caps.valueKeyMask & allDigits());
                return;
            }
            if (letter) {
                append(std::string(1, letter));
                finish();
                return;
            }
            mode_ = DeciNumber;
            [[fallthrough]];
        case DeciNumber: {
            if (left_ == 1) {
                marginNumber(bit);
                return;
            }
            // At most one point; a leading point is "0."; a leading 0 takes
            // only the point or the end; up to six keys.
            constexpr int most = 6;
            if (bit == Point) {
                append(keys_ == 0 ? "0." : ".");
                point_ = true;
                ++keys_;
                offer(allDigits());
                return;
            }
            const bool leadingZero = keys_ == 0 && bit == key::digit(0);
            append(std::string(1, digitOf(bit)));
            ++keys_;
            if (keys_ >= most) {
                finish();
            } else if (leadingZero) {
                offer(keyBit(Point) | keyBit(key::Accept));
            } else {
                offer(allDigits() | (point_ || keys_ >= most - 1 ? 0u : keyBit(Point)) |
                      keyBit(key::Accept));
            }
            return;
        }
        case DeciRightChannel:
            append(std::string(1, digitOf(bit)));
            finish();
            return;
        default:
            return;
    }
}

// The margin is one or two digits, or one digit, a point and one more digit
// (5, 12, 2.5, 0.5): `keys_` counts the digits before the point. A leading 0
// takes only the point or the end, and a leading point is written "0.".
void DecisionKeypad::marginNumber(int bit)
{
    using namespace key::deci;
    if (bit == Point) {
        append(keys_ == 0 ? "0." : ".");
        point_ = true;
        offer(allDigits());
        return;
    }
    append(std::string(1, digitOf(bit)));
    if (point_ || ++keys_ == 2) {
        finish();
        return;
    }
    offer((bit == key::digit(0) ? 0u : allDigits()) | keyBit(Point) | keyBit(key::Accept));
}

}  // namespace tarvel
