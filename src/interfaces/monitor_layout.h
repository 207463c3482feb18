#pragma once
// What the monitor windows show and where, decided without a window: which
// large monitor fits the interface in use, which item each row holds, and the
// one-character label of every lamp.

#include <string>

#include "interfaces/interface_caps.h"
#include "interfaces/interface_settings.h"
#include "interfaces/io_image.h"

namespace tarvel {

// The large monitors: outputs with a power slider each (dialog 214), eight
// outputs with four motors (215), and four outputs with two motors (220).
enum class LargeMonitor { Outputs, Motors, SmallMotors };

enum class MonitorItem { Input, Output, Motor };

// Whether an interface with a separate motor bank has the motor monitor with a
// slider for each of motors A to D (its model traits say so). The
// others have the small one, with motors A and B, and run outputs 5-8 at full
// power. The monitor shown, the power read for an output and the levels a
// chart keeps all follow this one rule, so every slider shown drives its motor
// and every level shown is saved.
bool fourMotorSliders(const InterfaceSettings& settings);

// With a separate motor bank one of the motor monitors (above); without one
// the output monitor.
LargeMonitor largeMonitorFor(const InterfaceSettings& settings, const MotorEncoding& encoding);

// The motors a large monitor shows, each with its slider.
int motorsShown(LargeMonitor kind);

// Whether a model addresses its eight inputs and outputs the other way round,
// as the MFA does.
bool mfaLayout(int model);

// The reduced monitor at its full width, with the analogue output the MFA
// alone has.
bool reducedMonitorWide(int model);

// The item shown in a row: row 0 is the bottom row (or the first lamp of a
// strip), and item 0 sits there except on the MFA, whose inputs and outputs
// run the other way (row r shows item 7 - r). Motors are never reversed.
int itemOfRow(MonitorItem kind, int row, int model);

// The lamp label of an item (index 0..7, motors 0..3): "1".."8" or "0".."7"
// by the numbering, "A".."D" for motors; counting from 1, an item the
// interface lacks reads "-".
std::string itemLabel(MonitorItem kind, int index, const InterfaceSettings& settings,
                      const InterfaceCaps& caps);

// Whether an item's lamp stands for something: not one labelled "-".
bool itemOffered(MonitorItem kind, int index, const InterfaceSettings& settings,
                 const InterfaceCaps& caps);

}  // namespace tarvel
