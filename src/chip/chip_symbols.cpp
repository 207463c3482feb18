// The bytes of output, process and stop symbols.

#include <algorithm>
#include <array>
#include <cstdio>

#include "chip/chip_compiler_state.h"
#include "flowchart/command_text.h"
#include "flowchart/flow_document.h"
#include "interfaces/interface_model.h"
#include "platform/messages.h"

namespace tarvel::chipc {

namespace {

// The opcodes of the instruction set that the translation uses.
constexpr int kOutputOn = 0x10;
constexpr int kOutputOff = 0x18;
constexpr int kDelay = 0x20;
constexpr int kFineDelay = 0xF0;
constexpr int kLoadBFromX = 0x41;
constexpr int kLoadBFromY = 0x42;
constexpr int kAddToX = 0x51;  // x += B; +2 negates B, +4 adds to y instead
constexpr int kCountRm = 0x58;
constexpr int kCountRs = 0x5C;
constexpr int kSetX = 0x60;
constexpr int kSetY = 0x70;
constexpr int kReadRm = 0x83;
constexpr int kReadRs = 0x84;
constexpr int kCallBeforeSub1 = 0x8F;  // sub n is called by 0x8F + n
constexpr int kSendVarX = 0xCA;
constexpr int kSendVarY = 0xCB;
constexpr int kSendByte = 0xCC;
constexpr int kSendText = 0xCD;
constexpr int kSetOutputs = 0xCF;
// Speed of motor a..d: its opcode plus percent / 10.
constexpr std::array<int, 4> kMotorSpeed{0xA0, 0xB0, 0xD0, 0xE0};
constexpr int kMaxTenthsPerDelay = 255;

bool isVariable(char c)
{
    return std::string_view("abcdnxyz").find(c) != std::string_view::npos && c != '\0';
}

// Whether the item written at `i` is switched on: the first " on" or " off"
// after it decides; an item after the last of them is off.
bool switchedOn(std::string_view t, std::size_t i)
{
    for (std::size_t j = i + 1; j < t.size(); ++j) {
        if (t.substr(j, 3) == " on") return true;
        if (t.substr(j, 4) == " off") return false;
    }
    return false;
}

}  // namespace

void Compiler::translateOwn(int symbol)
{
    const FlowSymbol& s = doc_.symbol(symbol);
    if (s.kind == SymbolKind::Output) translateOutput(s.text.view());
    if (s.kind == SymbolKind::Process) translateProcess(s.text.view());
}

void Compiler::stopByte(std::string_view t)
{
    if (t.size() == 8)  // "Stop All"
        emit(direct() ? 0x3F : 0x3E);
    else if (inSub())  // the return
        emit(direct() ? 0x0F : 0x3C);
    else  // the end of this task
        emit(direct() ? 0x3E : 0x3D);
}

// ---- Output symbols ----------------------------------------------------------------------------

void Compiler::translateOutput(std::string_view t)
{
    if (charAt(t, 0) == 'S') {  // "Set OUT = ", "Send " and "Sound "
        // The serial commands exist on chips that talk the Contact Controller
        // protocol; a sound has no bytes.
        if (target_.linkKind != kChipLinkContactController) return;
        if (t.substr(0, 7) == "Set OUT") setOutputByte(t);
        if (t.substr(0, 5) == "Send ") sendSerial(t);
        return;
    }
    if (charAt(t, 5) == 'O' || charAt(t, 0) == 'O')
        switchOutputs(t);
    else if (charAt(t, 5) == 'M')
        driveMotors(t, 11);  // "Turn Motor a ..."
    else if (charAt(t, 0) == 'M')
        driveMotors(t, 6);  // "Motor a ..."
    // " DAC " has no bytes on a chip
}

void Compiler::switchOutputs(std::string_view t)
{
    const int base = target_.numbersFromZero ? 0 : 1;
    for (std::size_t i = 7; i < t.size() && !failed(); ++i) {
        if (!isDigit(t[i])) continue;  // variable letters have no byte
        const int n = t[i] - '0' - base;
        if (n < 0 || n >= kIoCount) continue;
        emit((switchedOn(t, i) ? kOutputOn : kOutputOff) + n);
    }
}

void Compiler::driveMotors(std::string_view t, std::size_t pos)
{
    // "Motor a fd b rev 50%": a letter, its direction two further on, a second
    // clause, then the speed.
    struct Clause {
        int motor;
        int direction;  // 0 off, 1 forward, 2 reverse
    };
    std::array<Clause, 2> clauses{};
    int count = 0;
    for (int clause = 0; clause < 2; ++clause) {
        const char dir = charAt(t, pos + 2);
        if (clause == 1 && (pos + 2 > t.size() || (dir != 'o' && dir != 'f' && dir != 'r'))) break;
        const char letter = charAt(t, pos);
        if (letter >= 'a' && letter < 'a' + kMotorCount && pos + 2 < t.size())
            clauses[static_cast<std::size_t>(count++)] = {letter - 'a', dir == 'f'   ? 1
                                                                        : dir == 'r' ? 2
                                                                                     : 0};
        pos += dir == 'f' ? 5 : 6;  // "fd " is one shorter than "rev " and "off "
    }
    if (pos < t.size() && isDigit(t[pos])) {
        const std::uint64_t percent =
            std::min<std::uint64_t>(truncatedTimes(readDecimal(t, pos), 1), 100);
        for (int k = 0; k < count; ++k) {
            const int m = clauses[static_cast<std::size_t>(k)].motor;
            // Link kind 1 reads 0xA0..0xBF as input tests: no speed byte may
            // stand there. Motors C and D take 0xD0.. and 0xE0.., which only the
            // direct dialect reads as speeds: in the skip dialect every byte from
            // 0xC0 up is a jump through the jump table, so such a speed would
            // send the task somewhere else.
            const bool jumpsThere = m >= 2 && !direct();
            if (target_.linkKind == kChipLinkEightInputs || jumpsThere) {
                fail(caption::CompileError, formatMessage(text::NoMotorSpeed, 'A' + m));
                return;
            }
            emit(kMotorSpeed[static_cast<std::size_t>(m)] + static_cast<int>(percent / 10));
        }
    }
    for (int k = 0; k < count; ++k) {
        const Clause& c = clauses[static_cast<std::size_t>(k)];
        emit(c.motor * 4 + c.direction);
    }
}

void Compiler::setOutputByte(std::string_view t)
{
    const std::uint64_t value = truncatedTimes(readDecimal(t, 10), 1);  // "Set OUT = n"
    if (!fitsByte(value)) return;
    emit(kSetOutputs);
    emit(static_cast<int>(value));
}

void Compiler::sendSerial(std::string_view t)
{
    const std::string_view what = t.substr(5);
    if (what.empty()) return;
    if (what.front() == '"') {
        std::size_t end = what.rfind('"');
        if (end == 0) end = what.size();
        emit(kSendText);
        for (std::size_t i = 1; i < end; ++i) emit(static_cast<unsigned char>(what[i]));
        emit(0);
    } else if (what.front() == '\'') {
        emit(kSendByte);
        emit(static_cast<unsigned char>(charAt(what, 1)));
    } else if (what == "x" || what == "y") {
        emit(what == "x" ? kSendVarX : kSendVarY);
    } else if (what.back() == 'h' || what.back() == 'H') {
        const int value = readHex(what.substr(0, what.size() - 1));
        if (value < 0 || !fitsByte(static_cast<std::uint64_t>(value))) return;
        emit(kSendByte);
        emit(value);
    } else if (isDigit(what.front())) {
        const std::uint64_t value = truncatedTimes(readDecimal(what, 0), 1);
        if (!fitsByte(value)) return;
        emit(kSendByte);
        emit(static_cast<int>(value));
    }
}

// ---- Process symbols -----------------------------------------------------------------------

void Compiler::translateProcess(std::string_view t)
{
    switch (charAt(t, 0)) {
        case 'D':
            delay(t);
            break;
        case 'L':
            let(t);
            break;
        case 'S':
            callSub(t);
            break;
        default:
            break;
    }
}

void Compiler::delay(std::string_view t)
{
    const Decimal seconds = readDecimal(t, 6);
    std::uint64_t tenths = roundedTimes(seconds, 10);
    if (target_.linkKind == kChipLinkContactController) {
        // These chips also wait in hundredths, up to 2.55 s at a time.
        const std::uint64_t hundredths = roundedTimes(seconds, 100);
        const int digit = static_cast<int>(hundredths % 10);
        if (digit != 0 && hundredths < 256) {
            const int k = delaySlot(static_cast<int>(hundredths));
            if (k >= 0) emit(kFineDelay + k);
            return;
        }
        if (digit != 0) {
            // 2.4g s (or 2.5g s below 6) in hundredths, then the rest in
            // tenths. The rest is cut, not rounded: the hundredths are exact.
            const int fine = digit < 6 ? digit + 250 : digit + 240;
            const int k = delaySlot(fine);
            if (k < 0) return;
            emit(kFineDelay + k);
            tenths = truncatedTimes(seconds, 10) - 24 - (digit < 6 ? 1 : 0);
        }
    }
    while (tenths > 0 && !failed()) {
        const auto chunk = static_cast<int>(std::min<std::uint64_t>(tenths, kMaxTenthsPerDelay));
        const int k = delaySlot(chunk);
        if (k < 0) return;
        emit(kDelay + k);
        tenths -= static_cast<std::uint64_t>(chunk);
    }
}

void Compiler::let(std::string_view t)
{
    // "Let x = 25" or "Let x = x + 3": only x and y live on the chip.
    const char target = charAt(t, 4);
    const char source = charAt(t, 8);
    if (target != 'x' && target != 'y') {
        fail(caption::CompileError, std::string(text::ProcessError));
        return;
    }
    if (isDigit(source)) {
        const std::uint64_t value = truncatedTimes(readDecimal(t, 8), 1);
        if (!fitsByte(value)) return;
        const int k = constantSlot(static_cast<int>(value), kSlotsForVariables);
        if (k >= 0) emit((target == 'x' ? kSetX : kSetY) + k);
        return;
    }
    if (isVariable(source) && t.size() < 12 && source == target) return;  // "Let x = x"
    const char op = charAt(t, 10);
    const char operand = charAt(t, 12);
    if (!isVariable(source) || t.size() < 12 || (op != '+' && op != '-')) {
        fail(caption::CompileError, std::string(text::ProcessError));
        return;
    }
    // The variable after "=" is the target itself on these keypads; it is not read.
    if (isDigit(operand)) {
        const int load = constantLoad(truncatedTimes(readDecimal(t, 12), 1), false);
        if (load < 0) return;
        emit(load);
    } else if (operand == 'x' || operand == 'y') {
        emit(operand == 'x' ? kLoadBFromX : kLoadBFromY);
    } else {
        fail(caption::CompileError, std::string(text::ProcessError));
        return;
    }
    emit(kAddToX + (target == 'y' ? 4 : 0) + (op == '-' ? 2 : 0));
}

void Compiler::callSub(std::string_view t)
{
    const int n = subNumberOf(t);
    if (n < 1 || n > kSubEntries) {
        fail(caption::CompileError, formatMessage(text::SubOutOfRange, n));
        return;
    }
    if (subHead_[static_cast<std::size_t>(n)] < 0) {
        fail(caption::CompileError, formatMessage(text::SubMissing, n));
        return;
    }
    if (inSub())
        calls_[static_cast<std::size_t>(currentSub_ - 1)][static_cast<std::size_t>(n - 1)] = true;
    const std::optional<int> repeat = subRepeatOf(t);
    if (!repeat) {
        emit(kCallBeforeSub1 + n);
        return;
    }
    if (*repeat < 0) {
        fail(caption::CompileError, std::string(text::ProcessError));
        return;
    }
    callRepeated(n, *repeat);
}

// The main program counts on Rm, subs on Rs: reset, call, count, then back to
// the call until the counter reaches the count.
void Compiler::callRepeated(int sub, int count)
{
    const int loadCount = constantLoad(static_cast<std::uint64_t>(count), false);
    if (loadCount < 0) return;
    if (inSub()) {
        int& first =
            repeated_[static_cast<std::size_t>(currentSub_ - 1)][static_cast<std::size_t>(sub - 1)];
        if (first < 0) first = faultSymbol_;
    }
    const int reset = direct() ? (inSub() ? 0x3D : 0x3C) : (inSub() ? 0x3B : 0x3A);
    emit(reset);
    const int callAt = emit_;
    emit(kCallBeforeSub1 + sub);
    emit(inSub() ? kCountRs : kCountRm);
    emit(loadCount);
    emit(inSub() ? kReadRs : kReadRm);
    if (direct()) {
        emit(0x3A);  // back while A < B
        emit(callAt);
    } else {
        emit(0x34);  // A = B skips the jump back
        emitJump(callAt);
    }
}

}  // namespace tarvel::chipc
