// How long one parse of the per-user store takes when many lines end with a continuation
// backslash (a damaged or hostile store): it must grow with the number of lines, not its square.
#include "settings/RegFile.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

using namespace tickerlux;
using namespace tickerlux::settings;

namespace {

std::string StoreWithContinuedLines(std::int64_t count)
{
    std::string text = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Orvane\\Newsglow]\n"
                       "\"Connection\"=\"serial port - betabrite classic\"\n";
    for (std::int64_t i = 0; i < count; ++i)
        text += "\"a\"=hex:\\\n";
    return text;
}

void ParseContinuedLines(benchmark::State& state)
{
    const std::string text = StoreWithContinuedLines(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(regfile::CRegFile::Parse(text));
    state.SetComplexityN(state.range(0));
}

BENCHMARK(ParseContinuedLines)->RangeMultiplier(4)->Range(2500, 40000)->Complexity()
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
