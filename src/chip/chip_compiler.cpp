#include "chip/chip_compiler.h"

#include <algorithm>
#include <cstdio>

#include "chip/chip_compiler_state.h"
#include "chip/chip_data.h"
#include "flowchart/command_text.h"
#include "flowchart/flow_document.h"
#include "interfaces/interface_caps.h"
#include "interfaces/interface_model.h"
#include "interfaces/model_traits.h"
#include "platform/messages.h"

namespace tarvel {

ChipTarget chipTargetFor(const InterfaceSettings& settings, const ChipEntry* chip)
{
    if (!usesChipEntry(settings.model)) chip = nullptr;
    ChipTarget t;
    t.linkKind = chip ? chip->linkKind : 0;
    t.dialect = compilesToDirectDialect(settings.model, t.linkKind) ? ChipDialect::Direct
                                                                    : ChipDialect::Skip;
    t.imageSize = programImageSize(settings.model, chip ? chip->size : 0);
    t.optionWord = computeCaps(settings, chip).optionWord;
    t.numbersFromZero = numberingFromZero(settings.numbering);
    return t;
}

ChipCompileResult compileChart(const FlowDocument& doc, const ChipTarget& target,
                               Messages& messages, const ChannelScale* scale)
{
    chipc::Compiler compiler(doc, target, scale);
    return compiler.run(messages);
}

namespace chipc {

namespace {

bool isStartText(const FlowSymbol& s)
{
    return s.kind == SymbolKind::StartStop && s.text.at(2) == 'a';
}

// "Sub %d" with the number starting at position 4 with a digit 1..9.
int headNumber(const FlowSymbol& s)
{
    if (s.kind != SymbolKind::StartStop) return 0;
    const char c = s.text.at(4);
    if (c < '1' || c > '9') return 0;
    return subNumberOf(s.text.view());
}

}  // namespace

Compiler::Compiler(const FlowDocument& doc, const ChipTarget& target, const ChannelScale* scale)
    : doc_(doc), target_(target), scale_(scale)
{
    size_ = target.imageSize == kSmallProgramSize ? kSmallProgramSize : kFullProgramSize;
    const ChipLayout layout = ChipLayout::forSize(size_);
    jumpBase_ = layout.jumpBase;
    delayBase_ = layout.delayBase;
    subBase_ = layout.subBase;
    constBase_ = layout.constBase;
    for (auto& row : repeated_) row.fill(-1);
}

ChipCompileResult Compiler::run(Messages& messages)
{
    const std::vector<int> starts = collectStarts();
    if (starts.size() > kMaxStarts &&
        messages.show(kCompileWarningCaption, text::TooManyStarts, MsgIcon::Exclamation,
                      MsgButtons::OkCancel) != MsgAnswer::Ok)
        return {};
    if (starts.empty()) {
        fail(caption::CompileError, std::string(text::NoStart));
    } else {
        buildTables();
        compileStarts(starts);
        if (!failed()) compileSubs();
        if (!failed()) checkNesting();
    }
    ChipCompileResult result;
    if (failed()) {
        messages.show(fault_->caption, fault_->text, MsgIcon::Exclamation, MsgButtons::Ok);
        result.fault = fault_;
        return result;
    }
    result.program = ChipProgram{target_.dialect, std::move(image_), std::move(symbolAt_)};
    return result;
}

void Compiler::fail(std::string_view caption, std::string message)
{
    if (failed()) return;
    fault_ = CompileFault{std::string(caption), std::move(message), faultSymbol_};
}

// ---- Tables of the chart ------------------------------------------------------------------

std::vector<int> Compiler::collectStarts() const
{
    std::vector<int> starts;
    for (int i = 0; i < doc_.symbolCount(); ++i)
        if (isStartText(doc_.symbol(i))) starts.push_back(i);
    return starts;
}

void Compiler::buildTables()
{
    const int count = doc_.symbolCount();
    next_.assign(static_cast<std::size_t>(count), {-1, -1, -1});
    for (int i = 0; i < doc_.lineCount(); ++i) {
        const FlowLine& l = doc_.line(i);
        const int kind = static_cast<int>(l.kind);
        if (l.origin < 0 || l.origin >= count || l.destination < 0 || l.destination >= count ||
            kind < 0 || kind > 2)
            continue;
        next_[static_cast<std::size_t>(l.origin)][static_cast<std::size_t>(kind)] = l.destination;
    }
    address_.assign(static_cast<std::size_t>(count), 0);
    image_.assign(static_cast<std::size_t>(size_), 0);
    image_.back() = kLastByte;
    symbolAt_.assign(static_cast<std::size_t>(size_), -1);
    subHead_.fill(-1);
    for (int i = 0; i < count; ++i) {
        const int n = headNumber(doc_.symbol(i));
        if (n >= 1 && n <= kSubEntries) subHead_[static_cast<std::size_t>(n)] = i;
    }
}

int Compiler::next(int symbol, Exit exit) const
{
    return next_[static_cast<std::size_t>(symbol)][static_cast<std::size_t>(exit)];
}

// ---- Starts, subs and the repeated-call check ----------------------------------------------

void Compiler::compileStarts(const std::vector<int>& starts)
{
    const int count = static_cast<int>(std::min<std::size_t>(starts.size(), kMaxStarts));
    // Bit 0 of the option word marks where starts 1 and 2 begin.
    const bool marked = (target_.optionWord & 1) != 0;
    for (int k = 0; k < count && !failed(); ++k) {
        const int start = starts[static_cast<std::size_t>(k)];
        FaultScope scope(*this, start);
        const int first = next(start, Exit::Plain);
        if (first < 0) {
            fail(caption::ChartError, std::string(text::NoStartLine));
            return;
        }
        if (marked && k == 0) {
            emit(0x13);
            if (count == 1) emit(0x14);
        }
        if (marked && k == 1) {
            // The second start's table entry is its mark, which its code must follow.
            image_[0] = static_cast<std::uint8_t>(emit_);
            emit(0x14);
            emitBranch(first);
            continue;
        }
        const int address = compileSymbol(first);
        if (k > 0 && !failed())
            image_[static_cast<std::size_t>(k - 1)] = static_cast<std::uint8_t>(address);
    }
}

void Compiler::compileSubs()
{
    // The chip's table has entries for subs 1..16 only.
    for (int i = 0; i < doc_.symbolCount(); ++i) {
        const int n = headNumber(doc_.symbol(i));
        if (n > kSubEntries) {
            FaultScope scope(*this, i);
            fail(caption::CompileError, formatMessage(text::SubOutOfRange, n));
            return;
        }
    }
    for (int n = 1; n <= kSubEntries && !failed(); ++n) {
        const int head = subHead_[static_cast<std::size_t>(n)];
        if (head < 0) continue;
        FaultScope scope(*this, head);
        currentSub_ = n;
        const int first = next(head, Exit::Plain);
        if (first < 0) {
            fail(caption::CompileError, std::string(text::MissingLine));
            return;
        }
        const int address = compileSymbol(first);
        if (!failed())
            image_[static_cast<std::size_t>(subBase_ + n - 1)] = static_cast<std::uint8_t>(address);
    }
    currentSub_ = -1;
}

// A sub that repeats a call counts on Rs, and so does every sub that repeats a
// call on the way to it: two such loops in one chain share Rs and corrupt each
// other (the main program counts on Rm). Every caller is followed.
void Compiler::checkNesting()
{
    for (int g = 0; g < kSubEntries; ++g) {
        int inner = -1;
        for (int j = 0; j < kSubEntries && inner < 0; ++j)
            inner = repeated_[static_cast<std::size_t>(g)][static_cast<std::size_t>(j)];
        if (inner < 0) continue;
        std::array<bool, kSubEntries> seen{};
        std::vector<int> todo{g};
        seen[static_cast<std::size_t>(g)] = true;
        while (!todo.empty()) {
            const int callee = todo.back();
            todo.pop_back();
            for (int i = 0; i < kSubEntries; ++i) {
                const auto ui = static_cast<std::size_t>(i), uc = static_cast<std::size_t>(callee);
                if (repeated_[ui][uc] >= 0) {
                    FaultScope scope(*this, inner);
                    fail(kNestingCaption, std::string(text::NestedRepeats));
                    return;
                }
                if (calls_[ui][uc] && !seen[ui]) {
                    seen[ui] = true;
                    todo.push_back(i);
                }
            }
        }
    }
}

// ---- CompileSymbol ----------------------------------------------------------------------------

int Compiler::compileSymbol(int symbol)
{
    if (failed()) return 0;
    const auto us = static_cast<std::size_t>(symbol);
    if (address_[us] != 0) return address_[us];
    FaultScope scope(*this, symbol);
    if (emit_ >= jumpBase_ + nextJump_ - kCodeMargin) {
        fail(caption::CompileError, std::string(text::CodeOverflow));
        return 0;
    }
    address_[us] = emit_;
    symbolAt_[static_cast<std::size_t>(emit_)] = symbol;
    const FlowSymbol& s = doc_.symbol(symbol);
    switch (s.kind) {
        case SymbolKind::Decision:
            compileDecision(symbol);
            return address_[us];
        case SymbolKind::StartStop:
            if (s.text.at(2) == 'a') {
                fail(caption::ChartError, std::string(text::StartAsSuccessor));
                return 0;
            }
            if (s.text.at(2) == 'o') {  // a path ends at Stop and Stop All
                stopByte(s.text.view());
                return address_[us];
            }
            break;  // a sub head or an unset symbol: only its line
        case SymbolKind::Output:
        case SymbolKind::Process:
            translateOwn(symbol);
            break;
    }
    if (failed()) return 0;
    const int successor = next(symbol, Exit::Plain);
    if (successor < 0) {
        fail(caption::CompileError, std::string(text::MissingLine));
        return 0;
    }
    emitBranch(successor);
    return address_[us];
}

void Compiler::emitBranch(int symbol)
{
    if (failed()) return;
    // Code compiled before is reached by a jump, even from right behind it (a
    // symbol without bytes of its own may lead back to itself).
    const int address = address_[static_cast<std::size_t>(symbol)];
    if (address != 0)
        emitJump(address);
    else
        compileSymbol(symbol);
}

bool Compiler::compilesToOneByte(int symbol)
{
    const SymbolKind kind = doc_.symbol(symbol).kind;
    if (kind == SymbolKind::Decision || kind == SymbolKind::StartStop) return false;
    const int savedEmit = emit_;
    const int savedJump = nextJump_;
    {
        FaultScope scope(*this, symbol);
        translateOwn(symbol);
    }
    const int length = emit_ - savedEmit;
    // Take back the bytes and any jump entries the trial took; delay values
    // and constants it added stay, as the symbol is compiled later anyway.
    for (int a = savedEmit; a < emit_; ++a) image_[static_cast<std::size_t>(a)] = 0;
    for (int e = nextJump_ + 1; e <= savedJump; ++e)
        image_[static_cast<std::size_t>(jumpBase_ + e)] = 0;
    emit_ = savedEmit;
    nextJump_ = savedJump;
    return !failed() && length == 1;
}

// ---- Emission and tables ------------------------------------------------------------------------

void Compiler::emit(int byte)
{
    if (failed()) return;
    // Entries above the next free one hold jump targets: code must stop below them.
    if (emit_ > jumpBase_ + nextJump_) {
        fail(caption::CompileError, std::string(text::CodeOverflow));
        return;
    }
    image_[static_cast<std::size_t>(emit_++)] = static_cast<std::uint8_t>(byte);
}

void Compiler::emitJump(int target)
{
    if (direct()) {
        emit(0x38);  // the condition that always holds
        emit(target);
        return;
    }
    const int byte = jumpByte(target);
    if (!failed()) emit(byte);
}

int Compiler::jumpByte(int target)
{
    // Entry 63 is never looked at for reuse.
    for (int e = kJumpEntries - 2; e > nextJump_; --e)
        if (image_[static_cast<std::size_t>(jumpBase_ + e)] == target) return 0xC0 | e;
    if (nextJump_ < 0) {
        fail(caption::CompileError, std::string(text::JumpOverflow));
        return 0;
    }
    const int address = jumpBase_ + nextJump_;
    if (address < emit_) {  // the entry would overwrite code
        fail(caption::CompileError, std::string(text::CodeOverflow));
        return 0;
    }
    image_[static_cast<std::size_t>(address)] = static_cast<std::uint8_t>(target);
    return 0xC0 | nextJump_--;
}

int Compiler::delaySlot(int value)
{
    for (int k = 0; k < delayCount_; ++k)
        if (image_[static_cast<std::size_t>(delayBase_ + k)] == value) return k;
    if (delayCount_ == kDelayEntries) {
        fail(caption::CompileError, std::string(text::TooManyDelays));
        return -1;
    }
    image_[static_cast<std::size_t>(delayBase_ + delayCount_)] = static_cast<std::uint8_t>(value);
    return delayCount_++;
}

int Compiler::constantSlot(int value, int lowest)
{
    for (int k = lowest; k < kConstantSlots; ++k)
        if (constantUsed_[static_cast<std::size_t>(k)] &&
            image_[static_cast<std::size_t>(constBase_ + k)] == value)
            return k;
    for (int k = lowest; k < kConstantSlots; ++k) {
        if (constantUsed_[static_cast<std::size_t>(k)]) continue;
        constantUsed_[static_cast<std::size_t>(k)] = true;
        image_[static_cast<std::size_t>(constBase_ + k)] = static_cast<std::uint8_t>(value);
        return k;
    }
    fail(caption::CompileError, std::string(text::TooManyConstants));
    return -1;
}

int Compiler::constantLoad(std::uint64_t value, bool intoA)
{
    if (!fitsByte(value)) return -1;
    const int k = constantSlot(static_cast<int>(value), intoA ? kSlotsForA : kSlotsForB);
    if (k < 0) return -1;
    return (intoA ? 0x80 : 0x40) + k;
}

bool Compiler::fitsByte(std::uint64_t value)
{
    if (value <= 255) return true;
    fail(caption::CompileError,
         formatMessage(text::ValueTooLarge, static_cast<unsigned long long>(value)));
    return false;
}

}  // namespace chipc

}  // namespace tarvel
