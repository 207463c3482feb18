#pragma once
// The one flowchart in memory: fixed tables of symbols, lines and labels with
// their texts, the document-wide names and settings that travel with the chart
// in its file, and the editing state (selection, modified, untitled, path).
//
// Entries are identified by index. Deleting compacts a table and renumbers
// every stored reference at the same time. Every limit is checked before a
// table changes, so a refused operation leaves the document untouched.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "flowchart/fixed_text.h"
#include "flowchart/flow_types.h"
#include "interfaces/io_image.h"

namespace tarvel {

class Messages;

using SymbolText = FixedText<kSymbolTextMax>;
using LabelText = FixedText<kLabelTextMax>;
using NameText = FixedText<kNameMax>;
using MimicName = FixedText<kMimicNameMax>;
using SoundName = FixedText<kSoundNameMax>;

struct FlowSymbol {
    SymbolKind kind = SymbolKind::StartStop;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t selected = 0;  // draw state 0..7; never stored
    SymbolText text;
    // A run holds every task when one reaches this symbol. Kept beside the
    // chart file, never in it, so it moves with the symbol when others go.
    bool breakpoint = false;
};

struct FlowLabel {
    std::int32_t size = 1;  // 1 small, 2 medium, 3 large
    std::int32_t x = 0;     // left edge of the text
    std::int32_t y = 0;     // top of the text
    LabelText text;
};

struct LineGeometry {
    Point tag{-1, -1};
    std::array<Point, kLinePoints> points{};  // unused points hold (-1, -1)
};

struct FlowLine {
    std::int32_t origin = 0;
    std::int32_t destination = 0;
    LineKind kind = LineKind::Plain;
    std::int32_t selected = 0;  // draw state 0..7; never stored
    LineGeometry geometry;

    // Points in use: up to the first whose x is -1.
    int pointCount() const;
    // A line that could not be routed carries a connector mark as its third point.
    bool hasConnector() const { return geometry.points[2].x == kConnectorMarkX; }
    // 'A'..'Z' for a line with a connector mark, else 0.
    int connectorLetter() const;
};

// What an edit can change: the entries in use and the document-wide data.
// Selection, draw states and the file's name and flags are not part of it.
struct ChartContent {
    std::vector<FlowSymbol> symbols;
    std::vector<FlowLine> lines;
    std::vector<FlowLabel> labels;
    std::array<bool, kConnectorLetters> letterInUse{};
    std::array<NameText, kIoCount> inputNames;
    std::array<NameText, kIoCount> outputNames;
    std::array<NameText, kMotorCount> motorNames;
    std::array<NameText, kSensorChannels> channelNames;
    std::array<int, kIoCount> outputLevels{};
    std::array<int, kSensorChannels> sensorAssignment{};
    std::array<bool, kSensorChannels> sensorAutomatic{};
    MimicName mimicSet;
    std::array<SoundName, kSoundSlots> soundFiles;
};

// What the windows showing the document follow.
class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;
    // A part of the drawing must be repainted (document units).
    virtual void invalidate(const Rect& area) = 0;
    // The set of subroutine heads may have changed: rebuild the run-what menu.
    virtual void subroutinesChanged() = 0;
    // Something in the chart was changed by an edit (the modified flag was set).
    virtual void edited() {}
};

// Sensor assignment of an analogue channel besides a sensor identifier.
inline constexpr int kSensorPercent = -1;
inline constexpr int kSensorNone = -2;
// How the file marks a channel whose sensor the interface identifies itself.
inline constexpr int kSensorAutomatic = -3;

class FlowDocument {
public:
    explicit FlowDocument(Messages* messages = nullptr, DocumentObserver* observer = nullptr);

    void setMessages(Messages* messages) { messages_ = messages; }
    void setObserver(DocumentObserver* observer) { observer_ = observer; }
    Messages* messages() const { return messages_; }
    DocumentObserver* observer() const { return observer_; }

    // ---- Tables -----------------------------------------------------------
    int symbolCount() const { return symbolCount_; }
    int lineCount() const { return lineCount_; }
    int labelCount() const { return labelCount_; }

    const FlowSymbol& symbol(int i) const { return symbols_.at(static_cast<std::size_t>(i)); }
    const FlowLine& line(int i) const { return lines_.at(static_cast<std::size_t>(i)); }
    const FlowLabel& label(int i) const { return labels_.at(static_cast<std::size_t>(i)); }
    // Direct access for editing and loading (positions, geometry, draw states).
    FlowSymbol& symbolRef(int i) { return symbols_.at(static_cast<std::size_t>(i)); }
    FlowLine& lineRef(int i) { return lines_.at(static_cast<std::size_t>(i)); }
    FlowLabel& labelRef(int i) { return labels_.at(static_cast<std::size_t>(i)); }

    void setSymbolText(int i, std::string_view text);
    void setLabelText(int i, std::string_view text);

    // Appends check the capacity first; a refusal shows its warning and returns -1.
    // The new entry's area is reported to the observer.
    int appendSymbol(SymbolKind kind, Point centre);
    int appendLabel(Point topLeft);
    int appendLine(int origin, int destination, LineKind kind, const LineGeometry& geometry);

    // ---- Edits that report the areas they change ----------------------------
    // Moving a symbol or a label, or giving a line another path: the observer
    // is told the area it covered and the area it covers now. (Draw states and
    // the selection are not reported: the window compares what it shows.)
    void moveSymbol(int i, Point centre);
    void moveLabel(int i, Point topLeft);
    void setLineGeometry(int i, const LineGeometry& geometry);
    // An edit undone whole: the tables, names and settings as they were in
    // `snapshot` (a copy of this document taken before the edit), with this
    // document's ports kept; the whole drawing is reported.
    void revertTo(const FlowDocument& snapshot);
    // The content as it stands, and the content put back (an undo or a redo):
    // the selection is cleared, draw states are normal, the whole drawing and
    // the sub heads are reported.
    ChartContent content() const;
    void restoreContent(const ChartContent& content);
    // Whether the content differs from `content` (draw states and breakpoints aside).
    bool differsFrom(const ChartContent& content) const;

