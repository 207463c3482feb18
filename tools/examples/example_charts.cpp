#include "example_charts.h"

namespace tarvel::examples {

namespace {

// Lays symbols out in columns and joins them with tidy right-angled lines.
class Layout {
public:
    explicit Layout(FlowDocument& doc) : doc_(doc) {}

    int symbol(SymbolKind kind, const std::string& text, int x, int y)
    {
        const int i = doc_.appendSymbol(kind, {x, y});
        doc_.setSymbolText(i, text);
        return i;
    }
    void label(const std::string& text, int size, int x, int y)
    {
        const int i = doc_.appendLabel({x, y});
        doc_.labelRef(i).size = size;
        doc_.setLabelText(i, text);
    }

    Point bottom(int s) const
    {
        const FlowSymbol& f = doc_.symbol(s);
        return {f.x, f.y + bodySize(f.kind).halfHeight};
    }
    Point top(int s) const
    {
        const FlowSymbol& f = doc_.symbol(s);
        return {f.x, f.y - bodySize(f.kind).halfHeight};
    }
    Point right(int s) const
    {
        const FlowSymbol& f = doc_.symbol(s);
        return {f.x + bodySize(f.kind).halfWidth, f.y};
    }

    // Straight down from one symbol to the next in its column.
    void down(int from, int to, LineKind kind = LineKind::Plain)
    {
        LineGeometry g;
        g.points[0] = bottom(from);
        g.points[1] = top(to);
        if (kind != LineKind::Plain) g.tag = {g.points[0].x + 6, g.points[0].y + 14};
        doc_.appendLine(from, to, kind, g);
    }

    // Back up to a symbol higher in the column, around the right at `side`.
    void loopBack(int from, int to, int side, LineKind kind = LineKind::Plain)
    {
        LineGeometry g;
        const Point a = bottom(from), b = top(to);
        g.points[0] = a;
        g.points[1] = {a.x, a.y + 14};
        g.points[2] = {side, a.y + 14};
        g.points[3] = {side, b.y - 14};
        g.points[4] = {b.x, b.y - 14};
        g.points[5] = b;
        if (kind != LineKind::Plain) g.tag = {a.x + 6, a.y + 14};
        doc_.appendLine(from, to, kind, g);
    }

