#include "flowchart/flow_document.h"

#include <algorithm>

#include "flowchart/command_text.h"
#include "flowchart/line_pieces.h"
#include "interfaces/model_traits.h"
#include "platform/messages.h"

namespace tarvel {

namespace {

void eraseValue(std::vector<int>& v, int value)
{
    v.erase(std::remove(v.begin(), v.end(), value), v.end());
}
}  // namespace

int FlowLine::pointCount() const
{
    int n = 0;
    while (n < kLinePoints && geometry.points[static_cast<std::size_t>(n)].x != kUnusedPointX) ++n;
    return n;
}

int FlowLine::connectorLetter() const
{
    if (!hasConnector()) return 0;
    const int letter = geometry.points[2].y;
    return letter >= 'A' && letter <= 'Z' ? letter : 0;
}

FlowDocument::FlowDocument(Messages* messages, DocumentObserver* observer)
    : messages_(messages), observer_(observer)
{
    selectedSymbols_.reserve(kMaxSymbols);
    selectedLabels_.reserve(kMaxLabels);
    outputLevels.fill(100);
    for (int c = 0; c < kSensorChannels; ++c)
        channelNames[static_cast<std::size_t>(c)] = "Val " + std::to_string(c + 1);
    clear(0, 0);
}

void FlowDocument::clear(int model, int subModel)
{
    symbolCount_ = lineCount_ = labelCount_ = 0;
    for (auto& s : symbols_) s = FlowSymbol{};
    for (auto& l : lines_) l = FlowLine{};
    for (auto& l : labels_) l = FlowLabel{};
    letterInUse_.fill(false);
    inputNames.fill(NameText("Entrada"));
    outputNames.fill(NameText("Salida"));
    motorNames.fill(NameText("Motor"));
    sensorAssignment.fill(kSensorPercent);
    sensorAutomatic.fill(modelTraits(model, subModel).automaticSensors);
    for (auto& s : soundFiles) s.clear();
    selectedSymbols_.clear();
    selectedLabels_.clear();
    selectedLine_ = -1;
    currentSymbol_ = -1;
    currentLabel_ = -1;
    modified_ = false;
    untitled_ = true;
    path_.clear();
}

void FlowDocument::warn(std::string_view text) const
{
    if (messages_) messages_->tell(caption::Warning, text, MsgIcon::Exclamation);
}

void FlowDocument::invalidate(const Rect& r)
{
    if (observer_ && !r.empty()) observer_->invalidate(r);
}

Point FlowDocument::snapToGrid(Point p)
{
    auto floorTo = [](std::int32_t v, std::int32_t step) {
        const std::int32_t q = v / step - ((v % step != 0 && v < 0) ? 1 : 0);
        return q * step;
    };
    return {floorTo(p.x, kGridX), floorTo(p.y, kGridY)};
}

void FlowDocument::setSymbolText(int i, std::string_view text)
{
    symbolRef(i).text = text;
}

void FlowDocument::setLabelText(int i, std::string_view text)
{
    labelRef(i).text = text;
}

int FlowDocument::appendSymbol(SymbolKind kind, Point centre)
{
    if (symbolsFull()) {
        warn("No se puede tener más que 220 símbolos");
        return -1;
    }
    const int i = symbolCount_++;
    auto& s = symbols_[static_cast<std::size_t>(i)];
    s = FlowSymbol{};
    s.kind = kind;
    s.x = centre.x;
    s.y = centre.y;
    invalidate(symbolBounds(s));
    return i;
}

int FlowDocument::appendLabel(Point topLeft)
{
    if (labelsFull()) {
        warn("Solo se puede tener 100 etiquetas");
        return -1;
    }
    const int i = labelCount_++;
    auto& l = labels_[static_cast<std::size_t>(i)];
    l = FlowLabel{};
    l.x = topLeft.x;
    l.y = topLeft.y;
    invalidate(labelBounds(l));
    return i;
}

int FlowDocument::appendLine(int origin, int destination, LineKind kind,
                             const LineGeometry& geometry)
{
    if (linesFull()) {
        warn("Solamente puede tener 400 líneas");
        return -1;
    }
    const int i = lineCount_++;
    auto& l = lines_[static_cast<std::size_t>(i)];
    l = FlowLine{};
    l.origin = origin;
    l.destination = destination;
    l.kind = kind;
    l.geometry = geometry;
    invalidate(lineBounds(l));
    return i;
}

void FlowDocument::moveSymbol(int i, Point centre)
{
    FlowSymbol& s = symbolRef(i);
    invalidate(symbolBounds(s));
    s.x = centre.x;
    s.y = centre.y;
    invalidate(symbolBounds(s));
}

void FlowDocument::moveLabel(int i, Point topLeft)
{
    FlowLabel& l = labelRef(i);
    invalidate(labelBounds(l));
    l.x = topLeft.x;
    l.y = topLeft.y;
    invalidate(labelBounds(l));
}

void FlowDocument::setLineGeometry(int i, const LineGeometry& geometry)
{
    FlowLine& l = lineRef(i);
    invalidate(lineBounds(l));
    l.geometry = geometry;
    invalidate(lineBounds(l));
}

void FlowDocument::revertTo(const FlowDocument& snapshot)
{
    Messages* const messages = messages_;
    DocumentObserver* const observer = observer_;
    *this = snapshot;
    messages_ = messages;
    observer_ = observer;
    invalidate({0, 0, kDrawingWidth, kDrawingHeight});
}

void FlowDocument::setModified(bool m)
{
    modified_ = m;
    if (m && observer_) observer_->edited();
}

ChartContent FlowDocument::content() const
{
    ChartContent c;
    c.symbols.assign(symbols_.begin(), symbols_.begin() + symbolCount_);
    c.lines.assign(lines_.begin(), lines_.begin() + lineCount_);
    c.labels.assign(labels_.begin(), labels_.begin() + labelCount_);
    for (auto& s : c.symbols) s.selected = draw::Normal;
    for (auto& l : c.lines) l.selected = draw::Normal;
    c.letterInUse = letterInUse_;
    c.inputNames = inputNames;
    c.outputNames = outputNames;
    c.motorNames = motorNames;
    c.channelNames = channelNames;
    c.outputLevels = outputLevels;
    c.sensorAssignment = sensorAssignment;
    c.sensorAutomatic = sensorAutomatic;
    c.mimicSet = mimicSet;
    c.soundFiles = soundFiles;
    return c;
}

void FlowDocument::restoreContent(const ChartContent& c)
{
    clearSelection();
    symbolCount_ = static_cast<int>(std::min<std::size_t>(c.symbols.size(), kMaxSymbols));
    lineCount_ = static_cast<int>(std::min<std::size_t>(c.lines.size(), kMaxLines));
    labelCount_ = static_cast<int>(std::min<std::size_t>(c.labels.size(), kMaxLabels));
    std::copy_n(c.symbols.begin(), symbolCount_, symbols_.begin());
    std::fill(symbols_.begin() + symbolCount_, symbols_.end(), FlowSymbol{});
    std::copy_n(c.lines.begin(), lineCount_, lines_.begin());
    std::fill(lines_.begin() + lineCount_, lines_.end(), FlowLine{});
    std::copy_n(c.labels.begin(), labelCount_, labels_.begin());
    std::fill(labels_.begin() + labelCount_, labels_.end(), FlowLabel{});
    letterInUse_ = c.letterInUse;
    inputNames = c.inputNames;
    outputNames = c.outputNames;
    motorNames = c.motorNames;
    channelNames = c.channelNames;
    outputLevels = c.outputLevels;
    sensorAssignment = c.sensorAssignment;
    sensorAutomatic = c.sensorAutomatic;
    mimicSet = c.mimicSet;
    soundFiles = c.soundFiles;
    currentSymbol_ = -1;
    currentLabel_ = -1;
    invalidate({0, 0, kDrawingWidth, kDrawingHeight});
    if (observer_) observer_->subroutinesChanged();
}

namespace {

bool sameSymbol(const FlowSymbol& a, const FlowSymbol& b)
{
    // A breakpoint is no edit: it neither marks the chart modified nor makes a step.
    return a.kind == b.kind && a.x == b.x && a.y == b.y && a.text == b.text;
}

bool sameLine(const FlowLine& a, const FlowLine& b)
{
    return a.origin == b.origin && a.destination == b.destination && a.kind == b.kind &&
           a.geometry.tag == b.geometry.tag && a.geometry.points == b.geometry.points;
}

bool sameLabel(const FlowLabel& a, const FlowLabel& b)
{
    return a.size == b.size && a.x == b.x && a.y == b.y && a.text == b.text;
}

template <typename T, std::size_t N, typename Same>
bool sameTable(const std::vector<T>& a, const std::array<T, N>& b, int count, Same same)
{
    if (a.size() != static_cast<std::size_t>(count)) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!same(a[i], b[i])) return false;
    return true;
}

}  // namespace

