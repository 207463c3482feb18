// The calibration files that ship with the program: they are what the
// generator makes, and the program reads them as they are meant.

#include <gtest/gtest.h>

#include <cmath>

#include "calibration_sets.h"
#include "platform/file_io.h"
#include "sensors/sensor_table.h"

namespace tarvel {
namespace {

const std::string kSensors = std::string(TARVEL_DATA_DIR) + "/SENSORS/";

TEST(CalibrationSets, TheShippedFilesAreWhatTheGeneratorMakes)
{
    for (const auto& file : sensorsets::makeCalibrationSets()) {
        std::string shipped;
        ASSERT_TRUE(readWholeFile(kSensors + file.folder + "/" + file.fileName, shipped))
            << file.folder << "/" << file.fileName;
        EXPECT_TRUE(shipped == file.bytes)
            << file.folder << "/" << file.fileName << ": run make_calibration data/SENSORS";
    }
}

TEST(CalibrationSets, EveryFolderReadsBackWithTheNamesUnitsDecimalsAndIdsIntended)
{
    for (const std::string& folder : sensorsets::calibrationFolders()) {
        const SensorTable table = SensorTable::load(kSensors + folder);
        ASSERT_EQ(table.size(), static_cast<int>(sensorsets::sensorKinds().size())) << folder;
        for (const sensorsets::SensorKind& kind : sensorsets::sensorKinds()) {
            const int id = sensorsets::sensorIdIn(folder, kind);
            const int at = table.lastWithId(id);
            ASSERT_GE(at, 0) << folder << " " << id;
            EXPECT_EQ(table.firstWithId(id), at) << "ids are unique in " << folder;
            const SensorEntry& e = table.entry(at);
            EXPECT_EQ(e.fileName, kind.fileName);
            const Calibration& c = e.calibration;
            EXPECT_EQ(c.name, kind.shownName) << kind.fileName;
            EXPECT_EQ(c.units, kind.shownUnits) << kind.fileName;
            EXPECT_EQ(c.shortUnits, kind.shownShortUnits) << kind.fileName;
            EXPECT_EQ(c.decimals(), kind.decimals) << kind.fileName;
            EXPECT_TRUE(c.hasTable);
            EXPECT_EQ(c.values.size(), 1024u);
            EXPECT_DOUBLE_EQ(c.maximum, kind.maximum);
            EXPECT_DOUBLE_EQ(c.minimum, kind.minimum);
        }
    }
}

TEST(CalibrationSets, TheIdsFitWhatTheBoxesReport)
{
    for (const sensorsets::SensorKind& kind : sensorsets::sensorKinds()) {
        // One byte, 248 meaning no sensor.
        EXPECT_LT(sensorsets::sensorIdIn("DSI", kind), 248);
        // Two bytes; a high byte of 0xFE or 0xFF means unchanged or none.
        EXPECT_LT(sensorsets::sensorIdIn("SAC", kind) >> 8, 0xFE);
    }
}

TEST(CalibrationSets, TheValuesFollowTheirPhysicalModels)
{
    const SensorTable table = SensorTable::load(kSensors + "DSI");
    auto sensor = [&](int id) { return table.entry(table.lastWithId(id)).calibration; };
    // The thermistor equals its fixed resistor at 25 degrees C, half way up.
    EXPECT_NEAR(sensor(2).calibrate(512), 25.0, 0.1);
    // Colder reads lower; beyond the rated range the limits hold.
    EXPECT_LT(sensor(2).calibrate(300), sensor(2).calibrate(700));
    EXPECT_DOUBLE_EQ(sensor(2).calibrate(0), -20.0);
    EXPECT_DOUBLE_EQ(sensor(2).calibrate(1023), 110.0);
    // Half the sound pressure is 6 dB less.
    EXPECT_NEAR(sensor(3).calibrate(1023) - sensor(3).calibrate(511), 6.0, 0.1);
    EXPECT_DOUBLE_EQ(sensor(1).calibrate(1023), 100.0);
    EXPECT_DOUBLE_EQ(sensor(4).calibrate(1023), 10.0);
    EXPECT_NEAR(sensor(4).calibrate(512), 5.0, 0.01);
    EXPECT_DOUBLE_EQ(sensor(5).calibrate(1023), 270.0);
    // Standard air pressure, 1013 mb, sits inside the pressure sensor's range.
    EXPECT_LT(sensor(7).calibrate(700), 1013.0);
    EXPECT_GT(sensor(7).calibrate(900), 1013.0);
    EXPECT_DOUBLE_EQ(sensor(8).calibrate(0), 20.0);
    EXPECT_DOUBLE_EQ(sensor(8).calibrate(1023), 45.0);
}

TEST(CalibrationSets, TheArduinoKitSensorsReadAsTheirPartsBehave)
{
    const SensorTable table = SensorTable::load(kSensors + sensorsets::kBoardFolder);
    ASSERT_EQ(table.size(), static_cast<int>(sensorsets::boardSensorKinds().size()));
    for (const sensorsets::SensorKind& kind : sensorsets::boardSensorKinds()) {
        const Calibration& c = table.entry(table.lastWithId(kind.idOffset)).calibration;
        EXPECT_EQ(c.name, kind.shownName);
        EXPECT_EQ(c.shortUnits, kind.shownShortUnits);
        EXPECT_EQ(c.decimals(), kind.decimals) << kind.fileName;
    }
    auto sensor = [&](int id) { return table.entry(table.lastWithId(id)).calibration; };
    // The TMP36 gives 0.75 V at 25 degrees C: reading 153 or so.
    EXPECT_NEAR(sensor(2).calibrate(153), 25.0, 0.5);
    EXPECT_NEAR(sensor(2).calibrate(102), 0.0, 0.5);
    EXPECT_DOUBLE_EQ(sensor(2).calibrate(0), -40.0);  // below its rated range
    // The LDR grows brighter with the reading, from dark to full daylight;
    // half way (the LDR at 10 kOhm) is a dim room, about 18 lux.
    EXPECT_DOUBLE_EQ(sensor(1).calibrate(0), 0.0);
    EXPECT_DOUBLE_EQ(sensor(1).calibrate(1023), 100.0);
    EXPECT_NEAR(sensor(1).calibrate(511), 31.0, 1.0);
    for (int raw = 1; raw < 1024; ++raw)
        EXPECT_GE(sensor(1).calibrate(raw), sensor(1).calibrate(raw - 1)) << raw;
    EXPECT_DOUBLE_EQ(sensor(5).calibrate(1023), 300.0);
}

}  // namespace
}  // namespace tarvel
