#include "editors/ui/keypad_dialogs.h"

#include <algorithm>

#include "editors/ui/ed_button.h"
#include "editors/ui/send_serial_dialog.h"
#include "engine/program_state.h"
#include "flowchart/command_text.h"
#include "platform/qt/qt_text.h"

namespace tarvel {

namespace {

// Rows: the command keys, the digits, what follows an item or operand, the variables.
constexpr KeySpec kOutputKeys[] = {
    {5, "E / &S", 0, 0},   {6, "&Salida", 0, 1},  {7, "&Motor", 0, 2},   {27, "&DAC", 0, 3},
    {26, "S&onido", 0, 4}, {0, "&SAL", 0, 5},     {1, "&Envie", 0, 6},   {8, "&0", 1, 0},
    {9, "&1", 1, 1},       {10, "&2", 1, 2},      {11, "&3", 1, 3},      {12, "&4", 1, 4},
    {13, "&5", 1, 5},      {14, "&6", 1, 6},      {15, "&7", 1, 7},      {16, "&8", 1, 8},
    {17, "&9", 1, 9},      {18, "&activa", 2, 0}, {19, "&desact", 2, 1}, {20, "a&del", 2, 2},
    {21, "a&trás", 2, 3},  {22, "a", 3, 0},       {23, "b", 3, 1},       {24, "c", 3, 2},
    {25, "d", 3, 3},       {28, "n", 3, 4},       {29, "x", 3, 5},       {30, "y", 3, 6},
    {31, "z", 3, 7},
};

constexpr KeySpec kProcessKeys[] = {
    {5, "&Tardar", 0, 0}, {6, "&Fijar", 0, 1}, {31, "&Sub", 0, 2}, {1, "&Val", 0, 3},
    {8, "&0", 1, 0},      {9, "&1", 1, 1},     {10, "&2", 1, 2},   {11, "&3", 1, 3},
    {12, "&4", 1, 4},     {13, "&5", 1, 5},    {14, "&6", 1, 6},   {15, "&7", 1, 7},
    {16, "&8", 1, 8},     {17, "&9", 1, 9},    {30, "&=", 2, 0},   {18, "&+", 2, 1},
    {19, "&-", 2, 2},     {20, "&*", 2, 3},    {21, "&/", 2, 4},   {7, "&.", 2, 5},
    {22, "a", 3, 0},      {23, "b", 3, 1},     {24, "c", 3, 2},    {25, "d", 3, 3},
    {26, "n", 3, 4},      {27, "x", 3, 5},     {28, "y", 3, 6},    {29, "z", 3, 7},
};

constexpr KeySpec kDecisionKeys[] = {
    {5, "&Es", 0, 0},      {6, "&Entrada", 0, 1}, {7, "&Val", 0, 2}, {1, "&Margen", 0, 3},
    {0, "E&N", 0, 4},      {8, "&0", 1, 0},       {9, "&1", 1, 1},   {10, "&2", 1, 2},
    {11, "&3", 1, 3},      {12, "&4", 1, 4},      {13, "&5", 1, 5},  {14, "&6", 1, 6},
    {15, "&7", 1, 7},      {16, "&8", 1, 8},      {17, "&9", 1, 9},  {18, "&activa", 2, 0},
    {19, "&desact", 2, 1}, {30, "&=", 2, 2},      {31, "&!=", 2, 3}, {20, "&>", 2, 4},
    {21, "&<", 2, 5},      {3, "&.", 2, 6},       {22, "a", 3, 0},   {23, "b", 3, 1},
    {24, "c", 3, 2},       {25, "d", 3, 3},       {26, "n", 3, 4},   {27, "x", 3, 5},
    {28, "y", 3, 6},       {29, "z", 3, 7},
};

constexpr int kSubMenuBase = 6000;

}  // namespace

// ---- Output ------------------------------------------------------------------------------

TEdIoDialog::TEdIoDialog(ProgramState& state, Messages& messages, QWidget* parent)
    : TKeypadDialog(state, 601, SymbolKind::Output, std::make_unique<OutputKeypad>(KeypadContext{}),
                    kOutputKeys, parent),
      messages_(messages)
{
    setWindowTitle(QStringLiteral("Editar salida"));
    sendChooser_ = [this]() -> std::optional<std::string> {
        TSendSerialDialog dialog(messages_, this);
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return dialog.sendText();
    };
}

void TEdIoDialog::afterKey(int bit)
{
    if (bit == key::out::Sound) {
        emit soundsRequested();
        // The digits that follow are typed here, not into the sounds window.
        activateWindow();
        return;
    }
    if (bit != key::out::Send) return;
    auto& pad = static_cast<OutputKeypad&>(keypad());
    const std::optional<std::string> chosen = sendChooser_();
    pad.sendChosen(chosen ? &*chosen : nullptr);
}

// ---- Process -----------------------------------------------------------------------------

TEdProcDialog::TEdProcDialog(ProgramState& state, QWidget* parent)
    : TKeypadDialog(state, 602, SymbolKind::Process,
                    std::make_unique<ProcessKeypad>(KeypadContext{}), kProcessKeys, parent),
      subMenu_(new QMenu(this))
{
    setWindowTitle(QStringLiteral("Editar proceso"));
    subMenu_->setObjectName("subMenu");
    connect(subMenu_, &QMenu::triggered, this,
            [this](QAction* a) { chooseSub(a->data().toInt()); });
}

void TEdProcDialog::atStepZero()
{
    // The heads in number order, each as "3(luz)".
    const FlowDocument& doc = state_.doc;
    std::vector<std::pair<int, std::string>> heads;
    for (int i = 0; i < doc.symbolCount(); ++i) {
        if (!doc.isSubHead(i)) continue;
        const std::string_view text = doc.symbol(i).text.view();
        heads.emplace_back(subNumberOf(text),
                           std::string(text.substr(std::min<std::size_t>(4, text.size()))));
    }
    std::sort(heads.begin(), heads.end());
    subMenu_->clear();
    subEntries_.clear();
    for (const auto& [n, entry] : heads) {
        // A '&' in a name is shown, not taken as a shortcut.
        subMenu_->addAction(fromCp1252(entry).replace('&', QStringLiteral("&&")))
            ->setData(kSubMenuBase + n);
        subEntries_[kSubMenuBase + n] = entry;
    }
    if (heads.empty()) subMenu_->addAction(QStringLiteral("None"))->setData(0);
}

void TEdProcDialog::afterKey(int bit)
{
    if (bit != key::proc::Sub) return;
    const TEdButton* b = keyButton(bit);
    subMenu_->popup(b->mapToGlobal(QPoint(0, b->height())));
}

void TEdProcDialog::chooseSub(int id)
{
    auto& pad = static_cast<ProcessKeypad&>(keypad());
    // "None" stands alone when the chart has no Sub head: there is nothing to call.
    if (!pad.wantsSubMenu() || id <= kSubMenuBase) return;
    const auto it = subEntries_.find(id);
    if (it == subEntries_.end()) return;
    pad.subChosen(it->second);
    refresh();
}

// ---- Decision ----------------------------------------------------------------------------

TEdDeciDialog::TEdDeciDialog(ProgramState& state, QWidget* parent)
    : TKeypadDialog(state, 603, SymbolKind::Decision,
                    std::make_unique<DecisionKeypad>(KeypadContext{}), kDecisionKeys, parent)
{
    setWindowTitle(QString::fromUtf8("Editar decisión"));
}

}  // namespace tarvel