bool FlowDocument::differsFrom(const ChartContent& c) const
{
    return !sameTable(c.symbols, symbols_, symbolCount_, sameSymbol) ||
           !sameTable(c.lines, lines_, lineCount_, sameLine) ||
           !sameTable(c.labels, labels_, labelCount_, sameLabel) || c.letterInUse != letterInUse_ ||
           c.inputNames != inputNames || c.outputNames != outputNames ||
           c.motorNames != motorNames || c.channelNames != channelNames ||
           c.outputLevels != outputLevels || c.sensorAssignment != sensorAssignment ||
           c.sensorAutomatic != sensorAutomatic || !(c.mimicSet == mimicSet) ||
           c.soundFiles != soundFiles;
}

// ---- Breakpoints ----------------------------------------------------------------

std::vector<int> FlowDocument::breakpoints() const
{
    std::vector<int> out;
    for (int i = 0; i < symbolCount_; ++i)
        if (symbols_[static_cast<std::size_t>(i)].breakpoint) out.push_back(i);
    return out;
}

void FlowDocument::setBreakpoints(const std::vector<int>& symbols)
{
    for (auto& s : symbols_) s.breakpoint = false;
    for (const int i : symbols)
        if (i >= 0 && i < symbolCount_) symbols_[static_cast<std::size_t>(i)].breakpoint = true;
    invalidate({0, 0, kDrawingWidth, kDrawingHeight});
}

