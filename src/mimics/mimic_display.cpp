#include "mimics/mimic_display.h"

#include <cinttypes>
#include <cstdio>

#include "mimics/mimic_channels.h"

namespace tarvel {

namespace {

// A variable fits its object while "%ld" writes it in at most 7 characters.
constexpr std::size_t kVariableTextMax = 7;

}  // namespace

MimicDisplay::MimicDisplay(InterfaceLayer& io, const MimicChannels& channels)
    : io_(io), channels_(channels)
{
    io_.addObserver(this);
}

MimicDisplay::~MimicDisplay()
{
    io_.removeObserver(this);
}

void MimicDisplay::replace(const MimicSet& set, const MimicPictures& pictures)
{
    set_ = set;
    for (int i = 0; i < set_.objectCount; ++i) set_.object(i).state = mimicstate::Off;
    pictures_ = pictures;
    motorShown_.fill(mimicstate::Off);
    loaded_ = true;
    if (view_) view_->setReplaced();
}

void MimicDisplay::clear()
{
    set_ = MimicSet{};
    pictures_ = {};
    motorShown_.fill(mimicstate::Off);
    loaded_ = false;
    if (view_) view_->setReplaced();
}

int MimicDisplay::shownPicture(int object) const
{
    const MimicObject& o = set_.object(object);
    if (o.has(mimicflag::Text)) return kNoLink;
    const int n = mimicPictureIndex(o.shown().view());
    if (n < 0 || n >= set_.pictureCount || !pictures_[static_cast<std::size_t>(n)].usable)
        return kNoLink;
    return n;
}

void MimicDisplay::setShowLabels(bool on)
{
    if (showLabels_ == on) return;
    showLabels_ = on;
    if (view_) view_->setReplaced();
}

void MimicDisplay::setState(int object, int state)
{
    if (object < 0 || object >= objectCount()) return;
    MimicObject& o = set_.object(object);
    if (o.state == state) return;
    o.state = state;
    if (view_) view_->objectChanged(object, MimicChange::State);
}

void MimicDisplay::setText(int object, const std::string& text, MimicChange change)
{
    if (object < 0 || object >= objectCount()) return;
    MimicText& t = set_.object(object).texts[0];
    if (t.view() == text) return;
    t = text;
    if (view_) view_->objectChanged(object, change);
}

void MimicDisplay::showOutput(int index, int state)
{
    if (!loaded_ || index < 0 || index >= kIoCount) return;
    for (const int object : set_.outputLinks[static_cast<std::size_t>(index)])
        if (object != kNoLink) setState(object, state ? mimicstate::On : mimicstate::Off);
}

void MimicDisplay::showInput(int index, int state)
{
    if (!loaded_ || index < 0 || index >= kIoCount) return;
    // Only the first two links follow the input; the third is read and kept.
    const auto& links = set_.inputLinks[static_cast<std::size_t>(index)];
    for (int k = 0; k < 2 && links[static_cast<std::size_t>(k)] != kNoLink; ++k)
        setState(links[static_cast<std::size_t>(k)], state ? mimicstate::On : mimicstate::Off);
}

void MimicDisplay::showMotor(int motor, int state)
{
    if (!loaded_ || motor < 0 || motor >= kMotorCount) return;
    const MotorLink& link = set_.motorLinks[static_cast<std::size_t>(motor)];
    int& shown = motorShown_[static_cast<std::size_t>(motor)];
    const int first = link.objects[0];
    const int was = first != kNoLink ? set_.object(first).state : shown;
    int now = mimicstate::Off;
    if (state == kMotorForward)
        now = mimicstate::Forward;
    else if (state == kMotorReverse)
        now = mimicstate::Reverse;
    else if (was == mimicstate::Forward)
        now = mimicstate::StoppedAfterForward;
    if (now == was) return;
    shown = now;
    for (const int object : link.objects)
        if (object != kNoLink) setState(object, now);
    if (!io_.flags.simulate) return;
    // In simulation a motor that starts leaves its limit switch.
    const int released = now == mimicstate::Forward   ? link.releasedForward
                         : now == mimicstate::Reverse ? link.releasedReverse
                                                      : kNoLink;
    if (released != kNoLink && io_.image().inputs[static_cast<std::size_t>(released - 1)])
        io_.setInput(released - 1, 0);
}

void MimicDisplay::showValue(int channel, int /*raw*/)
{
    if (!loaded_ || channel < 0 || channel >= kSensorChannels) return;
    const auto& links = set_.valueLinks[static_cast<std::size_t>(channel)];
    const double value = channels_.value(channel);
    const int decimals = channels_.decimals(channel);
    setText(links[0], channelValueText(value, decimals), MimicChange::Value);
    setText(links[1], channelValueTextShort(value, decimals), MimicChange::Value);
}

void MimicDisplay::showVariable(int index, std::int32_t value)
{
    if (!loaded_ || index < 0 || index >= kVariableCount) return;
    char text[32];
    std::snprintf(text, sizeof text, "%" PRId32, value);
    if (std::string_view(text).size() > kVariableTextMax) return;
    setText(set_.variableLinks[static_cast<std::size_t>(index)], text, MimicChange::Text);
}

}  // namespace tarvel
