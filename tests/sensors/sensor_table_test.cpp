#include "sensors/sensor_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/temp_dir.h"

namespace tarvel {
namespace {

void writeCal(const std::filesystem::path& path, const std::string& name, int id,
              const std::string& values = "1\n")
{
    std::ofstream f(path, std::ios::binary);
    f << "%%datasize,1\n%%EE_sensorname,1," << name << "\n%%fieldunits,1,volt\n"
      << "%%maxmin,1,10,0\n%%EE_sensorID,1," << id << "\n"
      << values;
}

TEST(SensorTable, ListsTheCalibrationFilesOfAFolderInNameOrderIgnoringCase)
{
    test::TempDir dir;
    const auto& d = dir.path();
    writeCal(d / "b.cal", "Second", 2);
    writeCal(d / "A.CAL", "First", 1);
    writeCal(d / "C.Cal", "Third", 3);
    writeCal(d / "notes.txt", "Not a table", 9);
    writeCal(d / "xcal", "No extension", 9);
    std::ofstream(d / "BROKEN.CAL") << "%%datasize,1\nno keys\n";
    std::filesystem::create_directory(d / "FOLDER.CAL");

    const SensorTable table = SensorTable::load(d.string());
    ASSERT_EQ(table.size(), 3);
    EXPECT_EQ(table.entry(0).fileName, "A.CAL");
    EXPECT_EQ(table.entry(1).fileName, "b.cal");
    EXPECT_EQ(table.entry(2).fileName, "C.Cal");
    EXPECT_EQ(table.entry(1).calibration.name, "Second");
}

TEST(SensorTable, FindsItsFolderIgnoringCaseAndIsEmptyWithoutOne)
{
    test::TempDir dir;
    std::filesystem::create_directory(dir.path() / "Dsi");
    writeCal(dir.path() / "Dsi" / "LUZ.CAL", "Light", 1);
    EXPECT_EQ(SensorTable::load((dir.path() / "DSI").string()).size(), 1);
    EXPECT_TRUE(SensorTable::load((dir.path() / "SAC").string()).empty());
    std::filesystem::create_directory(dir.path() / "Empty");
    EXPECT_TRUE(SensorTable::load((dir.path() / "Empty").string()).empty());
}

TEST(SensorTable, AFolderBeyondTheCapacityKeepsTheFilesListedFirst)
{
    test::TempDir dir;
    // A broken file first does not take a place.
    std::ofstream(dir.path() / "A000.CAL") << "nothing\n";
    for (int i = 0; i < kSensorTableCapacity + 5; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "S%03d.CAL", i);
        writeCal(dir.path() / name, "Sensor", i);
    }
    const SensorTable table = SensorTable::load(dir.path().string());
    ASSERT_EQ(table.size(), kSensorTableCapacity);
    EXPECT_EQ(table.entry(0).fileName, "S000.CAL");
    EXPECT_EQ(table.entry(kSensorTableCapacity - 1).calibration.id, kSensorTableCapacity - 1);
}

TEST(SensorTable, DuplicateIdsAreFoundFirstAndLast)
{
    test::TempDir dir;
    writeCal(dir.path() / "A.CAL", "One", 5);
    writeCal(dir.path() / "B.CAL", "Other", 6);
    writeCal(dir.path() / "C.CAL", "Two", 5);
    const SensorTable table = SensorTable::load(dir.path().string());
    EXPECT_EQ(table.firstWithId(5), 0);
    EXPECT_EQ(table.lastWithId(5), 2);
    EXPECT_EQ(table.lastWithId(6), 1);
    EXPECT_EQ(table.lastWithId(7), -1);
}

}  // namespace
}  // namespace tarvel
