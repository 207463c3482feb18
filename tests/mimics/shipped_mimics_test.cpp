// The mimic sets that ship in data/MIMICS: the files are what the generator
// makes, they keep inside the window, and each example chart brings its set
// to life in simulation.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "engine/interpreter.h"
#include "flowchart/flow_file.h"
#include "interfaces/manual_control.h"
#include "mimic_sets.h"
#include "mimics/mimic_channels.h"
#include "mimics/mimic_clicks.h"
#include "mimics/mimic_display.h"
#include "platform/file_io.h"
#include "sensors/sensor_channels.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"

namespace tarvel {
namespace {

const std::string kMimics = std::string(TARVEL_DATA_DIR) + "/MIMICS";

std::string bytesOf(const std::string& set)
{
    std::string bytes;
    EXPECT_TRUE(readWholeFile(kMimics + "/" + set, bytes)) << set;
    return bytes;
}

TEST(ShippedMimics, TheFilesAreWhatTheGeneratorMakes)
{
    std::set<std::string> expected;
    for (const auto& s : mimicsets::shippedSets()) {
        std::string bytes;
        ASSERT_TRUE(readWholeFile(kMimics + "/" + s.name, bytes)) << s.name;
        EXPECT_EQ(bytes, serializeMimicSet(s.set)) << s.name;
        // A chart keeps ten characters of a set's name.
        EXPECT_LE(s.name.size(), 10u);
        expected.insert(s.name);
        ASSERT_EQ(static_cast<std::size_t>(s.set.pictureCount), s.pictures.size());
        for (const auto& cut : s.pictures) {
            expected.insert(cut.file);
            EXPECT_TRUE(std::filesystem::is_regular_file(kMimics + "/" + cut.file)) << cut.file;
        }
    }
    // Nothing else lies in the folder.
    for (const auto& entry : std::filesystem::directory_iterator(kMimics))
        EXPECT_TRUE(expected.count(entry.path().filename().string()))
            << entry.path().filename().string();
}

TEST(ShippedMimics, EverythingStaysInsideTheWindow)
{
    for (const auto& s : mimicsets::shippedSets()) {
        for (int numbering : {1, 2}) {
            const auto read = parseMimicSet(bytesOf(s.name), numbering == 2);
            ASSERT_TRUE(read.ok()) << s.name;
            const MimicSet& set = read.value();
            for (int i = 0; i < set.objectCount; ++i) {
                const MimicObject& o = set.object(i);
                EXPECT_TRUE(o.left >= 0 && o.top >= 0 && o.right <= kMimicWidth &&
                            o.bottom <= kMimicHeight && o.left < o.right && o.top < o.bottom)
                    << s.name << " " << i;
                if (o.has(mimicflag::Text)) continue;
                // Every picture is cut where its object draws it.
                for (const auto& t : o.texts) {
                    const int n = mimicPictureIndex(t.view());
                    ASSERT_TRUE(n >= 0 && n < set.pictureCount) << s.name << " " << i;
                    const auto& cut = s.pictures[static_cast<std::size_t>(n)];
                    EXPECT_EQ(cut.area.left, o.left);
                    EXPECT_EQ(cut.area.bottom, o.bottom);
                    EXPECT_LE(cut.area.right, kMimicWidth);
                    EXPECT_GE(cut.area.top, 0);
                }
            }
        }
    }
}

// A chart running in simulation with its set in view; every state an object
// takes is noted.
class SetRun final : public MimicView {
public:
    SetRun(const std::string& chart, const std::string& set)
    {
        FlowLoadContext ctx;
        loaded =
            loadFlowFile(doc, std::string(TARVEL_DATA_DIR) + "/EJEMPLOS/" + chart, ctx, messages)
                .ok();
        io.setSliderLevels(&doc.outputLevels);
        io.setChannelAssignment(&doc.sensorAssignment);
        // The chart's sensors from the bundled tables, as the program reads them.
        io.setSensorsDirectory(std::string(TARVEL_DATA_DIR) + "/SENSORS");
        io.setEvents(&sensors);
        io.applySelection();
        sensors.adoptDocument(false);
        const auto read = parseMimicSet(bytesOf(set), false);
        loaded = loaded && read.ok() && doc.mimicSet.view() == set;
        if (read.ok()) display.replace(read.value(), {});
        display.setView(this);
        run.addVariableObserver(&display);
        run.setChannelValues(&sensors);
    }
    ~SetRun() override { run.removeVariableObserver(&display); }

    void objectChanged(int object, MimicChange change) override
    {
        if (change == MimicChange::State) seen[object].insert(display.object(object).state);
    }
    void runFor(double seconds)
    {
        for (int i = 0; i < static_cast<int>(seconds * 50) && run.running(); ++i) {
            clock.advance(20);
            run.timerTick();
        }
    }
    int state(int object) const { return display.object(object).state; }
    std::string text(int object) const
    {
        return std::string(display.object(object).texts[0].view());
    }
    bool took(int object, std::set<int> states) const
    {
        const auto it = seen.find(object);
        return it != seen.end() && it->second == states;
    }

