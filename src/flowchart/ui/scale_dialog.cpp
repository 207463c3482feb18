#include "flowchart/ui/scale_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/qt/grey_dialog.h"

namespace tarvel {

namespace {

constexpr int kStep = 10;
constexpr int kMinPercent = kMinZoomTenths * 10;
constexpr int kMaxPercent = kMaxZoomTenths * 10;
constexpr int kFieldLength = 4;

QPushButton* makeButton(const QString& text, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    // Enter in the field means "Zoom", never a step or a preset.
    button->setAutoDefault(false);
    return button;
}

}  // namespace

TScaleDialog::TScaleDialog(int zoomTenths, QWidget* parent)
    : QDialog(parent), zoomTenths_(zoomTenths)
{
    setWindowTitle(QStringLiteral("Vista Zoom"));
    paintDialogGrey(*this);

    field_ = new QLineEdit(this);
    field_->setObjectName(QStringLiteral("zoomField"));
    field_->setMaxLength(kFieldLength);
    field_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), field_));
    field_->setAlignment(Qt::AlignRight);
    field_->setFixedWidth(field_->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);

    auto* smaller = makeButton(QStringLiteral("<"), "smaller", this);
    auto* larger = makeButton(QStringLiteral(">"), "larger", this);
    for (auto* step : {smaller, larger}) step->setFixedWidth(32);
    connect(smaller, &QPushButton::clicked, this,
            [this] { setPercent(std::max(fieldPercent() - kStep, kMinPercent)); });
    connect(larger, &QPushButton::clicked, this,
            [this] { setPercent(std::min(fieldPercent() + kStep, kMaxPercent)); });

    auto* stepRow = new QHBoxLayout;
    stepRow->addStretch();
    stepRow->addWidget(smaller);
    stepRow->addWidget(field_);
    stepRow->addWidget(new QLabel(QStringLiteral("%"), this));
    stepRow->addWidget(larger);
    stepRow->addStretch();

    auto* presetRow = new QHBoxLayout;
    for (const int percent : {100, 80, 50, 30}) {
        const QByteArray name = "preset" + QByteArray::number(percent);
        auto* preset = makeButton(QStringLiteral("%1%").arg(percent), name.constData(), this);
        connect(preset, &QPushButton::clicked, this, [this, percent] { setPercent(percent); });
        presetRow->addWidget(preset);
    }

    auto* zoom = new QPushButton(QStringLiteral("Zoom"), this);
    zoom->setObjectName(QStringLiteral("zoomButton"));
    zoom->setDefault(true);
    auto* cancel = makeButton(QStringLiteral("Cancelar"), "cancelButton", this);
    connect(zoom, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* endRow = new QHBoxLayout;
    endRow->addStretch();
    endRow->addWidget(zoom);
    endRow->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(stepRow);
    layout->addSpacing(4);
    layout->addLayout(presetRow);
    layout->addSpacing(8);
    layout->addLayout(endRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setZoom(zoomTenths);
}

void TScaleDialog::setZoom(int zoomTenths)
{
    zoomTenths_ = zoomTenths;
    setPercent(zoomTenths * 10);
    field_->selectAll();
    field_->setFocus();
}

int TScaleDialog::fieldPercent() const
{
    bool ok = false;
    const int percent = field_->text().trimmed().toInt(&ok);
    return ok ? percent : zoomTenths_ * 10;
}

void TScaleDialog::setPercent(int percent)
{
    field_->setText(QString::number(percent));
}

int TScaleDialog::chosenZoom() const
{
    bool ok = false;
    const int percent = field_->text().trimmed().toInt(&ok);
    if (!ok) return zoomTenths_;
    return std::clamp(percent / 10, kMinZoomTenths, kMaxZoomTenths);
}

}  // namespace tarvel
