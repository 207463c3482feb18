#include "interfaces/ui/manual_monitor_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>

#include "engine/program_state.h"
#include "interfaces/manual_control.h"
#include "interfaces/monitor_layout.h"
#include "interfaces/ui/cl_icon.h"
#include "interfaces/ui/st_icon.h"
#include "platform/qt/grey_dialog.h"

namespace tarvel {

namespace {

constexpr int kCloseId = 127;
constexpr int kDacFieldId = 300;
constexpr int kTestBoxId = 128;

// Geometry: a title row, then the lamps and fields.
constexpr int kTitleY = 2, kRowY = 20;
constexpr int kLampWidth = 22, kLampHeight = 20, kLampPitch = 24;
constexpr int kInputsX = 6, kValuesX = 210, kOutputsX = 462, kMotorsX = 666, kDacX = 774;
constexpr int kValuePitch = 60, kValueButtonWidth = 18, kValueFieldWidth = 38;
// "Probar" sits in the title row, above the fourth value.
constexpr int kTestBoxX = 390, kTestBoxWidth = 64;

}  // namespace

TManualMonitorDialog::TManualMonitorDialog(ProgramState& state, ManualControl& control,
                                           QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint), state_(state), control_(control)
{
    setObjectName(QStringLiteral("id217"));
    setModal(false);
    paintDialogGrey(*this);
    build();
    state_.io.addObserver(this);
    relabel();
}

TManualMonitorDialog::~TManualMonitorDialog()
{
    state_.io.removeObserver(this);
}

void TManualMonitorDialog::build()
{
    auto title = [this](const char* text, int x) {
        auto* label = new QLabel(QString::fromUtf8(text), this);
        label->move(x, kTitleY);
        label->adjustSize();
    };
    auto lamp = [this](const QString& name, int x) {
        auto* l = new TStIcon(0, this);
        l->setObjectName(name);
        l->setGeometry(x, kRowY, kLampWidth, kLampHeight);
        return l;
    };
    title("Entradas", kInputsX);
    title("Valores", kValuesX);
    title("Salidas", kOutputsX);
    title("Motores", kMotorsX);
    for (int p = 0; p < 8; ++p) {
        inputs_[idx(p)] = lamp(QStringLiteral("inputLamp%1").arg(p), kInputsX + p * kLampPitch);
        connect(inputs_[idx(p)], &TStIcon::clicked, this,
                [this, p] { control_.clickInput(itemAt(true, p)); });
        outputs_[idx(p)] = lamp(QStringLiteral("outputLamp%1").arg(p), kOutputsX + p * kLampPitch);
        connect(outputs_[idx(p)], &TStIcon::clicked, this,
                [this, p] { control_.clickOutput(itemAt(false, p)); });
    }
    for (int m = 0; m < 4; ++m) {
        TStIcon* l = lamp(QStringLiteral("motorLamp%1").arg(m), kMotorsX + m * kLampPitch);
        l->setMotorOutput(2 * m);
        motors_[idx(m)] = l;
        connect(l, &TStIcon::clicked, this, [this, m] { control_.clickMotor(m); });
        connect(l, &TStIcon::rightClicked, this, [this, m] { control_.rightClickMotor(m); });
    }
    for (int c = 0; c < 4; ++c) {
        const int x = kValuesX + c * kValuePitch;
        auto* button = new QPushButton(QString::number(c + 1), this);
        button->setObjectName(QStringLiteral("valueButton%1").arg(c + 1));
        button->setGeometry(x, kRowY, kValueButtonWidth, kLampHeight);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this, [this, c] { control_.clickValue(c); });
        valueButtons_[idx(c)] = button;
        auto* field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("valueField%1").arg(c + 1));
        field->setGeometry(x + kValueButtonWidth + 1, kRowY, kValueFieldWidth, kLampHeight);
        field->setReadOnly(true);
        field->setFocusPolicy(Qt::NoFocus);
        valueFields_[idx(c)] = field;
    }
    dacButton_ = new QPushButton(QStringLiteral("DAC"), this);
    dacButton_->setObjectName(QStringLiteral("dacButton"));
    dacButton_->setGeometry(kDacX, 1, kValueFieldWidth, kRowY - 2);
    dacButton_->setFocusPolicy(Qt::NoFocus);
    connect(dacButton_, &QPushButton::clicked, this, [this] { control_.clickDac(); });
    dacField_ = new QLineEdit(this);
    dacField_->setObjectName(QStringLiteral("id%1").arg(kDacFieldId));
    dacField_->setGeometry(kDacX, kRowY, kValueFieldWidth, kLampHeight);
    dacField_->setReadOnly(true);
    dacField_->setFocusPolicy(Qt::NoFocus);
    testBox_ = new QCheckBox(QStringLiteral("Probar"), this);
    testBox_->setObjectName(QStringLiteral("id%1").arg(kTestBoxId));
    testBox_->setGeometry(kTestBoxX, 0, kTestBoxWidth, kRowY - 1);
    testBox_->setFocusPolicy(Qt::NoFocus);
    close_ = new TClIcon(kCloseId, this);
    connect(close_, &TClIcon::clicked, this, &QWidget::hide);
    setMfaLayout(false);
}

