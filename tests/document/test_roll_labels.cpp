// Roll labels as long as their content: lengths per record, PDF and preview pages, the stream and
// JSON forms of AutoLength.
#include "../support/PaintSupport.h"
#include "../support/PdfInfo.h"
#include "document/ZVCustomLab.h"
#include "document/ZVDesignJson.h"
#include "document/ZVStreamVisitors.h"
#include "document/ZVUndoHistory.h"
#include "elements/ZVParagraph.h"
#include "foundation/ZVStream.h"
#include "platform/ZVMemoryDataSet.h"
#include "platform/ZVPdfPrinter.h"
#include "printsupport/ZVQtPrinter.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace zorvel::test {
namespace {

// Page heights of every page of a PDF, millimetres; empty without pdfinfo.
std::vector<double> pdfPageHeights(const QString& file)
{
    if (!readPdfInfo(file)) return {};
    QProcess process;
    process.start("pdfinfo", {"-f", "1", "-l", "1000", file});
    process.waitForFinished(30000);
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    std::vector<double> heights;
    auto it = QRegularExpression(R"(Page\s+\d+ size:\s+[\d.]+ x ([\d.]+) pts)").globalMatch(out);
    while (it.hasNext()) heights.push_back(it.next().captured(1).toDouble() * 25.4 / 72.0);
    return heights;
}

// A 50 x 80 mm roll whose paragraph (box 10 to 75 mm down, lines 5 mm apart) shows each
// record's NOTE.
class RollLabels : public ::testing::Test
{
protected:
    RollLabels()
    {
        ensureGuiApplication();
        TZVMeasure& m = label.Measure();
        m.SetPaperWidth(50);
        m.SetPaperHeight(80);
        m.SetWidth(50);
        m.SetHeight(80);
        for (auto set : {&TZVMeasure::SetMarLeft, &TZVMeasure::SetMarTop, &TZVMeasure::SetDiHor, &TZVMeasure::SetDiVer})
            (m.*set)(0);
        m.SetNuHor(1);
        m.SetNuVer(1);
        m.SetAutoLength(true);
        paragraph = new TZVParagraph(label);
        paragraph->SetX1(5);
        paragraph->SetY1(10);
        paragraph->SetX2(45);
        paragraph->SetY2(75);
        paragraph->SetTransparent(true);
        paragraph->SetShowBorder(false);
        paragraph->SetFontHeight(5);
        paragraph->SetFieldName("NOTE");
        paragraph->SetData(true);
        notes.AddField("NOTE", fkString);
    }
    ~RollLabels() override { label.SetDataSet(nullptr); }

    void bind(const QStringList& records)
    {
        for (const QString& note : records) notes.AppendRecord({note});
        notes.Open();
        label.SetDataAccessType(daDataSet);
        label.SetDataSet(&notes);
        label.SetDataEnabled(true);
    }

    // The first line's top: the box's top inside the pen and the text margin of 0.05 mm.
    int firstLine() const { return 1000 + paragraph->PenWidth() + 5; }

    TZVLab label;
    TZVParagraph* paragraph = nullptr;
    TZVMemoryDataSet notes;
};

TEST_F(RollLabels, EachPageIsAsLongAsItsRecordsContentWithinFiveMillimetresAndTheHeight)
{
    const QString twelveLines = QString("L\n").repeated(20);
    bind({"one line", "three\nshort\nlines", "", twelveLines});
    // Content bottom plus the space above it, model units; twenty lines stop at the box's
    // twelfth and the label at its Height; an empty record prints nothing.
    const int top = firstLine();
    const std::vector<int> expected = {top + 500 + top, top + 1500 + top, 500, 8000};

    ASSERT_TRUE(label.PreparePreview());
    ASSERT_EQ(label.PrintInfo().PageCount, 4);
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE(n);
        const QPicture* page = label.GetPreviewPage(n);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->boundingRect(), QRect(0, 0, 500, (expected[n - 1] + 5) / 10)) << "tenths of a millimetre";
    }

    // The core's PDF printer and the print dialog's QPrinter writing a file.
    const QTemporaryDir dir;
    TZVPdfPrinter pdf(dir.filePath("core.pdf"), 300);
    TZVQtPrinter qt;
    qt.SetOutputFileName(dir.filePath("qt.pdf"));
    const std::pair<TZVPrinter*, QString> printers[] = {{&pdf, pdf.FileName()}, {&qt, dir.filePath("qt.pdf")}};
    for (const auto& [printer, file] : printers) {
        SCOPED_TRACE(file.toStdString());
        ASSERT_TRUE(label.Print(*printer));
        const std::vector<double> heights = pdfPageHeights(file);
        if (heights.empty()) GTEST_SKIP() << "pdfinfo is not installed";
        ASSERT_EQ(heights.size(), 4U);
        for (int n = 0; n < 4; ++n) EXPECT_NEAR(heights[n], expected[n] / 100.0, 0.2) << "page " << n + 1;
    }
}

