#include "mimic_sets.h"

#include <algorithm>
#include <array>

namespace tarvel::mimicsets {

namespace {

using mimicflag::AtOnce;
using mimicflag::Clickable;
using mimicflag::Filled;
using mimicflag::Frame;
using mimicflag::Label;
using mimicflag::Momentary;
using mimicflag::Text;

// Channel names drawn on request ("Mostrar Etiquetas"), which also press an
// open editor's keys.
constexpr int kLabelFlags = Clickable | Text | Frame | Label | Filled;
// Read-outs: a text in a light yellow frame.
constexpr int kReadOutFlags = Text | Frame | Filled;

class SetBuilder {
public:
    explicit SetBuilder(std::string name) { out_.name = std::move(name); }

    MimicSet& set() { return out_.set; }

    // Object 0: the whole scene as it stands with everything off.
    int background()
    {
        return pictures("FONDO", {0, 0, kMimicWidth, kMimicHeight}, 0, {0, 0, 0, 0});
    }

    // A picture object showing, per state, the scene in a variant cut at its box.
    int pictures(const std::string& tag, Box box, int flags, std::array<int, kMimicStates> variants)
    {
        std::array<std::string, kMimicStates> texts;
        std::vector<int> distinct;
        for (const int v : variants)
            if (std::find(distinct.begin(), distinct.end(), v) == distinct.end())
                distinct.push_back(v);
        for (std::size_t s = 0; s < texts.size(); ++s) {
            const auto k =
                std::find(distinct.begin(), distinct.end(), variants[s]) - distinct.begin();
            const std::string file =
                out_.name + "_" + tag + (distinct.size() > 1 ? std::to_string(k) : "") + ".BMP";
            texts[s] = std::to_string(picture(file, variants[s], box));
        }
        return object(box, flags, texts);
    }

    int text(Box box, int flags, std::array<std::string, kMimicStates> texts)
    {
        return object(box, flags, texts);
    }
    int label(Box box, const std::string& name)
    {
        return object(box, kLabelFlags, {name, "", "", ""});
    }

    ShippedSet done() { return std::move(out_); }

private:
    int picture(const std::string& file, int variant, Box area)
    {
        for (std::size_t i = 0; i < out_.pictures.size(); ++i)
            if (out_.pictures[i].file == file) return static_cast<int>(i);
        out_.pictures.push_back({file, variant, area});
        MimicSet& s = out_.set;
        s.pictures[static_cast<std::size_t>(s.pictureCount)] = file;
        return s.pictureCount++;
    }

    int object(Box box, int flags, const std::array<std::string, kMimicStates>& texts)
    {
        MimicSet& s = out_.set;
        MimicObject& o = s.object(s.objectCount);
        o.left = box.left;
        o.top = box.top;
        o.right = box.right;
        o.bottom = box.bottom;
        o.flags = flags;
        for (std::size_t k = 0; k < texts.size(); ++k) o.texts[k] = texts[k];
        return s.objectCount++;
    }

