#include "sensors/calibration_file.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvel {
namespace {

// A file with the five keys and the given value lines, lines ended by `eol`.
std::string calFile(const std::vector<std::string>& values, const std::string& eol = "\r\n",
                    const std::string& dataSize = "1", const std::string& name = "Temperature",
                    const std::string& units = "degrees C")
{
    std::string s = "%%datasize," + dataSize + eol + "%%EE_sensorname,1," + name + eol +
                    "%%fieldunits,1," + units + eol + "%%maxmin,1,100,-10" + eol +
                    "%%EE_sensorID,1,17" + eol;
    for (const auto& v : values) s += v + eol;
    return s;
}

std::vector<std::string> ramp(int count, const char* format = "%.0f")
{
    std::vector<std::string> v;
    for (int i = 0; i < count; ++i) {
        char text[32];
        std::snprintf(text, sizeof text, format, i / 10.0);
        v.emplace_back(text);
    }
    return v;
}

TEST(CalibrationFile, ReadsTheKeysTranslatedAndTheValueTable)
{
    const auto c = parseCalibration(calFile(ramp(1024, "%.1f")));
    ASSERT_TRUE(c) << c.refusal().text;
    EXPECT_EQ(c->id, 17);
    EXPECT_EQ(c->name, "Temperatura");
    EXPECT_EQ(c->units, "grados C");
    EXPECT_EQ(c->shortUnits,
              "\xB0"
              "C");
    EXPECT_DOUBLE_EQ(c->maximum, 100.0);
    EXPECT_DOUBLE_EQ(c->minimum, -10.0);
    EXPECT_TRUE(c->hasTable);
    EXPECT_EQ(c->values.size(), 1024u);
    EXPECT_DOUBLE_EQ(c->values[513], 51.3);
    EXPECT_EQ(c->decimals(), 1);
}

TEST(CalibrationFile, KeysAreLookedForAmongTheFirstTwelveKeyLines)
{
    // Eleven other key lines first: "%%EE_sensorID" is the twelfth and still counts.
    std::string head;
    for (int i = 0; i < 7; ++i) head += "%%comment," + std::to_string(i) + "\n";
    const std::string keys =
        "%%datasize,1\n%%EE_sensorname,1,Light\n%%fieldunits,1,percent\n%%maxmin,1,100,0\n";
    ASSERT_TRUE(parseCalibration(head + keys + "%%EE_sensorID,1,3\n5\n"));
    // One more in front pushes it to the thirteenth: the file lacks a key.
    const auto late = parseCalibration("%%x\n" + head + keys + "%%EE_sensorID,1,3\n5\n");
    ASSERT_FALSE(late);
    EXPECT_EQ(late.refusal().caption, "Error de archivo");
    EXPECT_NE(late.refusal().text.find("EE_sensorID"), std::string::npos);
    // Single-'%' comment lines are not key lines and do not use up the twelve.
    std::string comments;
    for (int i = 0; i < 20; ++i) comments += "% note\n";
    EXPECT_TRUE(parseCalibration(comments + keys + "%%EE_sensorID,1,3\n"));
}

TEST(CalibrationFile, EachOfTheFiveKeysIsNeeded)
{
    const std::string full = calFile({"1"}, "\n");
    for (const char* key :
         {"%%datasize", "%%EE_sensorname", "%%fieldunits", "%%maxmin", "%%EE_sensorID"}) {
        std::string damaged = full;
        const std::size_t at = damaged.find(key);
        damaged.replace(at, 2, "% ");  // a comment now
        EXPECT_FALSE(parseCalibration(damaged)) << key;
    }
    // The value follows the channel field '1' and its comma; without them the key has no value.
    std::string noChannel = full;
    noChannel.replace(noChannel.find("%%EE_sensorID,1,17"), 18, "%%EE_sensorID 17");
    EXPECT_FALSE(parseCalibration(noChannel));
}

TEST(CalibrationFile, DataSizeOtherThanOneReadsInPercentWithNameAndUnitsListed)
{
    for (const char* size : {"0", "2", "", "x1"}) {
        const auto c = parseCalibration(calFile(ramp(1024, "%.2f"), "\n", size));
        ASSERT_TRUE(c) << size;
        EXPECT_FALSE(c->hasTable) << size;
        EXPECT_EQ(c->name, "Temperatura");
        EXPECT_EQ(c->decimals(), 0);  // percent, whole numbers
        EXPECT_DOUBLE_EQ(c->calibrate(512), 50.0);
        EXPECT_EQ(c->toByte(50.0), 128);
    }
}

TEST(CalibrationFile, CommentLinesAmongValuesDoNotCount)
{
    std::vector<std::string> v = ramp(1024);
    v.insert(v.begin() + 100, "% a comment between values");
    v.insert(v.begin() + 200, "%% another");
    const auto c = parseCalibration(calFile(v));
    ASSERT_TRUE(c);
    ASSERT_EQ(c->values.size(), 1024u);
    EXPECT_DOUBLE_EQ(c->values[1023], 102.0);  // "%.0f" of 102.3
    EXPECT_DOUBLE_EQ(c->values[250], 25.0);
}

TEST(CalibrationFile, DecimalsCountDigitsAfterThePointWhateverTheLineEnds)
{
    // CR LF, LF, CR CR LF and a last line without its end all give 2, not 3.
    for (const std::string eol : {"\r\n", "\n", "\r\r\n"}) {
        const auto c = parseCalibration(calFile({"1.5", "2.25", "3"}, eol));
        ASSERT_TRUE(c);
        EXPECT_EQ(c->valueDecimals, 2) << eol.size();
    }
    std::string unended = calFile({"1.5", "3"}, "\r\n") + "2.25";
    EXPECT_EQ(parseCalibration(unended)->valueDecimals, 2);
    // At most two, and a table without a point has none.
    EXPECT_EQ(parseCalibration(calFile({"1.23456"}))->decimals(), 2);
    EXPECT_EQ(parseCalibration(calFile({"12", "40"}))->decimals(), 0);
    // The name and unit lose the CR of their line end, so they translate.
    const auto c = parseCalibration(calFile({"1"}, "\r\n", "1", "LIGHT", "Percent"));
    EXPECT_EQ(c->name, "Luz");
    EXPECT_EQ(c->units, "porcentaje");
}

TEST(CalibrationFile, AValueThatIsNoNumberCountsAsZeroAndReadingGoesOn)
{
    // A blank line holds no number either: the readings after it keep their places.
    const auto c = parseCalibration(calFile({"5", "abc", "7.5", "  8", "", "9"}));
    ASSERT_TRUE(c);
    ASSERT_EQ(c->values.size(), 6u);
    EXPECT_DOUBLE_EQ(c->values[1], 0.0);
    EXPECT_DOUBLE_EQ(c->values[2], 7.5);
    EXPECT_DOUBLE_EQ(c->values[3], 8.0);
    EXPECT_DOUBLE_EQ(c->values[4], 0.0);
    EXPECT_DOUBLE_EQ(c->values[5], 9.0);
}

TEST(CalibrationFile, ShortFilesKeepWhatTheyReadAndTheRestReadsZeroWithinTheLimits)
{
    const auto shortFile = parseCalibration(calFile({"20", "30"}));
    ASSERT_TRUE(shortFile);
    EXPECT_TRUE(shortFile->hasTable);
    EXPECT_DOUBLE_EQ(shortFile->calibrate(1), 30.0);
    EXPECT_DOUBLE_EQ(shortFile->calibrate(700), 0.0);

    const auto empty = parseCalibration(calFile({}));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->values.empty());
    EXPECT_DOUBLE_EQ(empty->calibrate(300), 0.0);