    test::FakeMessages messages;
    test::FakeClock clock;
    FlowDocument doc{&messages};
    InterfaceLayer io;
    SpeedSettings speed;
    Interpreter run{doc, io, clock, messages, speed};
    SensorChannels sensors{doc, io};
    SensorMimicChannels channels{sensors};
    MimicDisplay display{io, channels};
    std::array<int, 8> levels{};
    ManualControl control{io, levels, [this] { return run.running(); }};
    MimicClicks clicks{display, io, control, channels, [this] { return run.running(); }};
    bool loaded = false;
    std::map<int, std::set<int>> seen;
};

// Clicks the middle of an object.
void click(SetRun& r, int object, MouseButton b = MouseButton::Left)
{
    const MimicObject& o = r.display.object(object);
    r.clicks.click((o.left + o.right) / 2, (o.top + o.bottom) / 2, b);
}

TEST(ShippedMimics, TheLighthouseFlashesAndTurnsItsBeam)
{
    SetRun r("FAROGIRA.FLO", "FARO");
    ASSERT_TRUE(r.loaded);
    ASSERT_TRUE(r.run.start());
    r.runFor(6);
    EXPECT_TRUE(r.took(1, {1, 0}));        // the lamp
    EXPECT_TRUE(r.took(2, {1, 2, 3, 0}));  // the beam: right, stopped, left, stopped
    EXPECT_TRUE(r.took(3, {1, 2, 3, 0}));
    EXPECT_TRUE(r.messages.empty());
    // The older lighthouse chart names the same set and flashes its lamp.
    SetRun old("FARO.FLO", "FARO");
    ASSERT_TRUE(old.loaded);
    ASSERT_TRUE(old.run.start());
    old.runFor(3);
    EXPECT_TRUE(old.took(1, {1, 0}));
}

TEST(ShippedMimics, TheCrossingWaitsForItsPushButton)
{
    SetRun r("PEATONES.FLO", "SEMAFORO");
    ASSERT_TRUE(r.loaded);
    ASSERT_TRUE(r.run.start());
    r.runFor(3);
    EXPECT_EQ(r.state(3), 1);  // cars' green
    EXPECT_EQ(r.state(4), 1);  // walkers' red
    EXPECT_EQ(r.state(6), 0);
    click(r, 7);  // the push button, momentary
    EXPECT_EQ(r.state(7), 1);
    r.runFor(0.2);
    EXPECT_EQ(r.state(6), 1);     // ESPERE
    r.clicks.releaseMomentary();  // the 500 ms timer
    EXPECT_EQ(r.state(7), 0);
    r.runFor(6);
    EXPECT_EQ(r.state(1), 1);  // cars' red
    EXPECT_EQ(r.state(5), 1);  // walkers' green
    EXPECT_EQ(r.state(6), 0);
    r.runFor(10);
    EXPECT_EQ(r.state(3), 1);
    EXPECT_EQ(r.state(4), 1);
    for (const int lamp : {1, 2, 3, 4, 5, 6}) EXPECT_TRUE(r.took(lamp, {0, 1})) << lamp;
    EXPECT_TRUE(r.messages.empty());
}

TEST(ShippedMimics, TheBarrierStopsAtItsLimitSwitches)
{
    SetRun r("PASONIVEL.FLO", "PASONIVEL");
    ASSERT_TRUE(r.loaded);
    ASSERT_TRUE(r.run.start());
    r.runFor(1);
    EXPECT_EQ(r.state(1), 0);  // up, at rest
    EXPECT_EQ(r.text(2), "Arriba");
    click(r, 7);  // a train comes
    r.runFor(0.5);
    r.clicks.releaseMomentary();
    r.runFor(0.5);
    EXPECT_EQ(r.state(1), 1);                         // going down
    EXPECT_TRUE(r.seen.count(3) || r.seen.count(4));  // the lamps flash
    click(r, 5);                                      // the lower switch closes
    EXPECT_EQ(r.state(5), 1);
    r.runFor(0.5);
    EXPECT_EQ(r.state(1), 2);  // stopped after going down
    EXPECT_EQ(r.state(2), 2);
    r.runFor(5);
    EXPECT_EQ(r.state(1), 3);  // going up: the lower switch is left
    EXPECT_EQ(r.state(5), 0);
    EXPECT_EQ(r.io.image().inputs[0], 0);
    click(r, 6);  // the upper switch
    r.runFor(0.5);
    EXPECT_EQ(r.state(1), 0);
    EXPECT_TRUE(r.took(1, {1, 2, 3, 0}));
    r.runFor(1.5);
    EXPECT_EQ(r.state(3), 0);  // the lamps are off again
    EXPECT_EQ(r.state(4), 0);
    EXPECT_TRUE(r.messages.empty());
}

TEST(ShippedMimics, TheGreenhouseHeatsAndCools)
{
    SetRun r("VIVERO.FLO", "VIVERO");
    ASSERT_TRUE(r.loaded);
    // The temperature sensor: degrees C with one decimal, -20..110.
    EXPECT_EQ(r.channels.decimals(0), 1);
    ASSERT_TRUE(r.channels.sensorRange(0));
    ASSERT_TRUE(r.run.start());
    r.runFor(1);
    EXPECT_EQ(r.text(4), "20");  // the set point x
    EXPECT_EQ(r.text(5), "1");   // n: the heater started once
    EXPECT_EQ(r.state(1), 1);
    // Each click steps the read-out by 10 degrees, as the chart sees it.
    for (int k = 0; k < 5; ++k) click(r, 3);
    EXPECT_NEAR(std::stod(r.text(3)), r.channels.sensorRange(0)->minimum + 50, 0.15);
    r.runFor(0.5);
    EXPECT_EQ(r.state(1), 0);
    click(r, 3);
    r.runFor(0.5);
    EXPECT_EQ(r.state(2), 1);  // the fan above 30
    for (int k = 0; k < 3; ++k) click(r, 3, MouseButton::Right);
    r.runFor(0.5);
    EXPECT_EQ(r.state(2), 0);
    EXPECT_EQ(r.state(1), 1);
    EXPECT_EQ(r.text(5), "2");
    EXPECT_TRUE(r.messages.empty());
}

}  // namespace
}  // namespace tarvel
