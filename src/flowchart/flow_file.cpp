#include "flowchart/flow_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "flowchart/flow_document.h"
#include "interfaces/model_traits.h"
#include "platform/messages.h"

namespace tarvel {

namespace {

constexpr int kLevelOffset = 32;
constexpr char kCodeBase = 'A';
constexpr char kSubModelBase = 'H';

// Sequential reader over a file image; any read past the end or of a
// malformed value sets the failure flag, after which every read fails.
class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    bool ok() const { return ok_; }
    void fail() { ok_ = false; }
    std::size_t remaining() const { return ok_ ? bytes_.size() - pos_ : 0; }
    std::string_view peek(std::size_t n) const
    {
        return remaining() >= n ? bytes_.substr(pos_, n) : std::string_view{};
    }
    void skip(std::size_t n)
    {
        if (remaining() < n) return fail();
        pos_ += n;
    }

    int byte()
    {
        if (remaining() < 1) {
            fail();
            return 0;
        }
        return static_cast<unsigned char>(bytes_[pos_++]);
    }

    // A code byte: value + base, within the printable range the writer uses.
    int code(char base)
    {
        const int b = byte();
        if (b < '@' || b > 'Z') fail();
        return b - base;
    }

    int number(int low = -32768, int high = 32767)
    {
        if (remaining() < 4) {
            fail();
            return 0;
        }
        int value = 0;
        if (!decodeNumber(bytes_.substr(pos_, 4), value) || value < low || value > high) fail();
        pos_ += 4;
        return ok_ ? value : 0;
    }

    int level()
    {
        const int b = byte();
        if (b < kLevelOffset || b > kLevelOffset + 100) fail();
        return b - kLevelOffset;
    }

