#pragma once
// Clicks on the mimic window. In simulation the pupil presses inputs (a
// momentary one is let go 500 ms later, one at a time) and steps analogue
// values by 10; while no chart runs the pupil also switches outputs and
// motors, and the label objects press the keys of an open symbol editor.
// Every change goes through the manual control of the monitors, so they
// follow it as they follow their own lamps.

#include <array>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "mimics/mimic_display.h"

namespace tarvel {

class ManualControl;
class MimicChannels;

enum class MouseButton { Left, Right };

// The symbol editor in sight, for the label objects.
enum class EditorKind { None, Output, Decision, Other };

class EditorKeys {
public:
    virtual ~EditorKeys() = default;
    virtual EditorKind openEditor() const = 0;
    // Presses a key of that editor; nothing happens when it does not take
    // that key at that point.
    virtual void press(int bit) = 0;
};

// The keys a label's text presses in an editor: "out 3" the output key and 3
// and "mot a" the motor key and A in an output editor, "in 3" the input key
// and 3 and "val 2" the value key and 2 in a decision editor.
std::vector<int> labelKeys(std::string_view text, EditorKind editor);

// How long a momentary input stays pressed.
inline constexpr int kMomentaryMs = 500;
// How far a click steps a value.
inline constexpr double kValueStep = 10.0;

class MimicClicks final : public IoObserver {
public:
    // `running` tells whether a chart runs.
    MimicClicks(MimicDisplay& display, InterfaceLayer& io, ManualControl& control,
                const MimicChannels& channels, std::function<bool()> running);
    ~MimicClicks() override;
    MimicClicks(const MimicClicks&) = delete;
    MimicClicks& operator=(const MimicClicks&) = delete;

    void setEditorKeys(EditorKeys* keys) { keys_ = keys; }
    // Starts (or starts again) the timer that lets a momentary input go.
    void setReleaseTimer(std::function<void()> start) { startRelease_ = std::move(start); }

    // A click (a double click counts as a click of its button) at a point of
    // the window, on every clickable object there, borders included.
    void click(int x, int y, MouseButton button);
    // The release timer fired: the momentary input goes off.
    void releaseMomentary();
    // The input a momentary object holds down, or -1.
    int momentaryInput() const { return momentary_; }

    // A reading set by anything but a click here ends the row of steps.
    void showValue(int channel, int raw) override;

private:
    void clickObject(int object, MouseButton button);
    void pressInput(int input, bool momentary);
    void stepValue(int channel, MouseButton button);
    void driveMotor(int motor, MouseButton button);
    void pressLabelKeys(std::string_view text);

    MimicDisplay& display_;
    InterfaceLayer& io_;
    ManualControl& control_;
    const MimicChannels& channels_;
    std::function<bool()> running_;
    EditorKeys* keys_ = nullptr;
    std::function<void()> startRelease_;
    int momentary_ = kNoLink;
    // The value each channel's last click aimed at, while its reading is
    // still the one that click set.
    std::array<std::optional<double>, kSensorChannels> aimedAt_{};
    bool stepping_ = false;
};

}  // namespace tarvel