void TManualMonitorDialog::setMfaLayout(bool mfa)
{
    mfa_ = mfa;
    const int width = mfa ? kFullWidth : kFullWidth * 47 / 50 + 1;
    setFixedSize(width, kHeight);
    dacButton_->setVisible(mfa);
    dacField_->setVisible(mfa);
    close_->move(width - close_->width() - 4, 4);
}

int TManualMonitorDialog::itemAt(bool input, int position) const
{
    return itemOfRow(input ? MonitorItem::Input : MonitorItem::Output, position,
                     state_.io.settings.model);
}

void TManualMonitorDialog::relabel()
{
    const InterfaceLayer& io = state_.io;
    // The lamps of model 8 run backwards as the MFA's do (itemAt), but only
    // the MFA has the analogue output that needs the full width.
    setMfaLayout(reducedMonitorWide(io.settings.model));
    for (int p = 0; p < 8; ++p) {
        inputs_[idx(p)]->setLabel(QString::fromStdString(
            itemLabel(MonitorItem::Input, itemAt(true, p), io.settings, io.caps())));
        outputs_[idx(p)]->setLabel(QString::fromStdString(
            itemLabel(MonitorItem::Output, itemAt(false, p), io.settings, io.caps())));
    }
    for (int m = 0; m < 4; ++m)
        motors_[idx(m)]->setLabel(
            QString::fromStdString(itemLabel(MonitorItem::Motor, m, io.settings, io.caps())));
    for (int i = 0; i < 8; ++i) {
        showInput(i, io.image().inputs[idx(i)]);
        showOutput(i, io.image().outputs[idx(i)]);
    }
    for (int m = 0; m < 4; ++m) showMotor(m, io.motorState(m));
    for (int c = 0; c < 4; ++c) showValue(c, io.image().analogue[idx(c)]);
    showDac(io.image().dacValue);
}

void TManualMonitorDialog::showEvent(QShowEvent* event)
{
    relabel();
    QDialog::showEvent(event);
}

void TManualMonitorDialog::paintEvent(QPaintEvent*)
{
    // No title bar: a raised edge marks the strip off from the chart.
    QPainter p(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    p.setPen(Qt::white);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(QColor(64, 64, 64));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

void TManualMonitorDialog::showInput(int index, int state)
{
    const int p = itemAt(true, index);
    if (p >= 0 && p < 8) inputs_[idx(p)]->setState(state ? 1 : 0);
}

void TManualMonitorDialog::showOutput(int index, int state)
{
    const int p = itemAt(false, index);
    if (p >= 0 && p < 8) outputs_[idx(p)]->setState(state ? 1 : 0);
}

void TManualMonitorDialog::showMotor(int motor, int state)
{
    if (motor >= 0 && motor < 4) motors_[idx(motor)]->setState(state);
}

void TManualMonitorDialog::showValue(int channel, int)
{
    if (channel < 0 || channel > 3) return;
    // A channel without sensor shows nothing.
    QString text;
    if (state_.doc.sensorAssignment[idx(channel)] != kSensorNone)
        text = QString::fromStdString(state_.sensors.compactValueText(channel));
    if (valueFields_[idx(channel)]->text() != text) valueFields_[idx(channel)]->setText(text);
}

void TManualMonitorDialog::clearValues()
{
    for (QLineEdit* field : valueFields_) field->clear();
}

void TManualMonitorDialog::showDac(int value)
{
    dacField_->setText(QString::asprintf("%d", value));
}

}  // namespace tarvel
