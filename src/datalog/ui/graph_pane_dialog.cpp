#include "datalog/ui/graph_pane_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "datalog/ui/graph_painter.h"
#include "platform/qt/grey_dialog.h"

namespace tarvel {

namespace {

// The toolbox's controls are numbered from here, in icon order.
constexpr int kFirstControl = 101;

const QColor kPickedFace(255, 255, 160);
const QColor kPlacedFace(128, 128, 128);

const char* const kGroupTitles[kIconGroups] = {
    "Analógico:", "Entradas:", "Salidas:", "Motors:", "Frecuencia de Entradas:"};

}  // namespace

TGraphPaneIcon::TGraphPaneIcon(int icon, int colourIndex, QWidget* parent)
    : QAbstractButton(parent), icon_(icon), colourIndex_(colourIndex)
{
    setFixedSize(sizeHint());
    setFocusPolicy(Qt::NoFocus);
}

void TGraphPaneIcon::setState(IconState state)
{
    if (state_ == state) return;
    state_ = state;
    update();
}

void TGraphPaneIcon::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    const bool pressed = state_ == IconState::Placed;
    p.fillRect(rect(), state_ == IconState::Free       ? kGraphGrey
                       : state_ == IconState::Selected ? kPickedFace
                                                       : kPlacedFace);
    p.setPen(Qt::black);
    p.drawRect(r);
    // The white edge lights the raised icon from the top left, the pressed
    // one from the bottom right.
    p.setPen(Qt::white);
    const QRect in = r.adjusted(1, 1, -1, -1);
    if (pressed) {
        p.drawLine(in.bottomLeft(), in.bottomRight());
        p.drawLine(in.topRight(), in.bottomRight());
    } else {
        p.drawLine(in.topLeft(), in.topRight());
        p.drawLine(in.topLeft(), in.bottomLeft());
    }
    QFont f = font();
    f.setBold(true);
    p.setFont(f);
    p.setPen(channelColour(colourIndex_));
    p.drawText(pressed ? rect().translated(1, 1) : rect(), Qt::AlignCenter, text());
}

TGraphPaneDialog::TGraphPaneDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName("id223");
    setWindowTitle(QString::fromUtf8("Gráfica"));
    setWindowFlag(Qt::Tool);
    paintDialogGrey(*this);
    auto* column = new QVBoxLayout(this);
    column->setSpacing(2);
    int control = kFirstControl;
    for (int g = 0; g < kIconGroups; ++g) {
        const IconGroupInfo& info = iconGroupInfo(static_cast<IconGroup>(g));
        column->addWidget(new QLabel(QString::fromUtf8(kGroupTitles[g]), this));
        auto* row = new QHBoxLayout;
        row->setSpacing(3);
        for (int c = 0; c < info.channels; ++c) {
            const int code = info.firstIcon + c;
            auto* icon = new TGraphPaneIcon(code, c, this);
            icon->setObjectName(QStringLiteral("id%1").arg(control++));
            icon->setText(info.group == IconGroup::Motor ? QString(QChar('A' + c))
                                                         : QString::number(c + 1));
            connect(icon, &QAbstractButton::clicked, this,
                    [this, code] { emit iconClicked(code); });
            icons_[static_cast<std::size_t>(control - kFirstControl - 1)] = icon;
            row->addWidget(icon);
        }
        row->addStretch();
        column->addLayout(row);
    }
    column->addStretch();
    adjustSize();
}

TGraphPaneIcon* TGraphPaneDialog::icon(int code) const
{
    for (TGraphPaneIcon* i : icons_)
        if (i && i->icon() == code) return i;
    return nullptr;
}

void TGraphPaneDialog::showStates(const GraphLayout& layout)
{
    for (TGraphPaneIcon* i : icons_) i->setState(iconState(layout, i->icon()));
}

void TGraphPaneDialog::relabel(bool numbersFromZero)
{
    for (TGraphPaneIcon* i : icons_) {
        IconGroup group;
        int channel = 0;
        if (!iconChannel(i->icon(), group, channel)) continue;
        if (group == IconGroup::Analogue || group == IconGroup::Motor) continue;
        i->setText(QString::number(numbersFromZero ? channel : channel + 1));
    }
}

}  // namespace tarvel
