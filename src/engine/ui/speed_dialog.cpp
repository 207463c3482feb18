#include "engine/ui/speed_dialog.h"

#include "platform/qt/grey_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QSlider>
#include <QVBoxLayout>

#include "appearance/colour_set.h"
#include "engine/speed_settings.h"

namespace tarvel {

namespace {

QCheckBox* makeBox(int id, const char* text, QWidget* parent)
{
    auto* box = new QCheckBox(QString::fromUtf8(text), parent);
    box->setObjectName(QStringLiteral("id%1").arg(id));
    return box;
}

}  // namespace

TSpeedDialog::TSpeedDialog(SpeedSettings& speed, ColourSet& colours, QWidget* parent)
    : QDialog(parent), speed_(speed), colours_(colours)
{
    setWindowTitle(QStringLiteral("Control de Velocidad"));
    setModal(false);
    paintDialogGrey(*this);

    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setObjectName(QStringLiteral("id3008"));
    slider_->setRange(0, kSliderMax);
    slider_->setTickInterval(100);
    slider_->setTickPosition(QSlider::TicksBelow);
    slider_->setPageStep(100);
    slider_->setFixedSize(306, 30);

    singleStep_ = makeBox(101, "Barra Espaciadora", this);
    lines_ = makeBox(102, "Líneas", this);
    symbols_ = makeBox(103, "Símbolos", this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 12);
    layout->setSpacing(2);
    layout->addWidget(slider_);
    // The two words mark the ends of the slider, not of the window, which the
    // check boxes may make a little wider.
    auto* endsRow = new QWidget(this);
    auto* slow = new QLabel(QStringLiteral("Despacio"), endsRow);
    auto* fast = new QLabel(QString::fromUtf8("Rápido"), endsRow);
    endsRow->setFixedWidth(slider_->width());
    auto* ends = new QHBoxLayout(endsRow);
    ends->setContentsMargins(0, 0, 0, 0);
    ends->addWidget(slow);
    ends->addStretch();
    ends->addWidget(fast);
    layout->addWidget(endsRow, 0, Qt::AlignLeft);
    layout->addSpacing(14);
    auto* boxes = new QHBoxLayout;
    boxes->setContentsMargins(4, 0, 4, 0);
    boxes->setSpacing(12);
    boxes->addWidget(singleStep_);
    boxes->addStretch();
    boxes->addWidget(lines_);
    boxes->addWidget(symbols_);
    layout->addLayout(boxes);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Only the user's moves and clicks change the settings; loading the window
    // sets the controls without these firing.
    connect(slider_, &QSlider::valueChanged, this, &TSpeedDialog::sliderMoved);
    connect(singleStep_, &QCheckBox::clicked, this, &TSpeedDialog::singleStepClicked);
    connect(lines_, &QCheckBox::clicked, this, [this](bool on) {
        colours_.setDrawn(ColourSet::ActiveLine, on);
        emit marksChanged();
    });
    connect(symbols_, &QCheckBox::clicked, this, [this](bool on) {
        colours_.setDrawn(ColourSet::ActiveSymbol, on);
        emit marksChanged();
    });

    loadFromSettings();
}

void TSpeedDialog::loadFromSettings()
{
    {
        // A configured pace beyond the slider's reach stays in force until the
        // slider is moved, so placing the thumb must not apply it.
        const QSignalBlocker block(slider_);
        slider_->setValue(speed_.sliderPosition());
    }
    lastPosition_ = slider_->value();
    singleStep_->setChecked(speed_.singleStep);
    slider_->setEnabled(!speed_.singleStep);
    refreshMarks();
}

void TSpeedDialog::refreshMarks()
{
    lines_->setChecked(colours_.drawn(ColourSet::ActiveLine));
    symbols_->setChecked(colours_.drawn(ColourSet::ActiveSymbol));
}

void TSpeedDialog::showEvent(QShowEvent* event)
{
    loadFromSettings();
    QDialog::showEvent(event);
}

void TSpeedDialog::sliderMoved(int position)
{
    if (position == lastPosition_) return;
    lastPosition_ = position;
    speed_.applySlider(position);
    emit intervalChanged();
}

void TSpeedDialog::singleStepClicked(bool on)
{
    speed_.singleStep = on;
    slider_->setEnabled(!on);
    if (on) {
        speed_.holdAll();
        emit chartFocusRequested();
    } else {
        speed_.releaseAll();
    }
}

}  // namespace tarvel
