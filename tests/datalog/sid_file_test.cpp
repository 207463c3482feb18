// The data files byte for byte, and the SID reader on files of this program
// and on files it must refuse.

#include "datalog/sid_file.h"

#include <gtest/gtest.h>

#include "datalog/capture_time.h"

namespace tarvel {
namespace {

constexpr const char* kEnd = "\r\r\n";

// Two samples of a capture fitted to three tenths, a frequency graph of
// input 2 and one analogue graph of channel 1.
CaptureRecord knownCapture()
{
    CaptureRecord r;
    CaptureBuffer& b = r.buffer;
    b.sampleCount = 2;
    b.time[0] = 12;
    b.time[1] = 29;
    const double values[2][4] = {{21.5, 33.333, 7.0, 0.0}, {22.04, 50.0, 0.5, 0.0}};
    for (std::size_t c = 0; c < 4; ++c) {
        b.analogue[c][0] = values[0][c];
        b.analogue[c][1] = values[1][c];
    }
    b.inputs = {0x81, 0x00};
    b.outputs = {0x02, 0xFF};
    b.motors[0][0] = 100;
    b.motors[1][0] = -40;
    b.motors[3][0] = 5;
    b.motors[3][1] = -100;
    r.state.span = 3600;
    r.state.binCount = 3;
    r.frequency.frequencyMax = {10, 20};
    r.frequency.counts[0][1] = 1;
    r.frequency.counts[1][1] = 2;
    r.frequency.counts[1][7] = 3;
    GraphLayout& g = r.layout;
    g.paneKind = {0, 14, -2, -2, -2, -2};
    g.paneWeight = {5, 4, 0, 0, 0, 0};
    g.paneChannels = {1, 1, 0, 0, 0, 0};
    g.totalWeight = 9;
    g.analogueGraph[0] = 0;
    g.frequencyGraph[1] = 14;
    g.yMin[0] = -20.0;
    g.yMax[0] = 110.0;
    g.labelDecimals[0] = 1;
    g.axisChannel[0] = 0;
    g.analogueShown = 1;
    return r;
}

// A sensor with a table of one decimal, one without a table, one unknown
// and one absent.
SidChannels knownChannels()
{
    SidChannels c;
    c[0] = {SidSensorKind::Sensor, 2, "Temperatura", "grados C", -20.0, 110.0, 1, true};
    c[1] = {SidSensorKind::Sensor, 1, "Luz", "porcentaje", 0.0, 100.0, 0, false};
    c[2].kind = SidSensorKind::Unknown;
    c[3].kind = SidSensorKind::None;
    return c;
}

std::string markFields(int first, const char* word, int fromNumber)
{
    std::string s;
    for (int i = 0; i < 8; ++i) {
        const std::string n = std::to_string(first + i);
        s += "%%fieldname," + n + "," + word + std::to_string(fromNumber + i) + kEnd;
        s += "%%fieldunits," + n + ",mark" + kEnd;
        s += "%%maxmin," + n + ",1,0" + kEnd;
    }
    return s;
}

std::string expectedSid(int fromNumber)
{
    std::string s = std::string("%%identifier,SID") + kEnd + "%%datasize,2,25" + kEnd +
                    "%%title,Captured Data" + kEnd +
                    "%%filedescription,Data Captured using Tarvel 2" + kEnd + "%%fieldname,1,Time" +
                    kEnd + "%%fieldunits,1,seconds" + kEnd + "%%maxmin,1,36.00,0" + kEnd;
    s += std::string("%%fieldname,2,Temperatura") + kEnd + "%%fieldunits,2,grados C" + kEnd +
         "%%maxmin,2,110.0,-20.0" + kEnd + "%%EE_sensorID,2,2" + kEnd;
    s += std::string("%%fieldname,3,Luz") + kEnd + "%%fieldunits,3,porcentaje" + kEnd +
         "%%maxmin,3,100,0" + kEnd + "%%EE_sensorID,3,1" + kEnd;
    s += std::string("%%fieldname,4,Unknown") + kEnd + "%%fieldunits,4,percent" + kEnd +
         "%%maxmin,4,100,0" + kEnd + "%%EE_sensorID,4,0" + kEnd;
    s += std::string("%%fieldname,5,None") + kEnd + "%%fieldunits,5,percent" + kEnd +
         "%%maxmin,5,100,0" + kEnd + "%%EE_sensorID,5,0" + kEnd;
    s += markFields(6, "Input ", fromNumber) + markFields(14, "Output ", fromNumber);
    for (int m = 0; m < 4; ++m) {
        const std::string n = std::to_string(22 + m);
        s += "%%fieldname," + n + ",Motor " + static_cast<char>('A' + m) + kEnd;
        s += "%%fieldunits," + n + ",percent" + kEnd;
        s += "%%maxmin," + n + ",100,-100" + kEnd;
    }
    s += std::string("%%DH_frequencydata,3,1,10,20") + ",0,1,0,0,0,0,0,0" + ",0,2,0,0,0,0,0,3" +
         ",0,0,0,0,0,0,0,0" + kEnd;
    s += std::string("%%DH_graphpositions") + ",0,14,-2,-2,-2,-2" + ",5,4,0,0,0,0" +
         ",1,1,0,0,0,0" + ",0,-1,-1,-1" + ",-1,-1,-1,-1,-1,-1,-1,-1" + ",-1,-1,-1,-1,-1,-1,-1,-1" +
         ",-1,-1,-1,-1" + ",-1,14,-1,-1,-1,-1,-1,-1" + ",-20.000000,0.000000,0.000000,0.000000" +
         ",110.000000,100.000000,100.000000,100.000000" + ",1,0,0,-1" + kEnd;
    s += std::string("0.12,21.5,33.333,7.000,0.000,1,0,0,0,0,0,0,1,0,1,0,0,0,0,0,0,100,-40,0,5") +
         kEnd;
    s += std::string("0.29,22.0,50.000,0.500,0.000,0,0,0,0,0,0,0,0,1,1,1,1,1,1,1,1,0,0,0,-100") +
         kEnd;
    return s;
}

TEST(SidWriter, WritesTheHeaderLayoutAndRowsByteForByte)
{
    EXPECT_EQ(serializeSid(knownCapture(), knownChannels(), false), expectedSid(1));
    // Under the 0-7 numbering the inputs and outputs are named from 0.
    EXPECT_EQ(serializeSid(knownCapture(), knownChannels(), true), expectedSid(0));
    // No sample: the header alone.
    CaptureRecord empty = knownCapture();
    empty.buffer.sampleCount = 0;
    const std::string header = serializeSid(empty, knownChannels(), false);
    EXPECT_EQ(header.substr(header.size() - 3), kEnd);
    EXPECT_EQ(header.find("\n0."), std::string::npos);
    EXPECT_NE(header.find("%%datasize,0,25"), std::string::npos);
}

TEST(ExportWriter, CsvAndTsvTitlesAndRows)
{
    const std::string csv =
        serializeExport(ExportFormat::Csv, knownCapture().buffer, knownChannels(), false);
    const std::string csvTitles =
        "\"Tiempo (segundos)\",\"Temperatura (grados C)\",\"Luz (porcentaje)\","
        "\"Desconocido (porcentaje)\",\"Ning\xFAn (porcentaje)\","
        "\"Entrada 1\",\"Entrada 2\",\"Entrada 3\",\"Entrada 4\",\"Entrada 5\",\"Entrada 6\","
        "\"Entrada 7\",\"Entrada 8\",\"Salida 1\",\"Salida 2\",\"Salida 3\",\"Salida 4\","
        "\"Salida 5\",\"Salida 6\",\"Salida 7\",\"Salida 8\",\"Motor A (porcentaje)\","
        "\"Motor B (porcentaje)\",\"Motor C (porcentaje)\",\"Motor D (porcentaje)\"\r\n";
    EXPECT_EQ(csv,
              csvTitles +
                  "0.12,21.5,33.333,7.000,0.000,1,0,0,0,0,0,0,1,0,1,0,0,0,0,0,0,100,-40,0,5\r\n"
                  "0.29,22.0,50.000,0.500,0.000,0,0,0,0,0,0,0,0,1,1,1,1,1,1,1,1,0,0,0,-100\r\n");

    const std::string tsv =
        serializeExport(ExportFormat::Tsv, knownCapture().buffer, knownChannels(), true);
    const std::string tsvTitles =
        "Tiempo (segundos)\tTemperatura (grados C)\tLuz (porcentaje)\t"
        "Desconocido (porcentaje)\tNing\xFAn (porcentaje)\t"
        "Entrada 0\tEntrada 1\tEntrada 2\tEntrada 3\tEntrada 4\tEntrada 5\tEntrada 6\tEntrada 7\t"
        "Salida 0\tSalida 1\tSalida 2\tSalida 3\tSalida 4\tSalida 5\tSalida 6\tSalida 7\t"
        "Motor A (porcentaje)\tMotor B (porcentaje)\tMotor C (porcentaje)\t"
        "Motor D (porcentaje)\r\n";
    EXPECT_EQ(tsv.substr(0, tsvTitles.size()), tsvTitles);
    EXPECT_EQ(tsv.substr(tsvTitles.size()),
              "0.12\t21.5\t33.333\t7.000\t0.000\t1\t0\t0\t0\t0\t0\t0\t1\t0\t1\t0\t0\t0\t0\t0\t0"
              "\t100\t-40\t0\t5\r\n"
              "0.29\t22.0\t50.000\t0.500\t0.000\t0\t0\t0\t0\t0\t0\t0\t0\t1\t1\t1\t1\t1\t1\t1\t1"
              "\t0\t0\t0\t-100\r\n");
}

// A table with the two sensors of knownChannels().
SensorTable knownTable()
{
    SensorTable t;
    SensorEntry luz;
    luz.calibration.id = 1;
    luz.calibration.name = "Luz";
    t.add(luz);
    SensorEntry temp;
    temp.fileName = "TEMP.CAL";
    temp.calibration.id = 2;
    temp.calibration.name = "Temperatura";
    temp.calibration.hasTable = true;
    temp.calibration.valueDecimals = 1;
    t.add(temp);
    return t;
}

TEST(SidReader, ReadsBackWhatItWrote)
{
    const CaptureRecord written = knownCapture();
    for (const bool fromZero : {false, true}) {
        const auto read = parseSid(serializeSid(written, knownChannels(), fromZero),
                                   CaptureRecord{}, knownTable());
        ASSERT_TRUE(read) << read.refusal().text;
        const CaptureRecord& r = read->record;
        ASSERT_EQ(r.buffer.sampleCount, 2);
        // "0.29" is 29 hundredths, not 28.
        EXPECT_EQ(r.buffer.time[0], 12u);
        EXPECT_EQ(r.buffer.time[1], 29u);
        EXPECT_DOUBLE_EQ(r.buffer.analogue[0][1], 22.0);  // to the channel's decimal
        EXPECT_DOUBLE_EQ(r.buffer.analogue[1][0], 33.333);
        EXPECT_DOUBLE_EQ(r.buffer.analogue[2][1], 0.5);
        // The bits land where they were, whichever numbering named them.
        EXPECT_EQ(r.buffer.inputs[0], 0x81);
        EXPECT_EQ(r.buffer.outputs[0], 0x02);
        EXPECT_EQ(r.buffer.outputs[1], 0xFF);
        EXPECT_EQ(r.buffer.motors[1][0], -40);
        EXPECT_EQ(r.buffer.motors[3][1], -100);
        EXPECT_EQ(r.state.span, 3600u);
        EXPECT_EQ(r.state.interval, 4u);
        EXPECT_EQ(r.state.endLabel, "36 segundos");
        EXPECT_FALSE(r.state.unsaved);
        EXPECT_TRUE(r.state.hasFrequencyGraph);
        EXPECT_EQ(r.state.binCount, 3);
        EXPECT_EQ(r.frequency.counts, written.frequency.counts);
        EXPECT_EQ(r.frequency.frequencyMax, written.frequency.frequencyMax);
        EXPECT_EQ(r.layout.paneKind, written.layout.paneKind);
        EXPECT_EQ(r.layout.paneWeight, written.layout.paneWeight);
        EXPECT_EQ(r.layout.totalWeight, 9);
        EXPECT_EQ(r.layout.frequencyGraph, written.layout.frequencyGraph);
        EXPECT_EQ(r.layout.yMin, written.layout.yMin);
        EXPECT_EQ(r.layout.yMax, written.layout.yMax);
        EXPECT_EQ(r.layout.axisChannel, written.layout.axisChannel);
        EXPECT_EQ(r.layout.labelDecimals, written.layout.labelDecimals);
        EXPECT_EQ(r.layout.analogueShown, 1);
        EXPECT_EQ(r.layout.yStep[0], 10);  // a range of 130
        EXPECT_EQ(r.layout.gridStep, 500u);
        ASSERT_EQ(read->analogueFields, 4);
        EXPECT_EQ(read->sensors[0].kind, SidSensorChoice::TableEntry);
        EXPECT_EQ(read->sensors[0].index, 1);
        EXPECT_EQ(read->sensors[1].index, 0);
        EXPECT_EQ(read->sensors[2].kind, SidSensorChoice::Unknown);
        EXPECT_EQ(read->sensors[3].kind, SidSensorChoice::None);
        EXPECT_TRUE(read->temporaries.empty());
        EXPECT_TRUE(read->warnings.empty());
    }
}

TEST(SidReader, SpansComeBackInWholeSecondsButNeverAsNothing)
{
    auto spanOf = [](const char* maxmin) {
        std::string text = serializeSid(knownCapture(), knownChannels(), false);
        const std::size_t at = text.find("%%maxmin,1,36.00,0");
        text.replace(at, 18, maxmin);
        const auto read = parseSid(text, CaptureRecord{}, knownTable());
        return read ? read->record.state.span : 0u;
    };
    EXPECT_EQ(spanOf("%%maxmin,1,1.50,0"), 100u);
    EXPECT_EQ(spanOf("%%maxmin,1,0.50,0"), 50u);
    EXPECT_EQ(spanOf("%%maxmin,1,0.00,0"), 1u);
    EXPECT_EQ(spanOf("%%maxmin,1,42949672.00,0"), 4294967200u);
    EXPECT_EQ(spanOf("%%maxmin,1,42949673.00,0"), 0u);  // refused
}

TEST(SidReader, TakesLineEndsOfEveryKindAndFilesWithoutInputs)
{
    const std::string sid = serializeSid(knownCapture(), knownChannels(), false);
    std::string lf, crlf;
    for (const char c : sid) {
        if (c == '\r') continue;
        if (c == '\n') crlf += '\r';
        lf += c;
        crlf += c;
    }
    for (const std::string& text : {lf, crlf}) {
        const auto read = parseSid(text, CaptureRecord{}, knownTable());
        ASSERT_TRUE(read);
        EXPECT_EQ(read->record.buffer.time[1], 29u);
        EXPECT_EQ(read->record.buffer.motors[3][1], -100);
    }

    // No input fields: the sixth field is the first output, and the rows
    // have eight values fewer.
    std::string noInputs =
        "%%identifier,SID\n%%datasize,1,13\n%%title,Captured Data\n"
        "%%filedescription,Data Captured using Tarvel 2\n"
        "%%fieldname,1,Time\n%%fieldunits,1,seconds\n%%maxmin,1,120.00,0\n";
    for (int n = 2; n <= 5; ++n) {
        const std::string f = std::to_string(n);
        noInputs += "%%fieldname," + f + ",Unknown\n%%fieldunits," + f + ",percent\n%%maxmin," + f +
                    ",100,0\n%%EE_sensorID," + f + ",0\n";
    }
    for (int n = 6; n <= 13; ++n) {
        const std::string f = std::to_string(n);
        noInputs += "%%fieldname," + f + ",Output " + std::to_string(n - 5) + "\n%%fieldunits," +
                    f + ",mark\n%%maxmin," + f + ",1,0\n";
    }
    noInputs += "1.00,1,2,3,4,0,1,0,0,0,0,0,1\n";
    CaptureRecord base;
    base.buffer.inputs[0] = 0x3C;
    base.frequency.counts[2][2] = 9;
    base.layout.paneKind[0] = 3;
    const auto read = parseSid(noInputs, base, knownTable());
    ASSERT_TRUE(read) << read.refusal().text;
    EXPECT_EQ(read->record.buffer.outputs[0], 0x82);
    EXPECT_DOUBLE_EQ(read->record.buffer.analogue[3][0], 4.0);
    // What the file does not hold stays: the inputs, the counts, the layout.
    EXPECT_EQ(read->record.buffer.inputs[0], 0x3C);
    EXPECT_EQ(read->record.frequency.counts[2][2], 9);
    EXPECT_EQ(read->record.layout.paneKind[0], 3);
}

TEST(SidReader, UnknownSensorsBecomeTemporaryWhileTheTableHasRoom)
{
    std::string text = serializeSid(knownCapture(), knownChannels(), false);
    // The table lacks both sensors of the file.
    const auto read = parseSid(text, CaptureRecord{}, SensorTable{});
    ASSERT_TRUE(read);
    ASSERT_EQ(read->temporaries.size(), 2u);
    const Calibration& temp = read->temporaries[0].calibration;
    EXPECT_EQ(temp.id, 2);
    EXPECT_EQ(temp.name, "Temperatura");
    EXPECT_EQ(temp.units, "grados C");
    EXPECT_EQ(temp.shortUnits, "gra");
    EXPECT_DOUBLE_EQ(temp.maximum, 110.0);
    EXPECT_DOUBLE_EQ(temp.minimum, -20.0);
    EXPECT_FALSE(temp.hasTable);
    EXPECT_TRUE(read->temporaries[0].fileName.empty());
    EXPECT_EQ(read->sensors[0].kind, SidSensorChoice::Temporary);
    EXPECT_EQ(read->sensors[1].index, 1);
    ASSERT_EQ(read->warnings.size(), 2u);
    EXPECT_EQ(read->warnings[0].caption, "Amonestación de Tarvel");
    EXPECT_EQ(read->warnings[0].text,
              "No se puede encontrar tabla de calibración para sensorio de Temperatura, creando "
              "información temporario");

    // A table one short of full takes one; the other channel reads in percent.
    SensorTable almostFull;
    for (int i = 0; i < kSensorTableCapacity - 1; ++i) {
        SensorEntry e;
        e.calibration.id = 100 + i;
        almostFull.add(e);
    }
    const auto crowded = parseSid(text, CaptureRecord{}, almostFull);
    ASSERT_TRUE(crowded);
    EXPECT_EQ(crowded->temporaries.size(), 1u);
    EXPECT_EQ(crowded->sensors[1].kind, SidSensorChoice::Unknown);
    EXPECT_NE(crowded->warnings[1].text.find("llena"), std::string::npos);
}

TEST(SidReader, RefusesWhatItCannotHoldOrRecognise)
{
    const std::string good = serializeSid(knownCapture(), knownChannels(), false);
    auto edited = [&](const std::string& from, const std::string& to) {
        std::string t = good;
        const std::size_t at = t.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        t.replace(at, from.size(), to);
        return t;
    };
    auto refusal = [&](const std::string& text) {
        const auto read = parseSid(text, CaptureRecord{}, knownTable());
        return read ? std::string("read") : read.refusal().text;
    };
    const std::string notOurs =
        "Tarvel2 solo puede leer los archivos de SID que fueron creados por Tarvel";
    EXPECT_EQ(refusal(edited("using Tarvel 2", "using Another 2")), notOurs);
    // The description beyond the first four lines is not looked for.
    EXPECT_EQ(refusal(edited("%%identifier,SID\r\r\n", "%%identifier,SID\r\r\n%%x,1\r\r\n")),
              notOurs);
    EXPECT_EQ(refusal(""), notOurs);

    const std::string malformed = "Error del archivo SID";
    EXPECT_EQ(refusal(edited("%%datasize,2,25", "%%datasize,1002,25")), malformed);
    EXPECT_EQ(refusal(edited("%%datasize,2,25", "%%datasize,-1,25")), malformed);
    EXPECT_EQ(refusal(edited("%%DH_frequencydata,3,", "%%DH_frequencydata,11,")), malformed);
    EXPECT_EQ(refusal(edited("%%DH_frequencydata,3,", "%%DH_frequencydata,0,")), malformed);
    // A sixth field named neither as an input, an output nor a motor.
    EXPECT_EQ(refusal(edited("%%fieldname,6,Input 1", "%%fieldname,6,Speed 1")), malformed);
    // More fields declared than the file names.
    EXPECT_EQ(refusal(edited("%%datasize,2,25", "%%datasize,2,26")), malformed);
    EXPECT_EQ(refusal(edited("%%fieldname,6,Input 1", "%%fieldname,6,Input 9")), malformed);
    // Numbers at the ends of the range, not wrapped round into a bit.
    EXPECT_EQ(refusal(edited("%%fieldname,6,Input 1", "%%fieldname,6,Input -2147483648")),
              malformed);
    EXPECT_EQ(refusal(edited("%%fieldname,6,Input 1", "%%fieldname,6,Input -99999999999")),
              malformed);
    EXPECT_EQ(refusal(edited("%%fieldname,6,Input 1", "%%fieldname,6,Input 2147483647")),
              malformed);
    // A file that ends before its last row, a row that lacks values.
    EXPECT_EQ(refusal(good.substr(0, good.rfind("0.29"))), malformed);
    EXPECT_EQ(refusal(edited(",0,0,0,-100\r\r\n", ",0,0,-100\r\r\n")), malformed);
    EXPECT_EQ(refusal(edited(",0,0,0,-100\r\r\n", ",0,0,0,-101\r\r\n")), malformed);
    EXPECT_EQ(refusal(edited("%%DH_graphpositions,0,14", "%%DH_graphpositions,0,16")), malformed);
    EXPECT_EQ(refusal(edited("%%EE_sensorID,2,2", "%%EE_sensorID,2,-5")), malformed);
    EXPECT_EQ(refusal(good), "read");
}

}  // namespace
}  // namespace tarvel
