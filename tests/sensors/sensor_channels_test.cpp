#include "sensors/sensor_channels.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/chart_builder.h"
#include "engine/interpreter.h"
#include "interfaces/interface_model.h"
#include "interfaces/sensor_id_reader.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"
#include "support/recording_protocol.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

// A box that takes everything: the link counts as live.
using QuietProtocol = test::RecordingProtocol;

// Answers the ID reads from a script and counts them.
class ScriptedIds final : public SensorIdReader {
public:
    std::array<int, kSensorIdChannels> readSensorIds() override
    {
        ++reads;
        return ids;
    }
    std::array<int, kSensorIdChannels> ids{-1, -1, -1, -1};
    int reads = 0;
};

class ChangeCounter final : public SensorObserver {
public:
    void sensorChanged(int c) override { ++changed[static_cast<std::size_t>(c)]; }
    void tableReloaded() override { ++reloads; }
    std::array<int, 4> changed{};
    int reloads = 0;
};

// A temperature table (id 2), a light table (id 1), a second light table
// with the same id, and a sensor in percent (id 9).
void writeSet(const std::filesystem::path& dir)
{
    std::filesystem::create_directories(dir);
    auto write = [&](const char* file, const char* name, const char* units, int id,
                     const char* size, double scale, const char* format) {
        std::ofstream f(dir / file, std::ios::binary);
        f << "%%datasize," << size << "\r\n%%EE_sensorname,1," << name << "\r\n%%fieldunits,1,"
          << units << "\r\n%%maxmin,1,100,0\r\n%%EE_sensorID,1," << id << "\r\n";
        char text[32];
        for (int raw = 0; raw < 1024; ++raw) {
            std::snprintf(text, sizeof text, format, raw * scale);
            f << text << "\r\n";
        }
    };
    write("A_TEMP.CAL", "Temperature", "degrees C", 2, "1", 0.05, "%.2f");
    write("B_LUZ.CAL", "Light", "percent", 1, "1", 0.1, "%.0f");
    write("C_LUZ2.CAL", "Light", "percent", 1, "1", 0.05, "%.1f");
    write("D_RAW.CAL", "Humidity", "ratio", 9, "0", 1.0, "%.0f");
}

class SensorChannelsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeSet(dir.path() / "DSI");
        writeSet(dir.path() / "SAC");
        io.setSensorsDirectory(dir.path().string());
        io.setChannelAssignment(&doc.sensorAssignment);
        io.setEvents(&sensors);
        sensors.setIdReader(&ids);
        sensors.addObserver(&counter);
        io.settings.mode = 1;
        io.settings.model = ModelDeltronics;
        io.applySelection();
    }
    void goLive()
    {
        io.setProtocol(&protocol);
        io.flags.simulate = false;
    }

    test::TempDir dir;
    test::FakeMessages messages;
    FlowDocument doc{&messages};
    InterfaceLayer io;
    SensorChannels sensors{doc, io};
    QuietProtocol protocol{io};
    ScriptedIds ids;
    ChangeCounter counter;
};

TEST_F(SensorChannelsTest, AConnectReadsTheModelsFolder)
{
    EXPECT_EQ(sensors.table().size(), 4);
    EXPECT_GE(counter.reloads, 1);
    EXPECT_EQ(sensors.table().entry(0).fileName, "A_TEMP.CAL");
    // Deltronics sub 0 does not identify by itself; the Junior and Sense and Control do.
    EXPECT_FALSE(sensors.channel(0).automatic);
    io.settings.subModel = kDeltronicsJunior;
    io.applySelection();
    EXPECT_TRUE(sensors.channel(3).automatic);
    EXPECT_TRUE(doc.sensorAutomatic[3]);
    io.settings.model = ModelContactController;
    io.applySelection();
    EXPECT_FALSE(sensors.channel(3).automatic);
    EXPECT_TRUE(sensors.table().empty());  // no CC folder here
}

