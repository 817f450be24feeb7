// Catalogue fetches: the first fetch from a module (the decoding of the one
// list it needs), a warm 16-pixel GetBitmap and a module used whole, against the baseline of a bare image-list draw of the
// same picture (what every warm fetch must do anyway).

#include "BenchRun.h"
#include "UDmImagesAct.h"
#include "UDmImagesNav.h"
#include "UVmRepositoryImages.h"

#include <QGuiApplication>
#include <QPixmap>

#include <memory>

namespace {

// Baseline: draw image 10 of the module's 16-pixel Bmp list directly.
void BM_ImageListDraw16(benchmark::State &state)
{
    std::unique_ptr<TDmImages> act(TDmImagesAct::ClassType()->Create(nullptr));
    TImageList *list = act->Img16Bmp();
    QPixmap glyph;
    for (auto _ : state) {
        list->GetBitmap(10, glyph);
        benchmark::DoNotOptimize(glyph);
    }
}

void BM_WarmGetBitmap16(benchmark::State &state)
{
    TVmRepositoryImages repository;
    QPixmap glyph;
    repository.GetBitmap(ieActHelp, glyph, is16p);
    for (auto _ : state) {
        repository.GetBitmap(ieActHelp, glyph, is16p);
        benchmark::DoNotOptimize(glyph);
    }
}

// First fetch from a fresh repository: creates and loads the module.
template <TImageEnum Image>
void BM_FirstFetch(benchmark::State &state)
{
    for (auto _ : state) {
        auto repository = std::make_unique<TVmRepositoryImages>();
        QPixmap glyph;
        repository->GetBitmap(Image, glyph, is16p);
        benchmark::DoNotOptimize(glyph);
        // Freeing the module is not part of the fetch.
        state.PauseTiming();
        repository.reset();
        state.ResumeTiming();
    }
}

// Everything of a module used once: every list decoded, every picture cut
// (the whole cost a lazy load spreads over the uses).
void BM_WholeModuleAct(benchmark::State &state)
{
    for (auto _ : state) {
        std::unique_ptr<TDmImages> act(TDmImagesAct::ClassType()->Create(nullptr));
        for (std::size_t l = 0; l < act->Decl().ListCount; ++l) {
            TImageList *list = act->List(QLatin1String(act->Decl().Lists[l].Name));
            for (int i = 0; i < list->Count(); ++i)
                benchmark::DoNotOptimize(list->Image(i));
        }
        state.PauseTiming();
        act.reset();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_ImageListDraw16)->Repetitions(BenchRepetitions(7))->ReportAggregatesOnly(true);
BENCHMARK(BM_WarmGetBitmap16)->Repetitions(BenchRepetitions(7))->ReportAggregatesOnly(true);
BENCHMARK_TEMPLATE(BM_FirstFetch, ieActHelp)->Unit(benchmark::kMillisecond)->Repetitions(BenchRepetitions(7))->ReportAggregatesOnly(true);
BENCHMARK_TEMPLATE(BM_FirstFetch, ieNavFirst)->Unit(benchmark::kMillisecond)->Repetitions(BenchRepetitions(7))->ReportAggregatesOnly(true);
BENCHMARK(BM_WholeModuleAct)->Unit(benchmark::kMillisecond)->Repetitions(BenchRepetitions(7))->ReportAggregatesOnly(true);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    TCheckedReporter reporter;
    return RunBenchmarks({argv, argv + argc}, reporter);
}
