// Marker pairs found on a front page as long as a page the engine keeps.
#include "headlines/MarkerFinder.h"
#include "tests/support/FrontPage.h"

#include <benchmark/benchmark.h>

namespace {

void FindMarkersOnAFullFrontPage(benchmark::State& state)
{
    const FrontPage page = MakeFrontPage(199999);
    for (auto _ : state)
        benchmark::DoNotOptimize(tickerluxFindMarkerPairs(page.html));
}
BENCHMARK(FindMarkersOnAFullFrontPage)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
