// Draws the splash picture: make_splash DIR writes DIR/SPLASH.BMP, an 8-bit
// bitmap with its own colour table: the program's name beside a small
// flowchart (a start, an output, a decision looping back, a delay), with the
// lower right corner left plain for the version text the window writes there.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

namespace {

constexpr int kWidth = 450, kHeight = 300;
const QColor kInk(20, 40, 90);
const QColor kPaper(250, 250, 240);
const QColor kAccent(255, 200, 40);

void arrow(QPainter& p, QPointF from, QPointF to)
{
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF n(-d.y(), d.x());
    QPainterPath head;
    head.moveTo(to);
    head.lineTo(to - 9 * d + 5 * n);
    head.lineTo(to - 9 * d - 5 * n);
    head.closeSubpath();
    p.fillPath(head, p.pen().color());
}

void caption(QPainter& p, const QRectF& box, const QString& text)
{
    p.drawText(box, Qt::AlignCenter, text);
}

// The chart at the right: start, output, decision (NO loops back), delay.
void drawMotif(QPainter& p)
{
    p.setPen(QPen(kInk, 2));
    QFont f(QStringLiteral("Liberation Sans"), 9);
    p.setFont(f);
    const double x = 330;
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(x - 50, 40, 100, 26), 13, 13);
    caption(p, QRectF(x - 50, 40, 100, 26), QStringLiteral("Inicio"));
    arrow(p, {x, 66}, {x, 90});
    QPolygonF out{{x - 40, 90}, {x + 55, 90}, {x + 40, 124}, {x - 55, 124}};
    p.setBrush(kAccent);
    p.drawPolygon(out);
    caption(p, QRectF(x - 50, 90, 100, 34), QStringLiteral("Activar salida 1"));
    arrow(p, {x, 124}, {x, 146});
    QPolygonF ask{{x, 146}, {x + 58, 172}, {x, 198}, {x - 58, 172}};
    p.setBrush(kPaper);
    p.drawPolygon(ask);
    caption(p, QRectF(x - 50, 158, 100, 28), QStringLiteral("¿Entrada 1?"));
    arrow(p, {x, 198}, {x, 222});
    p.drawText(QPointF(x + 6, 214), QStringLiteral("SI"));
    p.drawRect(QRectF(x - 45, 222, 90, 30));
    caption(p, QRectF(x - 45, 222, 90, 30), QStringLiteral("Tardar 1"));
    // NO: out of the right corner and back above the decision.
    p.drawText(QPointF(x + 62, 166), QStringLiteral("NO"));
    p.drawLine(QPointF(x + 58, 172), QPointF(x + 90, 172));
    p.drawLine(QPointF(x + 90, 172), QPointF(x + 90, 136));
    arrow(p, {x + 90, 136}, {x + 2, 136});
}

QImage drawSplash()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.fillRect(image.rect(), QColor(225, 235, 250));
    p.fillRect(QRect(0, kHeight - 40, kWidth, 40), QColor(245, 248, 255));
    drawMotif(p);

    p.setPen(kInk);
    QFont title(QStringLiteral("Liberation Sans"), 40, QFont::Bold);
    p.setFont(title);
    p.drawText(QRectF(24, 60, 220, 70), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Tarvel"));
    p.setPen(QColor(220, 60, 40));
    p.drawText(QRectF(190, 60, 60, 70), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("2"));
    p.setPen(kInk);
    QFont sub(QStringLiteral("Liberation Sans"), 11);
    p.setFont(sub);
    p.drawText(QRectF(26, 130, 230, 60), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("Diagramas de flujo para la tecnología de control"));
    QFont small(QStringLiteral("Liberation Sans"), 8);
    p.setFont(small);
    p.drawText(QRectF(26, 250, 230, 20), Qt::AlignLeft, QStringLiteral("Haga clic para continuar"));
    p.end();
    // The 256 colours the picture uses most, and the table that says which;
    // the few shades of the smoothed edges beyond them take the nearest.
    std::map<QRgb, int> uses;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ++uses[image.pixel(x, y)];
    std::vector<std::pair<int, QRgb>> ranked;
    for (const auto& [colour, count] : uses) ranked.emplace_back(count, colour);
    std::sort(ranked.begin(), ranked.end(), std::greater<>());
    QList<QRgb> table;
    for (std::size_t i = 0; i < ranked.size() && table.size() < 256; ++i) table << ranked[i].second;
    return image.convertToFormat(QImage::Format_Indexed8, table, Qt::ThresholdDither);
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("uso: make_splash CARPETA\n", stderr);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/SPLASH.BMP");
    if (!drawSplash().save(path, "BMP")) {
        std::fprintf(stderr, "No se puede guardar %s\n", qPrintable(path));
        return 1;
    }
    return 0;
}
