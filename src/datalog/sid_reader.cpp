// The SID reader. Header keys are found by a search from the top of the file
// that looks at no more header lines than a file of this program has before
// the key, so a file from elsewhere with the right words in the wrong places
// is not read as ours. The rows are read into a copy of the capture, which
// takes the capture's place only when the whole file was read.

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "datalog/capture_time.h"
#include "datalog/sid_file.h"
#include "platform/cp1252.h"
#include "platform/number_text.h"

namespace tarvel {

namespace {

// A value is read as at most this many characters.
constexpr std::size_t kValueMax = 253;
// Header lines up to the end of field 1 (the time), and per later field.
constexpr int kTimeFieldLines = 7;
constexpr int kAnalogueFieldLines = 4;
constexpr int kMarkFieldLines = 3;
// "%filedescription" and "%datasize" lie within the first four lines.
constexpr int kSizeLines = 4;
constexpr int kFirstAnalogueField = 2;
constexpr int kFrequencyHead = 4;  // bins, mode, the two tops
constexpr int kLayoutValues = 62;

struct FieldName {
    int field = 0;
    int number = 0;
};

class SidText {
public:
    explicit SidText(std::string_view bytes)
    {
        // Every CR is dropped: lines may end in CR CR LF, CR LF or LF.
        text_.reserve(bytes.size());
        for (const char c : bytes)
            if (c != '\r') text_ += c;
    }

    // Where the values of a key line begin, the line found among the first
    // `limit` header lines; with a field number, only that field's line.
    std::optional<std::size_t> find(std::string_view key, int limit, int field = -1) const
    {
        const std::string_view t = text_;
        std::size_t pos = 0;
        for (int line = 0; line < limit; ++line) {
            const std::size_t percent = t.find('%', pos);
            if (percent == std::string_view::npos) return std::nullopt;
            // The first '%' goes: "%%datasize," is the key "%datasize".
            const std::size_t start = percent + 1;
            const std::size_t comma = t.find(',', start);
            const std::size_t keyEnd = std::min({comma, t.size(), start + kValueMax});
            std::size_t next = keyEnd;
            if (comma != std::string_view::npos && keyEnd == comma &&
                t.substr(start, keyEnd - start) == key) {
                if (field < 0) return comma + 1;
                // The field's one or two digits and the comma after them.
                std::size_t p = comma + 1;
                int number = 0, digits = 0;
                while (digits < 2 && p < t.size() && t[p] >= '0' && t[p] <= '9') {
                    number = number * 10 + (t[p++] - '0');
                    ++digits;
                }
                if (digits > 0 && number == field && p < t.size() && t[p] == ',') return p + 1;
                next = p;
            }
            // On to the end of the line.
            while (next < t.size() && static_cast<unsigned char>(t[next]) >= 0x20) ++next;
            pos = next;
        }
        return std::nullopt;
    }

    std::string_view restOfLine(std::size_t pos) const
    {
        const std::string_view t = std::string_view(text_).substr(std::min(pos, text_.size()));
        return t.substr(0, t.find('\n'));
    }

