// How fast the write-text transmission is built for the longest sign line, per kind of text.
#include "engine/TickerluxEngine.h"
#include "settings/TickerluxDoc.h"
#include "tests/support/RecordingUi.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

using namespace tickerlux;
using namespace tickerlux::base;
using namespace tickerlux::settings;
using namespace tickerlux::headlines;
using namespace tickerlux::link;
using namespace tickerlux::engine;
using namespace tickerlux::test;

namespace {

// `unit` repeated and cut to the 30,000 bytes that are ever encoded.
std::string Line(const std::string& unit)
{
    std::string line;
    while (line.size() < 30000)
        line += unit;
    line.resize(30000);
    return line;
}

void BuildTextTransmission(benchmark::State& state, const std::string& line)
{
    CTickerluxDoc doc;
    CRecordingUi ui;
    CTickerluxEngine engine(doc, ui);
    std::size_t length = 0;
    for (auto _ : state) {
        Transmission bytes = engine.BuildTextTransmission(line);
        length = bytes.size();
        benchmark::DoNotOptimize(bytes.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(line.size()));
    state.counters["transmission_bytes"] = static_cast<double>(length);
}

BENCHMARK_CAPTURE(BuildTextTransmission, PlainAscii,
                  Line("Markets rally as rates hold steady -- Storm nears coast -- "));
BENCHMARK_CAPTURE(BuildTextTransmission, AccentedLetters,
                  Line("\xE9\xE8\xE0\xFC\xF6\xE4\xF1\xE7\xC9\xC0"));
BENCHMARK_CAPTURE(BuildTextTransmission, NumericReferences,
                  Line("&#233;&#39;&#8217;&#252;&#65;"));

} // namespace

BENCHMARK_MAIN();
