#include "editors/keypad.h"

#include <string_view>

namespace tarvel {

namespace {

constexpr int kVariableCount = 8;
// Variables a..d, n, x, y, z on the process and decision keypads.
constexpr int kVariableBits[kVariableCount] = {22, 23, 24, 25, 26, 27, 28, 29};
// On the output keypad 26 and 27 are "S&onido" and "&DAC": n..z sit above them.
constexpr int kOutputVariableBits[kVariableCount] = {22, 23, 24, 25, 28, 29, 30, 31};
constexpr char kVariableLetters[kVariableCount] = {'a', 'b', 'c', 'd', 'n', 'x', 'y', 'z'};

char letterIn(const int (&layout)[kVariableCount], int bit)
{
    for (int i = 0; i < kVariableCount; ++i)
        if (layout[i] == bit) return kVariableLetters[i];
    return 0;
}

// The keys of some variables in a layout.
constexpr std::uint32_t keysOfLetters(const int (&layout)[kVariableCount], std::string_view letters)
{
    std::uint32_t k = 0;
    for (int i = 0; i < kVariableCount; ++i)
        if (letters.find(kVariableLetters[i]) != std::string_view::npos) k |= keyBit(layout[i]);
    return k;
}

// The variables the chips have.
constexpr std::string_view kChipLetters = "xy";
constexpr std::string_view kAllLetters = "abcdnxyz";

constexpr std::uint32_t keysOf(const int (&layout)[kVariableCount], bool restricted)
{
    return keysOfLetters(layout, restricted ? kChipLetters : kAllLetters);
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

namespace out = key::out;
// How a command starts: most boxes switch things or play a sound; a chip that
// talks live also sets its output byte and sends; one that runs alone switches.
constexpr std::uint32_t kOutputStart = keySet({out::Turn, out::Sound});
constexpr std::uint32_t kLiveChipStart = keySet({out::Turn, out::Sound, out::Sal, out::Send});
constexpr std::uint32_t kChipStart = keySet({out::Turn});
constexpr std::uint32_t kTurnKinds = keySet({out::Output, out::Motor, out::Dac});
constexpr std::uint32_t kOutputStates = keySet({out::On, out::Off});
constexpr std::uint32_t kDirections = keySet({out::Off, out::Forward, out::Reverse});
// The variables a speed may be.
constexpr std::uint32_t kSpeedVariables = keysOfLetters(kOutputVariableBits, "nxyz");

}  // namespace

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
    switch (ctx_.chipKeys()) {
        case ChipKeys::LiveLink:
            offer(kLiveChipStart);
            break;
        case ChipKeys::TurnOnly:
            offer(kChipStart);
            break;
        default:
            offer(kOutputStart);
            break;
    }
}

std::uint32_t OutputKeypad::outputItems() const
{
    std::uint32_t k = ctx_.caps.outputMask & key::Digits;
    if (!ctx_.restricted()) k |= keysOf(kOutputVariableBits, false);
    return k;
}

// Digits of a number that ends the command: a leading 0 ends it at once.
void OutputKeypad::number(int bit, int most)
{
    appendDigit(bit);
    if (digits_ == 0 && bit == key::digit(0)) {
        finish();
        return;
    }
    if (++digits_ >= most)
        finish();
    else
        offer(key::Digits | keyBit(key::Accept));
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
    switch (mode_) {
        case OutStart:
            return onStart(bit);
        case OutTurn:
            return onTurn(bit);
        case OutItems:
            return onItem(bit);
        case OutMotorLetter:
            return onMotorLetter(bit);
        case OutMotorDirection:
            return onMotorDirection(bit);
        case OutMotorSpeed:
            return onMotorSpeed(bit);
        case OutDac:
            return onDac(bit);
        case OutSal:
            return number(bit, 3);
        case OutSound:
            return onSound(bit);
        default:
            return;
    }
}

void OutputKeypad::onStart(int bit)
{
    if (bit == out::Turn) {
        append("Turn");
        mode_ = OutTurn;
        offer(ctx_.caps.turnKeyMask & kTurnKinds);
    } else if (bit == out::Sound) {
        append("Sound ");
        mode_ = OutSound;
        offer(key::Digits);
    } else if (bit == out::Sal) {
        append("Set OUT = ");
        mode_ = OutSal;
        digits_ = 0;
        offer(key::Digits);
    } else if (bit == out::Send) {
        mode_ = OutSend;  // the "Enviar Serie" dialog answers (sendChosen)
        offer(0);
    }
}

void OutputKeypad::onTurn(int bit)
{
    if (bit == out::Output) {
        append(" Output ");
        mode_ = OutItems;
        awaitingItem_ = true;
        offer(outputItems());
    } else if (bit == out::Motor) {
        append(" Motor ");
        mode_ = OutMotorLetter;
        offer(motorLetters());
    } else if (bit == out::Dac) {
        append(" DAC ");
        mode_ = OutDac;
        digits_ = 0;
        offer(key::Digits | variableKeys());
    }
}

// An item, then its state; up to four of them, each item once.
void OutputKeypad::onItem(int bit)
{
    if (awaitingItem_) {
        if (items_ > 0) append(",");
        const char letter = variableOf(bit);
        append(std::string(1, letter ? letter : digitOf(bit)));
        usedItems_ |= keyBit(bit);
        awaitingItem_ = false;
        offer(kOutputStates);
        return;
    }
    append(bit == out::On ? " on" : " off");
    list_ = true;
    if (++items_ >= 4) {
        finish();
    } else {
        awaitingItem_ = true;
        offer((outputItems() & ~usedItems_) | keyBit(key::Accept));
    }
}

void OutputKeypad::onMotorLetter(int bit)
{
    append(std::string(1, variableOf(bit)));
    mode_ = OutMotorDirection;
    offer(kDirections);
}

void OutputKeypad::onMotorDirection(int bit)
{
    if (bit == out::Off) {
        append(" off ");
        afterDirection();
        return;
    }
    append(bit == out::Forward ? " fd " : " rev ");
    if (!ctx_.caps.motorSpeed) {
        afterDirection();
        return;
    }
    mode_ = OutMotorSpeed;
    digits_ = 0;
    const std::uint32_t secondMotor = clause_ == 1 ? motorLetters() : 0;
    offer(secondMotor | key::Digits | (ctx_.restricted() ? 0 : kSpeedVariables));
}

void OutputKeypad::onMotorSpeed(int bit)
{
    const char letter = variableOf(bit);
    if (isDigitKey(bit)) {
        number(bit, 3);
    } else if (kSpeedVariables & keyBit(bit)) {
        append(std::string(1, letter));
        finish();
    } else {
        // A motor letter starts the second clause; the speed comes last.
        append(std::string(1, letter));
        clause_ = 2;
        mode_ = OutMotorDirection;
        offer(kDirections);
    }
}

void OutputKeypad::onDac(int bit)
{
    if (const char letter = variableOf(bit)) {
        append(std::string(1, letter));
        finish();
    } else {
        number(bit, 3);
    }
}

void OutputKeypad::onSound(int bit)
{
    appendDigit(bit);
    finish();
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
};

namespace proc = key::proc;
constexpr std::uint32_t kProcessStart = keySet({proc::Delay, proc::Let, proc::Sub});
constexpr std::uint32_t kArithmetic = keySet({proc::Plus, proc::Minus, proc::Times, proc::Divide});
// What the chips compute: sums and differences.
constexpr std::uint32_t kChipArithmetic = keySet({proc::Plus, proc::Minus});
// A repeat count starts with 1..9.
constexpr std::uint32_t kRepeatFirstDigits = key::Digits & ~keyBit(key::digit(0));

}  // namespace