    // More than 1024 value lines: the rest are not read.
    std::vector<std::string> many = ramp(1024, "%.0f");
    many.push_back("9.999");
    const auto extra = parseCalibration(calFile(many));
    EXPECT_EQ(extra->values.size(), 1024u);
    EXPECT_EQ(extra->decimals(), 0);
}

TEST(CalibrationFile, TheLimitsHoldTheValueShown)
{
    std::vector<std::string> v(1024, "50");
    v[0] = "-40";  // below the minimum -10
    v[1] = "250";  // above the maximum 100
    v[1023] = "60";
    const auto c = parseCalibration(calFile(v));
    ASSERT_TRUE(c);
    EXPECT_DOUBLE_EQ(c->calibrate(0), -10.0);
    EXPECT_DOUBLE_EQ(c->calibrate(1), 100.0);
    EXPECT_DOUBLE_EQ(c->calibrate(2), 50.0);
    // 1024 (the top of some interfaces) reads the last entry.
    EXPECT_DOUBLE_EQ(c->calibrate(1024), 60.0);
    // Limits that cross: raised to the minimum, then lowered to the maximum.
    std::string crossed = calFile({"5"});
    crossed.replace(crossed.find("100,-10"), 7, "0,10");
    EXPECT_DOUBLE_EQ(parseCalibration(crossed)->calibrate(0), 0.0);
}

