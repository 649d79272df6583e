// Marker pairs found on a front page as long as a page the engine keeps.
#include "headlines/MarkerFinder.h"
#include "tests/support/FrontPage.h"

#include <benchmark/benchmark.h>

using namespace tickerlux;
using namespace tickerlux::headlines;

namespace {

void FindMarkersOnAFullFrontPage(benchmark::State& state)
{
    const FrontPage page = MakeFrontPage(199999);
    for (auto _ : state)
        benchmark::DoNotOptimize(tickerlux::headlines::FindMarkerPairs(page.html));
}
BENCHMARK(FindMarkersOnAFullFrontPage)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
