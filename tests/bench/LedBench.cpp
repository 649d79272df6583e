// How fast the sign's face is drawn: a still of a 600-character line (what --picture writes),
// one step of a window showing a moving 600-character line, and the lit image of the longest
// line that a window keeps.
#include "leds/LedDisplay.h"
#include "leds/LedPanel.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QPainter>

#include <chrono>
#include <string>

using namespace tickerlux;
using namespace tickerlux::leds;

namespace {

std::string Line(std::size_t characters)
{
    const std::string unit = "Harbour Town Courier: ferry timetable changes from Monday +++ ";
    std::string line;
    while (line.size() < characters)
        line += unit;
    line.resize(characters);
    return line;
}

void StillOf600Characters(benchmark::State& state)
{
    const leds::LedText text{Line(600), 'C', false, true};
    for (auto _ : state) {
        QImage still = leds::Still(text);
        benchmark::DoNotOptimize(still.constBits());
    }
    state.counters["width_px"] = leds::Still(text).width();
}
BENCHMARK(StillOf600Characters)->Unit(benchmark::kMillisecond);

void WindowStepOf600Characters(benchmark::State& state)
{
    std::chrono::milliseconds now{0};
    leds::CLedDisplay display([](const QRect&) {}, [&now] { return now; });
    const QSize size = leds::CLedDisplay::SizeFor(20, 8);
    display.Resize(size);
    display.Show(leds::LedText{Line(600), '1', false, true});
    QImage frame(size, QImage::Format_RGB32);
    for (auto _ : state) {
        now += std::chrono::milliseconds(20);
        QPainter painter(&frame);
        display.Paint(painter);
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(WindowStepOf600Characters)->Unit(benchmark::kMicrosecond);

void LitImageOfLongestLine(benchmark::State& state)
{
    const leds::LedText text{Line(30000), '9', false, true};
    for (auto _ : state) {
        QImage lit = leds::LitImage(text);
        benchmark::DoNotOptimize(lit.constBits());
    }
}
BENCHMARK(LitImageOfLongestLine)->Unit(benchmark::kMillisecond);

} // namespace

// The window's step timer wants an application object, as in the programs.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
