#include "run_trace.h"

#include "platform/cp1252.h"

namespace tarvel::tool {

void EventPrinter::begin()
{
    outputs_ = io_.image().outputs;
    power_ = io_.image().outputPower;
    for (int m = 0; m < kMotorCount; ++m) motors_[static_cast<std::size_t>(m)] = io_.motorState(m);
    dac_ = io_.image().dacValue;
    live_ = true;
}

void EventPrinter::showOutput(int i, int state)
{
    auto& last = outputs_[static_cast<std::size_t>(i)];
    if (!live_ || last == state) return;
    last = state;
    line() << "output " << i + 1 << (state ? " on" : " off") << '\n';
}

void EventPrinter::showMotor(int m, int state)
{
    auto& last = motors_[static_cast<std::size_t>(m)];
    if (!live_ || last == state) return;
    last = state;
    const char* word = state == kMotorForward ? "fd" : state == kMotorReverse ? "rev" : "off";
    line() << "motor " << static_cast<char>('a' + m) << ' ' << word << '\n';
}

void EventPrinter::showPower(int output, int percent)
{
    auto& last = power_[static_cast<std::size_t>(output)];
    if (!live_ || last == percent) return;
    last = percent;
    line() << "power " << output + 1 << ' ' << percent << '\n';
}

void EventPrinter::showDac(int value)
{
    if (!live_ || dac_ == value) return;
    dac_ = value;
    line() << "dac " << value << '\n';
}

void EventPrinter::assigned(int index, std::int32_t value)
{
    if (live_) line() << "var " << variableLetter(index) << ' ' << value << '\n';
}

void EventPrinter::play(int slot, const std::string& path)
{
    if (live_) line() << "sound " << slot << ' ' << cp1252ToUtf8(path) << '\n';
}

void EventPrinter::heldAtBreakpoint(int task, int symbol)
{
    held_ = true;
    line() << "break " << symbol << " task " << task + 1 << '\n';
}

bool prepareRun(ProgramState& state, EventPrinter& printer, const RunOptions& options)
{
    for (const int s : options.breaks) {
        if (s >= state.doc.symbolCount()) {
            std::cerr << "El símbolo " << s << " no está en el diagrama.\n";
            return false;
        }
    }
    state.doc.setBreakpoints(options.breaks);
    state.speed.interval = options.interval;
    state.speed.multiplicity = options.multiplicity;
    Interpreter& run = state.interpreter;
    state.io.addObserver(&printer);
    run.addVariableObserver(&printer);
    run.setShell(&printer);
    run.setSound(&printer);
    run.runMode = options.mode;
    for (const int s : options.selection) state.doc.selectSymbol(s);
    return true;
}

void printEnd(EventPrinter& printer, Interpreter& run, const std::string& linkMessage)
{
    if (printer.held()) {
        run.stop();
        printer.line() << "end break\n";
    } else if (run.running()) {
        run.stop();
        printer.line() << "end ticks\n";
    } else if (run.lastStopReason() == StopReason::ChartStopped) {
        printer.line() << "end stop\n";
    } else if (run.lastStopReason() == StopReason::LinkFailed) {
        printer.line() << "end " << linkMessage << '\n';
    } else {
        printer.line() << "end " << run.lastError() << '\n';
    }
    std::cout.flush();
}

}  // namespace tarvel::tool
