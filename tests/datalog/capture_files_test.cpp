// Saving and opening data files in the program: the names they take, the
// unsaved flag, the sensors a file sets, and refusals that change nothing.

#include "datalog/capture_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/program_state.h"
#include "platform/file_io.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"
#include "support/temp_dir.h"
#include "support/tool_run.h"

namespace tarvel {
namespace {

class CaptureFilesTest : public ::testing::Test {
protected:
    test::FakeMessages messages;
    test::FakeClock clock;
    ProgramState state{messages, clock};
    test::TempDir dir;

    void SetUp() override
    {
        // The bundled Deltronics set: TEMP.CAL is ID 2, with one decimal.
        state.sensors.reloadTable(std::string(TARVEL_DATA_DIR) + "/SENSORS/DSI");
        ASSERT_FALSE(state.sensors.table().empty());
    }

    std::string path(const char* name) const { return (dir.path() / name).string(); }

    int tableIndexOf(int id) const { return state.sensors.table().lastWithId(id); }

    // A capture of three samples with a temperature sensor on channel 1.
    void capture()
    {
        state.sensors.choose(0, tableIndexOf(2));
        state.sensors.choose(1, kSensorNone);
        DataCapture& c = state.capture;
        c.start();
        for (int i = 0; i < 3; ++i) {
            clock.advance(120);
            c.samplingStep();
        }
        c.data.buffer.analogue[0][1] = 24.5;
        c.data.buffer.inputs[2] = 0x10;
        c.data.layout.paneKind[0] = 2;
        c.data.layout.paneWeight[0] = 1;
    }

