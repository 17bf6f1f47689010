// Painting a banner label ("Gregorian Converter", 264 x 49, gradient faces,
// raised and shadowed lettering), as the form's paint does it:
//   warm: the fill cache and the composed lettering are kept from the paint before;
//   cold: the cache is emptied before every paint, so the gradient is laid
//         down and the lettering drawn and composed again.
// After both, the ratio of their times is printed. Run by hand, e.g.
//   build/release/bench/label_bench --benchmark_repetitions=3
#include "effects/FxLabelFill.h"

#include "framework/Application.h"
#include "framework/Forms.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

class BannerScene {
public:
    BannerScene()
    {
        form_.SetColor(clBtnFace);
        label_ = new TFxLabelFill(&form_);
        label_->SetParent(&form_);
        label_->SetAutoSize(false);
        label_->SetBounds(0, 0, 264, 49);
        label_->SetCaption("Gregorian Converter");
        label_->Font()->SetName("Times New Roman");
        label_->Font()->SetHeight(-27);
        label_->Font()->SetStyle({fsBold});
        label_->Font()->SetColor(clBlue);
        label_->FillObject()->SetStyle(sfGradient);
        label_->FontFx()->SetStyle(tdRaisedShadow);
        label_->SetAlignment(agCenter);
    }
    ~BannerScene() { form_.BeforeDestruction(); }

    void Paint() { form_.PaintControls(surface_.Canvas()->Handle()); }
    // A content change that leaves the picture as it was: the cache goes.
    void EmptyCache()
    {
        flip_ = !flip_;
        label_->SetBrushBackColor(flip_ ? clWhite : clBtnFace);
    }

private:
    TForm form_{nullptr};
    TFxLabelFill* label_ = nullptr;
    TBitmap surface_{264, 49};
    bool flip_ = false;
};

void BM_BannerPaintWarm(benchmark::State& state)
{
    BannerScene scene;
    scene.Paint();
    for (auto _ : state)
        scene.Paint();
}
BENCHMARK(BM_BannerPaintWarm)->Unit(benchmark::kMicrosecond);

void BM_BannerPaintCold(benchmark::State& state)
{
    BannerScene scene;
    for (auto _ : state) {
        scene.EmptyCache();
        scene.Paint();
    }
}
BENCHMARK(BM_BannerPaintCold)->Unit(benchmark::kMicrosecond);

// The console report, plus the cold-to-warm ratio of the mean times.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "mean")
                times_[run.run_name.function_name].push_back(run.GetAdjustedRealTime());
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const double warm = Mean("BM_BannerPaintWarm");
        const double cold = Mean("BM_BannerPaintCold");
        if (warm > 0 && cold > 0)
            std::printf("warm %.1f us, cold %.1f us: warm paint is %.1fx faster\n", warm, cold, cold / warm);
    }

private:
    double Mean(const std::string& name) const
    {
        const auto it = times_.find(name);
        if (it == times_.end() || it->second.empty())
            return 0;
        double sum = 0;
        for (double t : it->second)
            sum += t;
        return sum / static_cast<double>(it->second.size());
    }
    std::map<std::string, std::vector<double>> times_;
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    TApplication application;
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
