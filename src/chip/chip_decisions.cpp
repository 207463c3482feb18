// Decisions: input tests and comparisons, and how their two branches are laid
// out in each dialect.

#include "chip/chip_compiler_state.h"
#include "flowchart/flow_document.h"
#include "interfaces/interface_model.h"
#include "platform/messages.h"

namespace tarvel::chipc {

namespace {

// Chips of other link kinds test inputs 1 and 2 only, with 0x30..0x33.
constexpr int kPlainChipInputs = 2;

enum class Reg { A, B };

struct Operand {
    enum class Kind { None, Val, Margin, Variable, Number } kind = Kind::None;
    int channel = 0;  // 1..4 as written; 0 when the digit is missing
    char variable = 0;
    Decimal number;
};

struct Comparison {
    Operand left;
    char op = 0;  // '=', '!' (not equal), '<', '>'
    Operand right;
};

// "Is Val 1 > 50", "Is Margin < 2.5", "Is x != y": the operator stands at a
// position that depends on the left operand, the right operand two after it.
Comparison readComparison(std::string_view t)
{
    Comparison c;
    std::size_t opAt = 0;
    const char first = charAt(t, 3);
    if (first == 'V') {
        c.left.kind = Operand::Kind::Val;
        opAt = 9;
        if (isDigit(charAt(t, 7))) c.left.channel = charAt(t, 7) - '0';
    } else if (first == 'M') {
        c.left.kind = Operand::Kind::Margin;
        opAt = 10;
    } else if (first >= 'a' && first <= 'z') {
        c.left.kind = Operand::Kind::Variable;
        c.left.variable = first;
        opAt = 5;
    } else {
        return c;  // "Is" alone, " IN" and anything else have no form on a chip
    }
    c.op = charAt(t, opAt);
    if (c.op == '!') ++opAt;
    const std::size_t r = opAt + 2;
    if (t.substr(std::min(r, t.size()), 4) == "Val ") {
        c.right.kind = Operand::Kind::Val;
        if (isDigit(charAt(t, r + 4))) c.right.channel = charAt(t, r + 4) - '0';
    } else if (charAt(t, r) >= 'a' && charAt(t, r) <= 'z') {
        c.right.kind = Operand::Kind::Variable;
        c.right.variable = charAt(t, r);
    } else if (isDigit(charAt(t, r))) {
        c.right.kind = Operand::Kind::Number;
        c.right.number = readDecimal(t, r);
    }
    return c;
}

bool validChannel(const Operand& o)
{
    return o.channel >= 1 && o.channel <= kSensorChannels;
}

bool isXOrY(const Operand& o)
{
    return o.kind == Operand::Kind::Variable && (o.variable == 'x' || o.variable == 'y');
}

bool knownOperator(char op)
{
    return op == '=' || op == '!' || op == '<' || op == '>';
}

bool analogue(const Operand& o)
{
    return o.kind == Operand::Kind::Val || o.kind == Operand::Kind::Margin;
}

int variableLoad(char v, Reg r)
{
    return (r == Reg::A ? 0x80 : 0x40) + (v == 'x' ? 1 : 2);
}

}  // namespace

void Compiler::compileDecision(int symbol)
{
    if (next(symbol, Exit::Yes) < 0) {
        fail(caption::CompileError, std::string(text::MissingYes));
        return;
    }
    if (next(symbol, Exit::No) < 0) {
        fail(caption::CompileError, std::string(text::MissingNo));
        return;
    }
    const std::string_view t = doc_.symbol(symbol).text.view();
    const bool inputTest = t.size() >= 6 && t.substr(3, 3) == "Inp";
    if (inputTest)
        direct() ? directInputTest(symbol, t) : skipInputTest(symbol, t);
    else
        direct() ? directComparison(symbol, t) : skipComparison(symbol, t);
}

bool Compiler::isPathEnd(int symbol) const
{
    // Start (refused when reached), Stop and Stop All: one byte, nothing after.
    const FlowSymbol& s = doc_.symbol(symbol);
    return s.kind == SymbolKind::StartStop && (s.text.at(2) == 'a' || s.text.at(2) == 'o');
}

int Compiler::channelByte(int channel, const Decimal& value) const
{
    if (doc_.sensorAssignment[static_cast<std::size_t>(channel)] == kSensorNone) return 0;
    if (scale_) {
        double v = static_cast<double>(value.mantissa);
        for (int i = 0; i < value.scale; ++i) v /= 10.0;
        if (const auto byte = scale_->tableByte(channel, v)) return *byte;
    }
    return percentByte(value);
}

// ---- Skip dialect ------------------------------------------------------------------------------

void Compiler::skipInputTest(int symbol, std::string_view t)
{
    const char digit = charAt(t, 9);
    const int n = digit - '0' - (target_.numbersFromZero ? 0 : 1);
    const bool on = charAt(t, 12) == 'n';
    int skipIfOn = 0, skipIfOff = 0;
    if (target_.linkKind == kChipLinkEightInputs && isDigit(digit) && n >= 0 && n < kIoCount) {
        skipIfOn = 0xA0 + n;
        skipIfOff = 0xA8 + n;
    } else if (target_.linkKind != kChipLinkEightInputs && isDigit(digit) && n >= 0 &&
               n < kPlainChipInputs) {
        skipIfOn = 0x30 + 2 * n;
        skipIfOff = 0x31 + 2 * n;
    } else {
        fail(caption::CompileError, std::string(text::DecisionError));
        return;
    }
    const int yes = next(symbol, Exit::Yes), no = next(symbol, Exit::No);
    // F is the branch of "input on".
    layoutSkip(on ? yes : no, on ? no : yes, skipIfOff, skipIfOn);
}

void Compiler::skipComparison(int symbol, std::string_view t)
{
    const Comparison c = readComparison(t);
    const bool link1 = target_.linkKind == kChipLinkEightInputs;
    // The left operand's register and load.
    Reg left = Reg::A;
    int leftLoad = -1;
    if (c.left.kind == Operand::Kind::Val && validChannel(c.left) && link1)
        leftLoad = 0xB0 + c.left.channel - 1;
    else if (c.left.kind == Operand::Kind::Val && c.left.channel == 1)
        leftLoad = 0x80;
    else if (c.left.kind == Operand::Kind::Val && c.left.channel == 2)
        left = Reg::B, leftLoad = 0x40;
    else if (c.left.kind == Operand::Kind::Margin)
        left = Reg::B, leftLoad = 0x43;
    else if (isXOrY(c.left))
        leftLoad = variableLoad(c.left.variable, Reg::A);
    // The right operand goes to the other register.
    const Reg right = left == Reg::A ? Reg::B : Reg::A;
    int rightLoad = -1;
    if (c.right.kind == Operand::Kind::Val && validChannel(c.right) && link1)
        rightLoad = (right == Reg::A ? 0xB0 : 0xB8) + c.right.channel - 1;
    else if (c.right.kind == Operand::Kind::Val && c.right.channel == 1 && right == Reg::A)
        rightLoad = 0x80;
    else if (c.right.kind == Operand::Kind::Val && c.right.channel == 2 && right == Reg::B)
        rightLoad = 0x40;
    else if (isXOrY(c.right))
        rightLoad = variableLoad(c.right.variable, right);
    const bool number = c.right.kind == Operand::Kind::Number;
    if (leftLoad < 0 || (rightLoad < 0 && !number) || !knownOperator(c.op)) {
        fail(caption::CompileError, std::string(text::DecisionError));
        return;
    }
    if (number) {
        // Analogue values are compared as percentages scaled to a byte.
        rightLoad =
            constantLoad(analogue(c.left) ? static_cast<std::uint64_t>(percentByte(c.right.number))
                                          : truncatedTimes(c.right.number, 1),
                         right == Reg::A);
        if (rightLoad < 0) return;
    }
    emit(leftLoad);
    emit(rightLoad);
    // a skips when the answer is YES, b when it is NO.
    int a = 0x34, b = 0x37;  // A = B, A != B
    const bool leftInA = left == Reg::A;
    if (c.op == '!') a = 0x37, b = 0x34;
    if ((c.op == '<' && leftInA) || (c.op == '>' && !leftInA)) a = 0x35, b = 0x38;  // A < B
    if ((c.op == '>' && leftInA) || (c.op == '<' && !leftInA)) a = 0x36, b = 0x39;  // B < A
    layoutSkip(next(symbol, Exit::No), next(symbol, Exit::Yes), a, b);
}

// The first rule that applies decides where the branches go.
void Compiler::layoutSkip(int f, int s, int a, int b)
{
    if (failed()) return;
    auto compiled = [&](int x) { return address_[static_cast<std::size_t>(x)] != 0; };
    if (!compiled(f) && compilesToOneByte(f) && next(f, Exit::Plain) == s) {
        emit(a);  // F's byte, which runs on into S
        emitBranch(f);
    } else if (!compiled(s) && compilesToOneByte(s) && next(s, Exit::Plain) == f) {
        emit(b);
        emitBranch(s);
    } else if (isPathEnd(f)) {
        emit(a);
        emitBranch(f);
        emitBranch(s);
    } else if (isPathEnd(s)) {
        emit(b);
        emitBranch(s);
        emitBranch(f);
    } else if (compiled(f)) {
        emit(a);
        emitJump(address_[static_cast<std::size_t>(f)]);
        emitBranch(s);
    } else if (!compiled(s)) {
        // One byte held for a jump to whichever branch does not follow the skip.
        const bool fFirst = next(f, Exit::Plain) == s;
        emit(fFirst ? b : a);
        const int held = emit_;
        emit(0);
        compileSymbol(fFirst ? f : s);
        const int other = compileSymbol(fFirst ? s : f);
        if (failed()) return;
        const int jump = jumpByte(other);
        if (!failed()) image_[static_cast<std::size_t>(held)] = static_cast<std::uint8_t>(jump);
    } else {
        emit(b);
        emitJump(address_[static_cast<std::size_t>(s)]);
        emitBranch(f);
    }
}

// ---- Direct dialect ----------------------------------------------------------------------------

void Compiler::directInputTest(int symbol, std::string_view t)
{
    const char digit = charAt(t, 9);
    const int n = digit - '0' - (target_.numbersFromZero ? 0 : 1);
    if (!isDigit(digit) || n < 0 || n >= kIoCount) {
        fail(caption::CompileError, std::string(text::DecisionError));
        return;
    }
    const int yes = next(symbol, Exit::Yes), no = next(symbol, Exit::No);
    const bool on = charAt(t, 12) == 'n';
    layoutDirect(0x30 + n, on ? yes : no, on ? no : yes);  // jumps when input n is on
}

void Compiler::directComparison(int symbol, std::string_view t)
{
    const Comparison c = readComparison(t);
    Reg left = Reg::A;
    int leftLoad = -1;
    if (c.left.kind == Operand::Kind::Val && validChannel(c.left))
        leftLoad = 0xC0 + c.left.channel - 1;
    else if (c.left.kind == Operand::Kind::Margin)
        left = Reg::B, leftLoad = 0x43;
    else if (isXOrY(c.left))
        leftLoad = variableLoad(c.left.variable, Reg::A);
    const Reg right = left == Reg::A ? Reg::B : Reg::A;
    int rightLoad = -1;
    if (c.right.kind == Operand::Kind::Val && validChannel(c.right))
        rightLoad = (right == Reg::A ? 0xC0 : 0xC4) + c.right.channel - 1;
    else if (isXOrY(c.right))
        rightLoad = variableLoad(c.right.variable, right);
    const bool number = c.right.kind == Operand::Kind::Number;
    if (leftLoad < 0 || (rightLoad < 0 && !number) || !knownOperator(c.op)) {
        fail(caption::CompileError, std::string(text::DirectDecisionError));
        return;
    }
    if (number) {
        // Compared with a channel, the number is what that channel's sensor
        // would read; against the margin, a percentage; against x or y, itself.
        std::uint64_t value = 0;
        if (c.left.kind == Operand::Kind::Val)
            value = static_cast<std::uint64_t>(channelByte(c.left.channel - 1, c.right.number));
        else if (c.left.kind == Operand::Kind::Margin)
            value = static_cast<std::uint64_t>(percentByte(c.right.number));
        else
            value = truncatedTimes(c.right.number, 1);
        rightLoad = constantLoad(value, right == Reg::A);
        if (rightLoad < 0) return;
    }
    emit(leftLoad);
    emit(rightLoad);
    const int yes = next(symbol, Exit::Yes), no = next(symbol, Exit::No);
    const bool leftInA = left == Reg::A;
    int condition = 0x39;                                                         // A = B
    if ((c.op == '<' && leftInA) || (c.op == '>' && !leftInA)) condition = 0x3A;  // A < B
    if ((c.op == '>' && leftInA) || (c.op == '<' && !leftInA)) condition = 0x3B;  // B < A
    // "!=" is "=" with the branches exchanged.
    if (c.op == '!')
        layoutDirect(condition, no, yes);
    else
        layoutDirect(condition, yes, no);
}

void Compiler::layoutDirect(int condition, int taken, int notTaken)
{
    if (failed()) return;
    emit(condition);
    const int held = emit_;
    emit(0);  // the target, once it is known
    emitBranch(notTaken);
    const int target = compileSymbol(taken);
    if (!failed()) image_[static_cast<std::size_t>(held)] = static_cast<std::uint8_t>(target);
}

}  // namespace tarvel::chipc
