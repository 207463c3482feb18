// The sensor commands of the command-line tool, and a headless run that
// decides on a calibrated value.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "engine/chart_builder.h"
#include "flowchart/flow_document.h"
#include "flowchart/flow_file.h"
#include "support/fake_messages.h"
#include "support/temp_dir.h"
#include "support/tool_run.h"

namespace tarvel {
namespace {

class TarvelSensors : public ::testing::Test {
protected:
    test::TempDir dir;
    test::TempDir scratch;

    test::ToolRun tool(const std::vector<std::string>& args)
    {
        return test::runTool(TARVEL_TOOL_PATH, args, scratch.path());
    }
    std::string write(const std::string& name, const std::string& bytes)
    {
        const auto path = dir.path() / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    static std::string cal(const std::string& dataSize, const std::string& name,
                           const std::string& units, int id, const std::string& values)
    {
        return "%%datasize," + dataSize + "\r\n%%EE_sensorname,1," + name + "\r\n%%fieldunits,1," +
               units + "\r\n%%maxmin,1,80,-5\r\n%%EE_sensorID,1," + std::to_string(id) + "\r\n" +
               values;
    }
    // raw x step, written with the given decimals, for every raw reading.
    static std::string values(double step, int decimals)
    {
        std::string s;
        char text[32];
        for (int raw = 0; raw < 1024; ++raw) {
            std::snprintf(text, sizeof text, "%.*f\r\n", decimals, raw * step);
            s += text;
        }
        return s;
    }
};

TEST_F(TarvelSensors, SensorsPrintsTheTableOfAFolder)
{
    write("B.CAL", cal("1", "Temperature", "degrees C", 12, values(0.05, 2)));
    write("a.cal", cal("0", "Light", "percentage", 3, ""));
    write("C.CAL", "%%datasize,1\r\nno other keys\r\n");
    write("sub/D.CAL", cal("1", "Sound", "decibel", 4, "1\r\n"));  // not directly in the folder

    test::ToolRun r = tool({"sensors", dir.path().string()});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    ASSERT_EQ(j.size(), 2u);
    EXPECT_EQ(j[0]["file"], "a.cal");
    EXPECT_EQ(j[0]["id"], 3);
    EXPECT_EQ(j[0]["name"], "Luz");
    EXPECT_EQ(j[0]["units"], "porcentaje");
    EXPECT_EQ(j[0]["shortUnits"], "pe");
    EXPECT_EQ(j[0]["decimals"], 0);
    EXPECT_EQ(j[0]["hasTable"], false);
    EXPECT_EQ(j[1]["file"], "B.CAL");
    EXPECT_EQ(j[1]["name"], "Temperatura");
    EXPECT_EQ(j[1]["units"], "grados C");
    EXPECT_EQ(j[1]["shortUnits"], "°C");
    EXPECT_EQ(j[1]["decimals"], 2);
    EXPECT_EQ(j[1]["min"], -5.0);
    EXPECT_EQ(j[1]["max"], 80.0);
    EXPECT_EQ(j[1]["hasTable"], true);

    r = tool({"sensors", (dir.path() / "missing").string()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(nlohmann::json::parse(r.out), nlohmann::json::array());
}

TEST_F(TarvelSensors, CalibratePrintsAReadingWithTheFilesDecimals)
{
    const std::string temp =
        write("T.CAL", cal("1", "Temperature", "degrees C", 12, values(0.05, 2)));
    const std::string percent = write("P.CAL", cal("0", "Light", "percent", 3, ""));
    EXPECT_EQ(tool({"calibrate", temp, "500"}).out, "25.00\n");
    EXPECT_EQ(tool({"calibrate", temp, "1023"}).out, "51.15\n");
    EXPECT_EQ(tool({"calibrate", temp, "0"}).out, "0.00\n");
    EXPECT_EQ(tool({"calibrate", percent, "512"}).out, "50\n");

    const std::string clipped = write("L.CAL", cal("1", "Light", "percent", 3, values(1.0, 0)));
    EXPECT_EQ(tool({"calibrate", clipped, "900"}).out, "80\n");  // the maximum

    for (const char* raw : {"1024", "-1", "12.5", "x"}) {
        const test::ToolRun r = tool({"calibrate", temp, raw});
        EXPECT_EQ(r.status, 1) << raw;
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(r.err.empty());
    }
    const std::string keyless = write("K.CAL", "%%datasize,1\r\n1\r\n");
    test::ToolRun r = tool({"calibrate", keyless, "5"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("EE_sensorname"), std::string::npos) << r.err;
    r = tool({"calibrate", (dir.path() / "none.CAL").string(), "5"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "No se puede abrir archivo\n");
}

TEST_F(TarvelSensors, ARunDecidesOnTheChartsCalibratedSensor)
{
    // In simulation the sensors come from OTHERS under the sensors folder.
    write("SENS/OTHERS/T.CAL", cal("1", "Temperature", "degrees C", 12, values(0.05, 2)));
    FlowDocument doc;
    test::ChartBuilder b(doc);
    const int start = b.start(), hot = b.decide("Is Val 1 > 25"), fan = b.out("Turn Output 1 on"),
              end = b.stop();
    b.join(start, hot);
    b.join(hot, fan, LineKind::Yes);
    b.join(hot, hot, LineKind::No);
    b.join(fan, end);
    doc.sensorAssignment[0] = 12;
    const std::string chart = (dir.path() / "estufa.FLO").string();
    ASSERT_TRUE(saveFlowFile(doc, chart, InterfaceSettings{}, test::ignoredMessages()));
    const std::string sensors = (dir.path() / "SENS").string();

    // 490 reads 24.50 degrees C (47.9 % of full scale), 520 reads 26.00: the fan
    // comes on a tick after the second reading.
    test::ToolRun r = tool({"run", "--sensors", sensors, "--value", "1=490@100", "--value",
                            "1=520@200", "--ticks", "200", chart});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "202 output 1 on\n204 end stop\n");

    // Without the folder the chart's sensor is unknown and the channel reads in percent.
    r = tool({"run", "--sensors", (dir.path() / "none").string(), "--value", "1=490@100", "--ticks",
              "200", chart});
    EXPECT_EQ(r.out, "102 output 1 on\n104 end stop\n");
}

TEST_F(TarvelSensors, CompileReadsNumbersThroughTheChartsSensor)
{
    // The Quillo box compiles to the direct dialect; its sensors are in CC.
    write("SENS/CC/T.CAL", cal("1", "Temperature", "degrees C", 12, values(0.05, 2)));
    FlowDocument doc;
    test::ChartBuilder b(doc);
    const int start = b.start(), hot = b.decide("Is Val 1 > 25"), fan = b.out("Turn Output 1 on"),
              end = b.stop();
    b.join(start, hot);
    b.join(hot, fan, LineKind::Yes);
    b.join(hot, hot, LineKind::No);
    b.join(fan, end);
    doc.sensorAssignment[0] = 12;
    const std::string chart = (dir.path() / "estufa.FLO").string();
    ASSERT_TRUE(saveFlowFile(doc, chart, InterfaceSettings{}, test::ignoredMessages()));
    auto constant = [&](const std::string& sensors) {
        const test::ToolRun r = tool({"compile", "--model", "13", "--sensors", sensors, chart});
        EXPECT_EQ(r.status, 0) << r.err;
        const std::string image = nlohmann::json::parse(r.out)["image"];
        return std::stoi(image.substr(2 * 243, 2), nullptr, 16);  // the first constant slot
    };
    // 25 degrees C is reading 500, byte 125; in percent 25 would be byte 64.
    EXPECT_EQ(constant((dir.path() / "SENS").string()), 125);
    EXPECT_EQ(constant((dir.path() / "none").string()), 64);
}

}  // namespace
}  // namespace tarvel