void ProcessKeypad::begin()
{
    target_ = -1;
    digits_ = 0;
    point_ = false;
    offer(kProcessStart);
}

void ProcessKeypad::key(int bit)
{
    switch (mode_) {
        case ProcStart:
            return onStart(bit);
        case ProcDelay:
            return onDelay(bit);
        case ProcTarget:
            return onTarget(bit);
        case ProcEquals:
            return onEquals(bit);
        case ProcFirst:
            return onFirstOperand(bit);
        case ProcAfterVariable:
            return onOperator(bit);
        case ProcSecond:
            return onSecondOperand(bit);
        case ProcNumber:
            return onNumber(bit);
        case ProcChannel:
            return onChannel(bit);
        case ProcRepeat:
            return onRepeat(bit);
        case ProcRepeatMore:
            return onRepeatMore(bit);
        default:
            return;
    }
}

void ProcessKeypad::onStart(int bit)
{
    if (bit == proc::Delay) {
        append("Delay ");
        mode_ = ProcDelay;
        offer(key::Digits | keyBit(proc::Point));
    } else if (bit == proc::Let) {
        append("Let ");
        mode_ = ProcTarget;
        offer(variableKeys());
    } else if (bit == proc::Sub) {
        append("Sub ");
        mode_ = kSubMenu;  // the sub menu answers (subChosen)
        offer(0);
    }
}

// 1 to 3 digits with no leading 0; or d.d; or 0.d.
void ProcessKeypad::onDelay(int bit)
{
    if (bit == proc::Point) {
        append(digits_ == 0 ? "0." : ".");
        point_ = true;
        offer(key::Digits);
    } else if (point_) {
        appendDigit(bit);
        finish();
    } else if (digits_ == 0 && bit == key::digit(0)) {
        append("0");
        digits_ = 1;
        offer(keyBit(proc::Point));
    } else {
        appendDigit(bit);
        ++digits_;
        if (digits_ == 1)
            offer(key::Digits | keyBit(proc::Point) | keyBit(key::Accept));
        else if (digits_ == 2)
            offer(key::Digits | keyBit(key::Accept));
        else
            finish();
    }
}

