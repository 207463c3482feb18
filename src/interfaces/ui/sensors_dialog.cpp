#include "interfaces/ui/sensors_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QShowEvent>

#include "engine/program_state.h"
#include "interfaces/model_traits.h"
#include "interfaces/ui/logo_icon.h"
#include "interfaces/ui/menu_icon.h"
#include "interfaces/ui/test_mode.h"
#include "platform/qt/grey_dialog.h"
#include "platform/qt/qt_text.h"

namespace tarvel {

namespace {

// Control ids of channels 1..4.
constexpr std::array<int, kSensorChannels> kNameIds{164, 165, 166, 169};
constexpr int kFirstValueId = 158;
constexpr int kFirstUnitId = 150;
constexpr std::array<int, kSensorChannels> kButtonIds{163, 162, 167, 168};
constexpr int kLogoId = 141;
constexpr int kTestBoxId = 116;
constexpr int kNameLength = 16;

// Geometry of the client area: the picture and the check box on top, then
// the rows, channel 4 first.
constexpr int kWidth = 300, kHeight = 204;
constexpr int kMargin = 10, kFirstRowY = 76, kRowPitch = 30, kRowHeight = 24;
constexpr int kNameX = kMargin, kNameWidth = 118;
constexpr int kValueX = 134, kValueWidth = 76;
constexpr int kUnitX = 216, kUnitWidth = 40;
constexpr int kButtonX = 264;

QString idName(int id)
{
    return QStringLiteral("id%1").arg(id);
}

}  // namespace

TSensorsDialog::TSensorsDialog(ProgramState& state, TTestMode& testMode, QWidget* parent)
    : QDialog(parent), state_(state), testMode_(testMode)
{
    setObjectName(idName(219));
    setWindowTitle(QStringLiteral("Sensores"));
    setModal(false);
    paintDialogGrey(*this);
    build();
    state_.io.addObserver(this);
    state_.sensors.addObserver(this);
    for (int c = 0; c < kSensorChannels; ++c) rebuildMenu(c);
    refresh();
}

TSensorsDialog::~TSensorsDialog()
{
    state_.sensors.removeObserver(this);
    state_.io.removeObserver(this);
}

void TSensorsDialog::build()
{
    setFixedSize(kWidth, kHeight);
    logo_ = new TLogoIcon(kLogoId, this);
    logo_->move(kMargin, 8);
    testBox_ = new QCheckBox(QStringLiteral("Modo de Probar"), this);
    testBox_->setObjectName(idName(kTestBoxId));
    testBox_->adjustSize();
    testBox_->move(kValueX, 8 + (logo_->height() - testBox_->height()) / 2);
    connect(testBox_, &QCheckBox::toggled, &testMode_, &TTestMode::setOn);
    connect(&testMode_, &TTestMode::changed, this, [this](bool on) {
        const QSignalBlocker block(testBox_);
        testBox_->setChecked(on);
    });
    for (int c = 0; c < kSensorChannels; ++c) buildRow(c);
}

void TSensorsDialog::buildRow(int channel)
{
    const int y = kFirstRowY + (kSensorChannels - 1 - channel) * kRowPitch;
    auto* name = new QLineEdit(this);
    name->setObjectName(idName(kNameIds[idx(channel)]));
    name->setMaxLength(kNameLength);
    name->setGeometry(kNameX, y, kNameWidth, kRowHeight);
    connect(name, &QLineEdit::textEdited, this, [this, channel](const QString& text) {
        state_.doc.channelNames[idx(channel)] = toCp1252(text);
        state_.doc.setModified();
    });
    names_[idx(channel)] = name;

    auto* value = new QLineEdit(this);
    value->setObjectName(idName(kFirstValueId + channel));
    value->setReadOnly(true);
    value->setFocusPolicy(Qt::NoFocus);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = value->font();
    bold.setBold(true);
    value->setFont(bold);
    value->setGeometry(kValueX, y, kValueWidth, kRowHeight);
    values_[idx(channel)] = value;

    auto* unit = new QLabel(QStringLiteral("%"), this);
    unit->setObjectName(idName(kFirstUnitId + channel));
    unit->setGeometry(kUnitX, y, kUnitWidth, kRowHeight);
    units_[idx(channel)] = unit;

    auto* button = new TMenuIcon(kButtonIds[idx(channel)], this);
    button->move(kButtonX, y + (kRowHeight - button->height()) / 2);
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("sensorMenu%1").arg(channel + 1));
    connect(menu, &QMenu::aboutToShow, this, [this, channel] { markMenu(channel); });
    button->setMenu(menu);
    buttons_[idx(channel)] = button;
    menus_[idx(channel)] = menu;
}

