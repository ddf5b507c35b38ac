// Design editor: the time of one drag step (mouse move until the surface is repainted) on a
// label of 1,000 elements, for both layer caches, at 100 % and 400 %.
#include "../tests/support/TestApplication.h"

#include "document/ZVCustomLab.h"
#include "editor/ZVBackLab.h"
#include "editor/ZVEditor.h"
#include "document/ZVElement.h"
#include "elements/ZVTextElements.h"

#include <QApplication>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

namespace zorvel {
namespace {

constexpr int kElements = 1000;
// A 200 x 150 mm label holds 40 x 25 cells of 5 x 6 mm, one element each.
constexpr int kColumns = 40;
constexpr int kCellW = 500;
constexpr int kCellH = 600;

void fillLabel(TZVCustomLab& label)
{
    label.Measure().SetWidth(200);
    label.Measure().SetHeight(150);
    for (int i = 0; i < kElements; ++i) {
        const int x = (i % kColumns) * kCellW;
        const int y = (i / kColumns) * kCellH;
        const int kinds[] = {ekText, ekRect, ekLine, ekBarCode};
        TZVElement* element = label.CreateElement(kinds[i % 4]);
        switch (kinds[i % 4]) {
        case ekText:
            static_cast<TZVDataText*>(element)->SetText(QStringLiteral("Item %1").arg(i));
            element->SetStartPoint(x + 20, y + 300);
            break;
        case ekRect:
            element->SetStartPoint(x + 20, y + 20);
            element->SetEndPoint(x + 450, y + 550);
            break;
        case ekLine:
            element->SetStartPoint(x + 20, y + 20);
            element->SetEndPoint(x + 450, y + 550);
            break;
        default:
            element->SetStartPoint(x + 20, y + 20);
            break;
        }
    }
}

void sendMove(QWidget* target, QPoint p)
{
    QMouseEvent event(QEvent::MouseMove, QPointF(p), target->mapToGlobal(QPointF(p)), Qt::NoButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void BM_DragStep(benchmark::State& state)
{
    test::ensureApplication<QApplication>();
    const auto zoom = static_cast<TZVZoom>(state.range(0));
    const auto strategy = static_cast<TZVLayerStrategy>(state.range(1));

    auto form = std::make_unique<QWidget>();
    form->resize(1024, 768);
    auto* label = new TZVLab(form.get());
    auto* editor = new TZVEditor(form.get());
    editor->setGeometry(0, 0, 1024, 768);
    editor->BeginUpdate();
    fillLabel(*label);
    editor->SetLayerStrategy(strategy);
    editor->SetZoom(zoom);
    editor->EndUpdate(false);
    form->show();
    QApplication::processEvents();

    // A rectangle near the top-left corner, in view at every zoom.
    TZVElement* dragged = label->Elements().at(kColumns + 1);
    editor->SelectOnly(dragged);
    TZVBackLab* surface = editor->Surface();
    const TRect& r = dragged->ScreenRect();
    const QPoint grab((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(grab), surface->mapToGlobal(QPointF(grab)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(surface, &press);

    std::vector<double> steps;
    int i = 0;
    for (auto _ : state) {
        // Back and forth by a few pixels, so that every step moves the element.
        const QPoint to = grab + QPoint((i % 2) ? 0 : 6, (i % 2) ? 0 : 4);
        ++i;
        const auto start = std::chrono::steady_clock::now();
        sendMove(surface, to);
        QApplication::processEvents();
        const auto end = std::chrono::steady_clock::now();
        steps.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(grab), surface->mapToGlobal(QPointF(grab)), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(surface, &release);

    std::sort(steps.begin(), steps.end());
    state.counters["median_ms"] = steps.empty() ? 0.0 : steps[steps.size() / 2];
    state.counters["surface_px"] = double(editor->SurfaceWidth()) * editor->SurfaceHeight();
    state.counters["records"] = editor->LayerRecordCount(lySelection);
    state.SetLabel(strategy == TZVLayerStrategy::Raster ? "raster" : "picture");
}

BENCHMARK(BM_DragStep)
    ->ArgNames({"zoom", "cache"})
    ->Args({zm100, int(TZVLayerStrategy::Raster)})
    ->Args({zm100, int(TZVLayerStrategy::Picture)})
    ->Args({zm400, int(TZVLayerStrategy::Raster)})
    ->Args({zm400, int(TZVLayerStrategy::Picture)})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

} // namespace
} // namespace zorvel