void ProcessKeypad::onTarget(int bit)
{
    target_ = bit;
    append(std::string(1, variableOf(bit)) + " ");
    mode_ = ProcEquals;
    offer(keyBit(proc::Equals));
}

void ProcessKeypad::onEquals(int /*bit*/)
{
    append("= ");
    mode_ = ProcFirst;
    // On the chips a variable is only added to or taken from itself.
    if (ctx_.restricted())
        offer(key::Digits | keyBit(target_));
    else
        offer(key::Digits | variableKeys() | keyBit(proc::Val));
}

void ProcessKeypad::onFirstOperand(int bit)
{
    if (bit == proc::Val) {
        append("Val ");
        mode_ = ProcChannel;
        offer(ctx_.caps.valueKeyMask & key::Digits);
    } else if (const char letter = variableOf(bit)) {
        append(std::string(1, letter) + " ");
        mode_ = ProcAfterVariable;
        offer(keyBit(key::Accept) | (ctx_.restricted() ? kChipArithmetic : kArithmetic));
    } else {
        startNumber(bit);
    }
}

void ProcessKeypad::onOperator(int bit)
{
    append(bit == proc::Plus ? "+ " : bit == proc::Minus ? "- " : bit == proc::Times ? "* " : "/ ");
    mode_ = ProcSecond;
    offer(key::Digits | variableKeys());
}

void ProcessKeypad::onSecondOperand(int bit)
{
    if (const char letter = variableOf(bit)) {
        append(std::string(1, letter));
        finish();
    } else {
        startNumber(bit);
    }
}

void ProcessKeypad::startNumber(int bit)
{
    mode_ = ProcNumber;
    digits_ = 0;
    onNumber(bit);
}

// Up to six digits.
void ProcessKeypad::onNumber(int bit)
{
    appendDigit(bit);
    if (++digits_ >= 6)
        finish();
    else
        offer(key::Digits | keyBit(key::Accept));
}

void ProcessKeypad::onChannel(int bit)
{
    appendDigit(bit);
    finish();
}

void ProcessKeypad::onRepeat(int bit)
{
    append(" x " + std::string(1, digitOf(bit)));
    mode_ = ProcRepeatMore;
    offer(key::Digits | keyBit(key::Accept));
}

void ProcessKeypad::onRepeatMore(int bit)
{
    appendDigit(bit);
    finish();
}

void ProcessKeypad::subChosen(std::string_view entry)
{
    if (mode_ != kSubMenu || entry.empty()) return;
    append(entry);
    ++step_;
    mode_ = ProcRepeat;
    offer(kRepeatFirstDigits | keyBit(key::Accept));
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

namespace deci = key::deci;
constexpr std::uint32_t kOperators =
    keySet({deci::Equals, deci::NotEquals, deci::Less, deci::Greater});
constexpr std::uint32_t kInputStates = keySet({deci::On, deci::Off});
// What "IN" reads into: the chips' variables.
constexpr std::uint32_t kChipVariables = keysOfLetters(kVariableBits, kChipLetters);
// At most six keys of a number compared; the margin takes fewer.
constexpr int kNumberKeys = 6;

}  // namespace

void DecisionKeypad::begin()
{
    left_ = Compared::Nothing;
    keys_ = 0;
    point_ = false;
    offer(keyBit(deci::Is));
}

void DecisionKeypad::key(int bit)
{
    switch (mode_) {
        case DeciStart:
            return onStart(bit);
        case DeciWhat:
            return onWhat(bit);
        case DeciInputItem:
            return onInputItem(bit);
        case DeciInputState:
            return onInputState(bit);
        case DeciLeftChannel:
            return onLeftChannel(bit);
        case DeciOperator:
            return onOperator(bit);
        case DeciInEquals:
            return onInEquals(bit);
        case DeciInVariable:
            return onInVariable(bit);
        case DeciRight:
            return onRight(bit);
        case DeciNumber:
            return onNumber(bit);
        case DeciRightChannel:
            return onRightChannel(bit);
        default:
            return;
    }
}

void DecisionKeypad::onStart(int /*bit*/)
{
    append("Is");
    mode_ = DeciWhat;
    std::uint32_t mask = ctx_.caps.decisionKeyMask & ~keyBit(key::Accept);
    // "IN" reads the input byte of a chip that talks live.
    if (ctx_.chipKeys() == ChipKeys::LiveLink)
        mask |= keyBit(deci::In);
    else
        mask &= ~keyBit(deci::In);
    offer(mask);
}