void FlowDocument::toggleBreakpoint(int i)
{
    if (i < 0 || i >= symbolCount_) return;
    FlowSymbol& s = symbols_[static_cast<std::size_t>(i)];
    s.breakpoint = !s.breakpoint;
    invalidate(symbolBounds(s));
}

// ---- Connector letters ------------------------------------------------------

int FlowDocument::takeConnectorLetter()
{
    for (int k = 0; k < kConnectorLetters; ++k) {
        if (!letterInUse_[static_cast<std::size_t>(k)]) {
            letterInUse_[static_cast<std::size_t>(k)] = true;
            return 'A' + k;
        }
    }
    warn("Ya no hay más letras");
    return 0;
}

void FlowDocument::freeConnectorLetter(int letter)
{
    if (letter >= 'A' && letter <= 'Z')
        letterInUse_[static_cast<std::size_t>(letter - 'A')] = false;
}

bool FlowDocument::connectorLetterInUse(int letter) const
{
    return letter >= 'A' && letter <= 'Z' && letterInUse_[static_cast<std::size_t>(letter - 'A')];
}

void FlowDocument::recountConnectorLetters()
{
    letterInUse_.fill(false);
    for (int i = 0; i < lineCount_; ++i) {
        const int letter = lines_[static_cast<std::size_t>(i)].connectorLetter();
        if (letter) letterInUse_[static_cast<std::size_t>(letter - 'A')] = true;
    }
}

// ---- Selection ----------------------------------------------------------------

void FlowDocument::selectSymbol(int i)
{
    if (i < 0 || i >= symbolCount_) return;
    if (!isSymbolSelected(i)) selectedSymbols_.push_back(i);
    symbols_[static_cast<std::size_t>(i)].selected = draw::Selected;
}

void FlowDocument::deselectSymbol(int i)
{
    eraseValue(selectedSymbols_, i);
    if (i >= 0 && i < symbolCount_) symbols_[static_cast<std::size_t>(i)].selected = draw::Normal;
}

void FlowDocument::selectLabel(int i)
{
    if (i < 0 || i >= labelCount_) return;
    if (!isLabelSelected(i)) selectedLabels_.push_back(i);
}

void FlowDocument::deselectLabel(int i)
{
    eraseValue(selectedLabels_, i);
}

void FlowDocument::setSelectedLine(int i)
{
    if (selectedLine_ >= 0 && selectedLine_ < lineCount_)
        lines_[static_cast<std::size_t>(selectedLine_)].selected = draw::Normal;
    selectedLine_ = (i >= 0 && i < lineCount_) ? i : -1;
    if (selectedLine_ >= 0)
        lines_[static_cast<std::size_t>(selectedLine_)].selected = draw::Selected;
}

