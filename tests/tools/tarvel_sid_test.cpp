// The capture of a headless run and the data-file commands of the tool.

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

using test::slurp;
using test::ToolRun;

class TarvelSid : public ::testing::Test {
protected:
    test::TempDir dir;

    ToolRun tool(const std::vector<std::string>& args)
    {
        return test::runTool(TARVEL_TOOL_PATH, args, dir.path());
    }
    std::string path(const char* name) const { return (dir.path() / name).string(); }

    // Output 1 on, wait for input 2, output 1 off, stop; channel 1 reads
    // through the temperature sensor (ID 2), channel 2 has none.
    std::string chart()
    {
        FlowDocument doc;
        test::ChartBuilder b(doc);
        const int s = b.start(), on = b.out("Turn Output 1 on"), ask = b.decide("Is Input 2 on"),
                  off = b.out("Turn Output 1 off"), end = b.stop();
        b.chain({s, on, ask});
        b.join(ask, off, LineKind::Yes);
        b.join(ask, ask, LineKind::No);
        b.join(off, end);
        doc.sensorAssignment = {2, kSensorNone, kSensorPercent, kSensorPercent};
        const std::string p = path("espera.FLO");
        EXPECT_TRUE(saveFlowFile(doc, p, InterfaceSettings{}, test::ignoredMessages()));
        return p;
    }
};

TEST_F(TarvelSid, ARunCapturesEveryTickAndShowReadsItBack)
{
    const std::string sid = path("datos.SID");
    // A first span of 20 seconds samples every 2 hundredths, once a tick.
    ToolRun r = tool({"run", "--capture", sid, "--first-span", "2000", "--input", "2=on@150",
                      "--sensors", std::string(TARVEL_DATA_DIR) + "/SENSORS", chart()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "2 output 1 on\n152 output 1 off\n154 end stop\n");

    r = tool({"sid", "show", "--sensors", std::string(TARVEL_DATA_DIR) + "/SENSORS", sid});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    // Samples at 2, 4 .. 154; the stop fits the axis to the first tenth.
    ASSERT_EQ(j["sampleCount"], 77);
    EXPECT_EQ(j["time"][0], 2);
    EXPECT_EQ(j["time"][76], 154);
    EXPECT_EQ(j["span"], 200);
    EXPECT_EQ(j["binCount"], 1);
    EXPECT_EQ(j["endLabel"], "2 segundos");
    EXPECT_EQ(j["middleLabel"], "1 segundos");
    // Each sample is taken before the tick's passes: the output set at
    // tick 2 shows from the sample at 4, and is still on at 152.
    EXPECT_EQ(j["outputs"][0], 0);
    EXPECT_EQ(j["outputs"][1], 1);
    EXPECT_EQ(j["outputs"][75], 1);
    EXPECT_EQ(j["outputs"][76], 0);
    // The input set for 150 is seen by that tick's sample.
    EXPECT_EQ(j["inputs"][73], 0);
    EXPECT_EQ(j["inputs"][74], 2);
    EXPECT_EQ(j["counts"], nlohmann::json::parse("[[0,1,0,0,0,0,0,0]]"));
    ASSERT_EQ(j["analogue"].size(), 4u);
    EXPECT_EQ(j["motors"][3].size(), 77u);
    EXPECT_EQ(j["sensors"][0]["kind"], "sensor");
    EXPECT_EQ(j["sensors"][0]["id"], 2);
    EXPECT_EQ(j["sensors"][1]["kind"], "none");
    EXPECT_EQ(j["sensors"][2]["kind"], "unknown");
    EXPECT_EQ(j["layout"]["paneKind"].size(), 6u);
    EXPECT_TRUE(r.err.empty()) << r.err;
}

TEST_F(TarvelSid, ExportWithoutSensorsMakesTemporaryOnes)
{
    const std::string sid = path("datos.SID");
    ASSERT_EQ(tool({"run", "--capture", sid, "--input", "2=on@150", "--sensors",
                    std::string(TARVEL_DATA_DIR) + "/SENSORS", chart()})
                  .status,
              0);
    ToolRun r = tool({"sid", "export", sid, path("datos.tsv")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("No se puede encontrar tabla de calibración para sensorio de "),
              std::string::npos);
    const std::string tsv = slurp(path("datos.tsv"));
    EXPECT_EQ(tsv.rfind("Tiempo (segundos)\t", 0), 0u);
    EXPECT_NE(tsv.find("\tNing\xFAn (porcentaje)\tDesconocido (porcentaje)\t"), std::string::npos);
    // A temporary sensor has no table: its values take three decimals.
    EXPECT_NE(tsv.find("\r\n0.12\t"), std::string::npos);

    r = tool({"sid", "export", sid, path("datos.txt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(std::filesystem::exists(path("datos.txt")));
}

TEST_F(TarvelSid, RefusalsWriteNothingAndExitWithOne)
{
    const std::string sid = path("datos.SID");
    ToolRun r =
        tool({"run", "--capture", sid, "--first-span", "12000", "--end-time", "6000", chart()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "La duración total debe ser más que o igual al primer registro de duración\n");
    EXPECT_TRUE(r.out.empty());
    EXPECT_FALSE(std::filesystem::exists(sid));

    // Capturing into a folder that does not exist: the run happens, the save is refused.
    r = tool({"run", "--capture", path("falta/datos.SID"), chart()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "No se puede abrir archivo\n");

    std::ofstream(path("otro.SID"), std::ios::binary)
        << "%%identifier,SID\r\n%%datasize,0,1\r\n%%title,x\r\n%%filedescription,Otro\r\n";
    r = tool({"sid", "show", path("otro.SID")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Tarvel2 solo puede leer los archivos de SID que fueron creados por Tarvel\n");
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(tool({"sid", "show", path("nada.SID")}).status, 1);
    EXPECT_EQ(tool({"run", "--first-span", "x", chart()}).status, 2);
}

}  // namespace
}  // namespace tarvel
