#include "interfaces/manual_control.h"

#include <algorithm>
#include <utility>

namespace tarvel {

ManualControl::ManualControl(InterfaceLayer& io, std::array<int, 8>& levels,
                             std::function<bool()> running)
    : io_(io), levels_(levels), running_(std::move(running))
{
    io_.addObserver(this);
}

ManualControl::~ManualControl()
{
    io_.removeObserver(this);
}

bool ManualControl::offered(MonitorItem kind, int index) const
{
    return itemOffered(kind, index, io_.settings, io_.caps());
}

bool ManualControl::clickOutput(int index)
{
    if (!idle() || !offered(MonitorItem::Output, index)) return false;
    const MotorEncoding& enc = io_.encoding;
    const int state = io_.image().outputs[idx(index)] ? 0 : 1;
    io_.setOutput(index, state);
    if (enc.outputsMirrorMotors) {
        io_.setMotorLine(index, state);
        io_.refreshMotor(index / 2);
    }
    if (enc.motorsDriveOutputs && index < 4) io_.setMotor(index, state ? kMotorForward : kMotorOff);
    // The box may have been switched on or reset since the last send: the
    // byte travels even when it looks unchanged.
    io_.forceOutputResend();
    io_.writeOutputs();
    return true;
}

void ManualControl::setMotorByHand(int motor, int state)
{
    const MotorEncoding& enc = io_.encoding;
    io_.setMotor(motor, state);
    if (enc.outputsMirrorMotors) {
        io_.setOutput(2 * motor, io_.image().motorLines[idx(2 * motor)]);
        io_.setOutput(2 * motor + 1, io_.image().motorLines[idx(2 * motor + 1)]);
    }
    if (enc.motorsDriveOutputs) io_.setOutput(motor, state == kMotorOff ? 0 : 1);
    io_.writeOutputs();
}

bool ManualControl::clickMotor(int motor)
{
    if (!idle() || !offered(MonitorItem::Motor, motor)) return false;
    const bool off =
        !io_.image().motorLines[idx(2 * motor)] && !io_.image().motorLines[idx(2 * motor + 1)];
    setMotorByHand(motor, off ? kMotorForward : kMotorOff);
    return true;
}

bool ManualControl::rightClickMotor(int motor)
{
    if (!idle() || !offered(MonitorItem::Motor, motor)) return false;
    const bool off =
        !io_.image().motorLines[idx(2 * motor)] && !io_.image().motorLines[idx(2 * motor + 1)];
    setMotorByHand(motor, off ? kMotorReverse : kMotorOff);
    return true;
}

bool ManualControl::clickInput(int index)
{
    if (!io_.flags.simulate || !offered(MonitorItem::Input, index)) return false;
    io_.setInput(index, io_.image().inputs[idx(index)] ? 0 : 1);
    return true;
}

bool ManualControl::clickValue(int channel)
{
    if (channel < 0 || channel > 3) return false;
    return setValue(channel, io_.image().analogue[idx(channel)] ? 0 : 1024);
}

bool ManualControl::setValue(int channel, int raw)
{
    if (!io_.flags.simulate || channel < 0 || channel > 3) return false;
    io_.setAnalogueHandled(channel, std::clamp(raw, 0, 1024));
    return true;
}

bool ManualControl::driveMotor(int motor, int state)
{
    if (!idle() || !offered(MonitorItem::Motor, motor)) return false;
    if (state != kMotorForward && state != kMotorReverse) state = kMotorOff;
    setMotorByHand(motor, state);
    return true;
}

bool ManualControl::clickDac()
{
    if (!idle()) return false;
    io_.setDac(io_.image().dacValue ? 0 : 255);
    io_.writeOutputs();
    return true;
}

bool ManualControl::setOutputLevel(int output, int percent)
{
    if (!idle() || output < 0 || output > 7) return false;
    percent = std::clamp(percent, 0, 100);
    levels_[idx(output)] = percent;
    io_.setPowerShown(output, percent);
    io_.setPower(output, percent);
    return true;
}

bool ManualControl::setMotorLevel(int motor, int percent)
{
    if (!idle() || motor < 0 || motor > 3) return false;
    percent = std::clamp(percent, 0, 100);
    // Both lines of the motor hold its power, in the image and in the chart's
    // levels, whichever of them the box takes.
    const int first = 2 * motor;
    for (const int line : {first, first + 1}) {
        levels_[idx(line)] = percent;
        io_.setPowerShown(line, percent);
    }
    if (io_.traits().protocol == ProtocolFamily::Lego) {
        io_.setMotorPower(motor, percent);
    } else if (io_.isContactControllerType()) {
        // Both lines of the pair carry the motor's speed.
        io_.setPower(first, percent);
        io_.setPower(first + 1, percent);
    } else {
        io_.setPower(first, percent);
    }
    return true;
}

void ManualControl::showPower(int output, int percent)
{
    if (output >= 0 && output < 8) levels_[idx(output)] = percent;
}

}  // namespace tarvel