void FlowDocument::clearSelection()
{
    for (const int i : selectedSymbols_)
        if (i >= 0 && i < symbolCount_)
            symbols_[static_cast<std::size_t>(i)].selected = draw::Normal;
    selectedSymbols_.clear();
    selectedLabels_.clear();
    setSelectedLine(-1);
}

bool FlowDocument::isSymbolSelected(int i) const
{
    return std::find(selectedSymbols_.begin(), selectedSymbols_.end(), i) != selectedSymbols_.end();
}

bool FlowDocument::isLabelSelected(int i) const
{
    return std::find(selectedLabels_.begin(), selectedLabels_.end(), i) != selectedLabels_.end();
}

std::string FlowDocument::fileName() const
{
    const std::size_t slash = path_.find_last_of("/\\");
    return slash == std::string::npos ? path_ : path_.substr(slash + 1);
}

// ---- Deleting -------------------------------------------------------------------

bool FlowDocument::deleteSelection()
{
    const std::size_t objects = selectedSymbols_.size() + selectedLabels_.size();
    if (objects > 1 && messages_) {
        const MsgAnswer a =
            messages_->show(caption::Message, "¿Está seguro de que quiere borrar estos objetos?",
                            MsgIcon::Question, MsgButtons::YesNo);
        if (a != MsgAnswer::Yes) return false;
    }
    if (!selectedSymbols_.empty()) deleteSelectedSymbols();
    if (!selectedLabels_.empty()) deleteSelectedLabels();
    if (selectedLine_ >= 0) deleteSelectedLine();
    return true;
}

void FlowDocument::removeLine(int index)
{
    auto& l = lines_[static_cast<std::size_t>(index)];
    freeConnectorLetter(l.connectorLetter());
    invalidate(lineBounds(l));
    std::move(lines_.begin() + index + 1, lines_.begin() + lineCount_, lines_.begin() + index);
    --lineCount_;
    lines_[static_cast<std::size_t>(lineCount_)] = FlowLine{};
    // The selected line keeps pointing at the same line, or at none if it went.
    if (selectedLine_ == index)
        selectedLine_ = -1;
    else if (selectedLine_ > index)
        --selectedLine_;
}

void FlowDocument::deleteSymbol(int index)
{
    const FlowSymbol& s = symbols_[static_cast<std::size_t>(index)];
    if (s.kind == SymbolKind::StartStop && isSubHeadText(s.text.view()))
        renameSubroutineCalls(subNumberOf(s.text.view()), {});

    for (int j = lineCount_ - 1; j >= 0; --j) {
        const FlowLine& l = lines_[static_cast<std::size_t>(j)];
        if (l.origin == index || l.destination == index) removeLine(j);
    }
    for (int j = 0; j < lineCount_; ++j) {
        FlowLine& l = lines_[static_cast<std::size_t>(j)];
        if (l.origin > index) --l.origin;
        if (l.destination > index) --l.destination;
    }
    invalidate(symbolBounds(s));

    std::move(symbols_.begin() + index + 1, symbols_.begin() + symbolCount_,
              symbols_.begin() + index);
    --symbolCount_;
    symbols_[static_cast<std::size_t>(symbolCount_)] = FlowSymbol{};
    if (currentSymbol_ == index)
        currentSymbol_ = -1;
    else if (currentSymbol_ > index)
        --currentSymbol_;
}

void FlowDocument::deleteSelectedSymbols()
{
    std::vector<int> pending = selectedSymbols_;
    selectedSymbols_.clear();
    for (std::size_t k = 0; k < pending.size(); ++k) {
        const int index = pending[k];
        if (index < 0 || index >= symbolCount_) continue;
        deleteSymbol(index);
        for (std::size_t j = k + 1; j < pending.size(); ++j)
            if (pending[j] > index) --pending[j];
    }
    if (messages_) messages_->status({});
    setModified();
    if (observer_) observer_->subroutinesChanged();
}