TEST(CalibrationFile, IdsAChartCannotStoreAreRefused)
{
    for (const char* id : {"-1", "-3", "32768", "70000"}) {
        std::string s = calFile({"1"});
        s.replace(s.find("1,17"), 4, std::string("1,") + id);
        EXPECT_FALSE(parseCalibration(s)) << id;
    }
    std::string top = calFile({"1"});
    top.replace(top.find("1,17"), 4, "1,32767");
    EXPECT_EQ(parseCalibration(top)->id, 32767);
}

TEST(CalibrationFile, NamesAndUnitsTranslateAndShortUnitsComeFromTheWrittenUnit)
{
    EXPECT_EQ(translateSensorName("angle"), "Angulo");
    EXPECT_EQ(translateSensorName("Position"), "Posici\xF3n");
    EXPECT_EQ(translateSensorName("SOUND"), "Sonido");
    EXPECT_EQ(translateSensorName("Voltage"), "Voltaje");
    EXPECT_EQ(translateSensorName("Humidity"), "Humidity");
    EXPECT_EQ(translateSensorName("Light "), "Light ");  // the whole name compares

    EXPECT_EQ(translateSensorUnits("percentage"), "porcentaje");
    EXPECT_EQ(translateSensorUnits("Percent"), "porcentaje");
    EXPECT_EQ(translateSensorUnits("degrees"), "grados");
    EXPECT_EQ(translateSensorUnits("Volt"), "voltios");
    EXPECT_EQ(translateSensorUnits("decibel"), "decibel");

    // Exact comparison: "Percent" and "percentage" are not "percent".
    EXPECT_EQ(sensorShortUnits("percent"), "%");
    EXPECT_EQ(sensorShortUnits("Percent"), "Pe");
    EXPECT_EQ(sensorShortUnits("percentage"), "pe");
    EXPECT_EQ(sensorShortUnits("degrees"), "\xB0");
    EXPECT_EQ(sensorShortUnits("volt"), "V");
    EXPECT_EQ(sensorShortUnits("newton"), "N");
    EXPECT_EQ(sensorShortUnits("decibel"), "dB");
    EXPECT_EQ(sensorShortUnits("ratio"), " ");
    EXPECT_EQ(sensorShortUnits("milli Bar"), "mb");
    EXPECT_EQ(sensorShortUnits("lux"), "lu");
    EXPECT_EQ(sensorShortUnits("m"), "m");
}

TEST(CalibrationFile, ToByteFindsTheNearestReadingAndPercentScales)
{
    // Entry 4i holds i x 2: the byte whose reading is nearest to a value.
    std::vector<std::string> v;
    for (int raw = 0; raw < 1024; ++raw) v.push_back(std::to_string(raw / 4 * 2));
    const auto c = parseCalibration(calFile(v));
    ASSERT_TRUE(c);
    EXPECT_EQ(c->toByte(0.0), 0);
    EXPECT_EQ(c->toByte(100.0), 50);
    EXPECT_EQ(c->toByte(101.0), 50);  // a tie between 50 and 51: the first
    EXPECT_EQ(c->toByte(101.2), 51);
    EXPECT_EQ(c->toByte(9999.0), 255);
    EXPECT_EQ(c->toByte(-5.0), 0);
    // And back: the byte's reading calibrates to the value it was found for.
    EXPECT_DOUBLE_EQ(c->calibrate(4 * c->toByte(100.0)), 100.0);

    EXPECT_EQ(percentToByte(50.0), 128);
    EXPECT_EQ(percentToByte(39.1), 100);  // 100.096, truncated
    EXPECT_EQ(percentToByte(100.0), 255);
    EXPECT_EQ(percentToByte(-3.0), 0);
    EXPECT_DOUBLE_EQ(percentOfRaw(512), 50.0);
    EXPECT_DOUBLE_EQ(percentOfRaw(1024), 100.0);
}

}  // namespace
}  // namespace tarvel
