// Renders the graph control in typical states to PNG files, for review by eye.
// Usage: xygraph_gallery [output folder]; by default "gallery" next to the program.
#include "axesdialog.h"
#include "penstrokes.h"
#include "xygraph.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWheelEvent>

#include <cmath>
#include <cstdio>
#include <functional>
#include <initializer_list>

namespace {

struct Shot {
    const char *name;
    QSize size;
    std::function<void(Txygraph &)> setup;
};

void line(Txygraph &g, std::initializer_list<FPOINT> pts) {
    drawPolyline(g, std::span<const FPOINT>(pts.begin(), pts.size()));
}

void single(Txygraph &g, float x, float y) {
    drawSinglePoint(g, x, y);
}

// The thermal history page's setting: time against temperature.
void thermalScales(Txygraph &g) {
    g.SetSideScales(sscBoth);
    g.SetTicks(sscBoth);
    g.SetHLabel("Time (Ma)");
    g.SetVLabel("Temp");
    g.setxmax(500);
    g.setymax(200);
}

void thermalCurve(Txygraph &g) {
    line(g, {{0, 20}, {60, 45}, {180, 110}, {260, 160}, {380, 90}, {500, 30}});
}

void move(Txygraph &g, int x, int y) {
    g.MouseMove({}, x, y);
}

// A wheel turn of `delta` eighths of a degree over the pixel, as a mouse sends it.
void wheel(Txygraph &g, TPoint at, int delta) {
    const QPointF pos(at.x, at.y);
    QWheelEvent event(pos, g.mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&g, &event);
}

// A search for thermal histories over 100 Myr: the acceptable paths' envelope
// (green), the good paths' (magenta) over it, the best path bold, the three
// constraint boxes (the middle one selected) and the drawn history on top.
void searchResult(Txygraph &g) {
    g.SetSideScales(sscBoth);
    g.SetTicks(sscBoth);
    g.SetHLabel("Time (Myr)");
    g.SetVLabel("Temperature (°C)");
    g.setxmax(100);
    g.setymax(200);
    const auto path = [](float t, float peak, float spread) {
        // Burial to a peak near 40 Myr, then cooling to the surface.
        const float shape = t < 40 ? t / 40.0f : 1.0f - (t - 40.0f) / 60.0f;
        return 20.0f + (peak - 20.0f) * shape + spread * std::sin(t / 100.0f * 3.14159f);
    };
    OverlayBand acceptable{{}, {}, {}, 0x00a000};
    OverlayBand good{{}, {}, {}, 0xff00ff};
    OverlayLine best{{}, 0x000080, 3};
    for (int t = 0; t <= 100; t += 5) {
        const float x = float(t);
        acceptable.x.push_back(x);
        acceptable.lower.push_back(path(x, 100, -12));
        acceptable.upper.push_back(path(x, 150, 22));
        good.x.push_back(x);
        good.lower.push_back(path(x, 112, -4));
        good.upper.push_back(path(x, 134, 10));
        best.points.push_back({x, path(x, 122, 3)});
    }
    g.setBands({acceptable, good});
    g.setOverlayLines({best});
    g.setBoxes({{0, 10, 10, 30}, {30, 50, 100, 160}, {90, 100, 10, 30}});
    g.selectBox(1);
    line(g, {{0, 20}, {35, 105}, {70, 85}, {100, 20}});
}

const Shot kShots[] = {
    {"01_empty", {353, 193}, [](Txygraph &g) { thermalScales(g); }},
    {"02_thermal_curve",
     {353, 193},
     [](Txygraph &g) {
         thermalScales(g);
         thermalCurve(g);
     }},
    {"03_bar_mode",
     {353, 193},
     [](Txygraph &g) {
         thermalScales(g);
         g.setxmax(100);
         line(g, {{0, 20}, {12, 60}, {30, 150}, {47, 120}, {80, 190}, {100, 40}});
         g.Setbarmode(true);
     }},
    {"04_coloured_lines",
     {420, 260},
     [](Txygraph &g) {
         g.SetSideScales(sscBoth);
         g.SetTicks(sscBoth);
         g.SetHLabel("x");
         g.SetVLabel("y");
         for (int i = 0; i < 11; ++i) {
             const float base = 5.0f + 8.0f * float(i);
             line(g, {{0, base}, {30, base + 6}, {60, base - 2}, {100, base + 4}});
         }
     }},
    {"05_readout_box",
     {353, 193},
     [](Txygraph &g) {
         thermalScales(g);
         thermalCurve(g);
         g.grab();
         move(g, 169, 82);
     }},
    {"06_drag_in_progress",
     {353, 193},
     [](Txygraph &g) {
         thermalScales(g);
         thermalCurve(g);
         g.grab();
         const TPoint p = g.w2cc({180, 110});
         g.MouseDown(Qt::LeftButton, {}, p.x, p.y);
         move(g, p.x + 30, p.y + 25);
     }},
    {"07_negative_ranges",
     {353, 193},
     [](Txygraph &g) {
         g.SetSideScales(sscBoth);
         g.SetTicks(sscBoth);
         g.SetHLabel("Offset");
         g.SetVLabel("dT");
         g.setxzero(-50);
         g.setxmax(50);
         g.setyzero(-20);
         g.setymax(20);
         line(g, {{-50, -15}, {-20, 5}, {0, 0}, {25, 18}, {50, -10}});
         single(g, -30, -12);
         single(g, 30, 12);
     }},
    {"08_very_small",
     {70, 45},
     [](Txygraph &g) {
         g.SetSideScales(sscBoth);
         g.SetTicks(sscBoth);
         line(g, {{0, 10}, {50, 80}, {100, 30}});
     }},
    {"09_grey_sheet_points",
     {353, 193},
     [](Txygraph &g) {
         thermalScales(g);
         g.setsheetcolor(QColor(192, 192, 192));
         thermalCurve(g);
         for (int i = 1; i < 10; ++i)
             single(g, 50.0f * float(i), 100 + 60 * std::sin(float(i)));
     }},
    {"10_age_graph_autoaxis",
     {420, 260},
     [](Txygraph &g) {
         g.SetSideScales(sscBoth);
         g.SetTicks(sscBoth);
         g.SetAutoAxis(sscBoth);
         g.SetHLabel("Real time (Ma)");
         g.SetVLabel("Age");
         g.PenUp();
         g.MoveTo(0, 0);
         g.PenDown();
         for (int t = 5; t <= 470; t += 5)
             g.MoveTo(float(t), float(t) * (0.6f + 0.3f * std::exp(-float(t) / 150.0f)));
         g.PenUp();
     }},
    {"11_small_and_large_numbers",
     {353, 193},
     [](Txygraph &g) {
         g.SetSideScales(sscBoth);
         g.SetTicks(sscBoth);
         g.SetHLabel("Distance");
         g.SetVLabel("c");
         g.setxmax(2500000);
         g.setymax(0.002f);
         line(g, {{0, 0.0001f}, {800000, 0.0015f}, {2500000, 0.0009f}});
     }},
    {"12_no_scales",
     {353, 193},
     [](Txygraph &g) {
         thermalCurve(g);
         g.setxmax(500);
         g.setymax(200);
     }},
    {"13_stretched_axis",
     {353, 193},
     [](Txygraph &g) {
         thermalScales(g);
         thermalCurve(g);
         g.grab();
         const int y = g.Height() - 5;
         g.MouseDown(Qt::LeftButton, {}, 150, y);
         move(g, 300, y);
         g.MouseUp(Qt::LeftButton, {}, 300, y);
     }},
    {"14_stretched_far_in",
     {353, 193},
     [](Txygraph &g) {
         // Both axes stretched in twice from their first pixel to their last,
         // thousands of times each: the line's far end lies millions of pixels
         // away, and the line still rises 0.4 per unit of time.
         thermalScales(g);
         line(g, {{0, 0}, {500, 200}});
         single(g, 400, 10);
         g.grab();
         const TPoint origin = g.core().map().w2cc({0, 0});
         const TPoint corner = g.core().map().w2cc({g.getxmax(), g.getymax()});
         const int below = g.Height() - 5, left = origin.x - 6;
         for (int k = 0; k < 2; ++k) {
             g.MouseDown(Qt::LeftButton, {}, origin.x + 1, below);
             move(g, corner.x - 1, below);
             g.MouseUp(Qt::LeftButton, {}, corner.x - 1, below);
             g.MouseDown(Qt::LeftButton, {}, left, origin.y - 1);
             move(g, left, corner.y + 1);
             g.MouseUp(Qt::LeftButton, {}, left, corner.y + 1);
         }
     }},
    {"15_long_history_fitted",
     {353, 193},
     [](Txygraph &g) {
         // A 450 Myr history from 130 C arriving in a graph set up for 0..100:
         // both axes grow to round ends that hold it.
         g.SetSideScales(sscBoth);
         g.SetTicks(sscBoth);
         g.SetHLabel("Time (Ma)");
         g.SetVLabel("Temp");
         line(g, {{0, 130}, {80, 95}, {200, 110}, {320, 60}, {450, 15}});
         g.growToFit();
     }},
    {"16_zoomed",
     {353, 193},
     [](Txygraph &g) {
         // Three wheel notches in about the peak of the thermal curve.
         thermalScales(g);
         thermalCurve(g);
         g.grab();
         const TPoint peak = g.w2cc({260, 160});
         for (int notch = 0; notch < 3; ++notch)
             wheel(g, peak, 120);
     }},
    {"17_long_history",
     {420, 260},
     [](Txygraph &g) {
         // A 480 Myr history of burial to 185 C and slow cooling, drawn point by
         // point into a graph set up for 0..100 and grown to hold it.
         g.SetSideScales(sscBoth);
         g.SetTicks(sscBoth);
         g.SetHLabel("Time (Ma)");
         g.SetVLabel("Temp");
         g.PenUp();
         for (int t = 0; t <= 480; t += 8) {
             const float x = float(t);
             const float heating = 185.0f * (1.0f - std::exp(-x / 60.0f));
             const float cooling = x > 200 ? 1.5f * 0.4f * (x - 200) : 0.0f;
             g.MoveTo(x, 15 + heating - cooling);
             if (t == 0)
                 g.PenDown();
         }
         g.PenUp();
         g.growToFit();
     }},
    {"18_small_values",
     {353, 193},
     [](Txygraph &g) {
         // Ticks below 1: round tenths and hundredths, nothing of the float.
         g.SetSideScales(sscBoth);
         g.SetTicks(sscBoth);
         g.SetHLabel("Fraction");
         g.SetVLabel("p");
         g.setxmax(0.3f);
         g.setymax(0.5f);
         line(g, {{0, 0.05f}, {0.1f, 0.2f}, {0.22f, 0.45f}, {0.3f, 0.4f}});
     }},
    {"20_search_result", {420, 260}, searchResult},
    {"21_box_mode_drawing",
     {420, 260},
     [](Txygraph &g) {
         // In box mode a fourth box drawn by the mouse, still held: its corners
         // snap to round values, and the cursor readout follows.
         searchResult(g);
         g.setBoxMode(true);
         g.grab();
         const TPoint from = g.w2cc({62, 150});
         const TPoint to = g.w2cc({79, 95});
         g.MouseDown(Qt::LeftButton, {}, from.x, from.y);
         move(g, (from.x + to.x) / 2, (from.y + to.y) / 2);
         move(g, to.x, to.y);
     }},
};

// The "Axes" dialog as the menu opens it over a graph showing 0..500 x 0..0.1.
bool saveAxesDialog(const QString &folder) {
    AxesDialog dialog;
    dialog.setWindow({0.0f, 500.0f, 0.0f, 0.1f});
    return dialog.grab().save(folder + "/19_axes_dialog.png");
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                    : QCoreApplication::applicationDirPath() + "/gallery";
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "Cannot create the folder %s\n", qPrintable(folder));
        return 1;
    }
    int failures = 0;
    for (const Shot &shot : kShots) {
        Txygraph graph;
        graph.resize(shot.size);
        shot.setup(graph);
        const QString file = folder + "/" + shot.name + ".png";
        if (graph.grab().save(file)) {
            std::printf("%s\n", qPrintable(file));
        } else {
            std::fprintf(stderr, "Cannot write %s\n", qPrintable(file));
            ++failures;
        }
    }
    if (!saveAxesDialog(folder)) {
        std::fprintf(stderr, "Cannot write the axes dialog's picture\n");
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}
