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

    // Out of a decision's right corner, across to the column of a symbol
    // below it and down into its top.
    void rightTo(int from, int to, LineKind kind)
    {
        LineGeometry g;
        const Point a = right(from), b = top(to);
        g.points[0] = a;
        g.points[1] = {b.x, a.y};
        g.points[2] = b;
        g.tag = {a.x + 4, a.y - 16};
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
    doc.mimicSet = "SEMAFORO";
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
    doc.mimicSet = "FARO";
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

// The lighthouse of the mimic set FARO: the beam turns one way while the
// lamp is lit, then the other.
void turningLighthouse(FlowDocument& doc)
{
    Layout l(doc);
    doc.mimicSet = "FARO";
    doc.outputNames[0] = "L\xE1mpara";
    doc.motorNames[0] = "Haz";
    l.label("Faro que gira", 3, 48, 14);
    l.label("L\xE1mpara: salida 1.  El motor A gira el haz.", 1, 48, 52);
    const int x = 160, xs = 448;
    int y = 112;
    const int s = l.symbol(SymbolKind::StartStop, "Start", x, y);
    const int right = l.symbol(SymbolKind::Output, "Turn Motor a fd ", x, y += kRow);
    const int flash1 = l.symbol(SymbolKind::Process, "Sub 1(destello)", x, y += kRow);
    const int left = l.symbol(SymbolKind::Output, "Turn Motor a rev ", x, y += kRow);
    const int flash2 = l.symbol(SymbolKind::Process, "Sub 1(destello)", x, y += kRow);
    l.down(s, right);
    l.down(right, flash1);
    l.down(flash1, left);
    l.down(left, flash2);
    l.loopBack(flash2, right, x + 128);

    y = 112;
    const int head = l.symbol(SymbolKind::StartStop, "Sub 1(destello)", xs, y);
    const int on = l.symbol(SymbolKind::Output, "Turn Output 1 on", xs, y += kRow);
    const int lit = l.symbol(SymbolKind::Process, "Delay 1", xs, y += kRow);
    const int off = l.symbol(SymbolKind::Output, "Turn Output 1 off", xs, y += kRow);
    const int still = l.symbol(SymbolKind::Output, "Turn Motor a off ", xs, y += kRow);
    const int dark = l.symbol(SymbolKind::Process, "Delay 0.5", xs, y += kRow);
    const int stop = l.symbol(SymbolKind::StartStop, "Stop", xs, y += kRow);
    l.down(head, on);
    l.down(on, lit);
    l.down(lit, off);
    l.down(off, still);
    l.down(still, dark);
    l.down(dark, stop);
}

// The crossing of the mimic set SEMAFORO: the cars keep green until a walker
// presses the button; then "ESPERE", amber, red, and the walkers' green.
void pedestrianCrossing(FlowDocument& doc)
{
    Layout l(doc);
    doc.mimicSet = "SEMAFORO";
    const char* outputs[] = {"Rojo",           "\xC1mbar",        "Verde",
                             "Peat\xF3n rojo", "Peat\xF3n verde", "Espere"};
    for (std::size_t k = 0; k < std::size(outputs); ++k) doc.outputNames[k] = outputs[k];
    doc.inputNames[0] = "Pulsador";
    l.label("Paso de peatones con pulsador", 3, 48, 14);
    l.label("Coches: salidas 1, 2, 3.  Peatones: 4 y 5.", 1, 48, 52);
    l.label("Espere: salida 6.  Pulsador: entrada 1.", 1, 48, 70);
    const int x = 160, x1 = 448, x2 = 736;
    int y = 112;
    const int s = l.symbol(SymbolKind::StartStop, "Start", x, y);
    const int green = l.symbol(SymbolKind::Output, "Output 3,4 on", x, y += kRow);
    const int ask = l.symbol(SymbolKind::Decision, "Is Input 1 on", x, y += kRow);
    const int cars = l.symbol(SymbolKind::Process, "Sub 1(coches)", x, y += kRow);
    const int walk = l.symbol(SymbolKind::Process, "Sub 2(peatones)", x, y += kRow);
    l.down(s, green);
    l.down(green, ask);
    l.down(ask, cars, LineKind::Yes);
    l.rightBack(ask, ask, x + 160, LineKind::No);
    l.down(cars, walk);
    l.loopBack(walk, ask, x + 224);

    auto column = [&](int cx, std::initializer_list<std::pair<SymbolKind, const char*>> items) {
        int prev = -1;
        int row = 112;
        for (const auto& [kind, text] : items) {
            const int i = l.symbol(kind, text, cx, row);
            if (prev >= 0) l.down(prev, i);
            prev = i;
            row += kRow;
        }
    };
    column(x1, {{SymbolKind::StartStop, "Sub 1(coches)"},
                {SymbolKind::Output, "Turn Output 6 on"},
                {SymbolKind::Process, "Delay 2"},
                {SymbolKind::Output, "Output 2 on 3 off"},
                {SymbolKind::Process, "Delay 2"},
                {SymbolKind::Output, "Output 1 on 2 off"},
                {SymbolKind::Process, "Delay 1"},
                {SymbolKind::StartStop, "Stop"}});
    column(x2, {{SymbolKind::StartStop, "Sub 2(peatones)"},
                {SymbolKind::Output, "Output 5 on 4,6 off"},
                {SymbolKind::Process, "Delay 6"},
                {SymbolKind::Output, "Output 4 on 5 off"},
                {SymbolKind::Process, "Delay 2"},
                {SymbolKind::Output, "Output 3 on 1 off"},
                {SymbolKind::Process, "Delay 4"},
                {SymbolKind::StartStop, "Stop"}});
}

// The level crossing of the mimic set PASONIVEL: when a train comes the
// barrier goes down to its lower switch, and up to its upper one once the
// train has passed, while a second task flashes the lamps.
void levelCrossing(FlowDocument& doc)
{
    Layout l(doc);
    doc.mimicSet = "PASONIVEL";
    doc.inputNames[0] = "Fin abajo";
    doc.inputNames[1] = "Fin arriba";
    doc.inputNames[2] = "Llega tren";
    doc.outputNames[0] = "Luz izquierda";
    doc.outputNames[1] = "Luz derecha";
    doc.motorNames[0] = "Barrera";
    l.label("Paso a nivel", 3, 48, 14);
    l.label("Entradas: fin abajo 1, fin arriba 2, tren 3.", 1, 48, 52);
    l.label("Motor A: adelante baja, atr\xE1s sube.", 1, 48, 70);
    const int x = 160, xs = 448, xt = 736, xo = 960;
    int y = 112;
    const int s = l.symbol(SymbolKind::StartStop, "Start", x, y);
    const int train = l.symbol(SymbolKind::Decision, "Is Input 3 on", x, y += kRow);
    const int warn = l.symbol(SymbolKind::Process, "Let n = 1", x, y += kRow);
    const int lower = l.symbol(SymbolKind::Process, "Sub 1(bajar)", x, y += kRow);
    const int pass = l.symbol(SymbolKind::Process, "Delay 5", x, y += kRow);
    const int raise = l.symbol(SymbolKind::Process, "Sub 2(subir)", x, y += kRow);
    const int calm = l.symbol(SymbolKind::Process, "Let n = 0", x, y += kRow);
    l.down(s, train);
    l.down(train, warn, LineKind::Yes);
    l.rightBack(train, train, x + 160, LineKind::No);
    l.down(warn, lower);
    l.down(lower, pass);
    l.down(pass, raise);
    l.down(raise, calm);
    l.loopBack(calm, train, x + 224);

    // Each sub runs the motor until its switch closes.
    auto motorSub = [&](int top, const char* head, const char* run, const char* switchText) {
        int row = top;
        const int h = l.symbol(SymbolKind::StartStop, head, xs, row);
        const int go = l.symbol(SymbolKind::Output, run, xs, row += kRow);
        const int wait = l.symbol(SymbolKind::Decision, switchText, xs, row += kRow);
        const int halt = l.symbol(SymbolKind::Output, "Turn Motor a off ", xs, row += kRow);
        const int stop = l.symbol(SymbolKind::StartStop, "Stop", xs, row += kRow);
        l.down(h, go);
        l.down(go, wait);
        l.down(wait, halt, LineKind::Yes);
        l.rightBack(wait, wait, xs + 160, LineKind::No);
        l.down(halt, stop);
    };
    motorSub(112, "Sub 1(bajar)", "Turn Motor a fd ", "Is Input 1 on");
    motorSub(112 + 5 * kRow, "Sub 2(subir)", "Turn Motor a rev ", "Is Input 2 on");

    y = 112;
    const int s2 = l.symbol(SymbolKind::StartStop, "Start", xt, y);
    const int flash = l.symbol(SymbolKind::Decision, "Is n = 1", xt, y += kRow);
    const int one = l.symbol(SymbolKind::Output, "Output 1 on 2 off", xt, y += kRow);
    const int w1 = l.symbol(SymbolKind::Process, "Delay 0.5", xt, y += kRow);
    const int two = l.symbol(SymbolKind::Output, "Output 2 on 1 off", xt, y += kRow);
    const int w2 = l.symbol(SymbolKind::Process, "Delay 0.5", xt, y += kRow);
    const int dark = l.symbol(SymbolKind::Output, "Output 1,2 off", xo, 112 + 2 * kRow);
    l.down(s2, flash);
    l.down(flash, one, LineKind::Yes);
    l.rightTo(flash, dark, LineKind::No);
    l.down(one, w1);
    l.down(w1, two);
    l.down(two, w2);
    l.loopBack(w2, flash, xt - 128);
    l.loopBack(dark, flash, xo + 128);
}

// The greenhouse of the mimic set VIVERO: the heater keeps the temperature
// up to the set point x, counting in n how often it starts; above 30 the
// fan runs.
void greenhouse(FlowDocument& doc)
{
    Layout l(doc);
    doc.mimicSet = "VIVERO";
    // Channel 1 reads through the temperature sensor of the bundled tables.
    doc.sensorAssignment[0] = kGreenhouseSensorId;
    doc.outputNames[0] = "Estufa";
    doc.outputNames[1] = "Ventilador";
    l.label("Invernadero", 3, 48, 14);
    l.label("Estufa: salida 1.  Ventilador: salida 2.", 1, 48, 52);
    l.label("Temperatura: Val 1.  Consigna x, encendidos n.", 1, 48, 70);
    const int x = 192, xf = 480;
    int y = 112;
    const int s = l.symbol(SymbolKind::StartStop, "Start", x, y);
    const int target = l.symbol(SymbolKind::Process, "Let x = 20", x, y += kRow);
    const int zero = l.symbol(SymbolKind::Process, "Let n = 0", x, y += kRow);
    const int cold = l.symbol(SymbolKind::Decision, "Is Val 1 < x", x, y += kRow);
    const int count = l.symbol(SymbolKind::Process, "Let n = n + 1", x, y += kRow);
    const int heat = l.symbol(SymbolKind::Output, "Turn Output 1 on", x, y += kRow);
    const int warming = l.symbol(SymbolKind::Decision, "Is Val 1 < x", x, y += kRow);
    const int stopHeat = l.symbol(SymbolKind::Output, "Turn Output 1 off", x, y += kRow);
    l.down(s, target);
    l.down(target, zero);
    l.down(zero, cold);
    l.down(cold, count, LineKind::Yes);
    l.down(count, heat);
    l.down(heat, warming);
    l.rightBack(warming, warming, x + 160, LineKind::Yes);
    l.down(warming, stopHeat, LineKind::No);
    l.loopBack(stopHeat, cold, x - 128);

    y = 112 + 4 * kRow;
    const int hot = l.symbol(SymbolKind::Decision, "Is Val 1 > 30", xf, y);
    const int fan = l.symbol(SymbolKind::Output, "Turn Output 2 on", xf, y += kRow);
    const int cooling = l.symbol(SymbolKind::Decision, "Is Val 1 > 30", xf, y += kRow);
    const int stopFan = l.symbol(SymbolKind::Output, "Turn Output 2 off", xf, y += kRow);
    l.rightTo(cold, hot, LineKind::No);
    l.down(hot, fan, LineKind::Yes);
    l.rightBack(hot, cold, xf + 224, LineKind::No);
    l.down(fan, cooling);
    l.rightBack(cooling, cooling, xf + 160, LineKind::Yes);
    l.down(cooling, stopFan, LineKind::No);
    l.loopBack(stopFan, cold, xf + 288);
}

}  // namespace