    void write(const char* name, const std::string& bytes)
    {
        ASSERT_EQ(writeFileReplacing(path(name), bytes), WriteResult::Ok);
    }
};

TEST(DataFileName, TheLastThreeCharactersBecomeTheFormat)
{
    EXPECT_EQ(dataFileName("/d/datos.txt", DataFileKind::Csv), "/d/datos.CSV");
    EXPECT_EQ(dataFileName("datos.SID", DataFileKind::Sid), "datos.SID");
    EXPECT_EQ(dataFileName("/d/notas.sid", DataFileKind::Tsv), "/d/notas.TSV");
    // Whatever they were: the dialog added no extension to "datos.c".
    EXPECT_EQ(dataFileName("datos.c", DataFileKind::Sid), "datoSID");
    // A name too short to lose three characters keeps them.
    EXPECT_EQ(dataFileName("/d/ab", DataFileKind::Sid), "/d/ab.SID");
}

TEST_F(CaptureFilesTest, ChannelsAreDescribedBySensorPercentOrNone)
{
    state.sensors.choose(0, tableIndexOf(2));
    state.sensors.choose(1, kSensorNone);
    state.sensors.choose(2, kSensorPercent);
    const SidChannels c = describeChannels(state.sensors);
    EXPECT_EQ(c[0].kind, SidSensorKind::Sensor);
    EXPECT_EQ(c[0].id, 2);
    EXPECT_TRUE(c[0].hasTable);
    EXPECT_EQ(c[0].valueDecimals(), 1);
    EXPECT_EQ(c[1].kind, SidSensorKind::None);
    EXPECT_EQ(c[2].kind, SidSensorKind::Unknown);
    EXPECT_EQ(c[2].valueDecimals(), 3);
    EXPECT_EQ(c[3].kind, SidSensorKind::Unknown);
}

TEST_F(CaptureFilesTest, SavingSidClearsTheUnsavedFlagAndExportsLeaveIt)
{
    capture();
    ASSERT_TRUE(state.capture.holdsUnsavedData());
    ASSERT_TRUE(saveCaptureFile(path("datos.CSV"), DataFileKind::Csv, state.capture, state.sensors,
                                false, messages));
    EXPECT_TRUE(state.capture.holdsUnsavedData());
    const std::string csv = test::slurp(path("datos.CSV"));
    EXPECT_EQ(csv.substr(0, 20), "\"Tiempo (segundos)\",");
    EXPECT_NE(csv.find("\r\n0.24,24.5,"), std::string::npos);

    ASSERT_TRUE(saveCaptureFile(path("datos.SID"), DataFileKind::Sid, state.capture, state.sensors,
                                false, messages));
    EXPECT_FALSE(state.capture.holdsUnsavedData());
    EXPECT_TRUE(messages.empty());
}

TEST_F(CaptureFilesTest, AFailedSaveKeepsTheOldFileAndTheFlag)
{
    capture();
    write("viejo.SID", "antes");
    // A folder in the file's place cannot be replaced by a file.
    std::filesystem::create_directory(path("carpeta.SID"));
    EXPECT_FALSE(saveCaptureFile(path("carpeta.SID"), DataFileKind::Sid, state.capture,
                                 state.sensors, false, messages));
    EXPECT_EQ(messages.last().caption, "Error de Tarvel");
    EXPECT_EQ(messages.last().text, "No se puede abrir archivo");
    EXPECT_EQ(messages.last().icon, MsgIcon::Exclamation);
    EXPECT_TRUE(state.capture.holdsUnsavedData());

    EXPECT_FALSE(saveCaptureFile(path("falta/datos.TSV"), DataFileKind::Tsv, state.capture,
                                 state.sensors, false, messages));
    EXPECT_EQ(messages.last().caption, "Amonestación de Tarvel");
    EXPECT_EQ(messages.last().text, "Error guardando archivo");
    EXPECT_EQ(test::slurp(path("viejo.SID")), "antes");
}

TEST_F(CaptureFilesTest, OpeningRestoresTheCaptureAndTheChannelsSensors)
{
    capture();
    ASSERT_TRUE(saveCaptureFile(path("datos.SID"), DataFileKind::Sid, state.capture, state.sensors,
                                false, messages));
    const CaptureRecord saved = state.capture.data;
    state.sensors.choose(0, kSensorPercent);
    state.sensors.choose(1, kSensorPercent);
    state.capture.start();
    ASSERT_EQ(state.capture.sampleCount(), 0);

    ASSERT_TRUE(openCaptureFile(path("datos.SID"), state.capture, state.sensors, messages));
    const CaptureRecord& r = state.capture.data;
    ASSERT_EQ(r.buffer.sampleCount, 3);
    EXPECT_EQ(r.buffer.time, saved.buffer.time);
    EXPECT_DOUBLE_EQ(r.buffer.analogue[0][1], 24.5);
    EXPECT_EQ(r.buffer.inputs[2], 0x10);
    EXPECT_EQ(r.layout.paneKind[0], 2);
    EXPECT_FALSE(state.capture.holdsUnsavedData());
    EXPECT_EQ(state.sensors.channel(0).sensor, tableIndexOf(2));
    EXPECT_EQ(state.sensors.channel(1).sensor, kSensorNone);
    EXPECT_EQ(state.sensors.channel(2).sensor, kSensorPercent);
    EXPECT_TRUE(messages.empty());
}

TEST_F(CaptureFilesTest, AnUnknownSensorJoinsTheTableWithAWarning)
{
    capture();
    ASSERT_TRUE(saveCaptureFile(path("datos.SID"), DataFileKind::Sid, state.capture, state.sensors,
                                false, messages));
    // Read where the table lacks the sensor: it is made from the file.
    state.sensors.reloadTable(path("vacia"));
    ASSERT_TRUE(openCaptureFile(path("datos.SID"), state.capture, state.sensors, messages));
    ASSERT_EQ(state.sensors.table().size(), 1);
    const ChannelSensor& ch = state.sensors.channel(0);
    EXPECT_EQ(ch.sensor, 0);
    EXPECT_EQ(ch.calibration.id, 2);
    EXPECT_FALSE(ch.calibration.hasTable);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().caption, "Amonestación de Tarvel");
    EXPECT_EQ(messages.last().text.rfind("No se puede encontrar tabla de calibración para "
                                         "sensorio de ",
                                         0),
              0u);
}

TEST_F(CaptureFilesTest, EveryRefusalLeavesTheCaptureAndTheSensorsAsTheyWere)
{
    capture();
    ASSERT_TRUE(saveCaptureFile(path("datos.SID"), DataFileKind::Sid, state.capture, state.sensors,
                                false, messages));
    const std::string good = test::slurp(path("datos.SID"));
    capture();  // a newer capture, not saved
    const CaptureRecord before = state.capture.data;
    const int tableSize = state.sensors.table().size();
    const int sensor0 = state.sensors.channel(0).sensor;

    auto edited = [&](const std::string& from, const std::string& to,
                      std::string t = std::string()) {
        if (t.empty()) t = good;
        t.replace(t.find(from), from.size(), to);
        return t;
    };
    struct Case {
        std::string bytes;
        const char* text;
    };
    const std::string notOurs =
        "Tarvel2 solo puede leer los archivos de SID que fueron creados por Tarvel";
    const Case cases[] = {
        {edited("Tarvel 2", "Tarvel 3"), notOurs.c_str()},
        {edited("%%datasize,3,", "%%datasize,1002,"), "Error del archivo SID"},
        {edited("%%DH_frequencydata,10,", "%%DH_frequencydata,11,"), "Error del archivo SID"},
        // A sensor the table lacks, then a field that is not recognised: no
        // temporary sensor is left behind.
        {edited("%%fieldname,6,Input 1", "%%fieldname,6,Velocidad",
                edited("%%EE_sensorID,2,2", "%%EE_sensorID,2,77")),
         "Error del archivo SID"},
        {good.substr(0, good.size() - 10), "Error del archivo SID"},
    };
    for (const Case& c : cases) {
        write("malo.SID", c.bytes);
        messages.shown.clear();
        EXPECT_FALSE(openCaptureFile(path("malo.SID"), state.capture, state.sensors, messages));
        ASSERT_EQ(messages.shown.size(), 1u) << c.text;
        EXPECT_EQ(messages.last().caption, "Error de Tarvel");
        EXPECT_EQ(messages.last().text, c.text);
        EXPECT_EQ(state.capture.sampleCount(), before.buffer.sampleCount);
        EXPECT_EQ(state.capture.data.buffer.time, before.buffer.time);
        EXPECT_EQ(state.capture.state().span, before.state.span);
        EXPECT_EQ(state.capture.data.layout.paneKind, before.layout.paneKind);
        EXPECT_TRUE(state.capture.holdsUnsavedData());
        EXPECT_EQ(state.sensors.table().size(), tableSize);
        EXPECT_EQ(state.sensors.channel(0).sensor, sensor0);
    }

    messages.shown.clear();
    EXPECT_FALSE(openCaptureFile(path("no-existe.SID"), state.capture, state.sensors, messages));
    EXPECT_EQ(messages.last().text, "No se puede abrir archivo");
    EXPECT_EQ(messages.last().caption, "Error de Tarvel");
    EXPECT_EQ(state.capture.sampleCount(), before.buffer.sampleCount);
}

}  // namespace
}  // namespace tarvel
