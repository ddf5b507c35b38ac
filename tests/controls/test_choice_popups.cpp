// The alignment and justification pop-ups: their cells, the highlighted value and a click.
#include "controls/ZVAlignPopup.h"
#include "controls/ZVJustifyPopup.h"
#include "tests/support/TestApplication.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace zorvel {
namespace {

TEST(ChoicePopups, AlignmentCellsAndTheirValues)
{
    test::ensureApplication<QApplication>();
    const TTextAlign expected[3][3] = {{taLeTo, taCeTo, taRiTo}, {taLeCe, taCeCe, taRiCe}, {taLeBo, taCeBo, taRiBo}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(TFAlignEle::CellValue(r, c), expected[r][c]) << r << "," << c;

    TFAlignEle popup;
    popup.Setup(100, 120, taCeCe, 91);
    popup.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&popup));
    EXPECT_EQ(popup.width(), 91);
    EXPECT_EQ(popup.CellRect(2, 2), QRect(60, 40, 31, 20));
    const QImage shot = popup.grab().toImage();
    auto highlighted = [&](int r, int c) {
        const QRect cell = popup.CellRect(r, c);
        return shot.pixelColor(cell.center() + QPoint(-3, -3)) == QColor(0x00, 0x78, 0xD7);
    };
    EXPECT_TRUE(highlighted(1, 1));
    EXPECT_FALSE(highlighted(0, 0));
    QTest::mouseClick(&popup, Qt::LeftButton, {}, popup.CellRect(0, 0).center());
    EXPECT_EQ(popup.result(), QDialog::Accepted);
    EXPECT_EQ(popup.Value(), taLeTo);
}

TEST(ChoicePopups, JustificationButtonsAndTheirValues)
{
    test::ensureApplication<QApplication>();
    TFJustText popup;
    popup.Setup(10, 10, tfRight, 25, 101);
    popup.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&popup));
    EXPECT_EQ(popup.ButtonRect(0), QRect(0, 0, 25, 25));
    EXPECT_EQ(popup.ButtonRect(3), QRect(75, 0, 26, 25));
    EXPECT_EQ(popup.Value(), tfRight);
    QTest::mouseClick(&popup, Qt::LeftButton, {}, popup.ButtonRect(2).center());
    EXPECT_EQ(popup.result(), QDialog::Accepted);
    EXPECT_EQ(popup.Value(), tfCenter);
}

} // namespace
} // namespace zorvel