    const std::string& text() const { return text_; }

private:
    std::string text_;
};

// The first `count` values of a line: each up to the next comma, the last
// one up to the line's end; none when the line has fewer.
std::optional<std::vector<std::string_view>> splitValues(std::string_view line, int count)
{
    std::vector<std::string_view> values;
    values.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const bool last = i == count - 1;
        const std::size_t comma = last ? std::string_view::npos : line.find(',');
        if (!last && comma == std::string_view::npos) return std::nullopt;
        values.push_back(line.substr(0, std::min(comma, kValueMax)));
        if (!last) line.remove_prefix(comma + 1);
    }
    return values;
}

int intValue(std::string_view v)
{
    const std::int64_t n = leadingInteger(v);
    return static_cast<int>(std::clamp<std::int64_t>(n, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

bool beginsWith(std::string_view s, std::string_view prefix)
{
    return s.substr(0, prefix.size()) == prefix;
}

bool within(int v, int low, int high)
{
    return v >= low && v <= high;
}

class SidParser {
public:
    SidParser(std::string_view bytes, const CaptureRecord& base, const SensorTable& table)
        : text_(bytes), table_(table)
    {
        read_.record = base;
    }

    Result<SidRead> parse()
    {
        if (!readDescription()) return sidNotOurs();
        if (!readSize() || !readSpan()) return sidMalformed();
        readAnalogueFields();
        if (!valid_ || !readMarkFields() || !readFrequencies() || !readLayout() || !readRows())
            return sidMalformed();
        CaptureState& s = read_.record.state;
        s.interval = intervalOfSpan(s.span);
        s.hasFrequencyGraph = read_.record.layout.hasFrequencyGraph();
        s.unsaved = false;
        relabelTimeAxis(s, read_.record.layout);
        return std::move(read_);
    }

private:
    bool readDescription()
    {
        const auto p = text_.find("%filedescription", kSizeLines);
        return p && text_.restOfLine(*p) == kSidDescription;
    }

    bool readSize()
    {
        const auto p = text_.find("%datasize", kSizeLines);
        if (!p) return false;
        const auto v = splitValues(text_.restOfLine(*p), 2);
        if (!v) return false;
        const int samples = intValue((*v)[0]);
        fields_ = intValue((*v)[1]);
        // The buffer holds no more: a longer file is refused, never cut.
        if (!within(samples, 0, kCaptureCapacity)) return false;
        read_.record.buffer.sampleCount = samples;
        return true;
    }

    bool readSpan()
    {
        const auto p = text_.find("%maxmin", kTimeFieldLines, 1);
        if (!p) return false;
        const auto v = splitValues(text_.restOfLine(*p), 2);
        if (!v) return false;
        // Whole seconds; a span under a second keeps its hundredths, and is
        // never nothing, since the graphs divide by it.
        constexpr std::int64_t kMaxSpan = std::numeric_limits<std::uint32_t>::max();
        const std::int64_t seconds = leadingInteger((*v)[0]);
        if (seconds > kMaxSpan / 100) return false;
        std::int64_t span = seconds * 100;
        if (span <= 0) span = std::max<std::int64_t>(1, std::llround(leadingReal((*v)[0]) * 100));
        read_.record.state.span = static_cast<std::uint32_t>(span);
        return true;
    }

    std::string fieldText(std::string_view key, int field, int limit) const
    {
        const auto p = text_.find(key, limit, field);
        return p ? std::string(text_.restOfLine(*p).substr(0, kValueMax)) : std::string();
    }

    // The entry of the table, or of the sensors this file added, with an ID.
    std::optional<SidSensorChoice> lookUp(int id) const
    {
        for (int i = static_cast<int>(read_.temporaries.size()) - 1; i >= 0; --i)
            if (read_.temporaries[static_cast<std::size_t>(i)].calibration.id == id)
                return SidSensorChoice{SidSensorChoice::Temporary, i};
        const int found = table_.lastWithId(id);
        if (found < 0) return std::nullopt;
        return SidSensorChoice{SidSensorChoice::TableEntry, found};
    }

    const Calibration& calibrationOf(const SidSensorChoice& choice) const
    {
        return choice.kind == SidSensorChoice::Temporary
                   ? read_.temporaries[static_cast<std::size_t>(choice.index)].calibration
                   : table_.entry(choice.index).calibration;
    }

    SidSensorChoice temporarySensor(int id, int field, int limit)
    {
        const std::string name = fieldText("%fieldname", field, limit);
        const int room = kSensorTableCapacity - table_.size();
        if (static_cast<int>(read_.temporaries.size()) >= room) {
            // The table is full: the channel reads in percent.
            read_.warnings.push_back(
                {std::string(caption::Warning),
                 "No se puede encontrar tabla de calibración para sensorio de " +
                     cp1252ToUtf8(name) + ", y la tabla de sensores está llena",
                 MsgIcon::None});
            return {SidSensorChoice::Unknown, -1};
        }
        read_.warnings.push_back({std::string(caption::Warning),
                                  "No se puede encontrar tabla de calibración para sensorio de " +
                                      cp1252ToUtf8(name) + ", creando información temporario",
                                  MsgIcon::None});
        SensorEntry e;
        e.calibration.id = id;
        e.calibration.name = name;
        e.calibration.units = fieldText("%fieldunits", field, limit);
        e.calibration.shortUnits = e.calibration.units.substr(0, 3);
        e.calibration.maximum = 100.0;
        e.calibration.minimum = 0.0;
        if (const auto p = text_.find("%maxmin", limit, field))
            if (const auto v = splitValues(text_.restOfLine(*p), 2)) {
                e.calibration.maximum = leadingReal((*v)[0]);
                e.calibration.minimum = leadingReal((*v)[1]);
            }
        read_.temporaries.push_back(std::move(e));
        return {SidSensorChoice::Temporary, static_cast<int>(read_.temporaries.size()) - 1};
    }

    void readAnalogueFields()
    {
        for (int c = 0; c < kSensorChannels && field_ <= fields_; ++c) {
            const int limit = lines_ + kAnalogueFieldLines;
            const auto p = text_.find("%EE_sensorID", limit, field_);
            if (!p) return;
            const std::int64_t id = leadingInteger(text_.restOfLine(*p));
            // IDs travel on in the chart, where negative ones mean percent,
            // none and automatic.
            if (id < 0 || id > kMaxSensorId) {
                valid_ = false;
                return;
            }
            SidSensorChoice choice;
            if (id != 0) {
                const auto found = lookUp(static_cast<int>(id));
                choice = found ? *found : temporarySensor(static_cast<int>(id), field_, limit);
            } else {
                const bool none = fieldText("%fieldname", field_, limit) == "None";
                choice.kind = none ? SidSensorChoice::None : SidSensorChoice::Unknown;
            }
            read_.sensors[static_cast<std::size_t>(c)] = choice;
            showSensorLimits(c, choice);
            ++read_.analogueFields;
            ++field_;
            lines_ += kAnalogueFieldLines;
        }
    }

    // As the displays of a channel whose sensor changed: a channel on a graph
    // takes its sensor's limits (the file's layout, if any, comes later).
    void showSensorLimits(int c, const SidSensorChoice& choice)
    {
        const bool known =
            choice.kind == SidSensorChoice::TableEntry || choice.kind == SidSensorChoice::Temporary;
        if (!known) {
            read_.record.layout.sensorChanged(c, false, 0.0, 0.0);
            return;
        }
        const Calibration& cal = calibrationOf(choice);
        read_.record.layout.sensorChanged(c, true, cal.minimum, cal.maximum);
    }

    // The fields named "<word><number>" (or "Motor <letter>"), at most `most`.
    std::vector<FieldName> readGroup(std::string_view word, int most, bool letter)
    {
        std::vector<FieldName> group;
        while (static_cast<int>(group.size()) < most && field_ <= fields_) {
            const std::string name = fieldText("%fieldname", field_, lines_ + kMarkFieldLines);
            if (!beginsWith(name, word)) break;
            int number = 0;
            if (letter) {
                const char l = name.size() > word.size() ? name[word.size()] : '\0';
                if (l < 'A' || l >= 'A' + kMotorCount) break;
                number = l - 'A';
            } else {
                number = intValue(std::string_view(name).substr(word.size()));
            }
            group.push_back({field_, number});
            ++field_;
            lines_ += kMarkFieldLines;
        }
        return group;
    }

    // Inputs or outputs to their bits: numbered from 1, or from 0 when a
    // field is numbered 0 (a file written with that numbering).
    bool mapBits(const std::vector<FieldName>& group, std::array<int, kIoCount>& fieldOfBit)
    {
        const bool fromZero = std::any_of(group.begin(), group.end(),
                                          [](const FieldName& f) { return f.number == 0; });
        for (const FieldName& f : group) {
            // Checked before the shift, so a number at the bottom of the
            // range cannot wrap round.
            const int first = fromZero ? 0 : 1;
            if (!within(f.number, first, first + kIoCount - 1)) return false;
            const int bit = f.number - first;
            fieldOfBit[static_cast<std::size_t>(bit)] = f.field;
        }
        return true;
    }

    bool readMarkFields()
    {
        if (!mapBits(readGroup("Input ", kIoCount, false), inputField_)) return false;
        if (!mapBits(readGroup("Output ", kIoCount, false), outputField_)) return false;
        for (const FieldName& f : readGroup("Motor ", kMotorCount, true))
            motorField_[static_cast<std::size_t>(f.number)] = f.field;
        // Every declared field must be one of these.
        return field_ > fields_;
    }

    bool readFrequencies()
    {
        const auto p = text_.find("%DH_frequencydata", lines_ + 1);
        if (!p) return true;
        const std::string_view line = text_.restOfLine(*p);
        const auto head = splitValues(line, kFrequencyHead + 1);
        if (!head) return false;
        const int bins = intValue((*head)[0]);
        FrequencyCounts& f = read_.record.frequency;
        if (!within(bins, 1, kFrequencyBins)) return false;
        const auto v = splitValues(line, kFrequencyHead + bins * kIoCount);
        if (!v) return false;
        f.frequencyMode = intValue((*v)[1]);
        f.frequencyMax = {intValue((*v)[2]), intValue((*v)[3])};
        if (!within(f.frequencyMode, kStacked, kSideBySide) || f.frequencyMax[0] < 1 ||
            f.frequencyMax[1] < 1)
            return false;
        f.clearCounts();
        std::size_t k = kFrequencyHead;
        for (int b = 0; b < bins; ++b)
            for (int i = 0; i < kIoCount; ++i) {
                const int count = intValue((*v)[k++]);
                if (count < 0) return false;
                f.counts[static_cast<std::size_t>(b)][static_cast<std::size_t>(i)] = count;
            }
        read_.record.state.binCount = bins;
        return true;
    }

    bool readLayout();
    bool readRow(std::string_view line, int r);
    bool readRows();

    SidText text_;
    const SensorTable& table_;
    SidRead read_;
    int fields_ = 0;
    int field_ = kFirstAnalogueField;
    // Header lines up to the previous field in a file of this program.
    int lines_ = kTimeFieldLines;
    bool valid_ = true;
    std::array<int, kIoCount> inputField_{-1, -1, -1, -1, -1, -1, -1, -1};
    std::array<int, kIoCount> outputField_{-1, -1, -1, -1, -1, -1, -1, -1};
    std::array<int, kMotorCount> motorField_{-1, -1, -1, -1};
};

// Reads `out.size()` whole numbers from `v` at `k`, each within low..high
// or one of the extra values.
template <std::size_t N>
bool readInts(const std::vector<std::string_view>& v, std::size_t& k, std::array<int, N>& out,
              int low, int high, int extra)
{
    for (int& x : out) {
        x = intValue(v[k++]);
        if (!within(x, low, high) && x != extra) return false;
    }
    return true;
}

bool SidParser::readLayout()
{
    const auto p = text_.find("%DH_graphpositions", lines_ + 2);
    if (!p) return true;
    const auto v = splitValues(text_.restOfLine(*p), kLayoutValues);
    if (!v) return false;
    GraphLayout& g = read_.record.layout;
    std::size_t k = 0;
    const int lastKind = kind(GraphKind::LastFrequency);
    if (!readInts(*v, k, g.paneKind, 0, lastKind, kNoPane) ||
        !readInts(*v, k, g.paneWeight, 0, 5, 0) ||
        !readInts(*v, k, g.paneChannels, 0, kIoCount, 0) ||
        !readInts(*v, k, g.analogueGraph, kind(GraphKind::FirstAnalogue),
                  kind(GraphKind::LastAnalogue), kNoGraph) ||
        !readInts(*v, k, g.inputGraph, kind(GraphKind::FirstInput), kind(GraphKind::LastInput),
                  kNoGraph) ||
        !readInts(*v, k, g.outputGraph, kind(GraphKind::FirstOutput), kind(GraphKind::LastOutput),
                  kNoGraph) ||
        !readInts(*v, k, g.motorGraph, kind(GraphKind::FirstMotor), kind(GraphKind::LastMotor),
                  kNoGraph) ||
        !readInts(*v, k, g.frequencyGraph, kind(GraphKind::FirstFrequency), lastKind, kNoGraph))
        return false;
    for (auto* limits : {&g.yMin, &g.yMax})
        for (double& y : *limits) y = leadingReal((*v)[k++]);
    if (!readInts(*v, k, g.labelDecimals, 0, kMaxLabelDecimals, 0) ||
        !readInts(*v, k, g.axisChannel, 0, kSensorChannels - 1, kNoGraph))
        return false;
    g.totalWeight = 0;
    for (const int w : g.paneWeight) g.totalWeight += w;
    g.analogueShown = static_cast<int>(std::count_if(g.analogueGraph.begin(), g.analogueGraph.end(),
                                                     [](int graph) { return graph != kNoGraph; }));
    for (int graph = 0; graph < kAnalogueGraphs; ++graph) g.recomputeYStep(graph);
    return true;
}

bool SidParser::readRow(std::string_view line, int r)
{
    const auto v = splitValues(line, std::max(fields_, 1));
    if (!v) return false;
    CaptureBuffer& b = read_.record.buffer;
    const auto n = static_cast<std::size_t>(r);
    // The time to the nearest hundredth: "0.29" is 29, not 28.
    const double t = std::round(leadingReal((*v)[0]) * 100.0);
    if (t < 0.0 || t > std::numeric_limits<std::uint32_t>::max()) return false;
    b.time[n] = static_cast<std::uint32_t>(t);
    for (int k = kFirstAnalogueField; k <= fields_; ++k) {
        const std::string_view value = (*v)[static_cast<std::size_t>(k - 1)];
        const int channel = k - kFirstAnalogueField;
        if (channel < read_.analogueFields) {
            b.analogue[static_cast<std::size_t>(channel)][n] = leadingReal(value);
            continue;
        }
        const bool set = !value.empty() && value.front() == '1';
        for (int i = 0; i < kIoCount; ++i) {
            const auto bit = static_cast<std::uint8_t>(1u << i);
            if (inputField_[static_cast<std::size_t>(i)] == k)
                b.inputs[n] = set ? b.inputs[n] | bit : b.inputs[n] & ~bit;
            if (outputField_[static_cast<std::size_t>(i)] == k)
                b.outputs[n] = set ? b.outputs[n] | bit : b.outputs[n] & ~bit;
        }
        for (int m = 0; m < kMotorCount; ++m) {
            if (motorField_[static_cast<std::size_t>(m)] != k) continue;
            const int percent = intValue(value);
            if (!within(percent, -100, 100)) return false;
            b.motors[static_cast<std::size_t>(m)][n] = static_cast<std::int8_t>(percent);
        }
    }
    return true;
}

bool SidParser::readRows()
{
    const std::string_view t = text_.text();
    std::size_t pos = 0;
    // The first line that does not begin with '%' is the first row.
    while (pos < t.size() && t[pos] == '%') {
        const std::size_t lf = t.find('\n', pos);
        pos = lf == std::string_view::npos ? t.size() : lf + 1;
    }
    for (int r = 0; r < read_.record.buffer.sampleCount; ++r) {
        // Blank lines between rows are passed over.
        while (pos < t.size() && t[pos] == '\n') ++pos;
        // A file that ends before its last row is refused.
        if (pos >= t.size()) return false;
        const std::size_t lf = t.find('\n', pos);
        const std::string_view line = t.substr(pos, lf == std::string_view::npos ? lf : lf - pos);
        if (!readRow(line, r)) return false;
        pos = lf == std::string_view::npos ? t.size() : lf + 1;
    }
    return true;
}

}  // namespace

Result<SidRead> parseSid(std::string_view bytes, const CaptureRecord& base,
                         const SensorTable& table)
{
    return SidParser(bytes, base, table).parse();
}

}  // namespace tarvel
