#include "appearance/ui/splash_dialog.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "appearance/bitmap_info.h"
#include "platform/file_io.h"
#include "platform/file_lookup.h"
#include "platform/messages.h"
#include "platform/utf8_path.h"

namespace tarvel {

namespace {

constexpr const char* kPictureName = "SPLASH.BMP";
constexpr const char* kCannotOpen = "No se puede abrir mapa de bits";
constexpr const char* kNoColourTable = "DIB no tiene tabla de color, usando paleta predeterminada";
// The window's size in dialog units when no picture could be read: the
// splash's own 300 x 200.
constexpr int kWidthUnits = 300, kHeightUnits = 200;

}  // namespace

QString splashVersionText(bool fromSettingsKey)
{
    return QString::fromUtf8(fromSettingsKey ? "2.92N Español" : "2.92 Español");
}

TSplashDialog::TSplashDialog(const std::string& sensorsDir, const QString& versionText,
                             Messages& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), version_(versionText)
{
    setObjectName(QStringLiteral("id210"));
    setModal(true);
    loadPicture(sensorsDir, messages);
    if (hasPicture()) {
        setFixedSize(picture_.size());
    } else {
        const QFontMetrics metrics(font());
        const int charWidth = metrics.horizontalAdvance(QStringLiteral("x"));
        setFixedSize(kWidthUnits * charWidth / 4, kHeightUnits * metrics.height() / 8);
    }
}

void TSplashDialog::loadPicture(const std::string& sensorsDir, Messages& messages)
{
    std::string bytes;
    const auto found = findIgnoringCase(pathFromUtf8(sensorsDir), kPictureName);
    BitmapInfo info;
    if (!found || !readWholeFile(utf8FromPath(*found), bytes) || !readBitmapInfo(bytes, info) ||
        !picture_.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                               static_cast<int>(bytes.size()), "BMP")) {
        picture_ = QImage();
        messages.tell(caption::Error, kCannotOpen);
        return;
    }
    // Drawn all the same, in the colours the display gives it.
    if (!info.hasColourTable()) messages.tell(caption::Error, kNoColourTable);
}

void TSplashDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r = geometry();
        r.moveCenter(screen->geometry().center());
        move(r.topLeft());
    }
}

void TSplashDialog::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    if (hasPicture()) {
        p.drawImage(0, 0, picture_);
        p.setPen(Qt::black);
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (version_.isEmpty()) return;
    p.setPen(Qt::black);
    const QRect box(QPoint(width() - 100, height() - 18), QPoint(width() - 20, height() - 8));
    p.drawText(box, Qt::AlignRight | Qt::AlignVCenter | Qt::TextDontClip, version_);
}

void TSplashDialog::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) accept();
}

}  // namespace tarvel
