// Enumerating and painting a graph of 10,000 points, hit-testing it, and
// entering bar mode on a line 5,000 time units long.
#include "graphcore.h"
#include "graphpainter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

constexpr int kPoints = 10'000;

// One line of `points` points over 0..5000, plus the example borders.
std::unique_ptr<GraphCore> makeGraph(int points, int lines = 1) {
    auto g = std::make_unique<GraphCore>();
    g->map().setSize(800, 600);
    g->map().setBorders(40, 44, 12, 12);
    g->SetTicks(sscBoth);
    g->map().setxmax(5000);
    g->map().setymax(300);
    const int perLine = points / lines;
    for (int l = 0; l < lines; ++l) {
        g->PenUp();
        for (int i = 0; i < perLine; ++i) {
            const float x = 5000.0f * float(i) / float(perLine - 1);
            g->MoveTo(x, 150.0f + 100.0f * std::sin(x / 300.0f) + float(l));
            if (i == 0)
                g->PenDown();
        }
        g->PenUp();
    }
    return g;
}

void paintOnce(GraphCore &g, QImage &image, bool whole) {
    QPainter p(&image);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    if (whole)
        graphpaint::Paint(g, p, Qt::white, image.rect(), '.');
    else
        graphpaint::PaintPoints(g, p);
}

void BM_EnumPoints(benchmark::State &state) {
    auto g = makeGraph(kPoints, int(state.range(0)));
    for (auto _ : state) {
        float x = 0, y = 0, sum = 0;
        for (int c = g->EnumPoints(0, &x, &y); c != 0; c = g->EnumPoints(c, &x, &y))
            sum += y;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_EnumPoints)->Arg(1)->Arg(1000)->ArgName("lines");

void BM_PaintPoints(benchmark::State &state) {
    auto g = makeGraph(kPoints);
    g->Setbarmode(false); // the line is already finer than a bar step
    QImage image(800, 600, QImage::Format_RGB32);
    for (auto _ : state)
        paintOnce(*g, image, false);
    state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_PaintPoints)->Unit(benchmark::kMillisecond);

void BM_PaintWhole(benchmark::State &state) {
    auto g = makeGraph(kPoints, int(state.range(0)));
    QImage image(800, 600, QImage::Format_RGB32);
    for (auto _ : state)
        paintOnce(*g, image, true);
    state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_PaintWhole)->Arg(1)->Arg(1000)->ArgName("lines")->Unit(benchmark::kMillisecond);

void BM_PaintBars(benchmark::State &state) {
    auto g = makeGraph(kPoints);
    g->Setbarmode(true);
    QImage image(800, 600, QImage::Format_RGB32);
    for (auto _ : state)
        paintOnce(*g, image, false);
    state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_PaintBars)->Unit(benchmark::kMillisecond);

void BM_Nearpoint(benchmark::State &state) {
    auto g = makeGraph(kPoints);
    int x = 40;
    for (auto _ : state) {
        benchmark::DoNotOptimize(hittest::nearpoint(g->store(), g->map(), x, 300));
        x = x >= 780 ? 40 : x + 7;
    }
}
BENCHMARK(BM_Nearpoint)->Unit(benchmark::kMicrosecond);

// Bar mode on a line over 0..5000 drawn with `range(0)` points: from two
// points (999 inserted) to 10,000 (nothing to insert).
void BM_BarMode5000(benchmark::State &state) {
    const int points = int(state.range(0));
    std::size_t after = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto g = makeGraph(points);
        state.ResumeTiming();
        g->Setbarmode(true);
        after = g->store().pointCount();
        state.PauseTiming();
        g.reset();
        state.ResumeTiming();
    }
    state.counters["points_after"] = double(after);
}
BENCHMARK(BM_BarMode5000)
    ->Arg(2)
    ->Arg(100)
    ->Arg(10'000)
    ->ArgName("points")
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts for the scale texts
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
