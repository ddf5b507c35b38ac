// Shared set-up for the editor's widget tests: an editor on a label, shown off screen, and
// helpers that drive its surface with QTest mouse events.
#pragma once

#include "document/ZVCustomLab.h"
#include "editor/ZVBackLab.h"
#include "editor/ZVBaseInspector.h"
#include "editor/ZVBaseScroll.h"
#include "editor/ZVEditor.h"
#include "document/ZVElement.h"
#include "document/ZVElementRegistry.h"
#include "../support/TestApplication.h"

#include <QApplication>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace zorvel::test {

// Counts what the editor asks of an inspector.
class RecordingInspector final : public TZVBaseInspector
{
public:
    int labelChanged = 0;
    int selectionUpdates = 0;
    QStringList properties;

    void LabelChanged() override { ++labelChanged; }
    void UpdateProperty(const QString& name) override { properties.append(name); }
    void UpdateSelection() override { ++selectionUpdates; }
};

// A form with a label and an editor on it, shown off screen. The default label is 60 x 35 mm.
class EditorFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ensureApplication<QApplication>();
        form = std::make_unique<QWidget>();
        form->resize(800, 600);
        label = new TZVLab(form.get());
        // Messages are kept for the tests to read instead of stopping them in a box.
        label->OnMessage = [this](QObject*, const QString& message) { messages.append(message); };
        editor = new TZVEditor(form.get());
        editor->setGeometry(0, 0, 800, 600);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        editor->Refresh(false);
    }

    void TearDown() override { form.reset(); }

    TZVBackLab* surface() const { return editor->Surface(); }

    // A new element of `kind` with corners in model units, painted once so that its screen
    // rectangle is known. Rectangles are filled, so that a click anywhere inside picks them.
    TZVElement* add(int kind, int x1, int y1, int x2, int y2)
    {
        TZVElement* element = label->CreateElement(kind);
        if (kind == ekRect) element->SetTransparent(false);
        element->SetStartPoint(x1, y1);
        element->SetEndPoint(x2, y2);
        label->NotifyChange(ckLayers, 0, {});
        editor->Refresh(false);
        return element;
    }

    // Surface pixel of a model point at the current zoom.
    QPoint px(int mx, int my) const { return {editor->ModelToPixelX(mx), editor->ModelToPixelY(my)}; }
    // Centre of an element's screen rectangle.
    static QPoint centre(const TZVElement* element)
    {
        const TRect& r = element->ScreenRect();
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }

    void press(QPoint p, Qt::KeyboardModifiers mods = {}, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(surface(), button, mods, p);
    }
    void release(QPoint p, Qt::KeyboardModifiers mods = {}, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseRelease(surface(), button, mods, p);
    }
    // Mouse moves with the left button held, as a drag delivers them.
    void moveHeld(QPoint p, Qt::KeyboardModifiers mods = {})
    {
        QMouseEvent event(QEvent::MouseMove, QPointF(p), surface()->mapToGlobal(QPointF(p)), Qt::NoButton,
                          Qt::LeftButton, mods);
        QApplication::sendEvent(surface(), &event);
    }
    void click(QPoint p, Qt::KeyboardModifiers mods = {}, Qt::MouseButton button = Qt::LeftButton)
    {
        press(p, mods, button);
        release(p, mods, button);
    }
    // Press at `from`, move in `steps` steps to `to`, release there.
    void drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = {}, int steps = 4)
    {
        press(from, mods);
        for (int i = 1; i <= steps; ++i)
            moveHeld(from + (to - from) * i / steps, mods);
        release(to, mods);
    }

    std::unique_ptr<QWidget> form;
    TZVLab* label = nullptr;
    QStringList messages;
    TZVEditor* editor = nullptr;
};

} // namespace zorvel::test