TEST_F(SensorChannelsTest, ChooseSetsTheChannelTheChartAndTheLabels)
{
    io.setAnalogue(0, 512);
    EXPECT_EQ(sensors.valueText(0), "50");  // percent at start
    EXPECT_EQ(sensors.channel(0).units, "%");

    sensors.choose(0, 0);  // the temperature table
    EXPECT_EQ(sensors.name(0), "Temperatura");
    EXPECT_EQ(sensors.channel(0).units,
              "\xB0"
              "C");
    EXPECT_EQ(doc.sensorAssignment[0], 2);  // the chart keeps the sensor's id
    EXPECT_DOUBLE_EQ(sensors.value(0), 25.6);
    EXPECT_EQ(sensors.valueText(0), "25.60");
    EXPECT_EQ(sensors.compactValueText(0), "25.6");

    sensors.choose(0, kSensorNone);
    EXPECT_EQ(sensors.name(0), "Ningun 1");
    EXPECT_EQ(sensors.channel(0).units, "");
    EXPECT_DOUBLE_EQ(sensors.value(0), 0.0);
    EXPECT_EQ(doc.sensorAssignment[0], kSensorNone);

    sensors.choose(2, 3);  // in percent although listed
    EXPECT_EQ(sensors.name(2), "Humidity");
    EXPECT_EQ(sensors.channel(2).units, " ");
    io.setAnalogue(2, 1024);
    EXPECT_EQ(sensors.valueText(2), "100");

    sensors.choose(2, kSensorPercent);
    EXPECT_EQ(sensors.name(2), "Val 3");
    EXPECT_EQ(doc.sensorAssignment[2], kSensorPercent);

    const int before = counter.changed[1];
    sensors.choose(1, 4);  // no such entry: nothing happens
    sensors.choose(1, -7);
    EXPECT_EQ(counter.changed[1], before);
    EXPECT_EQ(sensors.channel(1).sensor, kSensorPercent);
}

TEST_F(SensorChannelsTest, ToByteFollowsTheChannelsChoice)
{
    sensors.choose(0, 0);  // temperature: entry 4i holds 0.2 i
    EXPECT_EQ(sensors.toByte(0, 10.0), 50);
    EXPECT_EQ(sensors.toByte(1, 50.0), 128);  // percent
    sensors.choose(1, kSensorNone);
    EXPECT_EQ(sensors.toByte(1, 50.0), 0);
    sensors.choose(2, 3);  // a sensor without table scales as percent
    EXPECT_EQ(sensors.toByte(2, 100.0), 255);
}

TEST_F(SensorChannelsTest, IdentifyTakesTheBoxsIdsOnlyOverALiveLink)
{
    ids.ids = {1, 2, kSensorIdAbsent, 77};
    sensors.setAutomaticAll(true);
    sensors.identify();  // simulating: the box is not asked
    EXPECT_EQ(ids.reads, 0);
    EXPECT_EQ(sensors.channel(0).sensor, kSensorPercent);

    goLive();
    sensors.identify();
    EXPECT_EQ(ids.reads, 1);
    EXPECT_EQ(sensors.channel(0).sensor, 2);  // the last entry with id 1
    EXPECT_EQ(sensors.name(0), "Luz");
    EXPECT_EQ(sensors.channel(1).sensor, 0);
    EXPECT_EQ(sensors.channel(2).sensor, kSensorNone);
    EXPECT_EQ(sensors.name(2), "Ningun 3");
    EXPECT_EQ(sensors.channel(3).sensor, kSensorPercent);  // an id the table lacks

    // The box no longer identifies channel 2: a channel out of automatic keeps its sensor.
    sensors.choose(0, kChooseAutomatic);
    EXPECT_FALSE(sensors.channel(0).automatic);
    ids.ids = {kSensorIdUnknown, kSensorIdUnknown, kSensorIdUnknown, kSensorIdUnknown};
    sensors.identify();
    EXPECT_EQ(sensors.channel(0).sensor, 2);
    EXPECT_EQ(sensors.channel(1).sensor, kSensorPercent);

    // The digital adaptor and models without IDs are never asked.
    const int reads = ids.reads;
    io.settings.subModel = kDeltronicsDigitalAdaptor;
    sensors.identify();
    io.settings.subModel = 0;
    io.settings.model = ModelLego;
    sensors.identify();
    EXPECT_EQ(ids.reads, reads);
}

TEST_F(SensorChannelsTest, AnEntryAlreadyChosenIsReadAgainOnlyAfterAnEqualIdBeforeIt)
{
    goLive();
    sensors.setAutomaticAll(true);
    ids.ids = {1, 2, kSensorIdUnknown, kSensorIdUnknown};
    sensors.identify();
    counter.changed = {};
    sensors.identify();
    // Channel 1's light stands after another light with id 1: read again.
    EXPECT_EQ(counter.changed[0], 1);
    // The temperature is the only one with id 2; percent stays percent.
    EXPECT_EQ(counter.changed[1], 0);
    EXPECT_EQ(counter.changed[2], 0);
}

TEST_F(SensorChannelsTest, SwitchingAutomaticOnIdentifiesAtOnce)
{
    goLive();
    ids.ids = {2, 2, 2, 2};
    sensors.choose(1, kChooseAutomatic);
    EXPECT_TRUE(doc.sensorAutomatic[1]);
    EXPECT_EQ(sensors.channel(1).sensor, 0);
    EXPECT_EQ(sensors.channel(0).sensor, kSensorPercent);  // not in automatic
}

