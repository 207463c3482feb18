#pragma once
// The interpreter: runs the chart as cooperative tasks, one per Start symbol.
// The shell's run timer calls timerTick(); every tick runs `Multiplicity`
// passes and in each pass every task executes at most one symbol, task 0
// first. Delays never block: a waiting task is skipped until its time comes.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/run_ports.h"
#include "engine/speed_settings.h"
#include "engine/variables.h"

namespace tarvel {

class Clock;
class FlowDocument;
class InterfaceLayer;
class Messages;
class SoundPlayer;

inline constexpr int kMaxCallDepth = 50;
inline constexpr int kMaxSubs = 50;
inline constexpr int kTaskFinished = -2;

// What the run command starts: all Start symbols, the selected ones, or Sub n alone.
struct RunMode {
    enum Kind { AllStarts, Selection, Sub };
    Kind kind = AllStarts;
    int sub = 0;  // 1..50 for Sub

    // The stored code: 0 all starts, 1 selection, n + 1 for Sub n.
    int code() const { return kind == AllStarts ? 0 : kind == Selection ? 1 : sub + 1; }
    static RunMode fromCode(int code)
    {
        if (code <= 0) return {AllStarts, 0};
        if (code == 1) return {Selection, 0};
        return {Sub, code - 1};
    }
};

// Why the last run ended.
enum class StopReason { None, Command, ChartStopped, Error, LinkFailed };

class Interpreter {
public:
    Interpreter(FlowDocument& doc, InterfaceLayer& io, Clock& clock, Messages& messages,
                SpeedSettings& speed);

    void setMarks(ChartMarks* marks) { marks_ = marks; }
    void setShell(RunShell* shell) { shell_ = shell; }
    void setSound(SoundPlayer* sound) { sound_ = sound; }
    void setCapture(CaptureHook* capture) { capture_ = capture; }
    void setChannelValues(const ChannelValues* values) { channels_ = values; }
    void addVariableObserver(VariableObserver* observer);
    void removeVariableObserver(VariableObserver* observer);

    RunMode runMode;

    bool running() const { return running_; }
    // Starts a run; false (and idle) when the chart cannot run.
    bool start();
    // Stops the run (the run/stop command, Escape).
    void stop();
    // The link failed outside a tick (a keep-alive, a question): the run
    // ends as it would at its next check.
    void stopOnLinkFailure();
    // The run timer fired: one tick, unless single stepping holds every task.
    void timerTick();
    // The space bar while single stepping: every task moves on by one symbol.
    void step();
    // One tick: `Multiplicity` passes while the run goes on.
    void runTick();

    StopReason lastStopReason() const { return stopReason_; }
    // The message of the run-time error that ended the last run, if any.
    const std::string& lastError() const { return lastError_; }

    const Variables& variables() const { return vars_; }
    int taskCount() const { return taskCount_; }
    int activeCount() const { return activeCount_; }
    // The symbol a task executes next, or kTaskFinished.
    int taskSymbol(int t) const { return tasks_[static_cast<std::size_t>(t)].current; }
    int taskDepth(int t) const { return tasks_[static_cast<std::size_t>(t)].depth; }
    double taskMargin(int t) const { return tasks_[static_cast<std::size_t>(t)].margin; }
    bool taskWaiting(int t) const { return tasks_[static_cast<std::size_t>(t)].waiting; }

    // Redraws every task's current symbol and line (after the marking colours changed).
    void redrawMarks();

private:
    struct CallFrame {
        int returnSymbol = -1;
        int callingSymbol = -1;
        int repeat = 1;
        int done = 0;
        int head = -1;
    };
    struct Task {
        int current = kTaskFinished;
        int previous = -1;
        int currentLine = -1;
        int previousLine = -1;
        int nextSymbol = -1;
        int nextLine = -1;
        // A delay that began at centisecond 0 still waits: waiting is its own flag.
        bool waiting = false;
        std::int64_t delayStart = 0;
        std::int64_t delayLength = 0;
        double margin = 0.0;
        int depth = 0;
        std::array<CallFrame, kMaxCallDepth> frames{};
        bool unmarkPrevious = true;
        // The task was held at its current symbol's breakpoint: it executes
        // that symbol at its next turn instead of stopping there again.
        bool breakPassed = false;
    };
    struct Exit {
        int symbol = -1;
        int line = -1;
    };

    void buildTables();
    bool placeTasks();
    void resetImageAndDisplays();
    bool reachesBreakpoint(const Task& t) const;
    void holdAtBreakpoint(Task& t, int taskIndex);
    void execute(Task& t, int taskIndex);
    void executeStartStop(Task& t, std::string_view text);
    void executeOutput(std::string_view text);
    void executeProcess(Task& t, std::string_view text);
    void executeDecision(Task& t, std::string_view text);
    void callSub(Task& t, std::string_view text);
    void switchOutputs(std::string_view text);
    void switchOutput(int number, int state);
    void driveMotors(std::string_view text);
    void setOutputByte(std::string_view text);
    void setDac(std::string_view text);
    void playSound(std::string_view text);
    // A number in the user's numbering: a digit '0'..'8' or a variable letter;
    // 0 when the character is neither.
    int itemNumber(char c) const;
    void assign(int variable, std::int32_t value);
    void showVariables();
    void fail(int symbol, const std::string& message, bool withIcon = true);
    void stopRun(StopReason reason);
    void mark(int symbol, Mark m);
    void markLine(int line, Mark m);
    std::int64_t nowCs() const;

    FlowDocument& doc_;
    InterfaceLayer& io_;
    Clock& clock_;
    Messages& messages_;
    SpeedSettings& speed_;
    ChartMarks* marks_ = nullptr;
    RunShell* shell_ = nullptr;
    SoundPlayer* sound_ = nullptr;
    CaptureHook* capture_ = nullptr;
    const ChannelValues* channels_ = nullptr;
    std::vector<VariableObserver*> variableObservers_;

    bool running_ = false;
    std::array<Task, kMaxTasks> tasks_{};
    std::array<int, kMaxTasks> starts_{};
    int taskCount_ = 0;
    int activeCount_ = 0;
    std::vector<std::array<Exit, 3>> exits_;
    std::array<int, kMaxSubs> subs_{};
    Variables vars_{};
    int branch_ = 0;
    bool inputsRead_ = false;
    StopReason stopReason_ = StopReason::None;
    std::string lastError_;
};

}  // namespace tarvel
