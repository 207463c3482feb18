#include "appearance/ui/colour_pref_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "appearance/ui/colour_patch.h"
#include "platform/qt/grey_dialog.h"

namespace tarvel {

namespace {

// Red, green, blue: their captions, slider ids and value text ids.
struct ComponentRow {
    const char* caption;
    int sliderId;
    int valueId;
};
constexpr ComponentRow kRows[kColourComponents] = {
    {"Rojo", 3008, 110}, {"Verde", 3007, 109}, {"Azul", 3006, 108}};

const QString kNoValue = QStringLiteral("XXX");

QString idName(int id)
{
    return QStringLiteral("id%1").arg(id);
}

}  // namespace

TColourPrefDialog::TColourPrefDialog(const ColourSet& colours, QWidget* parent)
    : QDialog(parent), choice_(colours)
{
    setObjectName(idName(227));
    setWindowTitle(QStringLiteral("Colores"));
    paintDialogGrey(*this);

    auto* top = new QHBoxLayout;
    top->addLayout(buildSliders(), 1);
    auto* side = new QVBoxLayout;
    noColour_ = new QCheckBox(QStringLiteral("Sin color"), this);
    noColour_->setObjectName(idName(106));
    connect(noColour_, &QCheckBox::clicked, this, &TColourPrefDialog::noColourClicked);
    patch_ = new TColourPatch(this);
    patch_->setMinimumSize(64, 40);
    side->addWidget(noColour_);
    side->addWidget(patch_, 1);
    top->addLayout(side);

    auto* radios = new QVBoxLayout;
    auto* group = new QButtonGroup(this);
    for (std::size_t i = 0; i < kColourRadios.size(); ++i) {
        const ColourRadio& r = kColourRadios[i];
        auto* radio = new QRadioButton(QString::fromUtf8(r.caption), this);
        radio->setObjectName(idName(r.id));
        group->addButton(radio);
        radios->addWidget(radio);
        radios_[i] = radio;
        const ColourSet::Entry entry = r.entry;
        connect(radio, &QRadioButton::clicked, this, [this, entry] { selectColour(entry); });
    }

    auto* buttons = makeOkCancelRow(*this, "idOk", "idCancel");

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(radios);
    layout->addLayout(buttons);

    // The window opens on the active symbol colour.
    radios_[0]->setChecked(true);
    selectColour(kColourRadios[0].entry);
}

QLayout* TColourPrefDialog::buildSliders()
{
    auto* grid = new QGridLayout;
    auto* range = new QLabel(QStringLiteral("0-255"), this);
    grid->addWidget(range, 0, 2, Qt::AlignCenter);
    for (int c = 0; c < kColourComponents; ++c) {
        const ComponentRow& row = kRows[c];
        auto* slider = new QSlider(Qt::Horizontal, this);
        slider->setObjectName(idName(row.sliderId));
        slider->setRange(0, kComponentMax);
        slider->setMinimumWidth(160);
        auto* value = new QLabel(kNoValue, this);
        value->setObjectName(idName(row.valueId));
        // The value texts stand out of the grey, on white.
        value->setAutoFillBackground(true);
        QPalette white = value->palette();
        white.setColor(QPalette::Window, Qt::white);
        value->setPalette(white);
        value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        value->setAlignment(Qt::AlignCenter);
        value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
        grid->addWidget(new QLabel(QString::fromUtf8(row.caption), this), c + 1, 0);
        grid->addWidget(slider, c + 1, 1);
        grid->addWidget(value, c + 1, 2);
        sliders_[static_cast<std::size_t>(c)] = slider;
        values_[static_cast<std::size_t>(c)] = value;
        connect(slider, &QSlider::valueChanged, this, [this, c](int v) { sliderMoved(c, v); });
    }
    return grid;
}

void TColourPrefDialog::selectColour(ColourSet::Entry entry)
{
    choice_.select(entry);
    noColour_->setEnabled(choice_.noColourAllowed());
    if (choice_.noColour()) {
        noColour_->setChecked(true);
        showSwitchedOff();
        return;
    }
    noColour_->setChecked(false);
    showComponents();
}

void TColourPrefDialog::showComponents()
{
    for (int c = 0; c < kColourComponents; ++c) {
        QSlider* slider = sliders_[static_cast<std::size_t>(c)];
        slider->setEnabled(true);
        const QSignalBlocker quiet(slider);
        slider->setValue(choice_.component(c));
        values_[static_cast<std::size_t>(c)]->setText(QString::number(choice_.component(c)));
    }
    patch_->setColour(choice_.value());
}

void TColourPrefDialog::showSwitchedOff()
{
    for (int c = 0; c < kColourComponents; ++c) {
        sliders_[static_cast<std::size_t>(c)]->setEnabled(false);
        values_[static_cast<std::size_t>(c)]->setText(kNoValue);
    }
    patch_->setColour(choice_.value());
}

void TColourPrefDialog::sliderMoved(int component, int value)
{
    if (choice_.noColour()) return;
    choice_.setComponent(component, value);
    values_[static_cast<std::size_t>(component)]->setText(QString::number(value));
    patch_->setColour(choice_.value());
}

void TColourPrefDialog::noColourClicked(bool checked)
{
    choice_.setNoColour(checked);
    if (checked)
        showSwitchedOff();
    else
        showComponents();
}

}  // namespace tarvel