void FlowDocument::deleteSelectedLabels()
{
    // Highest index first, so the indices still to go stay valid.
    std::vector<int> order = selectedLabels_;
    std::sort(order.begin(), order.end(), std::greater<>());
    order.erase(std::unique(order.begin(), order.end()), order.end());
    for (const int index : order) {
        if (index < 0 || index >= labelCount_) continue;
        invalidate(labelBounds(labels_[static_cast<std::size_t>(index)]));
        std::move(labels_.begin() + index + 1, labels_.begin() + labelCount_,
                  labels_.begin() + index);
        --labelCount_;
        labels_[static_cast<std::size_t>(labelCount_)] = FlowLabel{};
        if (currentLabel_ == index)
            currentLabel_ = -1;
        else if (currentLabel_ > index)
            --currentLabel_;
    }
    selectedLabels_.clear();
    setModified();
}

void FlowDocument::deleteSelectedLine()
{
    if (selectedLine_ < 0 || selectedLine_ >= lineCount_) return;
    const int index = selectedLine_;
    removeLine(index);
    // The lines that moved down lose their draw state.
    for (int j = index; j < lineCount_; ++j)
        lines_[static_cast<std::size_t>(j)].selected = draw::Normal;
    selectedLine_ = -1;
    setModified();
}

// ---- Subroutines ------------------------------------------------------------------

bool FlowDocument::isSubHead(int i) const
{
    const FlowSymbol& s = symbol(i);
    return s.kind == SymbolKind::StartStop && isSubHeadText(s.text.view());
}

int FlowDocument::renameSubroutineCalls(int n, std::string_view name)
{
    int changed = 0;
    for (int i = 0; i < symbolCount_; ++i) {
        FlowSymbol& s = symbols_[static_cast<std::size_t>(i)];
        if (s.kind != SymbolKind::Process || !isSubCallText(s.text.view())) continue;
        if (subNumberOf(s.text.view()) != n) continue;
        s.text = formatSubText(n, name, subRepeatOf(s.text.view()));
        invalidate(symbolBounds(s));
        ++changed;
    }
    return changed;
}

std::vector<int> FlowDocument::subHeads() const
{
    std::vector<int> heads;
    for (int i = 0; i < symbolCount_; ++i)
        if (isSubHead(i))
            heads.push_back(subNumberOf(symbols_[static_cast<std::size_t>(i)].text.view()));
    return heads;
}

// ---- Numbering ----------------------------------------------------------------------

bool FlowDocument::renumberIo(int oldNumbering, int newNumbering)
{
    const bool fromZeroBefore = oldNumbering == 2;
    const bool fromZeroAfter = newNumbering == 2;
    if (fromZeroBefore == fromZeroAfter) return false;
    const int delta = fromZeroAfter ? -1 : +1;
    for (int i = 0; i < symbolCount_; ++i) {
        FlowSymbol& s = symbols_[static_cast<std::size_t>(i)];
        std::string text = s.text.str();
        if (shiftIoNumbers(s.kind, text, delta)) {
            s.text = text;
            invalidate(symbolBounds(s));
        }
    }
    return true;
}

// ---- Geometry for repainting ----------------------------------------------------

Rect FlowDocument::symbolBounds(const FlowSymbol& s)
{
    const BodySize b = bodySize(s.kind);
    // Captions may spill a little beyond the body; selection frames add a few units.
    const std::int32_t w = std::max(b.halfWidth, 60) + 4;
    return {s.x - w, s.y - b.halfHeight - 4, s.x + w + 1, s.y + b.halfHeight + 5};
}

Rect FlowDocument::labelBounds(const FlowLabel& l)
{
    return {l.x - 4, l.y - 4, l.x + 16 * static_cast<std::int32_t>(l.text.size() + 1) + 4,
            l.y + 14 * l.size + 4};
}

Rect FlowDocument::lineBounds(const FlowLine& l)
{
    Rect r{};
    bool any = false;
    auto add = [&](std::int32_t x, std::int32_t y, std::int32_t margin) {
        const Rect p{x - margin, y - margin, x + margin + 1, y + margin + 1};
        r = any ? r.united(p) : p;
        any = true;
    };
    for (const LinePiece& piece : LinePieces(l)) {
        add(piece.from.x, piece.from.y, 12);  // arrowheads and connector circles
        if (piece.isSegment()) add(piece.to.x, piece.to.y, 12);
    }
    if (l.kind != LineKind::Plain && l.geometry.tag.x >= 0)
        add(l.geometry.tag.x, l.geometry.tag.y, 24);
    return r;
}

}  // namespace tarvel
