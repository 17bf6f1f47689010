// crescent_bench: one evening at one place, and the evening of a civil date over
// the 1° world grid (64,800 places), each against the straightforward reckoning
// that evaluates the full series at every step and reuses nothing; and the
// crescent map of that evening, beside the grid computation alone.
#include "astronomy/Conjunction.h"
#include "astronomy/Crescent.h"
#include "astronomy/EveningGrid.h"
#include "astronomy/Places.h"
#include "tools/CrescentMap.h"

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

// What dates-convert crescent-map does for a 1° map but write the file: the
// grid on every processor, the shorelines read, the fonts found, the picture
// drawn and encoded as PNG. Compare with WorldGrid on every processor.
void CrescentMap1Degree(benchmark::State& state, CriterionId criterion)
{
    CrescentMapRequest request;
    request.Date = {2026, 2, 18};
    request.Criterion = criterion;
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodePng(MakeCrescentMap(request).Picture.Image));
}
BENCHMARK_CAPTURE(CrescentMap1Degree, odeh, CriterionId::ciOdeh)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(CrescentMap1Degree, yallop, CriterionId::ciYallop)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
