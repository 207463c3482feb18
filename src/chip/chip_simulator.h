#pragma once
// The chip simulator: runs a compiled program image on screen, byte by byte,
// as the chip runs it. Up to four tasks share the image (start 1 at address 3,
// starts 2..4 where bytes 0..2 point); each has its two registers A and B, its
// repeat counters Rm and Rs, its margin, its tenths counter with a delay
// target, and a return stack. x and y are shared by all tasks.
//
// The shell's timer (period `Interval`) calls timerTick(); a tick runs
// `Multiplicity` slices, and in each slice every task that is not waiting
// executes one byte, task 1 first. The tenths counters follow the clock in
// steps of 100 ms whatever the speed, so a delay lasts as long as on the chip.
//
// Everything it changes goes through the interface layer, so monitors, mimics
// and the data logger follow it as they follow the interpreter; symbol marks
// and variables go through the interpreter's ports.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "chip/chip_compiler.h"
#include "chip/chip_layout.h"
#include "engine/run_ports.h"
#include "engine/variables.h"

namespace tarvel {

class Clock;
class InterfaceLayer;
class Messages;
class SensorChannels;
struct SpeedSettings;

inline constexpr int kChipTasks = 4;
// The return stack holds eight addresses, of which seven calls may be open.
inline constexpr int kChipStackSize = 8;
inline constexpr int kChipOpenCalls = kChipStackSize - 1;
// The base of the tenths counters.
inline constexpr int kChipTenthMs = 100;

inline constexpr const char* kChipErrorCaption = "Interprete error";
inline constexpr const char* kChipStackFull = "Pila de sub-procedimiento está lleno";
inline constexpr const char* kChipReturnWithoutCall =
    "Regreso de un sub-procedimiento que no fue llamado";

// Why the last simulation ended.
enum class ChipStopReason { None, Command, TasksEnded, StopAll, Error };

struct ChipTask {
    bool running = false;
    int pc = 0;  // the address of the next byte
    std::uint8_t a = 0, b = 0;
    std::uint8_t rm = 0, rs = 0;
    std::uint8_t margin = 0;       // |A - B| as of the last byte 0x30..0x3F
    int tenths = 0;                // counts 100 ms steps since the last delay began
    int delayTarget = 0;           // the task waits while tenths is below it
    std::int64_t fineUntilMs = 0;  // a delay in hundredths waits until then
    int sp = 0;
    std::array<int, kChipStackSize> stack{};
    int symbol = -1;  // the symbol marked as this task's
};

class ChipSimulator {
public:
    ChipSimulator(InterfaceLayer& io, Clock& clock, Messages& messages, SpeedSettings& speed);

    void setMarks(ChartMarks* marks) { marks_ = marks; }
    void setShell(RunShell* shell) { shell_ = shell; }
    // The channels' sensors: the direct dialect loads a channel through them.
    void setChannels(const SensorChannels* channels) { channels_ = channels; }
    void addVariableObserver(VariableObserver* observer);
    void removeVariableObserver(VariableObserver* observer);

    bool running() const { return running_; }
    // Starts the program. False (nothing changes) while one runs, or for an
    // image whose size is not one of the two program sizes.
    bool start(const ChipProgram& program, const ChipTarget& target);
    // Stops it (the command, Escape).
    void stop();
    // The timer fired: one tick, unless single stepping holds every task.
    void timerTick();
    // The space bar while single stepping: the held tasks move on.
    void step();
    // `Multiplicity` slices while the simulation goes on.
    void runTick();
    // One slice: the tenths counters, then one byte of every ready task.
    void slice();
    // Redraws the tasks' marks (after the marking colours changed).
    void redrawMarks();

    const ChipTask& task(int t) const { return tasks_[static_cast<std::size_t>(t)]; }
    std::uint8_t x() const { return x_; }
    std::uint8_t y() const { return y_; }
    const ChipProgram& program() const { return program_; }
    ChipStopReason lastStopReason() const { return stopReason_; }
    const std::string& lastError() const { return lastError_; }

private:
    void resetState();
    void countTenths();
    void runTask(int k);
    void markAt(int k, int address);
    void execute(ChipTask& t, int byte);
    void executeLow(ChipTask& t, int byte);
    void executeControl(ChipTask& t, int byte);
    void executeSkipControl(ChipTask& t, int byte);
    void executeDirectControl(ChipTask& t, int byte);
    void executeLoadsB(ChipTask& t, int byte);
    void executeArithmetic(ChipTask& t, int byte);
    void executeLoadsA(ChipTask& t, int byte);
    void executeLinkBytes(ChipTask& t, int byte);
    void executeHigh(ChipTask& t, int byte);
    void executeDirectHigh(ChipTask& t, int byte);

    int fetch(ChipTask& t);
    int jumpTarget(int entry) const;
    void call(ChipTask& t, int sub);
    void ret(ChipTask& t);
    void endTask(ChipTask& t);
    void delay(ChipTask& t, int entry);
    void fineDelay(ChipTask& t, int entry);
    void skipIf(ChipTask& t, bool condition);
    void jumpIf(ChipTask& t, bool condition);
    bool input(int index);
    int scaledChannel(int channel);
    int calibratedChannel(int channel);
    void driveMotor(int motor, int lines);
    void switchOutput(int output, int state);
    void setOutputs(int byte);
    void setSpeed(int motor, int tenths);
    void setVariable(int index, std::uint8_t& variable, int value);
    void showVariables(bool chipOnly);
    void fail(const char* text);
    void stopSimulation(ChipStopReason reason);
    void mark(int symbol, Mark m);

    bool direct() const { return target_.dialect == ChipDialect::Direct; }

    InterfaceLayer& io_;
    Clock& clock_;
    Messages& messages_;
    SpeedSettings& speed_;
    ChartMarks* marks_ = nullptr;
    RunShell* shell_ = nullptr;
    const SensorChannels* channels_ = nullptr;
    std::vector<VariableObserver*> variableObservers_;

    ChipProgram program_;
    ChipTarget target_;
    ChipLayout layout_;
    int addressMask_ = 0xFF;
    bool running_ = false;
    std::array<ChipTask, kChipTasks> tasks_{};
    std::uint8_t x_ = 0, y_ = 0;
    std::int64_t timeBase_ = 0;
    // The chip reverses a motor with its second line alone; the interface's
    // own reverse wiring is put back when the simulation stops.
    std::array<int, 2> savedEncodingFlags_{};
    // The inputs and channels of a live box are read once per slice.
    bool inputsRead_ = false;
    bool analogueRead_ = false;
    ChipStopReason stopReason_ = ChipStopReason::None;
    std::string lastError_;
};

}  // namespace tarvel
