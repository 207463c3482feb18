#include "flowchart/edit_history.h"

#include <optional>
#include <utility>

#include "flowchart/command_text.h"

namespace tarvel {

namespace {

// "un símbolo", "3 símbolos".
std::string counted(std::size_t n, const char* one, const char* many)
{
    return n == 1 ? std::string(one) : std::to_string(n) + " " + many;
}

template <typename T, typename Same>
std::size_t countChanged(const std::vector<T>& a, const std::vector<T>& b, Same same)
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (!same(a[i], b[i])) ++n;
    return n;
}

bool samePlace(const FlowSymbol& a, const FlowSymbol& b)
{
    return a.x == b.x && a.y == b.y;
}
bool sameText(const FlowSymbol& a, const FlowSymbol& b)
{
    return a.text == b.text;
}
bool samePlace(const FlowLabel& a, const FlowLabel& b)
{
    return a.x == b.x && a.y == b.y;
}
bool sameWords(const FlowLabel& a, const FlowLabel& b)
{
    return a.text == b.text && a.size == b.size;
}
bool sameRoute(const FlowLine& a, const FlowLine& b)
{
    return a.origin == b.origin && a.destination == b.destination && a.kind == b.kind &&
           a.geometry.points == b.geometry.points && a.geometry.tag == b.geometry.tag;
}

// The symbols added or taken away, with the labels that went with them.
std::optional<ChangeName> describeCounts(const ChartContent& b, const ChartContent& a)
{
    const std::size_t sb = b.symbols.size(), sa = a.symbols.size();
    const std::size_t lb = b.labels.size(), la = a.labels.size();
    if (sa > sb) {
        const std::size_t added = sa - sb + (la > lb ? la - lb : 0);
        if (added > 1) return ChangeName{"copiar " + counted(added, "", "objetos")};
        // An insertion may shift the symbols below it; it always leads a line into the new one.
        const bool shifted = countChanged(b.symbols, a.symbols,
                                          [](auto& x, auto& y) { return samePlace(x, y); }) > 0;
        const bool redirected = countChanged(b.lines, a.lines, [](auto& x, auto& y) {
                                    return x.destination == y.destination;
                                }) > 0;
        return ChangeName{shifted || redirected ? "insertar un símbolo" : "poner un símbolo"};
    }
    if (sa < sb) {
        const std::size_t gone = sb - sa + (lb > la ? lb - la : 0);
        if (gone == sb - sa) return ChangeName{"borrar " + counted(gone, "un símbolo", "símbolos")};
        return ChangeName{"borrar " + std::to_string(gone) + " objetos"};
    }
    if (la > lb) {
        const std::size_t added = la - lb;
        return ChangeName{added == 1 ? "poner una etiqueta"
                                     : "copiar " + counted(added, "", "etiquetas")};
    }
    if (la < lb) return ChangeName{"borrar " + counted(lb - la, "una etiqueta", "etiquetas")};
    if (a.lines.size() > b.lines.size())
        return ChangeName{"dibujar " +
                          counted(a.lines.size() - b.lines.size(), "una línea", "líneas")};
    if (a.lines.size() < b.lines.size())
        return ChangeName{"borrar " +
                          counted(b.lines.size() - a.lines.size(), "una línea", "líneas")};
    return std::nullopt;
}

// Entries that stayed but moved, or whose texts changed.
std::optional<ChangeName> describeEntries(const ChartContent& b, const ChartContent& a)
{
    const auto place = [](auto& x, auto& y) { return samePlace(x, y); };
    const std::size_t texts = countChanged(b.symbols, a.symbols, sameText);
    if (texts > 1) {
        for (std::size_t i = 0; i < b.symbols.size(); ++i)
            if (!sameText(b.symbols[i], a.symbols[i]) && isSubHeadText(b.symbols[i].text.view()))
                return ChangeName{"renombrar un Sub"};
        return ChangeName{"editar " + counted(texts, "", "símbolos")};
    }
    if (texts == 1) return ChangeName{"editar un símbolo"};
    if (countChanged(b.labels, a.labels, sameWords) > 0) return ChangeName{"editar una etiqueta"};
    const std::size_t symbols = countChanged(b.symbols, a.symbols, place);
    const std::size_t labels = countChanged(b.labels, a.labels, place);
    if (symbols > 0 && labels > 0)
        return ChangeName{"mover " + std::to_string(symbols + labels) + " objetos"};
    if (symbols > 0) return ChangeName{"mover " + counted(symbols, "un símbolo", "símbolos")};
    if (labels > 0) return ChangeName{"mover " + counted(labels, "una etiqueta", "etiquetas")};
    const std::size_t routes = countChanged(b.lines, a.lines, sameRoute);
    if (routes > 0)
        return ChangeName{"cambiar el recorrido de " + counted(routes, "una línea", "líneas")};
    return std::nullopt;
}

// The first name of a table that differs: its text and merge key.
template <typename Table>
std::optional<ChangeName> describeNames(const Table& b, const Table& a, const char* what, int key)
{
    for (std::size_t i = 0; i < b.size(); ++i)
        if (!(b[i] == a[i]))
            return ChangeName{std::string("cambiar el nombre ") + what + std::to_string(i + 1),
                              key + static_cast<int>(i)};
    return std::nullopt;
}

// Merge keys of the fields that are typed in or dragged.
constexpr int kInputNameKey = 100;
constexpr int kOutputNameKey = 200;
constexpr int kMotorNameKey = 300;
constexpr int kChannelNameKey = 400;
constexpr int kPowerKey = 500;  // plus the mask of the outputs whose power changed
constexpr int kSoundKey = 800;

std::optional<ChangeName> describeSettings(const ChartContent& b, const ChartContent& a)
{
    if (auto n = describeNames(b.inputNames, a.inputNames, "de la entrada ", kInputNameKey))
        return n;
    if (auto n = describeNames(b.outputNames, a.outputNames, "de la salida ", kOutputNameKey))
        return n;
    if (auto n = describeNames(b.motorNames, a.motorNames, "del motor ", kMotorNameKey)) return n;
    if (auto n = describeNames(b.channelNames, a.channelNames, "del canal ", kChannelNameKey))
        return n;
    int mask = 0;
    for (std::size_t i = 0; i < b.outputLevels.size(); ++i)
        if (b.outputLevels[i] != a.outputLevels[i]) mask |= 1 << i;
    if (mask != 0) return ChangeName{"cambiar la potencia", kPowerKey + mask};
    for (std::size_t c = 0; c < b.sensorAssignment.size(); ++c)
        if (b.sensorAssignment[c] != a.sensorAssignment[c] ||
            b.sensorAutomatic[c] != a.sensorAutomatic[c])
            return ChangeName{"elegir el sensor del canal " + std::to_string(c + 1)};
    if (!(b.mimicSet == a.mimicSet)) return ChangeName{"cambiar la mímica"};
    for (std::size_t i = 0; i < b.soundFiles.size(); ++i)
        if (!(b.soundFiles[i] == a.soundFiles[i]))
            return ChangeName{"cambiar el sonido " + std::to_string(i),
                              kSoundKey + static_cast<int>(i)};
    return std::nullopt;
}

}  // namespace

