#include "mimics/ui/mimic_window.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "mimics/mimic_clicks.h"

namespace tarvel {

TMimicWindow::TMimicWindow(MimicDisplay& display, const QtMimicPictures& pictures,
                           MimicClicks& clicks, QWidget* parent)
    : QWidget(parent, Qt::Tool), display_(display), clicks_(clicks), painter_(display, pictures)
{
    setObjectName(QStringLiteral("id221"));
    setWindowTitle(QString::fromUtf8("Mímica"));
    setFixedSize(kWidth, kHeight);
    // Every pixel is painted by the objects or the window colour.
    setAttribute(Qt::WA_OpaquePaintEvent);
    display_.setView(this);
}

TMimicWindow::~TMimicWindow()
{
    display_.setView(nullptr);
}

void TMimicWindow::placeAt(const QRect& client)
{
    // A window's position is that of its frame.
    move(client.right() + 1 - frameGeometry().width(), client.top());
}

void TMimicWindow::measureAll()
{
    for (int i = 0; i < display_.objectCount(); ++i)
        drawn_[static_cast<std::size_t>(i)] = painter_.extent(i);
}

void TMimicWindow::objectChanged(int object, MimicChange change)
{
    if (!isVisible() || object < 0 || object >= display_.objectCount()) return;
    QRect& before = drawn_[static_cast<std::size_t>(object)];
    const QRect now = painter_.extent(object);
    const QRect area = before.united(now);
    before = now;
    if (change == MimicChange::Value || display_.object(object).has(mimicflag::AtOnce)) {
        repaint(area);
        return;
    }
    update(area);
    pending_ += area;
}

void TMimicWindow::setReplaced()
{
    pending_ = QRegion();
    measureAll();
    update();
}

void TMimicWindow::repaintIfPending()
{
    if (pending_.isEmpty()) return;
    const QRegion area = pending_;
    pending_ = QRegion();
    if (isVisible()) repaint(area);
}

void TMimicWindow::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    painter_.paint(p, palette().color(QPalette::Base), event->rect());
}

void TMimicWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Changes made while hidden were not followed: everything is measured again.
    measureAll();
}

void TMimicWindow::clickAt(QMouseEvent* event)
{
    const MouseButton button =
        event->button() == Qt::RightButton ? MouseButton::Right : MouseButton::Left;
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return;
    const QPoint at = event->position().toPoint();
    clicks_.click(at.x(), at.y(), button);
}

void TMimicWindow::mousePressEvent(QMouseEvent* event)
{
    clickAt(event);
}

void TMimicWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double click is a second click of the same button.
    clickAt(event);
}

}  // namespace tarvel
