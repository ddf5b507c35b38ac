// The stock picker driven offscreen: search and filters narrowing the list, the choice following
// them, and the picker dialog refusing what a label cannot take.
#include "dialogs/ZVStockPicker.h"
#include "dialogs/ZVStockPickerDialog.h"
#include "document/ZVCustomLab.h"
#include "tests/support/TestApplication.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>
#include <memory>

namespace zorvel {
namespace {

TZVStock stock(const char* brand, const char* part, const char* description, TZVStockShape shape,
               const char* paper, double width, double height, int columns, int rows)
{
    TZVStock s;
    s.Brand = QString::fromLatin1(brand);
    s.Part = QString::fromLatin1(part);
    s.Description = QString::fromLatin1(description);
    s.Shape = shape;
    s.PaperName = QString::fromLatin1(paper);
    s.LabelWidth = width;
    s.LabelHeight = height;
    s.Columns = columns;
    s.Rows = rows;
    return s;
}

// Sizes from the makers' data sheets; the last row is one of the user's own.
QList<TZVStock> sampleStocks()
{
    using enum TZVStockShape;
    return {stock("Avery", "L7160", "Address Labels", Rectangle, "A4", 63.5, 38.1, 3, 7),
            stock("Avery", "5160", "Address Labels", Rectangle, "LETTER", 66.675, 25.4, 3, 10),
            stock("Herma", "5028", "Round labels", Round, "A4", 40, 40, 4, 6),
            stock("Avery", "L6015", "CD labels", Disc, "A4", 117, 117, 1, 2),
            stock("", "", "Shelf strip", Rectangle, "User", 100, 20, 1, 12)};
}

class StockPickerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::ensureApplication<QApplication>();
        picker = std::make_unique<TZVStockPicker>();
        picker->SetStocks(sampleStocks(), 4);
    }

    void filter(const char* search, const char* paper, int shape)
    {
        picker->SearchBox()->setText(QString::fromLatin1(search));
        picker->PaperBox()->setCurrentIndex(picker->PaperBox()->findData(QString::fromLatin1(paper)));
        picker->ShapeBox()->setCurrentIndex(picker->ShapeBox()->findData(shape));
    }
    QList<int> shownRows() const
    {
        QList<int> rows;
        for (int i = 0; i < picker->ShownCount(); ++i)
            rows << picker->ShownRow(i);
        return rows;
    }

    std::unique_ptr<TZVStockPicker> picker;
};

TEST_F(StockPickerTest, SearchPaperAndShapeNarrowTheListAndTheChoiceFollows)
{
    constexpr int any = -1;
    const struct
    {
        const char* search;
        const char* paper;
        int shape;
        QList<int> rows;
    } cases[] = {
        {"", "", any, {0, 1, 2, 3, 4}},
        {"avery", "", any, {0, 1, 3}},
        {"AVERY l7160", "", any, {0}},
        {"address", "LETTER", any, {1}},
        {"63.5 x 38.1", "", any, {0}},
        {"38.1x63.5", "", any, {0}},
        {"2.625 x 1 in", "", any, {1}}, // 66.675 x 25.4 mm
        {"", "A4", int(TZVStockShape::Round), {2}},
        {"", "", int(TZVStockShape::Disc), {3}},
        {"shelf", "", any, {4}},
        {"avery", "User", any, {}},
        {"nothing like it", "", any, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.search);
        filter(c.search, c.paper, c.shape);
        EXPECT_EQ(shownRows(), c.rows);
        // The choice stays while it is shown, else the first row shown is chosen, else none.
        const int chosen = picker->CurrentRow();
        EXPECT_EQ(chosen >= 0, !c.rows.isEmpty());
        if (chosen >= 0) {
            EXPECT_TRUE(c.rows.contains(chosen));
        }
    }
    filter("avery", "", any);
    picker->SetCurrentRow(3);
    filter("avery a", "", any);
    EXPECT_EQ(picker->CurrentRow(), 3) << "still shown, still chosen";
    filter("avery address", "", any);
    EXPECT_EQ(picker->CurrentRow(), 0);
    picker->SetCurrentRow(4);
    EXPECT_EQ(picker->CurrentRow(), 4) << "a hidden row chosen clears the search";
    EXPECT_EQ(picker->SearchBox()->text(), QString());
    EXPECT_EQ(picker->ShownCount(), 5);
}

TEST_F(StockPickerTest, NothingMovesWhileTyping)
{
    picker->resize(900, 420);
    picker->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(picker.get()));
    const auto geometry = [this] {
        return QList<QRect>{picker->SearchBox()->geometry(), picker->PaperBox()->geometry(),
                            picker->ShapeBox()->geometry(), picker->List()->geometry()};
    };
    const QList<QRect> before = geometry();
    for (const char* search : {"a", "av", "avery l6015", "no such", "63.5 x 38.1"}) {
        SCOPED_TRACE(search);
        QTest::keyClicks(picker->SearchBox(), QString::fromLatin1(search));
        QTest::qWait(20);
        EXPECT_EQ(geometry(), before);
        picker->SearchBox()->clear();
    }
}

TEST(StockPickerDialog, TakesANamedStockALabelAcceptsAndRefusesTheRest)
{
    test::ensureApplication<QApplication>();
    TZVLab label;
    TZVStockPickerDialog dialog(TZVStockPickerDialog::TPurpose::NewDesign);
    QStringList errors;
    dialog.ShowError = [&errors](const QString& message) { errors << message; };
    dialog.Prepare(label, TZVLabelDefsPlaces{});
    EXPECT_EQ(dialog.NameEdit()->text(), QStringLiteral("New label"));
    QList<TZVStock> stocks = sampleStocks();
    stocks[2].Layouts = 2; // a running-bond sheet
    dialog.Picker()->SetStocks(stocks, 4);
    QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);

    dialog.NameEdit()->setText(QStringLiteral("   "));
    EXPECT_FALSE(ok->isEnabled()) << "no name";
    dialog.NameEdit()->setText(QStringLiteral(" Shipping "));
    EXPECT_TRUE(ok->isEnabled());
    dialog.Picker()->SetCurrentRow(2);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected) << "still open";
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0], TZVStockPickerDialog::Refusal(stocks[2]));
    dialog.Picker()->SetCurrentRow(0);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Name(), QStringLiteral("Shipping"));
    ASSERT_TRUE(dialog.Chosen());
    EXPECT_EQ(dialog.Chosen()->Part, QStringLiteral("L7160"));
}

} // namespace
} // namespace zorvel
