// The stock catalogue as a user meets it: opening it (the shipped stocks read for the first time,
// then again), opening the catalogue dialog on it, and the filtering one keystroke in the search
// box costs over the whole catalogue, for a word and for a size.
#include "../tests/support/TestApplication.h"

#include "dialogs/ZVLabelDefsDialog.h"
#include "dialogs/ZVStockPicker.h"
#include "document/ZVCustomLab.h"
#include "printsupport/ZVStockCatalogue.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace zorvel;

namespace {

// A user without a catalogue of their own: only the shipped stocks.
TZVLabelDefsPlaces emptyPlaces(const QTemporaryDir& dir)
{
    return {QString(), dir.filePath(QStringLiteral("user")), QString()};
}

// The catalogue read and put into the picker's list, its filters and its paper box.
int openModel(const QTemporaryDir& dir)
{
    TZVStockCatalogue catalogue(emptyPlaces(dir));
    catalogue.Load();
    TZVStockPicker picker;
    picker.SetStocks(catalogue.All(), int(catalogue.Shipped().size()));
    return picker.ShownCount();
}

} // namespace

// First in the program, so the shipped stocks are read here for the first time in the process.
static void OpenCatalogueFirstTime(benchmark::State& state)
{
    test::ensureApplication<QApplication>();
    QTemporaryDir dir;
    for (auto _ : state) benchmark::DoNotOptimize(openModel(dir));
    state.counters["stocks"] = openModel(dir);
}
BENCHMARK(OpenCatalogueFirstTime)->Iterations(1)->Unit(benchmark::kMillisecond);

static void OpenCatalogueAgain(benchmark::State& state)
{
    test::ensureApplication<QApplication>();
    QTemporaryDir dir;
    for (auto _ : state) benchmark::DoNotOptimize(openModel(dir));
}
BENCHMARK(OpenCatalogueAgain)->Unit(benchmark::kMillisecond);

// The catalogue dialog built and prepared on a label, as the label's ShowLabelDefs does before
// it shows it.
static void OpenCatalogueDialog(benchmark::State& state)
{
    test::ensureApplication<QApplication>();
    QTemporaryDir dir;
    TZVLab label;
    for (auto _ : state) {
        TFLabelDefs dialog(nullptr, emptyPlaces(dir));
        dialog.SetLabel(label);
        benchmark::DoNotOptimize(dialog.Picker()->ShownCount());
    }
}
BENCHMARK(OpenCatalogueDialog)->Unit(benchmark::kMillisecond);

// One key typed into the picker's search box: the last letter of `search` after the others.
static void Keystroke(benchmark::State& state, const char* search)
{
    test::ensureApplication<QApplication>();
    QTemporaryDir dir;
    TZVStockCatalogue catalogue(emptyPlaces(dir));
    catalogue.Load();
    TZVStockPicker picker;
    picker.resize(900, 500);
    picker.SetStocks(catalogue.All(), int(catalogue.Shipped().size()));
    const QString typed = QString::fromUtf8(search);
    const QString before = typed.chopped(1);
    int shown = 0;
    for (auto _ : state) {
        state.PauseTiming();
        picker.SearchBox()->setText(before);
        state.ResumeTiming();
        picker.SearchBox()->setText(typed);
        shown = picker.ShownCount();
    }
    state.counters["shown"] = shown;
}
BENCHMARK_CAPTURE(Keystroke, word, "avery l716")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Keystroke, size, "63.5 x 38.1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Keystroke, nothing_left, "no such stockx")->Unit(benchmark::kMillisecond);
