#include "chip/chip_simulator.h"

#include <algorithm>
#include <cstdlib>

#include "engine/speed_settings.h"
#include "flowchart/flow_document.h"
#include "interfaces/interface_layer.h"
#include "interfaces/interface_model.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "sensors/calibration_file.h"
#include "sensors/sensor_channels.h"

namespace tarvel {

namespace {

constexpr int kIndexX = variableIndex('x');
constexpr int kIndexY = variableIndex('y');
// The tenths counters stop counting here, far above any delay target.
constexpr int kTenthsCap = 1 << 20;
// Motor speeds are given in tenths of full power.
constexpr int kSpeedStep = 10;

}  // namespace

ChipSimulator::ChipSimulator(InterfaceLayer& io, Clock& clock, Messages& messages,
                             SpeedSettings& speed)
    : io_(io), clock_(clock), messages_(messages), speed_(speed)
{
}

void ChipSimulator::addVariableObserver(VariableObserver* observer)
{
    if (observer) variableObservers_.push_back(observer);
}

void ChipSimulator::removeVariableObserver(VariableObserver* observer)
{
    std::erase(variableObservers_, observer);
}

void ChipSimulator::mark(int symbol, Mark m)
{
    if (marks_ && symbol >= 0) marks_->markSymbol(symbol, m);
}

// ---- Start and stop ---------------------------------------------------------------

bool ChipSimulator::start(const ChipProgram& program, const ChipTarget& target)
{
    const int size = static_cast<int>(program.image.size());
    if (running_ || (size != kSmallProgramSize && size != kFullProgramSize)) return false;
    program_ = program;
    program_.symbolAt.resize(program_.image.size(), -1);
    target_ = target;
    target_.dialect = program.dialect;
    layout_ = ChipLayout::forSize(size);
    addressMask_ = size - 1;
    stopReason_ = ChipStopReason::None;
    lastError_.clear();
    // Motor displays read reverse as the chip drives it (first line off, second
    // on), whichever interface the chart was saved for.
    savedEncodingFlags_ = io_.encoding.encodingFlag;
    io_.encoding.encodingFlag = {0, 0};
    resetState();
    running_ = true;
    if (shell_) shell_->runStarted();
    return true;
}

void ChipSimulator::resetState()
{
    tasks_ = {};
    // Start 1 at the code's beginning; the others where the start table says (0: none).
    tasks_[0].pc = kChipCodeStart;
    tasks_[0].running = true;
    for (int k = 1; k < kChipTasks; ++k) {
        ChipTask& t = tasks_[static_cast<std::size_t>(k)];
        t.pc = program_.image[static_cast<std::size_t>(k - 1)];
        t.running = t.pc != 0;
    }
    x_ = y_ = 0;
    showVariables(true);
    io_.resetImage();
    io_.forgetSentBytes();
    for (int c = 0; c < kSensorChannels; ++c) io_.setAnalogue(c, 0);
    speed_.releaseAll();
    timeBase_ = clock_.nowMs();
}

void ChipSimulator::stop()
{
    if (running_) stopSimulation(ChipStopReason::Command);
}

void ChipSimulator::stopSimulation(ChipStopReason reason)
{
    if (!running_) return;
    stopReason_ = reason;
    if (shell_) shell_->runStopping();
    io_.allOff();
    // The analogue output and the sent bytes reset, then the displays go off
    // in the stop's order (the mimic draws its at-once objects in it): the
    // inputs, the outputs, then the motors.
    io_.setDac(0);
    io_.forgetSentBytes();
    for (int i = 0; i < kIoCount; ++i) io_.setInput(i, 0);
    for (int i = 0; i < kIoCount; ++i) io_.setOutput(i, 0);
    for (int i = 0; i < kIoCount; ++i) io_.setMotorLine(i, 0);
    for (int m = 0; m < kMotorCount; ++m) io_.setMotor(m, kMotorOff);
    for (ChipTask& t : tasks_) {
        mark(t.symbol, Mark::Normal);
        t.symbol = -1;
        t.running = false;
    }
    x_ = y_ = 0;
    showVariables(false);
    // Unless the interface was connected anew meanwhile.
    if (io_.encoding.encodingFlag == std::array<int, 2>{0, 0})
        io_.encoding.encodingFlag = savedEncodingFlags_;
    running_ = false;
    if (shell_) shell_->runStopped();
}

void ChipSimulator::fail(const char* text)
{
    stopSimulation(ChipStopReason::Error);
    lastError_ = text;
    messages_.show(kChipErrorCaption, text, MsgIcon::Exclamation, MsgButtons::Ok);
}

void ChipSimulator::showVariables(bool chipOnly)
{
    for (VariableObserver* o : variableObservers_)
        for (int i = 0; i < kVariableCount; ++i) {
            if (chipOnly && i != kIndexX && i != kIndexY)
                o->showUnused(i);
            else
                o->showVariable(i, 0);
        }
}

void ChipSimulator::redrawMarks()
{
    if (!running_) return;
    for (const ChipTask& t : tasks_)
        if (t.running) mark(t.symbol, Mark::Active);
}

// ---- Ticks and slices ------------------------------------------------------------------

void ChipSimulator::timerTick()
{
    if (!running_) return;
    if (speed_.singleStep) {
        bool allHeld = true;
        for (int k = 0; k < kChipTasks; ++k)
            if (tasks_[static_cast<std::size_t>(k)].running &&
                !speed_.holdFlags[static_cast<std::size_t>(k)])
                allHeld = false;
        if (allHeld) return;
    }
    runTick();
}

void ChipSimulator::step()
{
    if (!running_ || !speed_.singleStep) return;
    speed_.releaseAll();
    runTick();
}

void ChipSimulator::runTick()
{
    for (int s = 0; s < speed_.multiplicity && running_; ++s) {
        slice();
        if (running_ && shell_) shell_->passDone();
    }
}

void ChipSimulator::slice()
{
    if (!running_) return;
    countTenths();
    inputsRead_ = analogueRead_ = false;
    for (int k = 0; k < kChipTasks && running_; ++k) runTask(k);
}

// Every whole 100 ms that passed counts, however far apart the slices are.
void ChipSimulator::countTenths()
{
    const std::int64_t elapsed = clock_.nowMs() - timeBase_;
    if (elapsed <= kChipTenthMs) return;
    const std::int64_t steps = (elapsed - 1) / kChipTenthMs;
    timeBase_ += steps * kChipTenthMs;
    for (ChipTask& t : tasks_)
        t.tenths = static_cast<int>(std::min<std::int64_t>(t.tenths + steps, kTenthsCap));
}

void ChipSimulator::runTask(int k)
{
    ChipTask& t = tasks_[static_cast<std::size_t>(k)];
    if (!t.running || speed_.holdFlags[static_cast<std::size_t>(k)]) return;
    if (t.tenths < t.delayTarget || clock_.nowMs() < t.fineUntilMs) return;
    t.delayTarget = 0;
    markAt(k, t.pc);
    execute(t, fetch(t));
}

void ChipSimulator::markAt(int k, int address)
{
    const int symbol = program_.symbolAt[static_cast<std::size_t>(address)];
    if (symbol < 0) return;
    ChipTask& t = tasks_[static_cast<std::size_t>(k)];
    if (t.symbol != symbol) {
        // Another task standing on the old symbol keeps its mark.
        const bool shared = std::any_of(tasks_.begin(), tasks_.end(), [&](const ChipTask& o) {
            return &o != &t && o.running && o.symbol == t.symbol;
        });
        if (!shared) mark(t.symbol, Mark::Normal);
        t.symbol = symbol;
    }
    mark(symbol, Mark::Active);
    if (speed_.singleStep) {
        speed_.holdFlags[static_cast<std::size_t>(k)] = true;
        ++speed_.heldCount;
    }
}

int ChipSimulator::fetch(ChipTask& t)
{
    const int byte = program_.image[static_cast<std::size_t>(t.pc & addressMask_)];
    t.pc = (t.pc + 1) & addressMask_;
    return byte;
}

// ---- Executing a byte --------------------------------------------------------------------

void ChipSimulator::execute(ChipTask& t, int byte)
{
    switch (byte >> 4) {
        case 0x0:
            executeLow(t, byte);
            break;
        case 0x1:
            switchOutput(byte & 7, (byte & 8) ? 0 : 1);
            break;
        case 0x2:
            delay(t, byte & 0xF);
            break;
        case 0x3:
            executeControl(t, byte);
            break;
        case 0x4:
            executeLoadsB(t, byte);
            break;
        case 0x5:
            executeArithmetic(t, byte);
            break;
        case 0x6:
            setVariable(kIndexX, x_,
                        program_.image[static_cast<std::size_t>(layout_.constBase + (byte & 0xF))]);
            break;
        case 0x7:
            setVariable(kIndexY, y_,
                        program_.image[static_cast<std::size_t>(layout_.constBase + (byte & 0xF))]);
            break;
        case 0x8:
            executeLoadsA(t, byte);
            break;
        case 0x9:
            call(t, byte & 0xF);
            break;
        case 0xA:
        case 0xB:
            executeLinkBytes(t, byte);
            break;
        default:
            executeHigh(t, byte);
            break;
    }
}

void ChipSimulator::executeLow(ChipTask& t, int byte)
{
    if (direct() && byte == 0x0F) {
        ret(t);
        return;
    }
    // The two low bits are the motor's two lines.
    driveMotor((byte >> 2) & 3, byte & 3);
}

void ChipSimulator::executeControl(ChipTask& t, int byte)
{
    t.margin = static_cast<std::uint8_t>(std::abs(t.a - t.b));
    if (direct())
        executeDirectControl(t, byte);
    else
        executeSkipControl(t, byte);
}

void ChipSimulator::executeSkipControl(ChipTask& t, int byte)
{
    switch (byte) {
        case 0x30:
        case 0x31:
        case 0x32:
        case 0x33:  // inputs 1 and 2: even bytes skip when on, odd when off
            skipIf(t, input((byte - 0x30) / 2) == ((byte & 1) == 0));
            break;
        case 0x34:
            skipIf(t, t.a == t.b);
            break;
        case 0x35:
            skipIf(t, t.a < t.b);
            break;
        case 0x36:
            skipIf(t, t.b < t.a);
            break;
        case 0x37:
            skipIf(t, t.a != t.b);
            break;
        case 0x38:
            skipIf(t, t.a >= t.b);
            break;
        case 0x39:
            skipIf(t, t.b >= t.a);
            break;
        case 0x3A:
            t.rm = 0;
            break;
        case 0x3B:
            t.rs = 0;
            break;
        case 0x3C:
            ret(t);
            break;
        case 0x3D:
            endTask(t);
            break;
        case 0x3E:
            stopSimulation(ChipStopReason::StopAll);
            break;
        default:  // 0x3F does nothing
            break;
    }
}

void ChipSimulator::executeDirectControl(ChipTask& t, int byte)
{
    if (byte <= 0x37) {
        jumpIf(t, input(byte - 0x30));
        return;
    }
    switch (byte) {
        case 0x38:
            jumpIf(t, true);
            break;
        case 0x39:
            jumpIf(t, t.a == t.b);
            break;
        case 0x3A:
            jumpIf(t, t.a < t.b);
            break;
        case 0x3B:
            jumpIf(t, t.b < t.a);
            break;
        case 0x3C:
            t.rm = 0;
            break;
        case 0x3D:
            t.rs = 0;
            break;
        case 0x3E:
            endTask(t);
            break;
        default:  // 0x3F
            stopSimulation(ChipStopReason::StopAll);
            break;
    }
}

void ChipSimulator::executeLoadsB(ChipTask& t, int byte)
{
    switch (byte) {
        case 0x40:
            t.b = static_cast<std::uint8_t>(scaledChannel(1));
            break;
        case 0x41:
            t.b = x_;
            break;
        case 0x42:
            t.b = y_;
            break;
        case 0x43:
            t.b = t.margin;
            break;
        default:
            t.b = program_.image[static_cast<std::size_t>(layout_.constBase + (byte & 0xF))];
            break;
    }
}

void ChipSimulator::executeArithmetic(ChipTask& t, int byte)
{
    const bool negate = (byte & 2) != 0;
    int operand = (byte & 1) ? t.b : t.a;
    if (negate) operand = -operand;
    switch ((byte >> 2) & 3) {
        case 0:
            setVariable(kIndexX, x_, x_ + operand);
            break;
        case 1:
            setVariable(kIndexY, y_, y_ + operand);
            break;
        case 2:
            t.rm = static_cast<std::uint8_t>(t.rm + (negate ? -1 : 1));
            break;
        default:
            t.rs = static_cast<std::uint8_t>(t.rs + (negate ? -1 : 1));
            break;
    }
}

void ChipSimulator::executeLoadsA(ChipTask& t, int byte)
{
    switch (byte) {
        case 0x80:
            t.a = static_cast<std::uint8_t>(scaledChannel(0));
            break;
        case 0x81:
            t.a = x_;
            break;
        case 0x82:
            t.a = y_;
            break;
        case 0x83:
            t.a = t.rm;
            break;
        case 0x84:
            t.a = t.rs;
            break;
        default:
            t.a = program_.image[static_cast<std::size_t>(layout_.constBase + (byte & 0xF))];
            break;
    }
}

// 0xA0..0xBF test inputs and load channels on chips with eight inputs; on
// the others they set the speeds of motors A and B.
void ChipSimulator::executeLinkBytes(ChipTask& t, int byte)
{
    const bool loads = byte >= 0xB0;
    if (target_.linkKind != kChipLinkEightInputs) {
        setSpeed(loads ? 1 : 0, byte & 0xF);
        return;
    }
    if (!loads) {
        skipIf(t, input(byte & 7) == ((byte & 8) == 0));
        return;
    }
    const auto value = static_cast<std::uint8_t>(scaledChannel(byte & 3));
    ((byte & 8) ? t.b : t.a) = value;
}

void ChipSimulator::executeHigh(ChipTask& t, int byte)
{
    if (direct())
        executeDirectHigh(t, byte);
    else
        t.pc = jumpTarget(byte & 0x3F);
}

// The direct dialect's chips read 0xC0..0xFF as channel loads, serial sends,
// the speeds of motors C and D and delays in hundredths. The simulator has no
// line to send on: a send takes its operands and does nothing else.
void ChipSimulator::executeDirectHigh(ChipTask& t, int byte)
{
    if (byte <= 0xC7) {
        const auto value = static_cast<std::uint8_t>(calibratedChannel(byte & 3));
        ((byte & 4) ? t.b : t.a) = value;
    } else if (byte == 0xCC) {
        fetch(t);
    } else if (byte == 0xCD) {
        // The text ends at its 0; an image holds no longer text.
        for (int n = 0; n <= addressMask_ && fetch(t) != 0; ++n) {
        }
    } else if (byte == 0xCF) {
        setOutputs(fetch(t));
    } else if (byte >= 0xD0 && byte <= 0xEF) {
        setSpeed(byte >= 0xE0 ? 3 : 2, byte & 0xF);
    } else if (byte >= 0xF0) {
        fineDelay(t, byte & 0xF);
    }
    // 0xC8, 0xC9, 0xCA, 0xCB (send x, send y) and 0xCE: nothing to do here.
}

// ---- Control flow -------------------------------------------------------------------------

int ChipSimulator::jumpTarget(int entry) const
{
    return program_.image[static_cast<std::size_t>(layout_.jumpBase + entry)] & addressMask_;
}

void ChipSimulator::skipIf(ChipTask& t, bool condition)
{
    if (condition) fetch(t);
}

void ChipSimulator::jumpIf(ChipTask& t, bool condition)
{
    const int target = fetch(t);
    if (condition) t.pc = target & addressMask_;
}

void ChipSimulator::call(ChipTask& t, int sub)
{
    if (t.sp >= kChipOpenCalls) {
        fail(kChipStackFull);
        return;
    }
    t.stack[static_cast<std::size_t>(t.sp++)] = t.pc;
    t.pc = program_.image[static_cast<std::size_t>(layout_.subBase + sub)] & addressMask_;
}

void ChipSimulator::ret(ChipTask& t)
{
    if (t.sp == 0) {
        fail(kChipReturnWithoutCall);
        return;
    }
    t.pc = t.stack[static_cast<std::size_t>(--t.sp)];
}

void ChipSimulator::endTask(ChipTask& t)
{
    t.running = false;
    const bool shared = std::any_of(tasks_.begin(), tasks_.end(), [&](const ChipTask& o) {
        return o.running && o.symbol == t.symbol;
    });
    if (!shared) mark(t.symbol, Mark::Normal);
    t.symbol = -1;
    if (std::none_of(tasks_.begin(), tasks_.end(), [](const ChipTask& o) { return o.running; }))
        stopSimulation(ChipStopReason::TasksEnded);
}

void ChipSimulator::delay(ChipTask& t, int entry)
{
    t.delayTarget = program_.image[static_cast<std::size_t>(layout_.delayBase + entry)];
    t.tenths = 0;
}

void ChipSimulator::fineDelay(ChipTask& t, int entry)
{
    const int hundredths = program_.image[static_cast<std::size_t>(layout_.delayBase + entry)];
    t.fineUntilMs = clock_.nowMs() + 10 * hundredths;
}

// ---- Inputs, channels, outputs and variables ---------------------------------------------

bool ChipSimulator::input(int index)
{
    if (!io_.flags.simulate && !inputsRead_) {
        io_.pollInputs();
        inputsRead_ = true;
    }
    return io_.image().inputs[static_cast<std::size_t>(index & 7)] != 0;
}

// A channel as the chip's converter reads it: percent x 2.56, at most 255.
int ChipSimulator::scaledChannel(int channel)
{
    if (!io_.flags.simulate && !analogueRead_) {
        io_.readAnalogue();
        analogueRead_ = true;
    }
    return percentToByte(percentOfRaw(io_.image().analogue[static_cast<std::size_t>(channel)]));
}

// A channel read through its sensor, as the compiler turned the numbers it
// is compared with into bytes.
int ChipSimulator::calibratedChannel(int channel)
{
    const int scaled = scaledChannel(channel);
    if (!channels_) return scaled;
    return channels_->toByte(channel, channels_->value(channel));
}

void ChipSimulator::driveMotor(int motor, int lines)
{
    const int first = lines & 1, second = (lines >> 1) & 1;
    io_.setMotorLine(2 * motor, first);
    io_.setMotorLine(2 * motor + 1, second);
    io_.refreshMotor(motor);
    // The chip drives a motor through the two outputs of its pair.
    io_.setOutput(2 * motor, first);
    io_.setOutput(2 * motor + 1, second);
    io_.writeOutputs();
}

void ChipSimulator::switchOutput(int output, int state)
{
    // Chips whose option word is 1 can switch on only the first three outputs.
    if (state && target_.optionWord == 1 && output > 2) return;
    io_.setOutput(output, state);
    io_.setMotorLine(output, state);
    io_.refreshMotor(output / 2);
    io_.writeOutputs();
}

void ChipSimulator::setOutputs(int byte)
{
    for (int i = 0; i < kIoCount; ++i) {
        io_.setOutput(i, (byte >> i) & 1);
        io_.setMotorLine(i, (byte >> i) & 1);
    }
    for (int m = 0; m < kMotorCount; ++m) io_.refreshMotor(m);
    io_.writeOutputs();
}

void ChipSimulator::setSpeed(int motor, int tenths)
{
    const int percent = std::min(tenths * kSpeedStep, 100);
    io_.setPowerShown(2 * motor, percent);
    io_.setMotorPower(motor, percent);
}

void ChipSimulator::setVariable(int index, std::uint8_t& variable, int value)
{
    variable = static_cast<std::uint8_t>(value);
    for (VariableObserver* o : variableObservers_) {
        o->showVariable(index, variable);
        o->assigned(index, variable);
    }
}

}  // namespace tarvel
