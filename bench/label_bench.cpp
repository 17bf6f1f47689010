// Painting a banner label ("Gregorian Converter", 264 x 49, gradient faces,
// raised and shadowed lettering), as the form's paint does it:
//   warm: the fill cache and the composed lettering are kept from the paint before;
//   cold: the cache is emptied before every paint, so the gradient is laid
//         down and the lettering drawn and composed again.
// The cold run also reports both times per paint and their ratio. Run by hand, e.g.
//   build/release/bench/label_bench --benchmark_repetitions=3
#include "effects/FxLabelFill.h"

#include "framework/controls/Application.h"
#include "framework/controls/Forms.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

// Qt (fonts, the offscreen platform) and the framework for the whole run.
void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "label_bench";
    static char* argv[] = {name, nullptr};
    static const bool platform = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return true;
    }();
    static QApplication qt(argc, argv);
    static TApplication application;
    (void)platform;
}

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
    EnsureApplication();
    BannerScene scene;
    scene.Paint();
    for (auto _ : state)
        scene.Paint();
}
BENCHMARK(BM_BannerPaintWarm)->Unit(benchmark::kMicrosecond);

// Microseconds per paint over count paints, the cache emptied before each when cold.
double MicrosecondsPerPaint(BannerScene& scene, bool cold, int count)
{
    scene.Paint();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) {
        if (cold)
            scene.EmptyCache();
        scene.Paint();
    }
    const std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count() / count;
}

void BM_BannerPaintCold(benchmark::State& state)
{
    EnsureApplication();
    BannerScene scene;
    for (auto _ : state) {
        scene.EmptyCache();
        scene.Paint();
    }
    // Both measured again side by side on one scene, for the ratio.
    const double cold = MicrosecondsPerPaint(scene, true, 200);
    const double warm = MicrosecondsPerPaint(scene, false, 2000);
    state.counters["cold_us"] = cold;
    state.counters["warm_us"] = warm;
    state.counters["cold_per_warm"] = cold / warm;
}
BENCHMARK(BM_BannerPaintCold)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
