#pragma once
// Where things stand in the shipped mimic sets, shared by the description of
// each set (its objects and links) and the program that draws its pictures,
// so that every picture is cut exactly where its object lies. Rectangles are
// left, top, right, bottom in window pixels, right and bottom excluded.

namespace tarvel::mimicsets {

struct Box {
    int left, top, right, bottom;
    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
};

// The strip along the bottom of every set with its legend.
inline constexpr Box kLegend{0, 282, 400, 320};

namespace faro {
inline constexpr Box kLamp{180, 50, 220, 118};
inline constexpr Box kBeamRight{220, 36, 400, 146};
inline constexpr Box kBeamLeft{0, 36, 180, 146};
inline constexpr Box kLabelLamp{118, 150, 164, 168};
inline constexpr Box kLabelMotor{236, 150, 282, 168};
// The lamp's glass, whose light the beams spread.
inline constexpr int kLampX = 200, kLampY = 88;
// Scene variants: which lights show.
inline constexpr int LampOn = 1, BeamRight = 2, BeamLeft = 4;
}  // namespace faro

namespace semaforo {
inline constexpr Box kCarRed{313, 47, 347, 81};
inline constexpr Box kCarAmber{313, 81, 347, 115};
inline constexpr Box kCarGreen{313, 115, 347, 149};
inline constexpr Box kWalkerRed{52, 54, 88, 92};
inline constexpr Box kWalkerGreen{52, 96, 88, 134};
inline constexpr Box kWait{47, 149, 93, 167};
inline constexpr Box kButton{52, 170, 88, 204};
inline constexpr Box kLabels[] = {{350, 55, 396, 73}, {350, 89, 396, 107}, {350, 123, 396, 141},
                                  {2, 63, 48, 81},    {2, 107, 48, 125},   {98, 149, 144, 167},
                                  {98, 178, 140, 196}};
// Scene variants: bit k lights output k + 1 (1..6); the button pressed.
inline constexpr int ButtonPressed = 64;
}  // namespace semaforo

namespace pasonivel {
inline constexpr Box kTrainButton{6, 30, 78, 92};
inline constexpr Box kSwitchUp{6, 100, 78, 152};
inline constexpr Box kSwitchDown{6, 160, 78, 212};
inline constexpr Box kMotorText{6, 232, 78, 254};
inline constexpr Box kArm{100, 0, 322, 222};
inline constexpr Box kLampLeft{326, 136, 354, 164};
inline constexpr Box kLampRight{366, 136, 394, 164};
inline constexpr Box kLabels[] = {{40, 34, 76, 52},     {40, 104, 76, 122},   {40, 164, 76, 182},
                                  {316, 170, 358, 188}, {358, 170, 400, 188}, {136, 224, 182, 242}};
// The arm's pivot and length.
inline constexpr int kPivotX = 116, kPivotY = 204, kArmLength = 196;
// Scene variants: the arm (0 up, 1 half-way, 2 down) in the low two bits,
// then the lamps, the switches and the train button.
inline constexpr int ArmUp = 0, ArmHalf = 1, ArmDown = 2;
inline constexpr int ArmMask = 3, LampLeftOn = 4, LampRightOn = 8, DownClosed = 16, UpClosed = 32,
                     TrainPressed = 64;
}  // namespace pasonivel

namespace vivero {
inline constexpr Box kHeater{40, 184, 108, 268};
inline constexpr Box kFan{290, 120, 350, 180};
inline constexpr Box kTemperature{146, 120, 226, 146};
inline constexpr Box kSetPoint{222, 156, 264, 176};
inline constexpr Box kCount{222, 180, 264, 200};
inline constexpr Box kBoard{128, 98, 272, 206};
inline constexpr Box kLabels[] = {{44, 162, 90, 180}, {298, 96, 344, 114}, {82, 124, 126, 142}};
// Scene variants: the heater and the fan running.
inline constexpr int HeaterOn = 1, FanOn = 2;
}  // namespace vivero

}  // namespace tarvel::mimicsets
