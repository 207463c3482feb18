#pragma once
// Helpers for the chip simulator's tests: images written by hand address by
// address with their tables, and a recorder of everything the simulator
// shows (outputs, motors, powers, variables, marks, starts and stops).

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "chip/chip_compiler.h"
#include "chip/chip_layout.h"
#include "chip/chip_simulator.h"
#include "engine/speed_settings.h"
#include "interfaces/interface_layer.h"
#include "interfaces/interface_model.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"

namespace tarvel::test {

// A program image written by hand: code at its addresses, the tables by entry.
class HandImage {
public:
    explicit HandImage(int size = kFullProgramSize)
        : bytes_(static_cast<std::size_t>(size), 0),
          symbols_(static_cast<std::size_t>(size), -1),
          layout_(ChipLayout::forSize(size))
    {
        bytes_.back() = kChipLastByte;
    }
    HandImage& code(int address, std::initializer_list<int> values)
    {
        for (const int v : values) bytes_.at(static_cast<std::size_t>(address++)) = byte(v);
        return *this;
    }
    HandImage& constant(int k, int v) { return put(layout_.constBase + k, v); }
    HandImage& delay(int k, int v) { return put(layout_.delayBase + k, v); }
    HandImage& jump(int e, int target) { return put(layout_.jumpBase + e, target); }
    HandImage& sub(int n, int address) { return put(layout_.subBase + n - 1, address); }
    // Starts 2..4 begin at these addresses.
    HandImage& starts(int second, int third = 0, int fourth = 0)
    {
        return code(0, {second, third, fourth});
    }
    HandImage& symbolAt(int address, int symbol)
    {
        symbols_.at(static_cast<std::size_t>(address)) = symbol;
        return *this;
    }
    ChipProgram program(ChipDialect dialect) const { return {dialect, bytes_, symbols_}; }

private:
    static std::uint8_t byte(int v) { return static_cast<std::uint8_t>(v); }
    HandImage& put(int address, int v)
    {
        bytes_.at(static_cast<std::size_t>(address)) = byte(v);
        return *this;
    }
    std::vector<std::uint8_t> bytes_;
    std::vector<int> symbols_;
    ChipLayout layout_;
};

// Every change shown, one text each, in order.
class SimRecorder final : public IoObserver,
                          public VariableObserver,
                          public ChartMarks,
                          public RunShell {
public:
    void showOutput(int i, int s) override { add("output " + num(i + 1) + (s ? " on" : " off")); }
    void showMotor(int m, int s) override
    {
        add(std::string("motor ") + char('a' + m) +
            (s == kMotorForward   ? " fd"
             : s == kMotorReverse ? " rev"
                                  : " off"));
    }
    void showPower(int o, int p) override { add("power " + num(o + 1) + " " + num(p)); }
    void showVariable(int i, std::int32_t v) override
    {
        shown[static_cast<std::size_t>(i)] = num(v);
    }
    void showUnused(int i) override { shown[static_cast<std::size_t>(i)] = "-"; }
    void assigned(int i, std::int32_t v) override
    {
        add(std::string("var ") + variableLetter(i) + " " + num(v));
    }
    void markSymbol(int s, Mark m) override
    {
        marks[s] = m;
        if (m == Mark::Active) marked.push_back(s);
    }
    void markLine(int, Mark) override {}
    void runStarted() override { ++started; }
    void runStopped() override { ++stopped; }
    void passDone() override { ++passes; }

    // The recorded events from `from` on, and the count so far.
    std::vector<std::string> since(std::size_t from) const
    {
        return {events.begin() + static_cast<std::ptrdiff_t>(from), events.end()};
    }
    bool saw(const std::string& e) const
    {
        return std::find(events.begin(), events.end(), e) != events.end();
    }

    std::vector<std::string> events;
    std::array<std::string, kVariableCount> shown{};
    std::map<int, Mark> marks;
    std::vector<int> marked;
    int started = 0, stopped = 0, passes = 0;

private:
    static std::string num(long long v) { return std::to_string(v); }
    void add(std::string e) { events.push_back(std::move(e)); }
};

// A simulator on the chip system's interface, in simulation, with a fake clock.
class ChipSimTest : public ::testing::Test {
protected:
    FakeMessages messages;
    FakeClock clock;
    SpeedSettings speed;
    InterfaceLayer io;
    ChipSimulator sim{io, clock, messages, speed};
    SimRecorder rec;

    void SetUp() override
    {
        io.settings.mode = 1;
        io.settings.model = ModelTolvaChip;
        io.settings.numbering = 1;
        io.connect(true);
        io.addObserver(&rec);
        sim.setMarks(&rec);
        sim.setShell(&rec);
        sim.addVariableObserver(&rec);
    }

    bool start(const HandImage& image, ChipDialect dialect = ChipDialect::Skip, int linkKind = 0,
               int optionWord = 0)
    {
        ChipTarget target;
        target.dialect = dialect;
        target.linkKind = linkKind;
        target.optionWord = optionWord;
        const bool started = sim.start(image.program(dialect), target);
        rec.events.clear();  // the start's switching off
        return started;
    }
    // Slices at the current time, as many as asked, while the simulation runs.
    void slices(int n)
    {
        for (int i = 0; i < n && sim.running(); ++i) sim.slice();
    }
    // Timer ticks `Interval` ms apart.
    void ticks(int n)
    {
        for (int i = 0; i < n && sim.running(); ++i) {
            clock.advance(speed.interval);
            sim.timerTick();
        }
    }
    int output(int i) const { return io.image().outputs[static_cast<std::size_t>(i - 1)]; }
};

}  // namespace tarvel::test
