// crescent_bench: one evening at one place, and the evening of a civil date over
// the 1° world grid (64,800 places), each against the straightforward reckoning
// that evaluates the full series at every step and reuses nothing.
#include "astronomy/Conjunction.h"
#include "astronomy/Crescent.h"
#include "astronomy/EveningGrid.h"
#include "astronomy/Places.h"

#include <benchmark/benchmark.h>

#include <thread>

using namespace astronomy;

namespace {

// 2026 February 18, 00:00 UT: the first evening after the conjunction that
// opens Ramadhan 1447 (2026 February 17, 12:01 UT).
constexpr double Evening = 2461089.5;

const double Conjunction = ConjunctionNearest(Evening);

void OneEveningAtMecca(benchmark::State& state)
{
    const FullSky sky;
    for (auto _ : state)
        benchmark::DoNotOptimize(ReportEvening(sky, DefaultPlace().Where, Evening, Conjunction));
}
BENCHMARK(OneEveningAtMecca)->Unit(benchmark::kMicrosecond);

// The grid as the map will ask for it: the series tabulated once, cells on
// every processor.
void WorldGrid(benchmark::State& state)
{
    GridOptions options;
    options.Threads = static_cast<unsigned>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeEveningGrid(Evening, Conjunction, options));
    state.counters["cells"] = 64800;
}
BENCHMARK(WorldGrid)->Arg(1)->Arg(std::max(1u, std::thread::hardware_concurrency()))
    ->Unit(benchmark::kMillisecond)->UseRealTime();

// The straightforward peer: every cell evaluates the full series at every step
// of its sunset, moonset and geometry, on one thread.
void WorldGridStraightforward(benchmark::State& state)
{
    const FullSky sky;
    GridOptions options;
    options.Threads = 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeEveningGrid(sky, Evening, Conjunction, options));
}
BENCHMARK(WorldGridStraightforward)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

} // namespace

BENCHMARK_MAIN();