void TSensorsDialog::rebuildMenu(int channel)
{
    QMenu* menu = menus_[idx(channel)];
    menu->clear();
    auto add = [&](const QString& text, int id, int choice) {
        QAction* a = menu->addAction(text);
        a->setObjectName(idName(id));
        a->setCheckable(true);
        // A sensor chosen for a channel is part of the chart, as its name is.
        connect(a, &QAction::triggered, this, [this, channel, choice] {
            state_.sensors.choose(channel, choice);
            state_.doc.setModified();
        });
    };
    const SensorTable& table = state_.sensors.table();
    for (int i = 0; i < table.size(); ++i) {
        QString text = fromCp1252(table.entry(i).calibration.name);
        text.replace('&', QStringLiteral("&&"));
        add(text, kSensorMenuFirst + i, i);
    }
    menu->addSeparator();
    add(QStringLiteral("Porcentaje"), kSensorMenuPercent, kSensorPercent);
    add(QString::fromUtf8("Automática"), kSensorMenuAutomatic, kChooseAutomatic);
    add(QStringLiteral("Ningun"), kSensorMenuNone, kSensorNone);
    markMenu(channel);
}

void TSensorsDialog::markMenu(int channel)
{
    const ChannelSensor& ch = state_.sensors.channel(channel);
    const bool canIdentify = modelTraits(state_.io.settings).offersAutomaticSensors;
    for (QAction* a : menus_[idx(channel)]->actions()) {
        if (a->isSeparator()) continue;
        const int id = a->objectName().mid(2).toInt();
        bool checked = false;
        if (id == kSensorMenuAutomatic) {
            checked = ch.automatic;
            a->setEnabled(canIdentify);
        } else if (id == kSensorMenuPercent) {
            checked = !ch.automatic && ch.sensor == kSensorPercent;
        } else if (id == kSensorMenuNone) {
            checked = !ch.automatic && ch.sensor == kSensorNone;
        } else {
            checked = !ch.automatic && ch.sensor == id - kSensorMenuFirst;
            a->setEnabled(!ch.automatic);
        }
        a->setChecked(checked);
    }
}

void TSensorsDialog::refresh()
{
    for (int c = 0; c < kSensorChannels; ++c) sensorChanged(c);
}

void TSensorsDialog::showValue(int channel, int)
{
    if (channel < 0 || channel >= kSensorChannels) return;
    const QString text = QString::fromStdString(state_.sensors.valueText(channel));
    QLineEdit* field = values_[idx(channel)];
    if (field->text() != text) field->setText(text);
}

void TSensorsDialog::clearValues()
{
    for (QLineEdit* field : values_) field->clear();
}

void TSensorsDialog::sensorChanged(int channel)
{
    if (channel < 0 || channel >= kSensorChannels) return;
    const QString name = fromCp1252(state_.sensors.name(channel));
    QLineEdit* edit = names_[idx(channel)];
    if (edit->text() != name) edit->setText(name);
    const QString unit = fromCp1252(state_.sensors.channel(channel).units);
    if (units_[idx(channel)]->text() != unit) units_[idx(channel)]->setText(unit);
    showValue(channel, 0);
    markMenu(channel);
}

void TSensorsDialog::tableReloaded()
{
    for (int c = 0; c < kSensorChannels; ++c) rebuildMenu(c);
}

void TSensorsDialog::placeBeside(const QRect& monitor, const QRect& mainFrame)
{
    const QSize outer = frameGeometry().size();
    move(monitor.left() - outer.width(), mainFrame.bottom() + 1 - outer.height());
}

void TSensorsDialog::placeAtRightOf(const QRect& mainFrame)
{
    const QSize outer = frameGeometry().size();
    move(mainFrame.right() + 1 - outer.width(), mainFrame.bottom() + 1 - outer.height());
}

void TSensorsDialog::showEvent(QShowEvent* event)
{
    refresh();
    QDialog::showEvent(event);
}

}  // namespace tarvel
