#include "interfaces/ui/monitor_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QSlider>

#include "engine/program_state.h"
#include "interfaces/manual_control.h"
#include "interfaces/ui/st_icon.h"
#include "platform/qt/grey_dialog.h"
#include "platform/qt/qt_text.h"

namespace tarvel {

namespace {

// Control ids, listed from the top row down.
constexpr int kInputEditTop = 101;                             // 101..108, the bottom row is 108
constexpr int kInputLampBottom = 1010;                         // 1010..1017 from the bottom row up
constexpr int kOutputEditTop = 109;                            // 109..116
constexpr int kOutputLampTop = 132;                            // 132..139
constexpr std::array<int, 4> kMotorEdits{147, 146, 145, 140};  // motors A..D
constexpr std::array<int, 4> kMotorButtons{153, 152, 151, 154};  // motors A..D
constexpr int kFirstSlider = 3001;                               // from the bottom row up

// Geometry in pixels of the client area.
constexpr int kEditWidth = 96, kEditHeight = 22;
constexpr int kInputX = 10, kOutputX = 150, kMotorX = 290;
constexpr int kLampOffset = 100;  // from an edit box to its lamp
constexpr int kSliderWidth = 100, kSliderHeight = 30;
// The band of the column headings above the rows: whatever the pupil calls an
// item, its column still says whether it is an input, an output or a motor.
constexpr int kHeadingHeight = 24, kHeadingY = 5;

QString idName(int id)
{
    return QStringLiteral("id%1").arg(id);
}

}  // namespace

TMonitorDialog::TMonitorDialog(LargeMonitor kind, ProgramState& state, ManualControl& control,
                               QWidget* parent)
    : QDialog(parent), kind_(kind), state_(state), control_(control)
{
    rows_ = kind == LargeMonitor::SmallMotors ? 4 : 8;
    motors_ = motorsShown(kind);
    onState_ = kind == LargeMonitor::Outputs ? 1 : 2;
    setObjectName(idName(dialogId()));
    setWindowTitle(QStringLiteral("Monitor"));
    setModal(false);
    paintDialogGrey(*this);
    build();
    state_.io.addObserver(this);
    relabel();
}

TMonitorDialog::~TMonitorDialog()
{
    state_.io.removeObserver(this);
}

int TMonitorDialog::dialogId() const
{
    switch (kind_) {
        case LargeMonitor::Outputs:
            return 214;
        case LargeMonitor::Motors:
            return 215;
        default:
            return 220;
    }
}

void TMonitorDialog::placeRow(QWidget* w, int row, int count, int x)
{
    // Rows are spaced evenly over the client height below the headings, row 0
    // at the bottom.
    const int h = height() - kHeadingHeight;
    const int centre = kHeadingHeight + h - (2 * row + 1) * h / (2 * count);
    w->move(x, centre - w->height() / 2);
}

int TMonitorDialog::itemOf(MonitorItem kind, int row) const
{
    return itemOfRow(kind, row, state_.io.settings.model);
}

int TMonitorDialog::rowOf(MonitorItem kind, int item) const
{
    // The mapping is its own inverse.
    return itemOfRow(kind, item, state_.io.settings.model);
}

void TMonitorDialog::build()
{
    const int width = kind_ == LargeMonitor::Outputs ? 450 : 654;
    const int height = (rows_ == 8 ? 272 : 152) + kHeadingHeight;
    setFixedSize(width, height);
    const int sliderX = 2 * width / 3 - 10;

    auto heading = [this](const char* name, const char* text, int x) {
        auto* label = new QLabel(QString::fromUtf8(text), this);
        label->setObjectName(QString::fromUtf8(name));
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        label->adjustSize();
        label->move(x, kHeadingY);
    };
    heading("headingInputs", "Entradas", kInputX);
    heading("headingOutputs", "Salidas", kOutputX);
    if (motors_ > 0) heading("headingMotors", "Motores", kMotorX);

    auto edit = [this](int id, std::size_t maxLength) {
        auto* e = new QLineEdit(this);
        e->setObjectName(idName(id));
        e->setMaxLength(static_cast<int>(maxLength));
        e->resize(kEditWidth, kEditHeight);
        return e;
    };
    auto slider = [&](int n, int row, int count) {
        auto* s = new QSlider(Qt::Horizontal, this);
        s->setObjectName(idName(kFirstSlider + n));
        s->setRange(0, 100);
        s->setTickPosition(QSlider::TicksBelow);
        s->setTickInterval(10);
        s->setSingleStep(1);
        s->setPageStep(10);
        s->resize(kSliderWidth, kSliderHeight);
        placeRow(s, row, count, sliderX);
        auto* percent = new QLabel(this);
        percent->setObjectName(QStringLiteral("percent%1").arg(n + 1));
        percent->resize(40, kSliderHeight);
        percent->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        placeRow(percent, row, count, sliderX + kSliderWidth + 6);
        sliders_[idx(n)] = s;
        percents_[idx(n)] = percent;
        connect(s, &QSlider::valueChanged, this, [this, n](int v) { sliderMoved(n, v); });
    };

    for (int row = 0; row < rows_; ++row) {
        auto* in = edit(kInputEditTop + 7 - row, kNameMax);
        placeRow(in, row, rows_, kInputX);
        inputEdits_[idx(row)] = in;
        auto* inLamp = new TStIcon(kInputLampBottom + row, this);
        placeRow(inLamp, row, rows_, kInputX + kLampOffset);
        inputLamps_[idx(row)] = inLamp;
        connect(inLamp, &TStIcon::clicked, this,
                [this, row] { control_.clickInput(itemOf(MonitorItem::Input, row)); });
        connect(in, &QLineEdit::textEdited, this, [this, row](const QString& text) {
            state_.doc.inputNames[idx(itemOf(MonitorItem::Input, row))] = toCp1252(text);
            state_.doc.setModified();
        });

        auto* out = edit(kOutputEditTop + 7 - row, kNameMax);
        placeRow(out, row, rows_, kOutputX);
        outputEdits_[idx(row)] = out;
        auto* outLamp = new TStIcon(kOutputLampTop + 7 - row, this);
        placeRow(outLamp, row, rows_, kOutputX + kLampOffset);
        outputLamps_[idx(row)] = outLamp;
        connect(outLamp, &TStIcon::clicked, this,
                [this, row] { control_.clickOutput(itemOf(MonitorItem::Output, row)); });
        connect(out, &QLineEdit::textEdited, this, [this, row](const QString& text) {
            state_.doc.outputNames[idx(itemOf(MonitorItem::Output, row))] = toCp1252(text);
            state_.doc.setModified();
        });
        if (kind_ == LargeMonitor::Outputs) slider(row, row, rows_);
    }
    for (int m = 0; m < motors_; ++m) {
        auto* name = edit(kMotorEdits[idx(m)], kNameMax);
        placeRow(name, m, motors_, kMotorX);
        motorEdits_[idx(m)] = name;
        auto* button = new TStIcon(kMotorButtons[idx(m)], this);
        button->setMotorOutput(2 * m);
        placeRow(button, m, motors_, kMotorX + kLampOffset);
        motorButtons_[idx(m)] = button;
        connect(button, &TStIcon::clicked, this, [this, m] { control_.clickMotor(m); });
        connect(button, &TStIcon::rightClicked, this, [this, m] { control_.rightClickMotor(m); });
        connect(name, &QLineEdit::textEdited, this, [this, m](const QString& text) {
            state_.doc.motorNames[idx(m)] = toCp1252(text);
            state_.doc.setModified();
        });
        slider(m, m, motors_);
    }
}

void TMonitorDialog::sliderMoved(int n, int value)
{
    const bool taken = kind_ == LargeMonitor::Outputs
                           ? control_.setOutputLevel(itemOf(MonitorItem::Output, n), value)
                           : control_.setMotorLevel(n, value);
    if (taken)
        state_.doc.setModified();
    else
        showLevel(n);  // refused while a chart runs: back to the level in force
    percents_[idx(n)]->setText(QStringLiteral("%1 %").arg(sliders_[idx(n)]->value()));
}

void TMonitorDialog::showLevel(int n)
{
    const int output = kind_ == LargeMonitor::Outputs ? itemOf(MonitorItem::Output, n) : 2 * n;
    setSlider(n, control_.level(output));
}

void TMonitorDialog::setSlider(int n, int percent)
{
    QSlider* s = sliders_[idx(n)];
    const QSignalBlocker block(s);
    s->setValue(percent);
    percents_[idx(n)]->setText(QStringLiteral("%1 %").arg(s->value()));
}

void TMonitorDialog::relabel()
{
    const InterfaceSettings& settings = state_.io.settings;
    const InterfaceCaps& caps = state_.io.caps();
    for (int row = 0; row < rows_; ++row) {
        inputLamps_[idx(row)]->setLabel(QString::fromStdString(
            itemLabel(MonitorItem::Input, itemOf(MonitorItem::Input, row), settings, caps)));
        outputLamps_[idx(row)]->setLabel(QString::fromStdString(
            itemLabel(MonitorItem::Output, itemOf(MonitorItem::Output, row), settings, caps)));
    }
    for (int m = 0; m < motors_; ++m)
        motorButtons_[idx(m)]->setLabel(
            QString::fromStdString(itemLabel(MonitorItem::Motor, m, settings, caps)));
    refreshFromDocument();
    const IoImage& image = state_.io.image();
    for (int i = 0; i < 8; ++i) {
        showInput(i, image.inputs[idx(i)]);
        showOutput(i, image.outputs[idx(i)]);
    }
    for (int m = 0; m < 4; ++m) showMotor(m, state_.io.motorState(m));
}

void TMonitorDialog::refreshFromDocument()
{
    const FlowDocument& doc = state_.doc;
    for (int row = 0; row < rows_; ++row) {
        inputEdits_[idx(row)]->setText(
            fromCp1252(doc.inputNames[idx(itemOf(MonitorItem::Input, row))].view()));
        outputEdits_[idx(row)]->setText(
            fromCp1252(doc.outputNames[idx(itemOf(MonitorItem::Output, row))].view()));
    }
    for (int m = 0; m < motors_; ++m)
        motorEdits_[idx(m)]->setText(fromCp1252(doc.motorNames[idx(m)].view()));
    for (int n = 0; n < sliderCount(); ++n) showLevel(n);
}

void TMonitorDialog::placeBeside(const QRect& mainFrame, const QRect& screen)
{
    const QSize outer = frameGeometry().size();
    move(screen.right() + 1 - outer.width(), mainFrame.bottom() + 1 - outer.height());
}

void TMonitorDialog::showEvent(QShowEvent* event)
{
    relabel();
    QDialog::showEvent(event);
}

void TMonitorDialog::showInput(int index, int state)
{
    const int row = rowOf(MonitorItem::Input, index);
    if (row >= 0 && row < rows_) inputLamps_[idx(row)]->setState(state ? onState_ : 0);
}

void TMonitorDialog::showOutput(int index, int state)
{
    const int row = rowOf(MonitorItem::Output, index);
    if (row >= 0 && row < rows_) outputLamps_[idx(row)]->setState(state ? onState_ : 0);
}

void TMonitorDialog::showMotor(int motor, int state)
{
    if (motor >= 0 && motor < motors_) motorButtons_[idx(motor)]->setState(state);
}

void TMonitorDialog::showPower(int output, int percent)
{
    if (kind_ == LargeMonitor::Outputs) {
        const int row = rowOf(MonitorItem::Output, output);
        if (row >= 0 && row < rows_) setSlider(row, percent);
    } else if (output % 2 == 0 && output / 2 < motors_) {
        setSlider(output / 2, percent);
    }
}

}  // namespace tarvel
