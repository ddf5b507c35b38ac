// Foundation throughput: stream string primitives and bar code encoding, run once per label printed.
#include "foundation/ZVBarcode.h"
#include "foundation/ZVStream.h"

#include <benchmark/benchmark.h>

using namespace zorvel;

static void WideStringRoundTrip(benchmark::State& state)
{
    const QString text(static_cast<int>(state.range(0)), u'é');
    for (auto _ : state) {
        TZVMemoryStream stream;
        WriteWideString(text, stream);
        stream.SetPosition(0);
        benchmark::DoNotOptimize(ReadWideString(stream));
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * 2);
}
BENCHMARK(WideStringRoundTrip)->Arg(16)->Arg(4096);

static void Ean13Symbol(benchmark::State& state)
{
    for (auto _ : state) {
        const QString text = BarCodeText("590123412345", EAN13, true);
        benchmark::DoNotOptimize(BarCodeModules(text, EAN13, true));
    }
}
BENCHMARK(Ean13Symbol);

static void Code128Symbol(benchmark::State& state)
{
    const QString content = "0123456789012345678901234567890123456789";
    for (auto _ : state) {
        const QString text = BarCodeText(content, EAN128C, false);
        benchmark::DoNotOptimize(BarCodeModules(text, EAN128C, false));
    }
}
BENCHMARK(Code128Symbol);
