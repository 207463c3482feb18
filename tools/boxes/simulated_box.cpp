#include "simulated_box.h"

#include <sstream>

namespace tarvel::boxes {

namespace {

std::string onOff(bool on)
{
    return on ? "on" : "off";
}

char motorLetter(int motor)
{
    return static_cast<char>('A' + motor);
}

std::size_t at(int i)
{
    return static_cast<std::size_t>(i);
}

}  // namespace

int percentOfLevel(int level, int fullScale)
{
    return fullScale > 0 ? (level * 100 + fullScale / 2) / fullScale : 0;
}

bool SimulatedBox::command(const std::string& line)
{
    std::istringstream in(line);
    std::string word, state, extra;
    int number = 0, value = 0;
    if (!(in >> word)) return false;
    if (word == "in" && in >> number >> state && !(in >> extra) && number >= 1 &&
        number <= kIoCount && (state == "on" || state == "off")) {
        setInput(number - 1, state == "on");
        return true;
    }
    if (word == "val" && in >> number >> value && !(in >> extra) && number >= 1 &&
        number <= kSensorChannels && value >= 0 && value <= valueLimit()) {
        setValue(number - 1, value);
        return true;
    }
    if (word == "id" && in >> number >> value && !(in >> extra) && number >= 1 &&
        number <= kSensorChannels && value >= 0 && value <= idLimit()) {
        setId(number - 1, value);
        return true;
    }
    return false;
}

void SimulatedBox::setOutput(int index, bool on)
{
    if (index < 0 || index >= kIoCount || image_.outputs[at(index)] == on) return;
    image_.outputs[at(index)] = on;
    print_("output " + std::to_string(index + 1) + " " + onOff(on));
}

void SimulatedBox::setOutputByte(int byte)
{
    for (int i = 0; i < kIoCount; ++i) setOutput(i, (byte >> i) & 1);
}

void SimulatedBox::setMotor(int motor, int state)
{
    if (motor < 0 || motor >= kMotorCount || image_.motors[at(motor)] == state) return;
    image_.motors[at(motor)] = state;
    const char* word = state == kMotorForward ? "fd" : state == kMotorReverse ? "rev" : "off";
    print_(std::string("motor ") + motorLetter(motor) + " " + word);
}

void SimulatedBox::setPower(int output, int percent)
{
    if (output < 0 || output >= kIoCount || image_.power[at(output)] == percent) return;
    image_.power[at(output)] = percent;
    print_("power " + std::to_string(output + 1) + " " + std::to_string(percent));
}

void SimulatedBox::setMotorPower(int motor, int percent)
{
    if (motor < 0 || motor >= kMotorCount || image_.motorPower[at(motor)] == percent) return;
    image_.motorPower[at(motor)] = percent;
    print_(std::string("power ") + motorLetter(motor) + " " + std::to_string(percent));
}

void SimulatedBox::setDac(int value)
{
    if (image_.dac == value) return;
    image_.dac = value;
    print_("dac " + std::to_string(value));
}

void SimulatedBox::setInput(int index, bool on)
{
    if (index < 0 || index >= kIoCount || image_.inputs[at(index)] == on) return;
    image_.inputs[at(index)] = on;
    print_("in " + std::to_string(index + 1) + " " + onOff(on));
}

void SimulatedBox::setValue(int channel, int raw)
{
    if (channel < 0 || channel >= kSensorChannels || image_.values[at(channel)] == raw) return;
    image_.values[at(channel)] = raw;
    print_("val " + std::to_string(channel + 1) + " " + std::to_string(raw));
}

void SimulatedBox::setId(int channel, int id)
{
    if (channel < 0 || channel >= kSensorChannels || image_.ids[at(channel)] == id) return;
    image_.ids[at(channel)] = id;
    print_("id " + std::to_string(channel + 1) + " " + std::to_string(id));
}

int SimulatedBox::inputByte() const
{
    int byte = 0;
    for (int i = 0; i < kIoCount; ++i) byte |= (image_.inputs[at(i)] ? 1 : 0) << i;
    return byte;
}

}  // namespace tarvel::boxes