    ShippedSet out_;
};

// The lighthouse: the lamp on output 1, the beam turned by motor A, to the
// right while it runs forward and to the left in reverse.
ShippedSet lighthouse()
{
    using namespace faro;
    SetBuilder b("FARO");
    b.background();
    const int lamp = b.pictures("LAMPARA", kLamp, Clickable, {0, LampOn, 0, 0});
    const int right = b.pictures("HAZ_DER", kBeamRight, Clickable, {0, LampOn | BeamRight, 0, 0});
    const int left = b.pictures("HAZ_IZQ", kBeamLeft, Clickable, {0, 0, 0, LampOn | BeamLeft});
    b.label(kLabelLamp, "out 1");
    b.label(kLabelMotor, "mot A");
    MimicSet& s = b.set();
    s.outputLinks[0] = {lamp, kNoLink, kNoLink};
    s.motorLinks[0].objects = {right, left};
    return b.done();
}

// Traffic lights with a pedestrian crossing: cars' red, amber and green on
// outputs 1..3, the walkers' red and green on 4 and 5, "ESPERE" on 6, and the
// push button, a momentary input 1.
ShippedSet trafficLights()
{
    using namespace semaforo;
    SetBuilder b("SEMAFORO");
    b.background();
    const std::array<Box, 6> lamps{kCarRed, kCarAmber, kCarGreen, kWalkerRed, kWalkerGreen, kWait};
    const std::array<const char*, 6> tags{"ROJO",        "AMBAR",        "VERDE",
                                          "PEATON_ROJO", "PEATON_VERDE", "ESPERE"};
    MimicSet& s = b.set();
    for (std::size_t k = 0; k < lamps.size(); ++k) {
        const int on = 1 << k;
        const int o = b.pictures(tags[k], lamps[k], Clickable, {0, on, 0, 0});
        s.outputLinks[k] = {o, kNoLink, kNoLink};
    }
    const int button =
        b.pictures("PULSADOR", kButton, Clickable | Momentary | AtOnce, {0, ButtonPressed, 0, 0});
    s.inputLinks[0] = {button, kNoLink, kNoLink};
    const char* names[] = {"out 1", "out 2", "out 3", "out 4", "out 5", "out 6", "in 1"};
    for (std::size_t k = 0; k < std::size(kLabels); ++k) b.label(kLabels[k], names[k]);
    return b.done();
}

// A level crossing: motor A lowers the barrier (forward) and raises it
// (reverse) between its limit switches, inputs 1 (down) and 2 (up), which
// the motor leaves as it starts; the train's arrival is the momentary input
// 3; the two warning lamps are outputs 1 and 2.
ShippedSet levelCrossing()
{
    using namespace pasonivel;
    SetBuilder b("PASONIVEL");
    b.background();
    // On its way down or up the arm stands half-way; the text says which way.
    const int arm = b.pictures("BARRERA", kArm, Clickable, {ArmUp, ArmHalf, ArmDown, ArmHalf});
    const int motorText =
        b.text(kMotorText, kReadOutFlags | Clickable, {"Arriba", "Bajando", "Abajo", "Subiendo"});
    const int lampLeft = b.pictures("LUZ_IZQ", kLampLeft, Clickable, {0, LampLeftOn, 0, 0});
    const int lampRight = b.pictures("LUZ_DER", kLampRight, Clickable, {0, LampRightOn, 0, 0});
    const int down = b.pictures("FIN_ABAJO", kSwitchDown, Clickable, {0, DownClosed, 0, 0});
    const int up = b.pictures("FIN_ARRIBA", kSwitchUp, Clickable, {0, UpClosed, 0, 0});
    const int train =
        b.pictures("TREN", kTrainButton, Clickable | Momentary | AtOnce, {0, TrainPressed, 0, 0});
    const char* names[] = {"in 3", "in 2", "in 1", "out 1", "out 2", "mot A"};
    for (std::size_t k = 0; k < std::size(kLabels); ++k) b.label(kLabels[k], names[k]);
    MimicSet& s = b.set();
    s.outputLinks[0] = {lampLeft, kNoLink, kNoLink};
    s.outputLinks[1] = {lampRight, kNoLink, kNoLink};
    s.inputLinks[0] = {down, kNoLink, kNoLink};
    s.inputLinks[1] = {up, kNoLink, kNoLink};
    s.inputLinks[2] = {train, kNoLink, kNoLink};
    // Going down leaves the upper switch, going up the lower one.
    s.motorLinks[0] = {{arm, motorText}, 2, 1};
    return b.done();
}

// A greenhouse: the heater on output 1, the fan on output 2, the
// temperature of channel 1, and the chart's set point x and count n.
ShippedSet greenhouse()
{
    using namespace vivero;
    SetBuilder b("VIVERO");
    b.background();
    const int heater = b.pictures("ESTUFA", kHeater, Clickable, {0, HeaterOn, 0, 0});
    const int fan = b.pictures("VENTILADOR", kFan, Clickable, {0, FanOn, 0, 0});
    const int temperature = b.text(kTemperature, kReadOutFlags | Clickable, {"--", "", "", ""});
    const int setPoint = b.text(kSetPoint, kReadOutFlags, {"--", "", "", ""});
    const int count = b.text(kCount, kReadOutFlags, {"--", "", "", ""});
    const char* names[] = {"out 1", "out 2", "val 1"};
    for (std::size_t k = 0; k < std::size(kLabels); ++k) b.label(kLabels[k], names[k]);
    MimicSet& s = b.set();
    s.outputLinks[0] = {heater, kNoLink, kNoLink};
    s.outputLinks[1] = {fan, kNoLink, kNoLink};
    s.valueLinks[0] = {temperature, kNoLink};
    s.variableLinks[static_cast<std::size_t>(variableIndex('x'))] = setPoint;
    s.variableLinks[static_cast<std::size_t>(variableIndex('n'))] = count;
    return b.done();
}

}  // namespace

std::vector<ShippedSet> shippedSets()
{
    std::vector<ShippedSet> sets;
    sets.push_back(lighthouse());
    sets.push_back(trafficLights());
    sets.push_back(levelCrossing());
    sets.push_back(greenhouse());
    return sets;
}

}  // namespace tarvel::mimicsets
