// Label stream and JSON throughput: saving and loading a design of 5,000 mixed elements.
#include "document/ZVCustomLab.h"
#include "document/ZVDesignJson.h"
#include "document/ZVElement.h"
#include "document/ZVElementRegistry.h"
#include "foundation/ZVStream.h"

#include <benchmark/benchmark.h>

using namespace zorvel;

namespace {

constexpr int kElements = 5000;

// Every kind in turn, spread over the label, each with its own name.
void fillDesign(TZVCustomLab& label)
{
    for (int i = 0; i < kElements; ++i) {
        const int kind = 1 + i % 10;
        TZVElement* element = CreateElementOfKind(label, kind);
        element->SetID(QStringLiteral("E%1").arg(i));
        element->MoveByFloat(float(i % 50), float(i / 50 % 30));
    }
}

QByteArray designStream()
{
    TZVLab label;
    fillDesign(label);
    TZVMemoryStream stream;
    label.SaveToStream(stream);
    return stream.Bytes();
}

} // namespace

static void SaveDesign(benchmark::State& state)
{
    TZVLab label;
    fillDesign(label);
    for (auto _ : state) {
        TZVMemoryStream stream;
        label.SaveToStream(stream);
        benchmark::DoNotOptimize(stream.Size());
    }
}
BENCHMARK(SaveDesign)->Unit(benchmark::kMillisecond);

static void LoadDesign(benchmark::State& state)
{
    const QByteArray bytes = designStream();
    TZVLab label;
    for (auto _ : state) {
        TZVMemoryStream stream(bytes);
        label.LoadFromStream(stream);
        benchmark::DoNotOptimize(label.Elements().size());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(LoadDesign)->Unit(benchmark::kMillisecond);

static void StreamToJsonDesign(benchmark::State& state)
{
    const QByteArray bytes = designStream();
    for (auto _ : state)
        benchmark::DoNotOptimize(StreamToJson(bytes).size());
}
BENCHMARK(StreamToJsonDesign)->Unit(benchmark::kMillisecond);

static void JsonToStreamDesign(benchmark::State& state)
{
    const QByteArray json = StreamToJson(designStream());
    for (auto _ : state)
        benchmark::DoNotOptimize(JsonToStream(json).size());
}
BENCHMARK(JsonToStreamDesign)->Unit(benchmark::kMillisecond);
