#pragma once
// Manual control from the monitors: switching outputs and motors by hand and
// setting power levels while no chart runs, and, in simulation, pressing the
// inputs and toggling the analogue values (those also while a chart runs, as
// that is how a simulated chart is fed). Every change goes through the
// interface layer, so every monitor and mimic follows it.
//
// The power levels are the document's output levels: they are what the
// sliders show, what a run starts with and what the chart file keeps.

#include <array>
#include <functional>

#include "interfaces/interface_layer.h"
#include "interfaces/monitor_layout.h"

namespace tarvel {

class ManualControl final : public IoObserver {
public:
    // `running` tells whether a chart runs; `levels` are the document's levels.
    ManualControl(InterfaceLayer& io, std::array<int, 8>& levels, std::function<bool()> running);
    ~ManualControl() override;
    ManualControl(const ManualControl&) = delete;
    ManualControl& operator=(const ManualControl&) = delete;

    // Each returns false when refused (a run in progress, not simulating, an
    // item the interface lacks, whose lamp reads "-", or an index out of
    // range) and then changes nothing.
    bool clickOutput(int index);
    // A motor lamp cycles off, forward, off; a motor in reverse goes off.
    bool clickMotor(int motor);
    // The right button: off to reverse; forward or reverse to off.
    bool rightClickMotor(int motor);
    bool clickInput(int index);
    // A value button toggles the channel between nothing and full scale.
    bool clickValue(int channel);
    // Sets a channel's raw reading (0..1024), as a simulated sensor would
    // (the mimic's value objects step it).
    bool setValue(int channel, int raw);
    // Starts a motor forward or in reverse, or stops it, with the outputs
    // that follow it (the mimic's motor objects decide which).
    bool driveMotor(int motor, int state);
    // The analogue output toggles between 0 and full scale.
    bool clickDac();

    // A slider of the output monitor (one per output) or of a motor monitor
    // (one per motor), in percent.
    bool setOutputLevel(int output, int percent);
    bool setMotorLevel(int motor, int percent);
    int level(int output) const { return output >= 0 && output < 8 ? levels_[idx(output)] : 0; }

    // A power change made by the chart moves its slider, so it stays the level.
    void showPower(int output, int percent) override;

private:
    static std::size_t idx(int i) { return static_cast<std::size_t>(i); }
    bool idle() const { return !running_(); }
    bool offered(MonitorItem kind, int index) const;
    void setMotorByHand(int motor, int state);

    InterfaceLayer& io_;
    std::array<int, 8>& levels_;
    std::function<bool()> running_;
};

}  // namespace tarvel