    // A NUL-terminated text of at most `max` characters.
    std::string_view text(std::size_t max)
    {
        if (!ok_) return {};
        const std::size_t nul = bytes_.find('\0', pos_);
        if (nul == std::string_view::npos || nul - pos_ > max) {
            fail();
            return {};
        }
        const std::string_view t = bytes_.substr(pos_, nul - pos_);
        pos_ = nul + 1;
        return t;
    }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

void appendText(std::string& out, std::string_view text)
{
    out.append(text);
    out.push_back('\0');
}

void appendLevel(std::string& out, int percent)
{
    if (percent < 0) percent = 0;
    if (percent > 100) percent = 100;
    out.push_back(static_cast<char>(percent + kLevelOffset));
}

}  // namespace

std::string_view flowFileMessage(FlowFileRefusal refusal)
{
    switch (refusal) {
        case FlowFileRefusal::WrongExtension:
            return "Debe cargar un archivo de Tarvel con extención .FLO";
        case FlowFileRefusal::CannotOpen:
            return "No se puede abrir archivo";
        case FlowFileRefusal::NewerVersion:
            return "Este archivo requiere una versión más reciente de Tarvel";
        case FlowFileRefusal::Damaged:
            return "El archivo está dañado o incompleto";
        case FlowFileRefusal::CannotWrite:
            return "No se puede guardar el archivo. El archivo anterior queda como estaba";
        case FlowFileRefusal::Unsound:
            return "No se puede guardar el diagrama: el archivo no se podría volver a abrir";
    }
    return {};
}

Refusal flowFileRefusal(FlowFileRefusal refusal)
{
    return {std::string(caption::FileError), std::string(flowFileMessage(refusal))};
}

void appendNumber(std::string& out, int value)
{
    const auto v = static_cast<std::uint16_t>(value);
    out.push_back(static_cast<char>(kCodeBase + ((v >> 12) & 0xF)));
    out.push_back(static_cast<char>(kCodeBase + ((v >> 8) & 0xF)));
    out.push_back(static_cast<char>(kCodeBase + ((v >> 4) & 0xF)));
    out.push_back(static_cast<char>(kCodeBase + (v & 0xF)));
}

bool decodeNumber(std::string_view four, int& value)
{
    if (four.size() != 4) return false;
    int raw = 0;
    for (const char c : four) {
        if (c < 'A' || c > 'P') return false;
        raw = raw * 16 + (c - kCodeBase);
    }
    value = static_cast<std::int16_t>(static_cast<std::uint16_t>(raw));
    return true;
}

std::string serializeFlowFile(const FlowDocument& doc, const InterfaceSettings& settings)
{
    std::string out;
    out.reserve(256 + static_cast<std::size_t>(doc.symbolCount()) * 52 +
                static_cast<std::size_t>(doc.lineCount()) * 76 +
                static_cast<std::size_t>(doc.labelCount()) * 62 + 2600);
    const bool compact = isCompactLayout(settings.mode, settings.model, settings.subModel);

    out.push_back(static_cast<char>(kFlowFileVersion));
    out.push_back(static_cast<char>(kCodeBase + settings.analogueSource));
    out.push_back(static_cast<char>(kCodeBase + settings.highLow));
    out.push_back(static_cast<char>(kCodeBase + settings.mode));
    out.push_back(static_cast<char>(kCodeBase + settings.numbering));
    out.push_back(static_cast<char>(kSubModelBase + settings.subModel));
    out.push_back(static_cast<char>(kCodeBase + settings.model));
    appendNumber(out, doc.symbolCount());
    appendNumber(out, doc.lineCount());
    appendNumber(out, doc.labelCount());

    const auto& lv = doc.outputLevels;
    if (!compact) {
        for (const int l : lv) appendLevel(out, l);
    } else if (modelTraits(settings).fileKeepsFourMotorLevels) {
        for (int k = 0; k < 4; ++k) appendLevel(out, lv[static_cast<std::size_t>(2 * k)]);
    } else {
        appendLevel(out, lv[0]);
        appendLevel(out, lv[2]);
        appendLevel(out, 100);
        appendLevel(out, 100);
    }

    for (int i = 0; i < doc.symbolCount(); ++i) {
        const FlowSymbol& s = doc.symbol(i);
        appendNumber(out, static_cast<int>(s.kind));
        appendNumber(out, s.x);
        appendNumber(out, s.y);
    }
    for (int i = 0; i < doc.labelCount(); ++i) {
        const FlowLabel& l = doc.label(i);
        appendNumber(out, l.size);
        appendNumber(out, l.x);
        appendNumber(out, l.y);
    }
    for (int i = 0; i < doc.lineCount(); ++i) {
        const FlowLine& l = doc.line(i);
        appendNumber(out, l.origin);
        appendNumber(out, l.destination);
        appendNumber(out, static_cast<int>(l.kind));
    }
    for (int i = 0; i < doc.lineCount(); ++i) {
        const LineGeometry& g = doc.line(i).geometry;
        appendNumber(out, g.tag.x);
        appendNumber(out, g.tag.y);
        for (const Point& p : g.points) {
            appendNumber(out, p.x);
            appendNumber(out, p.y);
        }
    }

    if (doc.mimicSet.empty()) {
        out.push_back('\0');
    } else {
        std::string name = doc.mimicSet.str().substr(0, 10);
        name.resize(10, '\0');
        out += name;
    }

    for (int c = 0; c < kSensorChannels; ++c) {
        const auto k = static_cast<std::size_t>(c);
        appendNumber(out, doc.sensorAutomatic[k] ? kSensorAutomatic : doc.sensorAssignment[k]);
    }

    for (int i = 0; i < doc.symbolCount(); ++i) appendText(out, doc.symbol(i).text.view());
    for (int i = 0; i < doc.labelCount(); ++i) appendText(out, doc.label(i).text.view());
    for (int k = 0; k < kIoCount; ++k) {
        appendText(out, doc.inputNames[static_cast<std::size_t>(k)].view());
        appendText(out, doc.outputNames[static_cast<std::size_t>(k)].view());
    }
    for (const auto& n : doc.channelNames) appendText(out, n.view());
    if (compact)
        for (const auto& n : doc.motorNames) appendText(out, n.view());
    for (const auto& s : doc.soundFiles) appendText(out, s.view());
    return out;
}

namespace {

bool fitsNumber(int v)
{
    return v >= -32768 && v <= 32767;
}

bool fitsNumbers(Point p)
{
    return fitsNumber(p.x) && fitsNumber(p.y);
}

// The reader takes a code byte from '@' to 'Z'.
bool fitsCode(int value, char base)
{
    return value + base >= '@' && value + base <= 'Z';
}

Refusal unsound(const std::string& why)
{
    return {std::string(caption::FileError), "No se puede guardar el diagrama: " + why};
}

Status lineFault(const FlowDocument& doc, int i)
{
    const FlowLine& l = doc.line(i);
    const std::string name = "la línea " + std::to_string(i + 1);
    if (l.origin < 0 || l.origin >= doc.symbolCount() || l.destination < 0 ||
        l.destination >= doc.symbolCount())
        return unsound(name + " une un símbolo que no existe");
    if (l.kind != LineKind::Plain && l.kind != LineKind::Yes && l.kind != LineKind::No)
        return unsound(name + " es de un tipo desconocido");
    if (!fitsNumbers(l.geometry.tag)) return unsound(name + " está fuera del dibujo");
    for (const Point& p : l.geometry.points) {
        if (!fitsNumbers(p)) return unsound(name + " está fuera del dibujo");
        if (p.x == kConnectorMarkX && (p.y < 'A' || p.y > 'Z'))
            return unsound(name + " tiene un conector sin letra");
    }
    return done();
}

}  // namespace

Status checkFlowFile(const FlowDocument& doc, const InterfaceSettings& settings)
{
    if (doc.symbolCount() > kMaxSymbols || doc.lineCount() > kMaxLines ||
        doc.labelCount() > kMaxLabels)
        return unsound("tiene más símbolos, líneas o etiquetas de los que caben");
    if (!fitsCode(settings.analogueSource, kCodeBase) || !fitsCode(settings.highLow, kCodeBase) ||
        !fitsCode(settings.mode, kCodeBase) || !fitsCode(settings.numbering, kCodeBase) ||
        !fitsCode(settings.subModel, kSubModelBase) || !fitsCode(settings.model, kCodeBase))
        return unsound("la configuración del interfaz no es válida");
    for (int i = 0; i < doc.symbolCount(); ++i) {
        const FlowSymbol& s = doc.symbol(i);
        const std::string name = "el símbolo " + std::to_string(i + 1);
        if (static_cast<int>(s.kind) < 0 || static_cast<int>(s.kind) > 3)
            return unsound(name + " es de un tipo desconocido");
        if (!fitsNumbers({s.x, s.y})) return unsound(name + " está fuera del dibujo");
    }
    for (int i = 0; i < doc.labelCount(); ++i) {
        const FlowLabel& l = doc.label(i);
        const std::string name = "la etiqueta " + std::to_string(i + 1);
        if (l.size < 1 || l.size > 3) return unsound(name + " tiene un tamaño desconocido");
        if (!fitsNumbers({l.x, l.y})) return unsound(name + " está fuera del dibujo");
    }
    for (int i = 0; i < doc.lineCount(); ++i)
        if (Status fault = lineFault(doc, i); !fault) return fault;
    for (int c = 0; c < kSensorChannels; ++c) {
        const int v = doc.sensorAssignment[static_cast<std::size_t>(c)];
        if (!doc.sensorAutomatic[static_cast<std::size_t>(c)] &&
            (v < kSensorAutomatic || v > 32767))
            return unsound("el sensor del canal " + std::to_string(c + 1) + " no es válido");
    }
    return done();
}

namespace {

// Why a reading stopped: none, or the refusal, or (only while deciding the
// layout of an empty chart) a choice left open.
enum class ReadFault { None, NewerVersion, Damaged, Ambiguous };

Refusal refusalOf(ReadFault fault)
{
    return flowFileRefusal(fault == ReadFault::NewerVersion ? FlowFileRefusal::NewerVersion
                                                            : FlowFileRefusal::Damaged);
}

ReadFault readHeader(Reader& in, FlowFileHeader& h)
{
    h.version = in.byte();
    if (!in.ok()) return ReadFault::Damaged;
    if (h.version > kFlowFileVersion || h.version == '<') return ReadFault::NewerVersion;
    h.analogueSource = in.code(kCodeBase);
    h.highLow = in.code(kCodeBase);
    h.mode = in.code(kCodeBase);
    h.numbering = in.code(kCodeBase);
    h.subModel = in.code(kSubModelBase);
    h.model = in.code(kCodeBase);
    return in.ok() ? ReadFault::None : ReadFault::Damaged;
}

}  // namespace

Result<FlowFileHeader> parseFlowFileHeader(std::string_view bytes)
{
    Reader in(bytes);
    FlowFileHeader header;
    if (const ReadFault fault = readHeader(in, header); fault != ReadFault::None)
        return refusalOf(fault);
    return header;
}

namespace {

// How the reader treats the four bytes after the level block of a model's
// file that may carry eight levels, when they are not the start of the symbol
// table.
enum class ExtraLevels { Decide, Keep, Skip };

struct TableCounts {
    int symbols = 0, lines = 0, labels = 0;
    bool empty() const { return symbols == 0 && lines == 0 && labels == 0; }
};

// The level block: 4 bytes in the compact layout (one per motor), else 8.
ReadFault readLevels(Reader& in, const TableCounts& counts, ExtraLevels extra, bool compact,
                     FlowFile& file)
{
    const FlowFileHeader& h = file.info.header;
    file.info.levels.clear();
    for (int k = 0; k < (compact ? 4 : 8); ++k) file.info.levels.push_back(in.level());
    if (modelTraits(h.model, h.subModel).fileMayCarryEightLevels) {
        // Files of this model may carry eight level bytes: four more that are
        // not the start of the symbol table are skipped. With all three tables
        // empty no symbol table follows, so the four bytes may as well be the
        // mimic name or the texts: then the reading that takes the whole file
        // decides (see parseFlowFile).
        const std::string_view next = in.peek(4);
        int unused = 0;
        if (next.size() == 4 && !decodeNumber(next, unused)) {
            if (extra == ExtraLevels::Decide && counts.empty()) return ReadFault::Ambiguous;
            if (extra != ExtraLevels::Keep) in.skip(4);
        }
    }
    if (!in.ok()) return ReadFault::Damaged;
    auto& levels = file.chart.outputLevels;
    const auto& stored = file.info.levels;
    for (std::size_t k = 0; k < kIoCount; ++k) levels[k] = stored[compact ? k / 2 : k];
    return ReadFault::None;
}

// The symbol, label and line tables, rebuilt into the empty tables of `chart`.
void readTables(Reader& in, const TableCounts& counts, FlowDocument& chart)
{
    for (int i = 0; i < counts.symbols; ++i) {
        const int kind = in.number(0, 3);
        const int x = in.number();
        const int y = in.number();
        chart.appendSymbol(static_cast<SymbolKind>(kind), {x, y});
    }
    for (int i = 0; i < counts.labels; ++i) {
        const int size = in.number(1, 3);
        const int x = in.number();
        const int y = in.number();
        const int idx = chart.appendLabel({x, y});
        if (idx >= 0) chart.labelRef(idx).size = size;
    }
    for (int i = 0; i < counts.lines; ++i) {
        const int origin = in.number(0, counts.symbols - 1);
        const int destination = in.number(0, counts.symbols - 1);
        const int kind = in.number(0, 2);
        chart.appendLine(origin, destination, static_cast<LineKind>(kind), LineGeometry{});
    }
    for (int i = 0; i < counts.lines; ++i) {
        LineGeometry& g = chart.lineRef(i).geometry;
        g.tag.x = in.number();
        g.tag.y = in.number();
        for (Point& p : g.points) {
            p.x = in.number();
            p.y = in.number();
            if (p.x == kConnectorMarkX && (p.y < 'A' || p.y > 'Z')) in.fail();
        }
    }
}

// The mimic name field and the sensor words, as the version has them.
void readMimicAndSensors(Reader& in, FlowFileInfo& info)
{
    const int version = info.header.version;
    info.hasMimic = version > 130;
    info.mimic.clear();
    if (info.hasMimic) {
        if (in.peek(1) == std::string_view("\0", 1)) {
            in.skip(1);
        } else {
            const std::string_view field = in.peek(10);
            in.skip(10);
            info.mimic = std::string(field.substr(0, field.find('\0')));
        }
    }
    info.hasSensors = version > 128;
    info.sensors = {-1, -1, -1, -1};
    if (info.hasSensors)
        for (int& v : info.sensors) v = in.number(kSensorAutomatic, 32767);
}

// The texts: symbols, labels, names and, as the layout and version have them,
// motor names and sound files. A chart read under a compact layout from a
// file without motor names names its motors "Motor".
void readTexts(Reader& in, const TableCounts& counts, bool compact, const FlowLoadContext& context,
               FlowFile& file)
{
    FlowDocument& chart = file.chart;
    for (int i = 0; i < counts.symbols; ++i) chart.setSymbolText(i, in.text(kSymbolTextMax));
    for (int i = 0; i < counts.labels; ++i) chart.setLabelText(i, in.text(kLabelTextMax));
    for (std::size_t k = 0; k < kIoCount; ++k) {
        chart.inputNames[k] = in.text(kNameMax);
        chart.outputNames[k] = in.text(kNameMax);
    }
    for (auto& n : chart.channelNames) n = in.text(kNameMax);
    const InterfaceSettings& now = context.current;
    if (compact) {
        for (auto& n : chart.motorNames) n = in.text(kNameMax);
    } else if (isCompactLayout(now.mode, now.model, now.subModel)) {
        chart.motorNames.fill(NameText("Motor"));
    }
    file.info.hasSounds = file.info.header.version >= kFlowFileVersion;
    chart.soundFiles = {};
    if (file.info.hasSounds)
        for (auto& s : chart.soundFiles) s = in.text(kSoundNameMax);
}

// The sensor of each channel as the program takes a file's: automatic where
// the interface identifies its sensors (percent elsewhere), percent and none
// as stored, a known identifier as stored; an unknown one keeps the channel's
// sensor. A file without sensor words reads every channel in percent.
void adoptSensors(const FlowFileInfo& info, const FlowLoadContext& context, FlowDocument& chart)
{
    if (!info.hasSensors) {
        chart.sensorAssignment.fill(kSensorPercent);
        chart.sensorAutomatic.fill(false);
        return;
    }
    const bool canIdentify = modelTraits(context.current).offersAutomaticSensors;
    for (std::size_t c = 0; c < kSensorChannels; ++c) {
        const int v = info.sensors[c];
        if (v == kSensorAutomatic) {
            chart.sensorAutomatic[c] = canIdentify;
            if (!canIdentify) chart.sensorAssignment[c] = kSensorPercent;
        } else if (v == kSensorPercent || v == kSensorNone) {
            chart.sensorAutomatic[c] = false;
            chart.sensorAssignment[c] = v;
        } else if (v >= 0) {
            // A sensor the table lacks reads in percent.
            chart.sensorAutomatic[c] = false;
            const bool known = !context.sensorKnown || context.sensorKnown(v);
            chart.sensorAssignment[c] = known ? v : kSensorPercent;
        }
    }
}

ReadFault parseWith(std::string_view bytes, const FlowDocument& base,
                    const FlowLoadContext& context, ExtraLevels extra, FlowFile& file)
{
    Reader in(bytes);
    FlowFileHeader& h = file.info.header;
    if (const ReadFault fault = readHeader(in, h); fault != ReadFault::None) return fault;
    TableCounts counts;
    counts.symbols = in.number(0, kMaxSymbols);
    counts.lines = in.number(0, kMaxLines);
    counts.labels = in.number(0, kMaxLabels);
    if (!in.ok()) return ReadFault::Damaged;

    // The tables are rebuilt from the file into empty ones; what a file does
    // not carry comes from the document it replaces.
    FlowDocument& chart = file.chart;
    chart.clear(0, 0);
    chart.setMessages(base.messages());
    chart.motorNames = base.motorNames;
    chart.mimicSet = base.mimicSet;
    chart.sensorAssignment = base.sensorAssignment;
    chart.sensorAutomatic = base.sensorAutomatic;

    const bool compact = isCompactLayout(h.mode, h.model, h.subModel);
    if (const ReadFault fault = readLevels(in, counts, extra, compact, file);
        fault != ReadFault::None)
        return fault;
    readTables(in, counts, chart);
    if (!in.ok()) return ReadFault::Damaged;
    readMimicAndSensors(in, file.info);
    readTexts(in, counts, compact, context, file);
    if (!in.ok()) return ReadFault::Damaged;

    const FlowFileInfo& info = file.info;
    // The mimic window, when there is one, is offered the set once the chart
    // is in place (loadFlowFile); otherwise the name is simply taken.
    if (info.hasMimic && !info.mimic.empty() && info.mimic != base.mimicSet.view() &&
        !context.offerMimic)
        chart.mimicSet = info.mimic;
    adoptSensors(info, context, chart);
    chart.recountConnectorLetters();
    return ReadFault::None;
}

}  // namespace

Result<FlowFile> parseFlowFile(std::string_view bytes, const FlowDocument& base,
                               const FlowLoadContext& context)
{
    FlowFile file;
    ReadFault fault = parseWith(bytes, base, context, ExtraLevels::Decide, file);
    if (fault == ReadFault::Ambiguous) {
        // The layout this program writes first, then the one with eight level bytes.
        fault = parseWith(bytes, base, context, ExtraLevels::Keep, file);
        if (fault != ReadFault::None)
            fault = parseWith(bytes, base, context, ExtraLevels::Skip, file);
    }
    if (fault != ReadFault::None) return refusalOf(fault);
    return file;
}

bool hasFlowExtension(std::string_view path)
{
    if (path.size() < 4) return false;
    const std::string_view ext = path.substr(path.size() - 4);
    return ext == ".FLO" || ext == ".flo";
}

Result<FlowFileInfo> loadFlowFile(FlowDocument& doc, const std::string& path,
                                  const FlowLoadContext& context, Messages& messages, bool silent)
{
    auto refuse = [&](FlowFileRefusal kind) {
        const Refusal refusal = flowFileRefusal(kind);
        refusal.show(messages);
        return refusal;
    };
    if (!hasFlowExtension(path)) {
        if (silent) return flowFileRefusal(FlowFileRefusal::WrongExtension);
        return refuse(FlowFileRefusal::WrongExtension);
    }
    std::string bytes;
    if (!readWholeFile(path, bytes)) return refuse(FlowFileRefusal::CannotOpen);

    Result<FlowFile> read = parseFlowFile(bytes, doc, context);
    if (!read) {
        read.refusal().show(messages);
        return read.refusal();
    }
    FlowFile& file = read.value();
    DocumentObserver* observer = doc.observer();
    doc = std::move(file.chart);
    doc.setObserver(observer);
    doc.setModified(false);
    doc.setUntitled(false);
    doc.setPath(path);
    doc.renumberIo(file.info.header.numbering, context.current.numbering);
    doc.clearSelection();
    if (observer) {
        observer->invalidate({0, 0, kDrawingWidth, kDrawingHeight});
        observer->subroutinesChanged();
    }
    const FlowFileInfo& info = file.info;
    if (context.offerMimic && info.hasMimic && !info.mimic.empty() &&
        info.mimic != doc.mimicSet.view())
        context.offerMimic(info.mimic);
    return std::move(file.info);
}

Status saveFlowFile(FlowDocument& doc, const std::string& path, const InterfaceSettings& settings,
                    Messages& messages)
{
    // A save must never leave a file the program cannot open: the document is
    // checked, and the bytes are read back before they are written.
    Status sound = checkFlowFile(doc, settings);
    const std::string bytes = serializeFlowFile(doc, settings);
    if (sound) {
        FlowLoadContext context;
        context.current = settings;
        if (!parseFlowFile(bytes, FlowDocument(nullptr, nullptr), context))
            sound = flowFileRefusal(FlowFileRefusal::Unsound);
    }
    if (!sound) {
        sound.refusal().show(messages);
        return sound;
    }
    const WriteResult written = writeFileReplacing(path, bytes);
    if (written != WriteResult::Ok) {
        const Refusal refusal =
            flowFileRefusal(written == WriteResult::OpenFailed ? FlowFileRefusal::CannotOpen
                                                               : FlowFileRefusal::CannotWrite);
        refusal.show(messages);
        return refusal;
    }
    doc.setModified(false);
    doc.setUntitled(false);
    doc.setPath(path);
    return done();
}

}  // namespace tarvel