    bool symbolsFull() const { return symbolCount_ >= kMaxSymbols; }
    bool linesFull() const { return lineCount_ >= kMaxLines; }
    bool labelsFull() const { return labelCount_ >= kMaxLabels; }

    // Centre snapped down to the placing grid.
    static Point snapToGrid(Point p);

    // ---- Connector letters ------------------------------------------------
    // Takes the first free letter from 'A'; with all 26 in use shows the refusal
    // and returns 0.
    int takeConnectorLetter();
    void freeConnectorLetter(int letter);
    bool connectorLetterInUse(int letter) const;
    // Sets the in-use flags from the lines present (after loading).
    void recountConnectorLetters();

    // ---- Selection and editing state ---------------------------------------
    const std::vector<int>& selectedSymbols() const { return selectedSymbols_; }
    const std::vector<int>& selectedLabels() const { return selectedLabels_; }
    int selectedLine() const { return selectedLine_; }
    void selectSymbol(int i);
    void deselectSymbol(int i);
    void selectLabel(int i);
    void deselectLabel(int i);
    void setSelectedLine(int i);
    void clearSelection();
    bool isSymbolSelected(int i) const;
    bool isLabelSelected(int i) const;

    int currentSymbol() const { return currentSymbol_; }
    void setCurrentSymbol(int i) { currentSymbol_ = i; }
    int currentLabel() const { return currentLabel_; }
    void setCurrentLabel(int i) { currentLabel_ = i; }

    bool modified() const { return modified_; }
    // Setting the flag tells the observer an edit was made.
    void setModified(bool m = true);
    // The flag alone, as the edit history sets it after an undo or a redo.
    void setModifiedFlag(bool m) { modified_ = m; }
    bool untitled() const { return untitled_; }
    void setUntitled(bool u) { untitled_ = u; }
    const std::string& path() const { return path_; }
    void setPath(std::string path) { path_ = std::move(path); }
    // The file name without its directory, for the window caption.
    std::string fileName() const;

    // ---- Deleting ---------------------------------------------------------
    // The delete command: asks first when more than one object is selected
    // (No cancels it all), then deletes the selected symbols, labels and line.
    // Returns false when the user cancelled.
    bool deleteSelection();
    void deleteSelectedSymbols();
    void deleteSelectedLabels();
    void deleteSelectedLine();

    // ---- Breakpoints -------------------------------------------------------
    // The symbols that hold a run, in index order.
    std::vector<int> breakpoints() const;
    // Sets exactly these breakpoints; indices outside the table are skipped.
    void setBreakpoints(const std::vector<int>& symbols);
    void toggleBreakpoint(int i);

    // ---- Subroutines -------------------------------------------------------
    bool isSubHead(int i) const;
    // Rewrites every call of subroutine n with the new name, keeping its repeat
    // count; returns how many calls changed.
    int renameSubroutineCalls(int n, std::string_view name);
    // The sub numbers of the heads present, in table order.
    std::vector<int> subHeads() const;

    // ---- Numbering ---------------------------------------------------------
    // Shifts every input and output number of the command texts when the
    // numbering base changes from oldNumbering to newNumbering. Returns
    // whether the bases differed.
    bool renumberIo(int oldNumbering, int newNumbering);

    // ---- New document -----------------------------------------------------
    // Empties the tables and puts the names and settings back to their defaults;
    // channels identify their sensors themselves on models that can do so.
    void clear(int model, int subModel);

    // ---- Document-wide data -------------------------------------------------
    std::array<NameText, kIoCount> inputNames;
    std::array<NameText, kIoCount> outputNames;
    std::array<NameText, kMotorCount> motorNames;
    std::array<NameText, kSensorChannels> channelNames;
    std::array<int, kIoCount> outputLevels{};
    // Per analogue channel: a sensor identifier, kSensorPercent or kSensorNone;
    // besides, the automatic flag (the interface identifies the sensor).
    std::array<int, kSensorChannels> sensorAssignment{};
    std::array<bool, kSensorChannels> sensorAutomatic{};
    MimicName mimicSet;
    std::array<SoundName, kSoundSlots> soundFiles;

    // The area a symbol, a line and a label cover when drawn, for repainting
    // (a label's allows for the widest characters of its size).
    static Rect symbolBounds(const FlowSymbol& s);
    static Rect lineBounds(const FlowLine& l);
    static Rect labelBounds(const FlowLabel& l);

private:
    void deleteSymbol(int index);
    void removeLine(int index);
    void invalidate(const Rect& r);
    void warn(std::string_view text) const;

    Messages* messages_ = nullptr;
    DocumentObserver* observer_ = nullptr;

    std::array<FlowSymbol, kMaxSymbols> symbols_{};
    std::array<FlowLine, kMaxLines> lines_{};
    std::array<FlowLabel, kMaxLabels> labels_{};
    int symbolCount_ = 0;
    int lineCount_ = 0;
    int labelCount_ = 0;

    std::array<bool, kConnectorLetters> letterInUse_{};

    std::vector<int> selectedSymbols_;
    std::vector<int> selectedLabels_;
    int selectedLine_ = -1;
    int currentSymbol_ = -1;
    int currentLabel_ = -1;
    bool modified_ = false;
    bool untitled_ = true;
    std::string path_;
};

}  // namespace tarvel