TEST_F(RollLabels, ASheetOrAnUnsetFlagKeepsThePapersLength)
{
    bind({"one line", "two"});
    const QTemporaryDir dir;
    TZVPdfPrinter pdf(dir.filePath("fixed.pdf"), 300);
    ASSERT_TRUE(label.Print(pdf)) << "short pages first, on the printer used next";
    const struct
    {
        bool autoLength;
        int rows;
        int columns;
    } cases[] = {{false, 1, 1}, {true, 2, 1}, {true, 1, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.autoLength << " " << c.rows << "x" << c.columns);
        label.Measure().SetAutoLength(c.autoLength);
        label.Measure().SetNuHor(c.rows);
        label.Measure().SetNuVer(c.columns);
        ASSERT_TRUE(label.PreparePreview());
        EXPECT_EQ(label.GetPreviewPage(1)->boundingRect().size(), QSize(500, 800));
        // A roll prints one label a page, each page the paper.
        ASSERT_TRUE(label.Print(pdf));
        const std::vector<double> heights = pdfPageHeights(pdf.FileName());
        if (heights.empty()) GTEST_SKIP() << "pdfinfo is not installed";
        EXPECT_EQ(heights, std::vector<double>(c.rows == 1 && c.columns == 1 ? 2 : 1, heights[0]));
        EXPECT_NEAR(heights[0], 80, 0.2);
    }
}

TEST_F(RollLabels, TheFlagTravelsInTheNewestLayoutOnlyAndOlderLayoutsClearIt)
{
    const auto save = [](TZVCustomLab& from) {
        TZVMemoryStream stream;
        from.SaveToStream(stream);
        return stream.Bytes();
    };
    const QByteArray withFlag = save(label);
    EXPECT_EQ(withFlag.left(4), QByteArray("\x1c\x0c\0\0", 4)) << "3100, little-endian";
    EXPECT_TRUE(DesignToJson(label).contains("\"AutoLength\": true"));

    label.Measure().SetAutoLength(false);
    const QByteArray without = save(label);
    EXPECT_EQ(without.left(4), QByteArray("\x8c\x0a\0\0", 4)) << "2700, as before the flag";
    EXPECT_FALSE(DesignToJson(label).contains("AutoLength"));

    const struct
    {
        QByteArray bytes;
        bool autoLength;
    } cases[] = {{withFlag, true}, {without, false}, {withFlag, true}};
    TZVLab read;
    for (const auto& c : cases) {
        TZVMemoryStream stream(c.bytes);
        read.LoadFromStream(stream);
        EXPECT_EQ(read.Measure().AutoLength(), c.autoLength);
        TZVLab fromJson;
        DesignFromJson(fromJson, DesignToJson(read));
        EXPECT_EQ(fromJson.Measure().AutoLength(), c.autoLength);
    }

    // Undo puts the flag back as it puts back any property.
    label.Measure().SetAutoLength(true);
    {
        const TZVChangeScope change(label, "fixed length");
        label.Measure().SetAutoLength(false);
    }
    label.UndoStack().undo();
    EXPECT_TRUE(label.Measure().AutoLength());
    label.UndoStack().redo();
    EXPECT_FALSE(label.Measure().AutoLength());
}

} // namespace
} // namespace zorvel::test