ChangeName describeChange(const ChartContent& before, const ChartContent& after)
{
    if (auto n = describeCounts(before, after)) return *n;
    if (auto n = describeEntries(before, after)) return *n;
    if (auto n = describeSettings(before, after)) return *n;
    return {"cambiar el diagrama"};
}

void EditHistory::reset(const FlowDocument& doc)
{
    undo_.clear();
    redo_.clear();
    current_ = doc.content();
    stateId_ = nextId_++;
    // A chart with changes no file holds has no saved state to come back to.
    savedId_ = doc.modified() ? 0 : stateId_;
    mayMerge_ = false;
}

bool EditHistory::record(FlowDocument& doc, std::string_view name)
{
    // A flag set with nothing changed stays: something outside the content
    // (a field not yet taken into the chart) may stand behind it.
    if (!doc.differsFrom(current_)) return false;
    ChartContent now = doc.content();
    ChangeName change =
        name.empty() ? describeChange(current_, now) : ChangeName{std::string(name)};
    redo_.clear();
    const bool merge = mayMerge_ && change.mergeKey != 0 && !undo_.empty() &&
                       undo_.back().mergeKey == change.mergeKey;
    if (!merge) {
        undo_.push_back(
            Step{std::move(current_), stateId_, std::move(change.text), change.mergeKey});
        if (static_cast<int>(undo_.size()) > limit_) undo_.pop_front();
    }
    current_ = std::move(now);
    stateId_ = nextId_++;
    mayMerge_ = true;
    follow(doc);
    return true;
}

void EditHistory::breakpointsChanged(const FlowDocument& doc)
{
    if (current_.symbols.size() != static_cast<std::size_t>(doc.symbolCount())) return;
    for (std::size_t i = 0; i < current_.symbols.size(); ++i)
        current_.symbols[i].breakpoint = doc.symbol(static_cast<int>(i)).breakpoint;
}

void EditHistory::markSaved()
{
    savedId_ = stateId_;
    mayMerge_ = false;
}

const std::string& EditHistory::undoName() const
{
    static const std::string none;
    return undo_.empty() ? none : undo_.back().name;
}

const std::string& EditHistory::redoName() const
{
    static const std::string none;
    return redo_.empty() ? none : redo_.back().name;
}

bool EditHistory::undo(FlowDocument& doc)
{
    return travel(undo_, redo_, doc);
}

bool EditHistory::redo(FlowDocument& doc)
{
    return travel(redo_, undo_, doc);
}

// Undo and redo are one move: the content the top of `from` holds becomes the
// document's, and the content it replaces goes on `to` under the same name.
bool EditHistory::travel(std::deque<Step>& from, std::deque<Step>& to, FlowDocument& doc)
{
    // A change not yet recorded is the last step: an undo takes it back, and
    // after it nothing is left to redo.
    record(doc);
    if (from.empty()) return false;
    Step step = std::move(from.back());
    from.pop_back();
    to.push_back(Step{std::move(current_), stateId_, step.name, step.mergeKey});
    current_ = std::move(step.content);
    stateId_ = step.stateId;
    doc.restoreContent(current_);
    mayMerge_ = false;
    follow(doc);
    return true;
}

std::size_t EditHistory::memoryUse() const
{
    const auto size = [](const Step& s) {
        return sizeof(Step) + s.content.symbols.capacity() * sizeof(FlowSymbol) +
               s.content.lines.capacity() * sizeof(FlowLine) +
               s.content.labels.capacity() * sizeof(FlowLabel) + s.name.capacity();
    };
    std::size_t total = 0;
    for (const Step& s : undo_) total += size(s);
    for (const Step& s : redo_) total += size(s);
    return total;
}

}  // namespace tarvel
