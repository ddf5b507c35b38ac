// The undo history of a 1,000-element design: the time to record a step and the memory the
// history holds once it is full.
#include "document/ZVCustomLab.h"
#include "document/ZVUndoHistory.h"
#include "document/ZVElement.h"
#include "document/ZVElementRegistry.h"
#include "foundation/ZVStream.h"

#include <benchmark/benchmark.h>

using namespace zorvel;

namespace {

constexpr int kElements = 1000;

void fillDesign(TZVCustomLab& label)
{
    for (int i = 0; i < kElements; ++i) {
        TZVElement* element = CreateElementOfKind(label, 1 + i % 10);
        element->SetID(QStringLiteral("E%1").arg(i));
        element->MoveByFloat(float(i % 50), float(i / 50 % 30));
    }
}

// One user action: an element moved a little.
void moveOne(TZVCustomLab& label, int step)
{
    TZVChangeScope change(label, QStringLiteral("Move"));
    label.Elements().at(step % kElements)->MoveBy(10, 10);
}

} // namespace

static void RecordStep(benchmark::State& state)
{
    TZVLab label;
    fillDesign(label);
    int step = 0;
    for (auto _ : state) moveOne(label, step++);
    const qint64 bytes = UndoHistoryBytes(label);
    const int steps = label.UndoStack().count();
    state.counters["steps_kept"] = steps;
    state.counters["history_bytes"] = double(bytes);
    state.counters["bytes_per_step"] = steps > 0 ? double(bytes) / steps : 0;
}
BENCHMARK(RecordStep)->Unit(benchmark::kMillisecond);

// The history filled past its limit: what it holds then is its bound for this design.
static void FullHistory(benchmark::State& state)
{
    qint64 bytes = 0;
    int steps = 0;
    for (auto _ : state) {
        TZVLab label;
        fillDesign(label);
        for (int i = 0; i < kUndoSteps + 20; ++i) moveOne(label, i);
        bytes = UndoHistoryBytes(label);
        steps = label.UndoStack().count();
    }
    state.counters["steps_kept"] = steps;
    state.counters["history_bytes"] = double(bytes);
    state.counters["bytes_per_step"] = double(bytes) / steps;
    TZVLab label;
    fillDesign(label);
    TZVMemoryStream design;
    label.SaveSnapshot(design);
    state.counters["design_bytes"] = double(design.Size());
}
BENCHMARK(FullHistory)->Unit(benchmark::kMillisecond)->Iterations(1);
