#include "engine/interpreter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>
#include <system_error>

#include "engine/expressions.h"
#include "flowchart/command_text.h"
#include "flowchart/flow_document.h"
#include "interfaces/interface_layer.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/sound_player.h"

namespace tarvel {

namespace {

char at(std::string_view t, std::size_t i)
{
    return i < t.size() ? t[i] : '\0';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string format(const char* pattern, int value)
{
    char buf[128];
    std::snprintf(buf, sizeof buf, pattern, value);
    return buf;
}

// Drops the "Turn " that single-item texts begin with.
std::string_view withoutTurn(std::string_view text, char kindLetter)
{
    if (at(text, 5) == kindLetter && text.substr(0, 4) == "Turn") return text.substr(5);
    return text;
}

// The length of a "Delay " text in hundredths: its seconds times 100, with
// the digits past the hundredths dropped. A plain decimal ("0.29", "1.5") is
// counted from its digits, since the binary value of 0.29 times 100 falls
// just short of 29 and would wait a hundredth less than written. Anything
// else the number reader takes is scaled as a real. Not a positive number:
// no wait.
std::int64_t delayHundredths(std::string_view text)
{
    // A length beyond what the clock will ever count waits for ever.
    constexpr std::int64_t kLongest = 9'000'000'000'000'000;
    std::size_t p = 6;
    while (p < text.size() && text[p] == ' ') ++p;
    if (p >= text.size()) return 0;
    double seconds = 0.0;
    const char* first = text.data() + p;
    const auto [end, ec] = std::from_chars(first, text.data() + text.size(), seconds);
    if (ec != std::errc() || !(seconds > 0.0)) return 0;
    const std::string_view number(first, static_cast<std::size_t>(end - first));
    if (number.find_first_not_of("0123456789.") != std::string_view::npos) {
        const double cs = seconds * 100.0;
        return cs < static_cast<double>(kLongest) ? static_cast<std::int64_t>(cs) : kLongest;
    }
    std::int64_t cs = 0;
    int decimals = -1;  // digits read after the point; -1 before it
    for (const char c : number) {
        if (c == '.') {
            decimals = 0;
            continue;
        }
        if (decimals >= 2) break;
        if (cs > kLongest / 10) return kLongest;
        cs = cs * 10 + (c - '0');
        if (decimals >= 0) ++decimals;
    }
    for (int d = decimals < 0 ? 0 : decimals; d < 2; ++d) {
        if (cs > kLongest / 10) return kLongest;
        cs *= 10;
    }
    return cs;
}

}  // namespace

Interpreter::Interpreter(FlowDocument& doc, InterfaceLayer& io, Clock& clock, Messages& messages,
                         SpeedSettings& speed)
    : doc_(doc), io_(io), clock_(clock), messages_(messages), speed_(speed)
{
    starts_.fill(-1);
    subs_.fill(-1);
}

void Interpreter::addVariableObserver(VariableObserver* observer)
{
    if (observer) variableObservers_.push_back(observer);
}

void Interpreter::removeVariableObserver(VariableObserver* observer)
{
    std::erase(variableObservers_, observer);
}

std::int64_t Interpreter::nowCs() const
{
    return clock_.nowCentiseconds();
}

void Interpreter::mark(int symbol, Mark m)
{
    if (marks_ && symbol >= 0 && symbol < doc_.symbolCount()) marks_->markSymbol(symbol, m);
}

void Interpreter::markLine(int line, Mark m)
{
    if (marks_ && line >= 0 && line < doc_.lineCount()) marks_->markLine(line, m);
}

void Interpreter::showVariables()
{
    for (int i = 0; i < kVariableCount; ++i)
        for (VariableObserver* o : variableObservers_)
            o->showVariable(i, vars_[static_cast<std::size_t>(i)]);
}

// ---- Run start ------------------------------------------------------------------

void Interpreter::buildTables()
{
    exits_.assign(static_cast<std::size_t>(doc_.symbolCount()), std::array<Exit, 3>{});
    for (int i = 0; i < doc_.lineCount(); ++i) {
        const FlowLine& l = doc_.line(i);
        const int kind = static_cast<int>(l.kind);
        if (l.origin < 0 || l.origin >= doc_.symbolCount() || kind < 0 || kind > 2) continue;
        exits_[static_cast<std::size_t>(l.origin)][static_cast<std::size_t>(kind)] = {l.destination,
                                                                                      i};
    }
    subs_.fill(-1);
    for (int i = 0; i < doc_.symbolCount(); ++i) {
        const FlowSymbol& s = doc_.symbol(i);
        if (s.kind != SymbolKind::StartStop) continue;
        const char c = s.text.at(4);
        if (c < '1' || c > '9') continue;
        const int n = subNumberOf(s.text.view());
        if (n >= 1 && n <= kMaxSubs) subs_[static_cast<std::size_t>(n - 1)] = i;
    }
}

void Interpreter::resetImageAndDisplays()
{
    io_.resetImage();
    vars_ = {};
    showVariables();
}

bool Interpreter::placeTasks()
{
    if (runMode.kind == RunMode::Sub) {
        const int n = runMode.sub;
        const int head = n >= 1 && n <= kMaxSubs ? subs_[static_cast<std::size_t>(n - 1)] : -1;
        if (head < 0) {
            messages_.tell(caption::ChartError, format("Debe haber un Sub %d para ejecutar", n));
            return false;
        }
        const Exit e = exits_[static_cast<std::size_t>(head)][0];
        if (e.line < 0) {
            messages_.tell(caption::ChartError, format("No hay una línea del símbolo Sub %d", n));
            return false;
        }
        taskCount_ = 1;
        Task& t = tasks_[0];
        t = Task{};
        t.current = e.symbol;
        t.currentLine = e.line;
        mark(t.current, Mark::Active);
        markLine(t.currentLine, Mark::ActiveLine);
        return true;
    }
    for (int k = 0; k < taskCount_; ++k) {
        Task& t = tasks_[static_cast<std::size_t>(k)];
        t = Task{};
        const Exit e = exits_[static_cast<std::size_t>(starts_[static_cast<std::size_t>(k)])][0];
        if (e.line < 0) {
            for (int j = 0; j < k; ++j) {
                mark(tasks_[static_cast<std::size_t>(j)].current, Mark::Normal);
                markLine(tasks_[static_cast<std::size_t>(j)].currentLine, Mark::Normal);
            }
            messages_.tell(caption::ChartError, "No hay una línea en uno de los inicies");
            return false;
        }
        t.current = e.symbol;
        t.currentLine = e.line;
        mark(t.current, Mark::Active);
        markLine(t.currentLine, Mark::ActiveLine);
    }
    return true;
}

bool Interpreter::start()
{
    if (running_) return false;
    io_.flags.linkFailed = false;
    starts_.fill(-1);
    taskCount_ = 0;
    activeCount_ = 0;
    stopReason_ = StopReason::None;
    lastError_.clear();

    auto isStart = [&](int i) {
        const FlowSymbol& s = doc_.symbol(i);
        return s.kind == SymbolKind::StartStop && s.text.at(2) == 'a';
    };
    if (runMode.kind == RunMode::Selection) {
        for (const int i : doc_.selectedSymbols()) {
            if (taskCount_ == kMaxTasks) break;
            if (i >= 0 && i < doc_.symbolCount() && isStart(i))
                starts_[static_cast<std::size_t>(taskCount_++)] = i;
        }
        if (taskCount_ == 0) {
            const MsgAnswer a = messages_.show(
                caption::Message, "Usted ejecutó un inicie.  ¿Iniciar todos los inicies?",
                MsgIcon::Question, MsgButtons::OkCancel);
            if (a != MsgAnswer::Ok) return false;
            runMode = RunMode{};
            if (shell_) shell_->runModeChanged();
        }
    }
    if (runMode.kind == RunMode::AllStarts) {
        for (int i = 0; i < doc_.symbolCount() && taskCount_ < kMaxTasks; ++i)
            if (isStart(i)) starts_[static_cast<std::size_t>(taskCount_++)] = i;
    }

    doc_.clearSelection();
    io_.recomputeOutputPower();

    // A failure on the wire from here on happens during a run: the handler
    // leaves the stop to the run.
    io_.flags.running = true;
    if (!io_.flags.simulate && (!io_.startRun() || io_.flags.linkFailed)) {
        io_.flags.running = false;
        return false;
    }
    buildTables();
    resetImageAndDisplays();
    if (!placeTasks()) {
        io_.flags.running = false;
        return false;
    }

    io_.forgetSentBytes();
    for (int k = 0; k < kMaxTasks; ++k) {
        Task& t = tasks_[static_cast<std::size_t>(k)];
        t.waiting = false;
        t.delayStart = t.delayLength = 0;
        t.depth = 0;
        t.margin = 0.0;
        t.unmarkPrevious = true;
        t.breakPassed = false;
        speed_.holdFlags[static_cast<std::size_t>(k)] = speed_.singleStep;
    }
    speed_.heldCount = kMaxTasks;
    activeCount_ = taskCount_;
    if (capture_) capture_->reset();
    running_ = true;
    if (shell_) shell_->runStarted();
    return true;
}

// ---- Run stop -------------------------------------------------------------------

void Interpreter::stop()
{
    if (running_) stopRun(StopReason::Command);
}

void Interpreter::stopOnLinkFailure()
{
    if (running_ && io_.flags.linkFailed) stopRun(StopReason::LinkFailed);
}

void Interpreter::stopRun(StopReason reason)
{
    if (!running_) return;
    stopReason_ = reason;
    if (shell_) shell_->runStopping();
    if (sound_) sound_->stop();
    if (!io_.flags.linkFailed)
        io_.allOff();
    else if (!io_.flags.simulate)
        io_.connect(true);
    io_.forgetSentBytes();
    // The displays go back in the stop's order (the mimic draws its
    // at-once objects in it): the analogue output, the inputs and motors to
    // idle, then every output off.
    io_.setDac(0);
    for (int i = 0; i < kIoCount; ++i) io_.setInput(i, 0);
    for (int m = 0; m < kMotorCount; ++m) io_.setMotor(m, kMotorOff);
    for (int i = 0; i < kIoCount; ++i) io_.setOutput(i, 0);
    vars_ = {};
    showVariables();
    for (int k = 0; k < taskCount_; ++k) {
        Task& t = tasks_[static_cast<std::size_t>(k)];
        for (int d = 0; d < t.depth; ++d)
            mark(t.frames[static_cast<std::size_t>(d)].callingSymbol, Mark::Normal);
        if (t.current >= 0) mark(t.current, Mark::Normal);
        if (t.previous >= 0) mark(t.previous, Mark::Normal);
        markLine(t.currentLine, Mark::Normal);
        markLine(t.previousLine, Mark::Normal);
        t.current = t.previous = t.currentLine = t.previousLine = -1;
        t.depth = 0;
    }
    io_.flags.linkFailed = false;
    if (capture_) capture_->fitTimeAxis();
    running_ = false;
    io_.flags.running = false;
    if (shell_) shell_->runStopped();
}

void Interpreter::fail(int symbol, const std::string& message, bool withIcon)
{
    stopRun(StopReason::Error);
    lastError_ = message;
    mark(symbol, Mark::Error);
    if (shell_) shell_->showFailingSymbol(symbol);
    messages_.show(caption::ChartError, message, withIcon ? MsgIcon::Exclamation : MsgIcon::None,
                   MsgButtons::Ok);
}

void Interpreter::redrawMarks()
{
    if (!running_) return;
    for (int k = 0; k < taskCount_; ++k) {
        const Task& t = tasks_[static_cast<std::size_t>(k)];
        if (t.current < 0) continue;
        mark(t.current, Mark::Active);
        markLine(t.currentLine, Mark::ActiveLine);
    }
}

// ---- Ticks ----------------------------------------------------------------------

void Interpreter::timerTick()
{
    if (!running_) return;
    if (speed_.singleStep && speed_.heldCount >= taskCount_) return;
    runTick();
}

void Interpreter::step()
{
    if (!running_ || !speed_.singleStep) return;
    speed_.releaseAll();
    runTick();
}

void Interpreter::runTick()
{
    for (int pass = 0; pass < speed_.multiplicity && running_; ++pass) {
        inputsRead_ = false;
        // Data capture samples once per tick, before the tick's passes.
        if (pass == 0 && capture_ && capture_->sample()) inputsRead_ = true;
        if (io_.flags.linkFailed) {
            stopRun(StopReason::LinkFailed);
            return;
        }
        io_.serviceRunTick();
        for (int k = 0; k < taskCount_ && running_; ++k) {
            Task& t = tasks_[static_cast<std::size_t>(k)];
            if (t.current == kTaskFinished || speed_.holdFlags[static_cast<std::size_t>(k)])
                continue;
            branch_ = 0;
            t.nextSymbol = -1;
            if (t.waiting && nowCs() - t.delayStart < t.delayLength) continue;
            if (reachesBreakpoint(t)) {
                holdAtBreakpoint(t, k);
                return;
            }
            if (speed_.singleStep) {
                speed_.holdFlags[static_cast<std::size_t>(k)] = true;
                ++speed_.heldCount;
            }
            t.waiting = false;
            t.delayStart = 0;

            if (t.previous != t.current) {
                if (!t.unmarkPrevious)
                    t.unmarkPrevious = true;
                else
                    mark(t.previous, Mark::Normal);
            }
            mark(t.current, Mark::Active);
            markLine(t.previousLine, Mark::Normal);
            markLine(t.currentLine, Mark::ActiveLine);

            execute(t, k);
            if (io_.flags.linkFailed) {
                stopRun(StopReason::LinkFailed);
                return;
            }
            if (!running_) return;
            if (t.current == kTaskFinished) continue;

            t.previous = t.current;
            t.previousLine = t.currentLine;
            t.breakPassed = false;
            if (t.nextSymbol == -1) {
                const Exit e =
                    exits_[static_cast<std::size_t>(t.previous)][static_cast<std::size_t>(branch_)];
                t.currentLine = e.line;
                t.current = e.symbol;
            } else {
                t.currentLine = t.nextLine;
                t.current = t.nextSymbol;
            }
            if (t.current < 0) {
                t.current = t.previous;
                static const char* const kNoLine[] = {"No hay una línea de este símbolo",
                                                      "No hay una línea 'SI' de este símbolo",
                                                      "No hay una línea 'NO' de este símbolo"};
                fail(t.current, kNoLine[branch_]);
                return;
            }
        }
        if (shell_) shell_->passDone();
    }
}

bool Interpreter::reachesBreakpoint(const Task& t) const
{
    return !t.breakPassed && t.current >= 0 && t.current < doc_.symbolCount() &&
           doc_.symbol(t.current).breakpoint;
}

// The task stops before it executes the symbol, as a single step would leave
// it: every task is held and the space bar (or clearing single stepping in
// the speed window) goes on from there. The marks are those the symbol gets
// when it runs, so drawing them again then changes nothing.
void Interpreter::holdAtBreakpoint(Task& t, int taskIndex)
{
    t.breakPassed = true;
    speed_.singleStep = true;
    speed_.holdAll();
    if (t.previous != t.current && t.unmarkPrevious) mark(t.previous, Mark::Normal);
    mark(t.current, Mark::Active);
    markLine(t.previousLine, Mark::Normal);
    markLine(t.currentLine, Mark::ActiveLine);
    if (shell_) {
        shell_->heldAtBreakpoint(taskIndex, t.current);
        shell_->passDone();
    }
}

// ---- Symbols --------------------------------------------------------------------

void Interpreter::execute(Task& t, int taskIndex)
{
    (void)taskIndex;
    const FlowSymbol& s = doc_.symbol(t.current);
    // The text is copied: a run-time error may let the editor change the symbol.
    const SymbolText text = s.text;
    if (text.empty()) return;
    switch (s.kind) {
        case SymbolKind::StartStop:
            executeStartStop(t, text.view());
            break;
        case SymbolKind::Output:
            executeOutput(text.view());
            break;
        case SymbolKind::Process:
            executeProcess(t, text.view());
            break;
        case SymbolKind::Decision:
            executeDecision(t, text.view());
            break;
    }
}

void Interpreter::executeStartStop(Task& t, std::string_view text)
{
    const char c = at(text, 2);
    if (c == 'a') {
        fail(t.current, "No puede ir a un inicie");
        return;
    }
    if (c != 'o') return;    // a Sub head: follow its line
    if (text.size() == 8) {  // "Stop All"
        stopRun(StopReason::ChartStopped);
        return;
    }
    if (t.depth == 0) {
        if (activeCount_ <= 1) {
            stopRun(StopReason::ChartStopped);
        } else {
            mark(t.current, Mark::Normal);
            markLine(t.currentLine, Mark::Normal);
            markLine(t.previousLine, Mark::Normal);
            t.current = kTaskFinished;
            --activeCount_;
        }
        return;
    }
    CallFrame& f = t.frames[static_cast<std::size_t>(t.depth - 1)];
    ++f.done;
    t.nextLine = -1;
    if (f.done != f.repeat) {
        t.nextSymbol = f.head;
        return;
    }
    mark(f.callingSymbol, Mark::Normal);
    --t.depth;
    if (f.returnSymbol < 0) {
        // The call has nowhere to return to: the fault is the calling symbol's.
        fail(f.callingSymbol, "No hay una línea de este símbolo");
        return;
    }
    t.nextSymbol = f.returnSymbol;
}

void Interpreter::executeProcess(Task& t, std::string_view text)
{
    switch (at(text, 0)) {
        case 'D': {  // Delay
            t.delayLength = delayHundredths(text);
            t.delayStart = nowCs();
            t.waiting = t.delayLength > 0;
            break;
        }
        case 'L': {  // Let
            if (letReadsAnalogue(text)) io_.readAnalogue();
            ExpressionInputs in;
            in.inputs = &io_.image().inputs;
            in.numbersFromZero = numberingFromZero(io_.settings.numbering);
            in.channels = channels_;
            const LetResult r = evaluateLet(text, vars_, in);
            if (r.outcome == LetResult::Outcome::DivisionByZero) {
                fail(t.current, "Divide por cero cuando ejecute este símbolo", false);
                return;
            }
            if (r.outcome == LetResult::Outcome::Assigned) assign(r.target, r.value);
            break;
        }
        case 'S':
            callSub(t, text);
            break;
        default:
            break;
    }
}

void Interpreter::assign(int variable, std::int32_t value)
{
    vars_[static_cast<std::size_t>(variable)] = value;
    for (VariableObserver* o : variableObservers_) {
        o->showVariable(variable, value);
        o->assigned(variable, value);
    }
    if (!displayable(value)) {
        stopRun(StopReason::Error);
        // The variables are cleared by the stop; the message names the letter.
        lastError_ = std::string("Variable ") + variableLetter(variable) + " es demasiado grande";
        messages_.show("Error de variable", lastError_, MsgIcon::Exclamation, MsgButtons::Ok);
    }
}

void Interpreter::callSub(Task& t, std::string_view text)
{
    if (t.depth == kMaxCallDepth) {
        fail(t.current, "Pila de sub-procedimiento está lleno");
        return;
    }
    CallFrame& f = t.frames[static_cast<std::size_t>(t.depth)];
    f.returnSymbol = exits_[static_cast<std::size_t>(t.current)][0].symbol;
    f.callingSymbol = t.current;
    f.repeat = 1;
    f.done = 0;
    for (std::size_t i = text.size(); i-- > 4;) {
        if (text[i] == 'x') {
            f.repeat = static_cast<int>(
                std::atoi(std::string(text.substr(std::min(i + 2, text.size()))).c_str()));
            break;
        }
        if (text[i] == ')') break;
    }
    t.unmarkPrevious = false;
    mark(t.current, Mark::Calling);
    ++t.depth;
    const int n = subNumberOf(text);
    const int head = n >= 1 && n <= kMaxSubs ? subs_[static_cast<std::size_t>(n - 1)] : -1;
    if (head < 0) {
        fail(t.current, format("Sub-procedimiento %d no existe", n));
        return;
    }
    t.nextSymbol = head;
    t.nextLine = -1;
    f.head = head;
}

void Interpreter::executeDecision(Task& t, std::string_view text)
{
    branch_ = 2;
    if (!io_.flags.simulate && !inputsRead_) {
        io_.pollInputs();
        inputsRead_ = true;
    }
    ExpressionInputs in;
    in.inputs = &io_.image().inputs;
    in.numbersFromZero = numberingFromZero(io_.settings.numbering);
    in.channels = channels_;
    const DecisionResult r = evaluateDecision(text, vars_, in, t.margin);
    if (r.yes) branch_ = 1;
    if (r.margin) t.margin = *r.margin;
}

// ---- Output commands ----------------------------------------------------------------

int Interpreter::itemNumber(char c) const
{
    int n = 0;
    if (c >= '0' && c <= '8')
        n = c - '0';
    else if (variableIndex(c) >= 0)
        n = static_cast<int>(
            std::clamp<std::int64_t>(vars_[static_cast<std::size_t>(variableIndex(c))], -1, 100));
    else
        return 0;
    if (numberingFromZero(io_.settings.numbering)) n += 1;
    return n;
}

void Interpreter::executeOutput(std::string_view text)
{
    if (at(text, 0) == 'S') {
        if (at(text, 1) == 'o')
            playSound(text);
        else if (at(text, 2) == 't')
            setOutputByte(text);
        return;  // "Send " is for the chip system
    }
    if (at(text, 5) == 'O' || at(text, 0) == 'O')
        switchOutputs(withoutTurn(text, 'O'));
    else if (at(text, 5) == 'M' || at(text, 0) == 'M')
        driveMotors(withoutTurn(text, 'M'));
    else if (at(text, 5) == 'D')
        setDac(text);
}

void Interpreter::switchOutput(int number, int state)
{
    if (number < 1 || number > 8) return;
    const int i = number - 1;
    io_.setOutput(i, state);
    const MotorEncoding& enc = io_.encoding;
    if (enc.outputsMirrorMotors) {
        io_.setMotorLine(i, state);
        io_.refreshMotor(i / 2);
    }
    if (enc.motorsDriveOutputs && number <= 4) io_.setMotor(i, state ? kMotorForward : kMotorOff);
}

void Interpreter::switchOutputs(std::string_view t)
{
    const std::size_t n = t.size();
    std::size_t keyword = std::string_view::npos;
    int firstState = 0;
    for (std::size_t i = 7; i < n; ++i) {
        if (t[i] == 'o' && at(t, i + 1) == 'n') {
            keyword = i;
            firstState = 1;
            break;
        }
        if (t[i] == 'f') {
            keyword = i;
            firstState = 0;
            break;
        }
    }
    const std::size_t firstEnd = keyword == std::string_view::npos ? n : keyword;
    for (std::size_t i = 7; i < firstEnd; ++i) switchOutput(itemNumber(t[i]), firstState);
    // The second list, switched off, ends three characters before the end (" off").
    if (keyword != std::string_view::npos)
        for (std::size_t i = keyword + 2; i + 3 < n; ++i) switchOutput(itemNumber(t[i]), 0);
    io_.writeOutputs();
}

void Interpreter::driveMotors(std::string_view t)
{
    // "Motor a fd b rev 50%": the first letter at 6, its direction two further on.
    const MotorEncoding& enc = io_.encoding;
    std::array<int, 2> named{-1, -1};
    std::array<int, 2> direction{kMotorOff, kMotorOff};
    std::size_t pos = 6;
    for (int clause = 0; clause < 2; ++clause) {
        if (clause == 1) {
            const char d = at(t, pos + 2);
            if (pos + 2 > t.size() || (d != 'o' && d != 'f' && d != 'r')) break;
        }
        const char letter = at(t, pos);
        const char dir = at(t, pos + 2);
        const int state = dir == 'f' ? kMotorForward : dir == 'r' ? kMotorReverse : kMotorOff;
        // "fd " is one character shorter than "rev " and "off ".
        const std::size_t next = pos + (dir == 'f' ? 5 : 6);
        if (letter >= 'a' && letter <= 'd' && pos + 2 < t.size()) {
            const int m = letter - 'a';
            named[static_cast<std::size_t>(clause)] = m;
            direction[static_cast<std::size_t>(clause)] = state;
            io_.setMotor(m, state);
            if (enc.outputsMirrorMotors) {
                io_.setOutput(2 * m, io_.image().motorLines[static_cast<std::size_t>(2 * m)]);
                io_.setOutput(2 * m + 1,
                              io_.image().motorLines[static_cast<std::size_t>(2 * m + 1)]);
            }
            if (enc.motorsDriveOutputs) io_.setOutput(m, state == kMotorOff ? 0 : 1);
        }
        pos = next;
    }
    io_.writeOutputs();

    // Whatever follows the clauses is the speed.
    if (pos >= t.size()) return;
    const char c = t[pos];
    std::int64_t speed = 0;
    if (variableIndex(c) >= 0)
        speed = vars_[static_cast<std::size_t>(variableIndex(c))];
    else if (isDigit(c)) {
        for (std::size_t i = pos; i < t.size() && isDigit(t[i]) && speed <= 1000; ++i)
            speed = speed * 10 + (t[i] - '0');
    } else {
        return;
    }
    const int percent = static_cast<int>(std::clamp<std::int64_t>(speed, 0, 100));
    const bool pairs = io_.isContactControllerType();
    for (int k = 0; k < 2; ++k) {
        const int m = named[static_cast<std::size_t>(k)];
        if (m < 0 || io_.image().outputPower[static_cast<std::size_t>(2 * m)] == percent) continue;
        io_.setPowerShown(2 * m, percent);
        if (pairs) {
            // Reverse sends the second line first.
            const bool reverse = direction[static_cast<std::size_t>(k)] == kMotorReverse;
            io_.setPower(reverse ? 2 * m + 1 : 2 * m, percent);
            io_.setPower(reverse ? 2 * m : 2 * m + 1, percent);
        } else {
            io_.setMotorPower(m, percent);
        }
    }
}

void Interpreter::setOutputByte(std::string_view t)
{
    const int value = digitsFrom(t, 10);
    for (int i = 0; i < 8; ++i) {
        const int state = (value >> i) & 1;
        io_.setOutput(i, state);
        if (io_.encoding.outputsMirrorMotors) io_.setMotorLine(i, state);
    }
    if (io_.encoding.outputsMirrorMotors)
        for (int m = 0; m < 4; ++m) io_.refreshMotor(m);
    io_.writeOutputs();
}

void Interpreter::setDac(std::string_view t)
{
    const char c = at(t, 9);
    std::int64_t value = 0;
    if (variableIndex(c) >= 0)
        value = vars_[static_cast<std::size_t>(variableIndex(c))];
    else
        value = digitsFrom(t.substr(0, std::min<std::size_t>(t.size(), 16)), 9);
    const int v = static_cast<int>(std::clamp<std::int64_t>(value, 0, 255));
    if (v == io_.image().dacValue) return;
    io_.setDac(v);
    io_.writeOutputs();
}

void Interpreter::playSound(std::string_view t)
{
    const char c = at(t, 6);
    if (c < '0' || c > '9' || !sound_) return;
    const int slot = c - '0';
    const auto& file = doc_.soundFiles[static_cast<std::size_t>(slot)];
    if (!file.empty()) sound_->play(slot, file.str());
}

}  // namespace tarvel