void DecisionKeypad::compare(Compared left, std::string_view text)
{
    append(text);
    left_ = left;
    mode_ = DeciOperator;
    offer(kOperators);
}

void DecisionKeypad::onWhat(int bit)
{
    if (bit == deci::Input) {
        append(" Input ");
        mode_ = DeciInputItem;
        offer((ctx_.caps.inputMask & key::Digits) | (ctx_.restricted() ? 0 : allVariables()));
    } else if (bit == deci::Val) {
        append(" Val ");
        left_ = Compared::Value;
        mode_ = DeciLeftChannel;
        offer(ctx_.caps.valueKeyMask & key::Digits);
    } else if (bit == deci::Margin) {
        compare(Compared::Margin, " Margin");
    } else if (bit == deci::In) {
        append(" IN");
        left_ = Compared::In;
        mode_ = DeciInEquals;
        offer(keyBit(deci::Equals));
    } else {
        compare(Compared::Variable, std::string(" ") + variableOf(bit));
    }
}

void DecisionKeypad::onInputItem(int bit)
{
    const char letter = variableOf(bit);
    append(std::string(1, letter ? letter : digitOf(bit)));
    mode_ = DeciInputState;
    offer(kInputStates);
}

void DecisionKeypad::onInputState(int bit)
{
    append(bit == deci::On ? " on" : " off");
    finish();
}

void DecisionKeypad::onLeftChannel(int bit)
{
    appendDigit(bit);
    mode_ = DeciOperator;
    offer(kOperators);
}

void DecisionKeypad::onOperator(int bit)
{
    append(bit == deci::Equals      ? " = "
           : bit == deci::NotEquals ? " != "
           : bit == deci::Less      ? " < "
                                    : " > ");
    rightOperand();
}

void DecisionKeypad::rightOperand()
{
    mode_ = DeciRight;
    keys_ = 0;
    point_ = false;
    const std::uint32_t number = key::Digits | keyBit(deci::Point);
    // The chips compare the margin with a number or a channel, and a variable
    // with a number or a variable.
    if (!ctx_.restricted())
        offer(number | keyBit(deci::Val) | variableKeys());
    else if (left_ == Compared::Margin)
        offer(number | keyBit(deci::Val));
    else
        offer(number | variableKeys());
}

void DecisionKeypad::onInEquals(int /*bit*/)
{
    append(" = ");
    mode_ = DeciInVariable;
    offer(kChipVariables);
}

void DecisionKeypad::onInVariable(int bit)
{
    append(std::string(1, variableOf(bit)));
    finish();
}

void DecisionKeypad::onRight(int bit)
{
    if (bit == deci::Val) {
        append("Val ");
        mode_ = DeciRightChannel;
        offer(ctx_.caps.valueKeyMask & key::Digits);
        return;
    }
    if (const char letter = variableOf(bit)) {
        append(std::string(1, letter));
        finish();
        return;
    }
    mode_ = DeciNumber;
    onNumber(bit);
}

// At most one point; a leading point is "0."; a leading 0 takes only the point
// or the end; up to six keys. The margin has its own form.
void DecisionKeypad::onNumber(int bit)
{
    if (left_ == Compared::Margin) {
        marginNumber(bit);
        return;
    }
    if (bit == deci::Point) {
        append(keys_ == 0 ? "0." : ".");
        point_ = true;
        ++keys_;
        offer(key::Digits);
        return;
    }
    const bool leadingZero = keys_ == 0 && bit == key::digit(0);
    appendDigit(bit);
    ++keys_;
    if (keys_ >= kNumberKeys) {
        finish();
    } else if (leadingZero) {
        offer(keyBit(deci::Point) | keyBit(key::Accept));
    } else {
        const bool pointFits = !point_ && keys_ < kNumberKeys - 1;
        offer(key::Digits | (pointFits ? keyBit(deci::Point) : 0u) | keyBit(key::Accept));
    }
}

void DecisionKeypad::onRightChannel(int bit)
{
    appendDigit(bit);
    finish();
}

// The margin is one or two digits, or one digit, a point and one more digit
// (5, 12, 2.5, 0.5): `keys_` counts the digits before the point. A leading 0
// takes only the point or the end, and a leading point is written "0.".
void DecisionKeypad::marginNumber(int bit)
{
    if (bit == deci::Point) {
        append(keys_ == 0 ? "0." : ".");
        point_ = true;
        offer(key::Digits);
        return;
    }
    appendDigit(bit);
    if (point_ || ++keys_ == 2) {
        finish();
        return;
    }
    offer((bit == key::digit(0) ? 0u : key::Digits) | keyBit(deci::Point) | keyBit(key::Accept));
}

}  // namespace tarvel
