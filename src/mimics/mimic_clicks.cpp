#include "mimics/mimic_clicks.h"

#include <algorithm>
#include <cmath>

#include "editors/keypad.h"
#include "interfaces/manual_control.h"
#include "mimics/mimic_channels.h"

namespace tarvel {

namespace {

// The keys of motors a..d on the output keypad.
constexpr int kFirstMotorLetterKey = 22;

char at(std::string_view t, std::size_t i)
{
    return i < t.size() ? t[i] : '\0';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The keyword key, then the key of the character that follows the prefix.
std::vector<int> keysAfter(std::string_view text, std::string_view prefix, int keyword, bool letter)
{
    if (!text.starts_with(prefix)) return {};
    const char c = at(text, prefix.size());
    std::vector<int> keys{keyword};
    if (letter) {
        const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        if (upper >= 'A' && upper < 'A' + kMotorCount)
            keys.push_back(kFirstMotorLetterKey + (upper - 'A'));
    } else if (isDigit(c)) {
        keys.push_back(key::digit(c - '0'));
    }
    return keys;
}

}  // namespace

std::vector<int> labelKeys(std::string_view text, EditorKind editor)
{
    if (editor == EditorKind::Output) {
        if (auto k = keysAfter(text, "out ", key::out::Output, false); !k.empty()) return k;
        return keysAfter(text, "mot ", key::out::Motor, true);
    }
    if (editor == EditorKind::Decision) {
        if (auto k = keysAfter(text, "in ", key::deci::Input, false); !k.empty()) return k;
        return keysAfter(text, "val ", key::deci::Val, false);
    }
    return {};
}

MimicClicks::MimicClicks(MimicDisplay& display, InterfaceLayer& io, ManualControl& control,
                         const MimicChannels& channels, std::function<bool()> running)
    : display_(display),
      io_(io),
      control_(control),
      channels_(channels),
      running_(std::move(running))
{
    io_.addObserver(this);
}

MimicClicks::~MimicClicks()
{
    io_.removeObserver(this);
}

void MimicClicks::showValue(int channel, int /*raw*/)
{
    if (!stepping_ && channel >= 0 && channel < kSensorChannels)
        aimedAt_[static_cast<std::size_t>(channel)].reset();
}

void MimicClicks::click(int x, int y, MouseButton button)
{
    for (int i = 0; i < display_.objectCount(); ++i) {
        const MimicObject& o = display_.object(i);
        if (o.has(mimicflag::Clickable) && o.contains(x, y)) clickObject(i, button);
    }
}

void MimicClicks::clickObject(int object, MouseButton button)
{
    const MimicSet& set = display_.set();
    const MimicObject& o = display_.object(object);
    if (io_.flags.simulate) {
        for (int j = 0; j < kIoCount; ++j) {
            const auto& links = set.inputLinks[static_cast<std::size_t>(j)];
            // The first two links, up to the first -1.
            if (links[0] == object || (links[0] != kNoLink && links[1] == object))
                pressInput(j, o.has(mimicflag::Momentary));
        }
        for (int c = 0; c < kSensorChannels; ++c) {
            const auto& links = set.valueLinks[static_cast<std::size_t>(c)];
            if (std::find(links.begin(), links.end(), object) != links.end()) stepValue(c, button);
        }
    }
    if (running_()) return;
    if (o.has(mimicflag::Label) && display_.showLabels() && keys_)
        pressLabelKeys(o.texts[0].view());
    for (int j = 0; j < kIoCount; ++j) {
        const auto& links = set.outputLinks[static_cast<std::size_t>(j)];
        if (std::find(links.begin(), links.end(), object) != links.end()) control_.clickOutput(j);
    }
    for (int m = 0; m < kMotorCount; ++m) {
        const auto& links = set.motorLinks[static_cast<std::size_t>(m)].objects;
        if (std::find(links.begin(), links.end(), object) != links.end()) driveMotor(m, button);
    }
}

void MimicClicks::pressInput(int input, bool momentary)
{
    const bool on = io_.image().inputs[static_cast<std::size_t>(input)] != 0;
    if (on) {
        // A momentary input goes off by itself.
        if (!momentary) control_.clickInput(input);
        return;
    }
    if (!momentary) {
        control_.clickInput(input);
        return;
    }
    // One momentary input at a time: the one still held goes off first.
    if (momentary_ != kNoLink && momentary_ != input &&
        io_.image().inputs[static_cast<std::size_t>(momentary_)])
        control_.clickInput(momentary_);
    if (!control_.clickInput(input)) return;
    momentary_ = input;
    if (startRelease_) startRelease_();
}

void MimicClicks::releaseMomentary()
{
    const int input = momentary_;
    momentary_ = kNoLink;
    if (input != kNoLink && io_.image().inputs[static_cast<std::size_t>(input)])
        control_.clickInput(input);
}

void MimicClicks::stepValue(int channel, MouseButton button)
{
    const ValueRange range = channels_.sensorRange(channel).value_or(ValueRange{});
    const double low = std::min(range.minimum, range.maximum);
    const double high = std::max(range.minimum, range.maximum);
    // A reading comes as near a value as the sensor's table allows. While the
    // reading is the one the last click set, the step goes on from the value
    // that click aimed at, so a row of clicks gives 10, 20, 30 and never
    // drifts; otherwise it starts from the value as the window shows it.
    std::optional<double>& aimed = aimedAt_[static_cast<std::size_t>(channel)];
    double from = 0.0;
    if (aimed) {
        from = *aimed;
    } else {
        const double scale = std::pow(10.0, std::clamp(channels_.decimals(channel), 0, 2));
        from = std::round(channels_.value(channel) * scale) / scale;
    }
    const double step = button == MouseButton::Left ? kValueStep : -kValueStep;
    const double target = std::clamp(from + step, low, high);
    stepping_ = true;
    const bool set = control_.setValue(channel, channels_.rawFor(channel, target));
    stepping_ = false;
    if (set) aimed = target;
}

void MimicClicks::driveMotor(int motor, MouseButton button)
{
    const int now = io_.motorState(motor);
    int next = kMotorOff;
    if (button == MouseButton::Left)
        next = now == kMotorOff ? kMotorForward : kMotorOff;
    else
        next = now == kMotorReverse ? kMotorOff : kMotorReverse;
    control_.driveMotor(motor, next);
}

void MimicClicks::pressLabelKeys(std::string_view text)
{
    for (const int bit : labelKeys(text, keys_->openEditor())) keys_->press(bit);
}

}  // namespace tarvel