TEST_F(SensorChannelsTest, SenseAndControlFolderAndIdsThroughAConnect)
{
    goLive();
    io.settings.model = ModelSenseControl;
    ids.ids = {2, kSensorIdAbsent, 1, 9};
    io.applySelection();  // reads SAC, sets automatic, identifies
    EXPECT_EQ(sensors.channel(0).sensor, 0);
    EXPECT_EQ(sensors.name(1), "Ningun 2");
    EXPECT_EQ(sensors.channel(2).sensor, 2);
    EXPECT_EQ(sensors.channel(3).sensor, 3);
}

TEST_F(SensorChannelsTest, ChoicesSurviveAReloadByTheirFileElseTheirId)
{
    sensors.choose(0, 1);  // B_LUZ, id 1
    sensors.choose(1, 0);  // A_TEMP, id 2
    sensors.choose(2, 3);  // D_RAW, id 9
    doc.channelNames[0] = "Mi luz";
    // A new file listed first moves every index; B_LUZ vanishes, its twin stays.
    std::filesystem::remove(dir.path() / "DSI" / "B_LUZ.CAL");
    std::filesystem::copy_file(dir.path() / "DSI" / "A_TEMP.CAL", dir.path() / "DSI" / "0.CAL");
    std::filesystem::remove(dir.path() / "DSI" / "D_RAW.CAL");
    io.applySelection();
    EXPECT_EQ(sensors.table().entry(sensors.channel(0).sensor).fileName, "C_LUZ2.CAL");
    EXPECT_EQ(sensors.name(0), "Mi luz");  // the pupil's name stays
    EXPECT_EQ(sensors.table().entry(sensors.channel(1).sensor).fileName, "A_TEMP.CAL");
    EXPECT_EQ(sensors.channel(2).sensor, kSensorPercent);  // its sensor is gone
    EXPECT_EQ(sensors.name(2), "Val 3");
    EXPECT_EQ(doc.sensorAssignment[2], kSensorPercent);
}

TEST_F(SensorChannelsTest, AdoptingAChartFindsItsSensorsById)
{
    doc.sensorAssignment = {1, 44, kSensorNone, 2};
    doc.sensorAutomatic = {false, false, false, true};
    doc.channelNames[0] = "Farola";
    sensors.adoptDocument(false);
    EXPECT_EQ(sensors.channel(0).sensor, 2);  // the last entry with id 1
    EXPECT_EQ(sensors.name(0), "Farola");     // the file's name stands
    EXPECT_EQ(sensors.channel(0).units, "%");
    EXPECT_EQ(sensors.channel(1).sensor, kSensorPercent);
    EXPECT_EQ(doc.sensorAssignment[1], kSensorPercent);
    EXPECT_EQ(sensors.channel(2).sensor, kSensorNone);
    EXPECT_TRUE(sensors.channel(3).automatic);
    EXPECT_EQ(sensors.channel(3).sensor, 0);

    doc.clear(ModelDeltronics, 0);
    sensors.adoptDocument(true);
    EXPECT_EQ(sensors.name(0), "Val 1");
    EXPECT_EQ(sensors.name(2), "Val 3");
    EXPECT_FALSE(sensors.channel(3).automatic);
}

TEST_F(SensorChannelsTest, AChartDecidesOnTheCalibratedValue)
{
    test::FakeClock clock;
    SpeedSettings speed;
    Interpreter run{doc, io, clock, messages, speed};
    run.setChannelValues(&sensors);
    test::ChartBuilder chart{doc};
    const int start = chart.start(), hot = chart.decide("Is Val 1 > 25"),
              fan = chart.out("Turn Output 1 on"), heater = chart.out("Turn Output 2 on"),
              wait = chart.proc("Delay 9");
    chart.join(start, hot);
    chart.join(hot, fan, LineKind::Yes);
    chart.join(hot, heater, LineKind::No);
    chart.join(fan, wait);
    chart.join(heater, wait);
    chart.join(wait, wait);
    sensors.choose(0, 0);
    io.setAnalogue(0, 480);  // 24.00 degrees C, although 46.9 % of full scale
    ASSERT_TRUE(run.start());
    for (int i = 0; i < 10 && run.running(); ++i) {
        clock.advance(20);
        run.timerTick();
    }
    EXPECT_EQ(io.image().outputs[0], 0);
    EXPECT_EQ(io.image().outputs[1], 1);
}

}  // namespace
}  // namespace tarvel