    // Out of a decision's right corner and back into the top of a symbol above it.
    void rightBack(int from, int to, int side, LineKind kind)
    {
        LineGeometry g;
        const Point a = right(from), b = top(to);
        g.points[0] = a;
        g.points[1] = {side, a.y};
        g.points[2] = {side, b.y - 14};
        g.points[3] = {b.x, b.y - 14};
        g.points[4] = b;
        g.tag = {a.x + 4, a.y - 16};
        doc_.appendLine(from, to, kind, g);
    }

private:
    FlowDocument& doc_;
};

constexpr int kRow = 84;

void trafficLights(FlowDocument& doc)
{
    Layout l(doc);
    l.label(
        "Sem\xE1"
        "foro con paso de peatones",
        3, 48, 14);
    l.label("Coches: salidas 1 roja, 2 \xE1mbar, 3 verde", 1, 48, 52);
    l.label("Peatones: salidas 4 roja, 5 verde", 1, 368, 52);
    // Both columns fit the first printed page.
    const int x1 = 160, x2 = 448;
    int y = 112;
    const int s1 = l.symbol(SymbolKind::StartStop, "Start", x1, y);
    const int a = l.symbol(SymbolKind::Output, "Output 3 on 1,2 off", x1, y += kRow);
    const int b = l.symbol(SymbolKind::Process, "Delay 5", x1, y += kRow);
    const int c = l.symbol(SymbolKind::Output, "Output 2 on 3 off", x1, y += kRow);
    const int d = l.symbol(SymbolKind::Process, "Delay 2", x1, y += kRow);
    const int e = l.symbol(SymbolKind::Output, "Output 1 on 2 off", x1, y += kRow);
    const int f = l.symbol(SymbolKind::Process, "Delay 5", x1, y += kRow);
    l.down(s1, a);
    l.down(a, b);
    l.down(b, c);
    l.down(c, d);
    l.down(d, e);
    l.down(e, f);
    l.loopBack(f, a, x1 + 128);

    y = 112;
    const int s2 = l.symbol(SymbolKind::StartStop, "Start", x2, y);
    const int p = l.symbol(SymbolKind::Output, "Output 4 on 5 off", x2, y += kRow);
    const int q = l.symbol(SymbolKind::Process, "Delay 7", x2, y += kRow);
    const int r = l.symbol(SymbolKind::Output, "Output 5 on 4 off", x2, y += kRow);
    const int t = l.symbol(SymbolKind::Process, "Delay 5", x2, y += kRow);
    l.down(s2, p);
    l.down(p, q);
    l.down(q, r);
    l.down(r, t);
    l.loopBack(t, p, x2 + 128);
}

void lighthouse(FlowDocument& doc)
{
    Layout l(doc);
    l.label("Faro: tres destellos y una pausa", 3, 48, 14);
    l.label("La l\xE1mpara es la salida 1", 1, 48, 52);
    const int x = 160, xs = 448;
    int y = 112;
    const int s = l.symbol(SymbolKind::StartStop, "Start", x, y);
    const int call = l.symbol(SymbolKind::Process, "Sub 1(destello) x 3", x, y += kRow);
    const int pause = l.symbol(SymbolKind::Process, "Delay 2", x, y += kRow);
    l.down(s, call);
    l.down(call, pause);
    l.loopBack(pause, call, x + 128);

    y = 112;
    const int head = l.symbol(SymbolKind::StartStop, "Sub 1(destello)", xs, y);
    const int on = l.symbol(SymbolKind::Output, "Turn Output 1 on", xs, y += kRow);
    const int w1 = l.symbol(SymbolKind::Process, "Delay 0.5", xs, y += kRow);
    const int off = l.symbol(SymbolKind::Output, "Turn Output 1 off", xs, y += kRow);
    const int w2 = l.symbol(SymbolKind::Process, "Delay 0.5", xs, y += kRow);
    const int stop = l.symbol(SymbolKind::StartStop, "Stop", xs, y += kRow);
    l.down(head, on);
    l.down(on, w1);
    l.down(w1, off);
    l.down(off, w2);
    l.down(w2, stop);
}

void barrier(FlowDocument& doc)
{
    Layout l(doc);
    l.label("Barrera de aparcamiento", 3, 48, 14);
    l.label("Pulsador en la entrada 1, motor A", 1, 48, 52);
    const int x = 320;
    int y = 112;
    const int s = l.symbol(SymbolKind::StartStop, "Start", x, y);
    const int ask = l.symbol(SymbolKind::Decision, "Is Input 1 on", x, y += kRow);
    const int up = l.symbol(SymbolKind::Output, "Turn Motor a fd ", x, y += kRow);
    const int w1 = l.symbol(SymbolKind::Process, "Delay 2", x, y += kRow);
    const int hold = l.symbol(SymbolKind::Output, "Turn Motor a off ", x, y += kRow);
    const int w2 = l.symbol(SymbolKind::Process, "Delay 4", x, y += kRow);
    const int downm = l.symbol(SymbolKind::Output, "Turn Motor a rev ", x, y += kRow);
    const int w3 = l.symbol(SymbolKind::Process, "Delay 2", x, y += kRow);
    const int stop = l.symbol(SymbolKind::Output, "Turn Motor a off ", x, y += kRow);
    l.down(s, ask);
    l.down(ask, up, LineKind::Yes);
    l.rightBack(ask, ask, x + 160, LineKind::No);
    l.down(up, w1);
    l.down(w1, hold);
    l.down(hold, w2);
    l.down(w2, downm);
    l.down(downm, w3);
    l.down(w3, stop);
    l.loopBack(stop, ask, x + 224);
}

void counter(FlowDocument& doc)
{
    Layout l(doc);
    l.label("Contador de piezas", 3, 48, 14);
    l.label("Cada pulsaci\xF3n de la entrada 1 suma uno.", 1, 48, 52);
    l.label("A las cinco se enciende la salida 1.", 1, 48, 70);
    const int x = 320;
    int y = 112;
    const int s = l.symbol(SymbolKind::StartStop, "Start", x, y);
    const int zero = l.symbol(SymbolKind::Process, "Let n = 0", x, y += kRow);
    const int press = l.symbol(SymbolKind::Decision, "Is Input 1 on", x, y += kRow);
    const int add = l.symbol(SymbolKind::Process, "Let n = n + 1", x, y += kRow);
    const int release = l.symbol(SymbolKind::Decision, "Is Input 1 off", x, y += kRow);
    const int five = l.symbol(SymbolKind::Decision, "Is n = 5", x, y += kRow);
    const int on = l.symbol(SymbolKind::Output, "Turn Output 1 on", x, y += kRow);
    const int wait = l.symbol(SymbolKind::Process, "Delay 2", x, y += kRow);
    const int off = l.symbol(SymbolKind::Output, "Turn Output 1 off", x, y += kRow);
    l.down(s, zero);
    l.down(zero, press);
    l.down(press, add, LineKind::Yes);
    l.rightBack(press, press, x + 160, LineKind::No);
    l.down(add, release);
    l.down(release, five, LineKind::Yes);
    l.rightBack(release, release, x + 160, LineKind::No);
    l.down(five, on, LineKind::Yes);
    l.rightBack(five, press, x + 224, LineKind::No);
    l.down(on, wait);
    l.down(wait, off);
    l.loopBack(off, zero, x + 288);
}

}  // namespace

std::vector<ExampleChart> makeExampleCharts()
{
    std::vector<ExampleChart> charts(4);
    charts[0].fileName = "SEMAFORO.FLO";
    trafficLights(charts[0].doc);
    charts[1].fileName = "FARO.FLO";
    lighthouse(charts[1].doc);
    charts[2].fileName = "BARRERA.FLO";
    barrier(charts[2].doc);
    charts[3].fileName = "CONTADOR.FLO";
    counter(charts[3].doc);
    return charts;
}

}  // namespace tarvel::examples
