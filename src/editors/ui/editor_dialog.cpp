#include "editors/ui/editor_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "editors/command_finish.h"
#include "editors/ui/ed_button.h"
#include "engine/program_state.h"
#include "flowchart/captions.h"
#include "platform/qt/grey_dialog.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/window_place.h"

namespace tarvel {

// ---- The panel -----------------------------------------------------------------------

TEditorDialog::TEditorDialog(ProgramState& state, int dialogId, QWidget* parent)
    : QDialog(parent), state_(state), dialogId_(dialogId)
{
    setObjectName(QStringLiteral("dialog%1").arg(dialogId));
    setModal(false);
    paintDialogGrey(*this);
    hide();
}

void TEditorDialog::openOn(int index, const QRect& client, const QRect& screen)
{
    target_ = index;
    load();
    show();
    placeOn(client, screen);
    raise();
    activateWindow();
    if (QWidget* w = openingFocus()) w->setFocus();
}

void TEditorDialog::placeOn(const QRect& client, const QRect& screen)
{
    // Placed and sized by its outer edge, so the title bar and borders count.
    const int borders = frameGeometry().width() - width();
    resize(std::max(client.width() - borders, minimumSizeHint().width()), sizeHint().height());
    placeOnBottom(*this, client, screen);
}

QWidget* TEditorDialog::openingFocus()
{
    // The panel's first control that takes the keyboard, as a dialog that
    // gets the focus hands it on.
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain())
        if (w->isVisibleTo(this) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) return w;
    return this;
}

void TEditorDialog::dismiss()
{
    hide();
    target_ = -1;
}

void TEditorDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Alt) showMnemonics(true);
    QDialog::keyPressEvent(event);
}

void TEditorDialog::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Alt) showMnemonics(false);
    QDialog::keyReleaseEvent(event);
}

void TEditorDialog::changeEvent(QEvent* event)
{
    // The release of an Alt held while the panel lost the keyboard never comes.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) showMnemonics(false);
    QDialog::changeEvent(event);
}

void TEditorDialog::hideEvent(QHideEvent* event)
{
    showMnemonics(false);
    QDialog::hideEvent(event);
}

void TEditorDialog::showMnemonics(bool shown)
{
    for (TEdButton* key : findChildren<TEdButton*>()) key->setMnemonicShown(shown);
}

Rect TEditorDialog::targetArea() const
{
    const FlowDocument& doc = state_.doc;
    if (target_ < 0 || target_ >= doc.symbolCount()) return {};
    return FlowDocument::symbolBounds(doc.symbol(target_));
}

void TEditorDialog::repaint(const Rect& area)
{
    if (!area.empty())
        if (DocumentObserver* o = state_.doc.observer()) o->invalidate(area);
}

void TEditorDialog::reject()
{
    repaint(targetArea());
    dismiss();
}

void TEditorDialog::finishStore(const Rect& area)
{
    state_.doc.setModified();
    repaint(area.united(targetArea()));
    dismiss();
    emit stored();
}

// ---- Keypad panels ------------------------------------------------------------------

TKeypadDialog::TKeypadDialog(ProgramState& state, int dialogId, SymbolKind kind,
                             std::unique_ptr<Keypad> pad, std::span<const KeySpec> keys,
                             QWidget* parent)
    : TEditorDialog(state, dialogId, parent), kind_(kind), pad_(std::move(pad))
{
    auto* outer = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    caption_ = new QLabel(this);
    caption_->setObjectName("commandCaption");
    caption_->setFrameShape(QFrame::Panel);
    caption_->setFrameShadow(QFrame::Sunken);
    caption_->setMinimumHeight(24);
    caption_->setAutoFillBackground(true);
    QPalette pal = caption_->palette();
    pal.setColor(QPalette::Window, Qt::white);
    caption_->setPalette(pal);
    left->addWidget(caption_);
    auto* grid = new QGridLayout;
    grid->setSpacing(3);
    for (const KeySpec& k : keys) {
        auto* b = new TEdButton(k.bit, QString::fromUtf8(k.caption), this);
        grid->addWidget(b, k.row, k.column);
        keys_[k.bit] = b;
        connect(b, &QPushButton::clicked, this, [this, bit = k.bit] { pressKey(bit); });
    }
    left->addLayout(grid);
    outer->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    auto* accept = new TEdButton(key::Accept, QStringLiteral("Aceptar"), this);
    auto* clear = new TEdButton(key::Clear, QStringLiteral("Borrar"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancelar"), this);
    cancel->setObjectName("cancel");
    cancel->setAutoDefault(false);
    keys_[key::Accept] = accept;
    keys_[key::Clear] = clear;
    connect(accept, &QPushButton::clicked, this, [this] { pressKey(key::Accept); });
    connect(clear, &QPushButton::clicked, this, [this] { pressKey(key::Clear); });
    connect(cancel, &QPushButton::clicked, this, &TKeypadDialog::reject);
    right->addWidget(accept);
    right->addWidget(clear);
    right->addWidget(cancel);
    right->addStretch();
    outer->addLayout(right);
}

TKeypadDialog::~TKeypadDialog() = default;

KeypadContext TKeypadDialog::contextFrom(const ProgramState& state)
{
    KeypadContext c;
    c.model = state.io.settings.model;
    c.subModel = state.io.settings.subModel;
    c.chipLinkKind = state.io.chipLinkKind();
    c.caps = state.io.caps();
    return c;
}

TEdButton* TKeypadDialog::keyButton(int bit) const
{
    const auto it = keys_.find(bit);
    return it == keys_.end() ? nullptr : it->second;
}

QString TKeypadDialog::shownCaption() const
{
    return caption_->text();
}

void TKeypadDialog::load()
{
    pad_->setContext(contextFrom(state_));
    const FlowDocument& doc = state_.doc;
    const std::string_view text = target_ >= 0 && target_ < doc.symbolCount()
                                      ? doc.symbol(target_).text.view()
                                      : std::string_view{};
    pad_->open(text);
    if (pad_->step() == 0 && pad_->text().empty()) atStepZero();
    refresh();
}

void TKeypadDialog::pressKey(int bit)
{
    if (!pad_->isEnabled(bit)) return;
    if (bit == key::Accept) {
        storeCommand();
        return;
    }
    pad_->press(bit);
    if (bit == key::Clear)
        atStepZero();
    else
        afterKey(bit);
    refresh();
}

QWidget* TKeypadDialog::openingFocus()
{
    TEdButton* accept = keys_[key::Accept];
    return accept->isEnabled() ? accept : TEditorDialog::openingFocus();
}

void TKeypadDialog::refresh()
{
    for (auto& [bit, button] : keys_) button->setKeyEnabled(pad_->isEnabled(bit));
    TEdButton* accept = keys_[key::Accept];
    accept->setDefault(pad_->isEnabled(key::Accept));
    if (pad_->isEnabled(key::Accept)) accept->setFocus();
    caption_->setText(fromCp1252(symbolCaption(kind_, pad_->text())));
}

void TKeypadDialog::storeCommand()
{
    FlowDocument& doc = state_.doc;
    if (target_ < 0 || target_ >= doc.symbolCount()) {
        dismiss();
        return;
    }
    doc.setSymbolText(target_, finishCommand(pad_->text()));
    finishStore({});
}

}  // namespace tarvel
