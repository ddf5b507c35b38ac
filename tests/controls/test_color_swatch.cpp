// The colour swatch: picks through the application's picker, paints what it shows.
#include "controls/ZVColorSwatch.h"
#include "foundation/ZVCanvas.h"
#include "tests/controls/EditControlsSupport.h"
#include "tests/support/ColorPickerStub.h"

#include <QSignalSpy>

#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace zorvel {
namespace {

using test::ColorPickerStub;

TEST(ColorSwatch, PicksThroughTheApplicationsPicker)
{
    struct Case
    {
        const char* name;
        std::function<void(ColorSwatch&)> act;
        std::optional<TZVColor> answer;
        int asked;
        TZVColor shown;
    };
    const auto press = [](Qt::MouseButton button) {
        return [button](ColorSwatch& s) { QTest::mouseClick(&s, button); };
    };
    const TZVColor start = 0x0000FF;
    const std::vector<Case> cases = {
        {"left press, chosen", press(Qt::LeftButton), 0x123456, 1, 0x123456},
        {"left press, cancelled", press(Qt::LeftButton), std::nullopt, 1, start},
        {"right press asks nothing", press(Qt::RightButton), 0x123456, 0, start},
        {"click from code", [](ColorSwatch& s) { s.click(); }, 0x00FF00, 1, 0x00FF00},
        {"space key", [](ColorSwatch& s) { QTest::keyClick(&s, Qt::Key_Space); }, 0x00FF00, 1, 0x00FF00},
        {"disabled",
         [](ColorSwatch& s) {
             s.setEnabled(false);
             s.click();
         },
         0x123456, 0, start},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::ControlForm<ColorSwatch> form;
        ASSERT_TRUE(form.active);
        ColorSwatch& swatch = *form.control;
        swatch.SetColor(start);
        swatch.setFocus(Qt::TabFocusReason);
        QSignalSpy picked(&swatch, &ColorSwatch::ColorPicked);
        ColorPickerStub picker(c.answer);

        c.act(swatch);

        EXPECT_EQ(picker.asked, c.asked);
        if (c.asked > 0) {
            EXPECT_EQ(picker.offered, start) << "the pick starts from the colour shown";
            EXPECT_EQ(picker.offeredParent, form.window.get());
        }
        EXPECT_EQ(swatch.Color(), c.shown);
        EXPECT_EQ(picked.count(), c.shown != start ? 1 : 0);
        if (!picked.isEmpty()) {
            EXPECT_EQ(picked.first().first().value<TZVColor>(), c.shown);
        }
    }
}

TEST(ColorSwatch, ReplacingThePickerHandsBackThePreviousOne)
{
    int firstAsked = 0;
    const ColorPicker before = SetColorPicker([&](TZVColor, QWidget*) {
        ++firstAsked;
        return std::optional<TZVColor>();
    });
    {
        ColorPickerStub stub(0x010203);
        EXPECT_EQ(PickColor(0, nullptr), std::optional<TZVColor>(0x010203));
    }
    EXPECT_EQ(PickColor(0, nullptr), std::nullopt);
    EXPECT_EQ(firstAsked, 1);
    SetColorPicker(before);
}

TEST(ColorSwatch, PaintsItsColourInsideAGreyFrame)
{
    test::ensureApplication<QApplication>();
    ColorSwatch swatch;
    swatch.resize(48, 20);
    swatch.SetColor(0x336699); // 0xBBGGRR: red 0x99, green 0x66, blue 0x33
    const QImage image = swatch.grab().toImage();
    EXPECT_EQ(image.pixelColor(24, 10), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::gray));
    EXPECT_EQ(image.pixelColor(47, 19), QColor(Qt::gray));
}

} // namespace
} // namespace zorvel
