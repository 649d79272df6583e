// Marker pairs found on a front page as long as a page the engine keeps; and the whole Find
// Headlines job on that page served on 127.0.0.1 (download, feed check, announced feeds, marker
// pairs), whose goal is under 100 ms.
#include "engine/JobRunner.h"
#include "headlines/MarkerFinder.h"
#include "tests/support/FrontPage.h"
#include "tools/pageserver/PageServer.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

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

void FindHeadlinesJobOnAFullFrontPage(benchmark::State& state)
{
    setenv("no_proxy", "127.0.0.1,localhost", 1);
    pageserver::CPageServer server;
    server.Serve("/", pageserver::CPageServer::Page(MakeFrontPage(199999).html));
    engine::JobRequest request;
    request.command = engine::JobCommand::FindHeadlines;
    request.address = server.Url("/");
    for (auto _ : state) {
        const engine::JobOutcome found = engine::RunJob(request, engine::CJobControl(), {});
        if (found.candidates.empty())
            state.SkipWithError("nothing found");
    }
}
BENCHMARK(FindHeadlinesJobOnAFullFrontPage)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
