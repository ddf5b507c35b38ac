// The progress dialog of a long print run: what it shows, and that Cancel stops the job.
#include "../support/TestApplication.h"
#include "../support/WaitFor.h"
#include "dialogs/ZVProgressDialog.h"
#include "document/ZVCustomLab.h"
#include "elements/ZVLineRect.h"
#include "platform/ZVPdfPrinter.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace zorvel::test {
namespace {

class ProgressDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ensureApplication<QApplication>();
        label.Measure().SetLabelName(QStringLiteral("Shelf"));
        auto* box = new TZVRect(label);
        box->SetX2(10);
        box->SetY2(10);
    }

    TZVLab label;
};

TEST_F(ProgressDialog, ShowsThePagesDoneAndThePageBeingPrinted)
{
    TZVProgressDialog dialog;
    EXPECT_TRUE(dialog.Report(1, 4));
    EXPECT_EQ(dialog.maximum(), 4);
    EXPECT_EQ(dialog.value(), 0);
    EXPECT_EQ(dialog.labelText(), QStringLiteral("PAGE 1 / 4"));

    EXPECT_TRUE(dialog.Report(3, 4));
    EXPECT_EQ(dialog.value(), 2);
    EXPECT_EQ(dialog.labelText(), QStringLiteral("PAGE 3 / 4"));

    // A run that counts no pages still shows a sane range.
    EXPECT_TRUE(dialog.Report(1, 0));
    EXPECT_EQ(dialog.maximum(), 1);
}

TEST_F(ProgressDialog, StaysHiddenUntilTheRunReports)
{
    // Questions and messages come before the first label; it must not come up over them.
    TZVProgressDialog dialog;
    dialog.Attach(label);
    EXPECT_FALSE(waitFor([&] { return dialog.isVisible(); }, 900));
    // A run that goes on past the minimum duration shows it.
    label.OnProgress(1, 3);
    EXPECT_TRUE(waitFor([&] { return dialog.isVisible(); }, 5000));
}

TEST_F(ProgressDialog, CancelStopsTheRunAndLeavesNoFile)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("labels.pdf");
    label.PrintInfo().SetNumLabels(200);
    int reports = 0;
    TZVProgressDialog dialog;
    dialog.Attach(label);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("PRINTING : Shelf"));
    // The user presses Cancel while the second page prints.
    auto report = label.OnProgress;
    label.OnProgress = [&](int page, int count) {
        ++reports;
        if (page == 2) dialog.cancel();
        return report(page, count);
    };
    TZVPdfPrinter pdf(file);
    EXPECT_FALSE(label.Print(pdf));
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_GT(reports, 1);
    EXPECT_LT(reports, 200) << "labels after the cancel were not drawn";
}

TEST_F(ProgressDialog, AnAttachedDialogReportsAndGivesTheReportBackWhenItGoes)
{
    int earlier = 0;
    label.OnProgress = [&](int, int) {
        ++earlier;
        return true;
    };
    {
        TZVProgressDialog dialog;
        dialog.Attach(label);
        ASSERT_TRUE(label.OnProgress);
        EXPECT_TRUE(label.OnProgress(2, 5));
        EXPECT_EQ(dialog.value(), 1);
        EXPECT_EQ(earlier, 0);
    }
    ASSERT_TRUE(label.OnProgress);
    label.OnProgress(1, 1);
    EXPECT_EQ(earlier, 1);

    // A label that goes first is not touched by the dialog going later.
    auto* shortLived = new TZVLab;
    TZVProgressDialog dialog;
    dialog.Attach(*shortLived);
    delete shortLived;
}

} // namespace
} // namespace zorvel::test