// A doorbell and a horn, each in a task of its own, with the shipped sounds.
void doorbell(FlowDocument& doc)
{
    Layout l(doc);
    doc.soundFiles[0] = kBeepSound;
    doc.soundFiles[1] = kBellSound;
    doc.soundFiles[2] = kHornSound;
    l.label("Timbre y bocina", 3, 48, 14);
    l.label("Timbre en la entrada 1, su luz en la salida 1.", 1, 48, 52);
    l.label("La bocina suena con la entrada 2.", 1, 48, 70);
    // Both columns on the first printed page, left of its border at x 654.
    const int x = 160, x2 = 480;
    int y = 112;
    const int s = l.symbol(SymbolKind::StartStop, "Start", x, y);
    const int hello = l.symbol(SymbolKind::Output, "Sound 0", x, y += kRow);
    const int ask = l.symbol(SymbolKind::Decision, "Is Input 1 on", x, y += kRow);
    const int ring = l.symbol(SymbolKind::Output, "Sound 1", x, y += kRow);
    const int on = l.symbol(SymbolKind::Output, "Turn Output 1 on", x, y += kRow);
    const int wait = l.symbol(SymbolKind::Process, "Delay 2", x, y += kRow);
    const int off = l.symbol(SymbolKind::Output, "Turn Output 1 off", x, y += kRow);
    l.down(s, hello);
    l.down(hello, ask);
    l.down(ask, ring, LineKind::Yes);
    l.rightBack(ask, ask, x + 128, LineKind::No);
    l.down(ring, on);
    l.down(on, wait);
    l.down(wait, off);
    l.loopBack(off, ask, x + 192);

    y = 112;
    const int s2 = l.symbol(SymbolKind::StartStop, "Start", x2, y);
    const int ask2 = l.symbol(SymbolKind::Decision, "Is Input 2 on", x2, y += kRow);
    const int honk = l.symbol(SymbolKind::Output, "Sound 2", x2, y += kRow);
    const int pause = l.symbol(SymbolKind::Process, "Delay 1", x2, y += kRow);
    l.down(s2, ask2);
    l.down(ask2, honk, LineKind::Yes);
    l.rightBack(ask2, ask2, x2 + 96, LineKind::No);
    l.down(honk, pause);
    l.loopBack(pause, ask2, x2 + 128);
}

std::vector<ExampleChart> makeExampleCharts()
{
    std::vector<ExampleChart> charts(9);
    charts[0].fileName = "SEMAFORO.FLO";
    trafficLights(charts[0].doc);
    charts[1].fileName = "FARO.FLO";
    lighthouse(charts[1].doc);
    charts[2].fileName = "BARRERA.FLO";
    barrier(charts[2].doc);
    charts[3].fileName = "CONTADOR.FLO";
    counter(charts[3].doc);
    charts[4].fileName = "FAROGIRA.FLO";
    turningLighthouse(charts[4].doc);
    charts[5].fileName = "PEATONES.FLO";
    pedestrianCrossing(charts[5].doc);
    charts[6].fileName = "PASONIVEL.FLO";
    levelCrossing(charts[6].doc);
    charts[7].fileName = "VIVERO.FLO";
    greenhouse(charts[7].doc);
    charts[8].fileName = "TIMBRE.FLO";
    doorbell(charts[8].doc);
    return charts;
}

}  // namespace tarvel::examples
