// The writers of the data files: SID, CSV and TSV.

#include "datalog/sid_file.h"

#include "platform/number_text.h"

namespace tarvel {

namespace {

// SID lines were written through a text-mode stream that turned the "\r\n"
// of each line into "\r\r\n".
constexpr std::string_view kSidEnd = "\r\r\n";
constexpr std::string_view kExportEnd = "\r\n";
// A reading in percent (a sensor without a table, or none known).
constexpr int kPercentDecimals = 3;

class Writer {
public:
    explicit Writer(std::string& out) : out_(out) {}
    Writer& text(std::string_view s)
    {
        out_ += s;
        return *this;
    }
    Writer& number(long long v)
    {
        out_ += std::to_string(v);
        return *this;
    }
    Writer& real(double v, int decimals)
    {
        appendFixed(out_, v, decimals);
        return *this;
    }
    // ",%d" each.
    template <class Array>
    Writer& list(const Array& values)
    {
        for (const auto v : values) text(",").number(v);
        return *this;
    }

private:
    std::string& out_;
};

void writeFieldLines(Writer& w, int field, std::string_view name, std::string_view units)
{
    w.text("%%fieldname,").number(field).text(",").text(name).text(kSidEnd);
    w.text("%%fieldunits,").number(field).text(",").text(units).text(kSidEnd);
}

void writeAnalogueField(Writer& w, int field, const SidChannel& c)
{
    if (c.kind == SidSensorKind::Sensor) {
        writeFieldLines(w, field, c.name, c.units);
        w.text("%%maxmin,").number(field).text(",").real(c.maximum, c.decimals).text(",");
        w.real(c.minimum, c.decimals).text(kSidEnd);
        w.text("%%EE_sensorID,").number(field).text(",").number(c.id).text(kSidEnd);
        return;
    }
    writeFieldLines(w, field, c.kind == SidSensorKind::None ? "None" : "Unknown", "percent");
    w.text("%%maxmin,").number(field).text(",100,0").text(kSidEnd);
    w.text("%%EE_sensorID,").number(field).text(",0").text(kSidEnd);
}

void writeMarkFields(Writer& w, int& field, std::string_view word, bool numbersFromZero)
{
    for (int i = 0; i < kIoCount; ++i, ++field) {
        const std::string name = std::string(word) + std::to_string(numbersFromZero ? i : i + 1);
        writeFieldLines(w, field, name, "mark");
        w.text("%%maxmin,").number(field).text(",1,0").text(kSidEnd);
    }
}

void writeHeader(Writer& w, const CaptureRecord& r, const SidChannels& channels,
                 bool numbersFromZero)
{
    w.text("%%identifier,SID").text(kSidEnd);
    w.text("%%datasize,").number(r.buffer.sampleCount).text(",").number(kSidFields).text(kSidEnd);
    w.text("%%title,Captured Data").text(kSidEnd);
    w.text("%%filedescription,").text(kSidDescription).text(kSidEnd);
    w.text("%%fieldname,1,Time").text(kSidEnd);
    w.text("%%fieldunits,1,seconds").text(kSidEnd);
    w.text("%%maxmin,1,").real(r.state.span / 100.0, 2).text(",0").text(kSidEnd);
    int field = 2;
    for (const SidChannel& c : channels) writeAnalogueField(w, field++, c);
    writeMarkFields(w, field, "Input ", numbersFromZero);
    writeMarkFields(w, field, "Output ", numbersFromZero);
    for (int m = 0; m < kMotorCount; ++m, ++field) {
        writeFieldLines(w, field, std::string("Motor ") + static_cast<char>('A' + m), "percent");
        w.text("%%maxmin,").number(field).text(",100,-100").text(kSidEnd);
    }
}

void writeFrequencyLine(Writer& w, const CaptureRecord& r)
{
    const FrequencyCounts& f = r.frequency;
    w.text("%%DH_frequencydata,").number(r.state.binCount).text(",").number(f.frequencyMode);
    w.list(f.frequencyMax);
    for (int b = 0; b < r.state.binCount && b < kFrequencyBins; ++b)
        w.list(f.counts[static_cast<std::size_t>(b)]);
    w.text(kSidEnd);
}

void writeLayoutLine(Writer& w, const GraphLayout& g)
{
    w.text("%%DH_graphpositions");
    w.list(g.paneKind).list(g.paneWeight).list(g.paneChannels);
    w.list(g.analogueGraph).list(g.inputGraph).list(g.outputGraph).list(g.motorGraph);
    w.list(g.frequencyGraph);
    // Six decimals, as "%lf" writes them.
    for (const double v : g.yMin) w.text(",").real(v, 6);
    for (const double v : g.yMax) w.text(",").real(v, 6);
    w.list(g.labelDecimals).list(g.axisChannel).text(kSidEnd);
}

// One sample: the time in seconds, the channels, the input and output bits
// and the motors, each after `separator`.
void writeRow(Writer& w, const CaptureBuffer& b, int n, const SidChannels& channels,
              std::string_view separator)
{
    const auto k = static_cast<std::size_t>(n);
    w.real(b.time[k] / 100.0, 2);
    for (int c = 0; c < kSensorChannels; ++c) {
        const SidChannel& ch = channels[static_cast<std::size_t>(c)];
        w.text(separator).real(b.analogue[static_cast<std::size_t>(c)][k], ch.valueDecimals());
    }
    for (const std::uint8_t byte : {b.inputs[k], b.outputs[k]})
        for (int i = 0; i < kIoCount; ++i) w.text(separator).text((byte >> i) & 1 ? "1" : "0");
    for (const auto& motor : b.motors) w.text(separator).number(motor[k]);
}

}  // namespace

int SidChannel::valueDecimals() const
{
    return kind == SidSensorKind::Sensor && hasTable ? decimals : kPercentDecimals;
}

std::string serializeSid(const CaptureRecord& record, const SidChannels& channels,
                         bool numbersFromZero)
{
    std::string out;
    out.reserve(8192 + static_cast<std::size_t>(record.buffer.sampleCount) * 96);
    Writer w(out);
    writeHeader(w, record, channels, numbersFromZero);
    writeFrequencyLine(w, record);
    writeLayoutLine(w, record.layout);
    for (int n = 0; n < record.buffer.sampleCount; ++n) {
        writeRow(w, record.buffer, n, channels, ",");
        w.text(kSidEnd);
    }
    return out;
}

std::string serializeExport(ExportFormat format, const CaptureBuffer& buffer,
                            const SidChannels& channels, bool numbersFromZero)
{
    const bool csv = format == ExportFormat::Csv;
    const std::string_view separator = csv ? "," : "\t";
    std::string out;
    out.reserve(1024 + static_cast<std::size_t>(buffer.sampleCount) * 96);
    Writer w(out);
    // Titles: in double quotes and after a comma (CSV), after a tab (TSV).
    bool first = true;
    auto title = [&](const std::string& t) {
        if (!first) w.text(separator);
        first = false;
        if (csv) w.text("\"");
        w.text(t);
        if (csv) w.text("\"");
    };
    title("Tiempo (segundos)");
    for (const SidChannel& c : channels) {
        if (c.kind == SidSensorKind::Sensor)
            title(c.name + " (" + c.units + ")");
        else
            title(c.kind == SidSensorKind::None ? "Ning\xFAn (porcentaje)"
                                                : "Desconocido (porcentaje)");
    }
    for (const char* word : {"Entrada ", "Salida "})
        for (int i = 0; i < kIoCount; ++i)
            title(word + std::to_string(numbersFromZero ? i : i + 1));
    for (int m = 0; m < kMotorCount; ++m)
        title(std::string("Motor ") + static_cast<char>('A' + m) + " (porcentaje)");
    w.text(kExportEnd);
    for (int n = 0; n < buffer.sampleCount; ++n) {
        writeRow(w, buffer, n, channels, separator);
        w.text(kExportEnd);
    }
    return out;
}

Refusal sidCannotCreate()
{
    return {std::string(caption::Error), "No se puede abrir archivo", MsgIcon::Exclamation};
}

Refusal sidCannotRead()
{
    return {std::string(caption::Error), "No se puede abrir archivo", MsgIcon::None};
}

Refusal sidNotOurs()
{
    return {std::string(caption::Error),
            "Tarvel2 solo puede leer los archivos de SID que fueron creados por Tarvel",
            MsgIcon::None};
}

Refusal sidMalformed()
{
    return {std::string(caption::Error), "Error del archivo SID", MsgIcon::None};
}

Refusal exportCannotSave()
{
    return {std::string(caption::Warning), "Error guardando archivo", MsgIcon::None};
}

}  // namespace tarvel
