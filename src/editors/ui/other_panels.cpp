#include "editors/ui/other_panels.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "editors/command_finish.h"
#include "engine/program_state.h"
#include "flowchart/command_text.h"
#include "flowchart/flow_document.h"
#include "platform/qt/qt_text.h"

namespace tarvel {

namespace {

QPushButton* pushButton(const char* text, int id, QWidget* parent)
{
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QStringLiteral("id%1").arg(id));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

// ---- Start, stop and sub heads ------------------------------------------------------

TEdSTSTDialog::TEdSTSTDialog(ProgramState& state, QWidget* parent)
    : TEditorDialog(state, 600, parent)
{
    setWindowTitle(QStringLiteral("Editar inicio o alto"));
    start_ = pushButton("&Inicio", 101, this);
    stop_ = pushButton("&Alto", 102, this);
    stopAll_ = pushButton("&Páralo Todo", 111, this);
    sub_ = pushButton("&Sub", 103, this);
    name_ = new QLineEdit(this);
    name_->setObjectName("id104");
    name_->setMaxLength(static_cast<int>(kSubNameMax));
    accept_ = pushButton("Aceptar", 106, this);
    auto* cancel = pushButton("Cancelar", 2, this);

    auto* row = new QHBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(start_), static_cast<QWidget*>(stop_),
                       static_cast<QWidget*>(stopAll_), static_cast<QWidget*>(sub_),
                       static_cast<QWidget*>(name_)})
        row->addWidget(w);
    row->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(accept_);
    right->addWidget(cancel);
    auto* outer = new QHBoxLayout(this);
    outer->addLayout(row, 1);
    outer->addLayout(right);

    connect(start_, &QPushButton::clicked, this, [this] { storeFixed("Start"); });
    connect(stop_, &QPushButton::clicked, this, [this] { storeFixed("Stop"); });
    connect(stopAll_, &QPushButton::clicked, this, [this] { storeFixed("Stop All"); });
    connect(sub_, &QPushButton::clicked, this, [this] {
        name_->setEnabled(true);
        accept_->setEnabled(true);
        accept_->setDefault(true);
        name_->setFocus();
    });
    connect(name_, &QLineEdit::returnPressed, this, [this] {
        if (accept_->isEnabled()) storeSub();
    });
    connect(accept_, &QPushButton::clicked, this, &TEdSTSTDialog::storeSub);
    connect(cancel, &QPushButton::clicked, this, &TEdSTSTDialog::reject);
}

QPushButton* TEdSTSTDialog::button(int id) const
{
    return findChild<QPushButton*>(QStringLiteral("id%1").arg(id));
}

void TEdSTSTDialog::load()
{
    const FlowDocument& doc = state_.doc;
    const bool head = target_ >= 0 && target_ < doc.symbolCount() && doc.isSubHead(target_);
    name_->setText(head ? fromCp1252(subNameOf(doc.symbol(target_).text.view())) : QString());
    name_->setEnabled(false);
    accept_->setEnabled(false);
    accept_->setDefault(false);
}

QWidget* TEdSTSTDialog::openingFocus()
{
    return start_;
}

void TEdSTSTDialog::storeFixed(const char* text)
{
    FlowDocument& doc = state_.doc;
    if (target_ < 0 || target_ >= doc.symbolCount()) return dismiss();
    const bool wasHead = doc.isSubHead(target_);
    doc.setSymbolText(target_, text);
    if (wasHead)
        if (DocumentObserver* o = doc.observer()) o->subroutinesChanged();
    finishStore({});
}

void TEdSTSTDialog::storeSub()
{
    FlowDocument& doc = state_.doc;
    if (target_ < 0 || target_ >= doc.symbolCount()) return dismiss();
    // Renamed calls are redrawn too.
    Rect touched;
    for (int i = 0; i < doc.symbolCount(); ++i)
        if (doc.symbol(i).kind == SymbolKind::Process && isSubCallText(doc.symbol(i).text.view()))
            touched = touched.united(FlowDocument::symbolBounds(doc.symbol(i)));
    storeSubHead(doc, target_, toCp1252(name_->text()));
    if (DocumentObserver* o = doc.observer()) o->subroutinesChanged();
    finishStore(touched);
}

// ---- Labels -------------------------------------------------------------------------------

TEdTextDialog::TEdTextDialog(ProgramState& state, LabelAreaFn labelArea, QWidget* parent)
    : TEditorDialog(state, 604, parent), labelArea_(std::move(labelArea))
{
    setWindowTitle(QStringLiteral("Editar etiqueta"));
    text_ = new QLineEdit(this);
    text_->setObjectName("id113");
    text_->setMaxLength(static_cast<int>(kLabelTextMax));
    const char* names[3] = {"Chico", "Mediano", "Grande"};
    auto* sizes = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        sizes_[i] = new QRadioButton(QString::fromUtf8(names[i]), this);
        sizes_[i]->setObjectName(QStringLiteral("id%1").arg(114 + i));
        sizes->addWidget(sizes_[i]);
    }
    sizes->addStretch();
    auto* accept = pushButton("Aceptar", 1, this);
    accept->setDefault(true);
    auto* cancel = pushButton("Cancelar", 2, this);
    auto* left = new QVBoxLayout;
    left->addWidget(text_);
    left->addLayout(sizes);
    auto* right = new QVBoxLayout;
    right->addWidget(accept);
    right->addWidget(cancel);
    auto* outer = new QHBoxLayout(this);
    outer->addLayout(left, 1);
    outer->addLayout(right);
    connect(accept, &QPushButton::clicked, this, &TEdTextDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &TEdTextDialog::reject);
    connect(text_, &QLineEdit::returnPressed, this, &TEdTextDialog::accept);
}

QRadioButton* TEdTextDialog::sizeOption(int size) const
{
    return size >= 1 && size <= 3 ? sizes_[size - 1] : nullptr;
}

Rect TEdTextDialog::targetArea() const
{
    const FlowDocument& doc = state_.doc;
    if (target_ < 0 || target_ >= doc.labelCount()) return {};
    return labelArea_(doc.label(target_));
}

void TEdTextDialog::load()
{
    const FlowDocument& doc = state_.doc;
    const bool valid = target_ >= 0 && target_ < doc.labelCount();
    const FlowLabel* l = valid ? &doc.label(target_) : nullptr;
    text_->setText(l ? fromCp1252(l->text.view()) : QString());
    text_->selectAll();
    sizeOption(l ? std::clamp(l->size, 1, 3) : 1)->setChecked(true);
}

QWidget* TEdTextDialog::openingFocus()
{
    return text_;
}

void TEdTextDialog::accept()
{
    FlowDocument& doc = state_.doc;
    if (target_ < 0 || target_ >= doc.labelCount()) return dismiss();
    // The old text's area is cleared as well as the new one drawn.
    const Rect before = targetArea();
    doc.setLabelText(target_, toCp1252(text_->text()));
    for (int s = 1; s <= 3; ++s)
        if (sizes_[s - 1]->isChecked()) doc.labelRef(target_).size = s;
    finishStore(before);
}

}  // namespace tarvel
