// The label definitions catalogue: line format, numbers, applying a line to a label, the file
// (places, limits, atomic save), the starter catalogue, and the dialog driven offscreen.
#include "printsupport/ZVLabelDefs.h"
#include "dialogs/ZVLabelDefsDialog.h"
#include "dialogs/ZVStockModel.h"
#include "dialogs/ZVStockPicker.h"
#include "dialogs/ZVStockSheet.h"
#include "document/ZVCustomLab.h"
#include "foundation/ZVStrings.h"
#include "foundation/ZVUtils.h"
#include "tests/document/TestEditorLink.h"
#include "tests/support/TestApplication.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace zorvel {
namespace {

using test::TestEditorLink;

const QString kExampleLine =
    QStringLiteral("^New label^|0|^A4^|0|210,00|297,00|60,00|35,00|4,00|4,00|5,00|10,00|3|7");

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList fieldsOf(std::initializer_list<const char*> texts)
{
    QStringList fields;
    for (const char* text : texts)
        fields << QString::fromUtf8(text);
    return fields;
}

// ---- Line format ----------------------------------------------------------------------------

TEST(LabelDefLine, FieldsRoundTripThroughJoinAndSplit)
{
    struct Case
    {
        const char* name;
        const char* field0;
        const char* joinedStart; // how field 0 is written
    };
    // clang-format off
    const Case cases[] = {
        {"plain", "Avery", "Avery|"},            {"separator", "Left|Right", "^Left|Right^|"},
        {"quote doubled", "x^y", "^x^^y^|"},     {"space", "New label", "^New label^|"},
        {"tab", "a\tb", "^a\tb^|"},              {"empty", "", "|"},
        {"outside the code page", "\xE6\xBC\xA2 label", "^\xE6\xBC\xA2 label^|"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList fields = SplitLabelDef(kExampleLine);
        fields[ldfName] = QString::fromUtf8(c.field0);
        const QString line = JoinLabelDef(fields);
        EXPECT_TRUE(line.startsWith(QString::fromUtf8(c.joinedStart))) << line.toStdString();
        EXPECT_EQ(SplitLabelDef(line), fields);
    }
    // Joining leaves alone what needs no quotes: the paper name of an added line loses them.
    EXPECT_EQ(JoinLabelDef(SplitLabelDef(kExampleLine)),
              QStringLiteral("^New label^|0|A4|0|210,00|297,00|60,00|35,00|4,00|4,00|5,00|10,00|3|7"));
    // A line break in a field would split the line in the file.
    QStringList broken = SplitLabelDef(kExampleLine);
    broken[ldfName] = QStringLiteral("two\r\nlines\nhere");
    EXPECT_EQ(JoinLabelDef(broken).section(u'|', 0, 0), QStringLiteral("^two lines here^"));
    EXPECT_EQ(QuoteLabelDefField(QStringLiteral("a\nb")), QStringLiteral("^a b^"));
}

TEST(LabelDefLine, DamagedLinesArePaddedAndExtraFieldsKept)
{
    // Too few fields: texts empty, numbers and ordinals 0, counts 1.
    EXPECT_EQ(SplitLabelDef(u"Foo"),
              fieldsOf({"Foo", "0", "", "0", "0", "0", "0", "0", "0", "0", "0", "0", "1", "1"}));
    EXPECT_EQ(SplitLabelDef(u"").size(), kLabelDefFieldCount);
    // An unterminated quote runs to the end of the line.
    EXPECT_EQ(SplitLabelDef(u"^open|ended")[ldfName], QStringLiteral("open|ended"));
    // Text a hand edit left after a closing quote stays with its field.
    EXPECT_EQ(SplitLabelDef(u"^A^B|1")[ldfName], QStringLiteral("AB"));
    // A line from a later version keeps its extra fields through a join.
    const QString longer = JoinLabelDef(SplitLabelDef(kExampleLine)) + QStringLiteral("|extra");
    EXPECT_EQ(SplitLabelDef(longer).size(), kLabelDefFieldCount + 1);
    EXPECT_EQ(JoinLabelDef(SplitLabelDef(longer)), longer);
}

// ---- Numbers --------------------------------------------------------------------------------

// Sets the process's locale for one test and puts the previous one back.
class LocaleScope
{
public:
    explicit LocaleScope(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(m_previous); }

private:
    QLocale m_previous;
};

TEST(LabelDefNumbers, FormatsUseFixedSeparatorsWhateverTheLocale)
{
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany),
                                  QLocale(QLocale::English, QLocale::UnitedStates)}) {
        SCOPED_TRACE(locale.name().toStdString());
        const LocaleScope scope(locale);
        EXPECT_EQ(FormatDefFixed(1234.5), QStringLiteral("1.234,50"));
        EXPECT_EQ(FormatDefFixed(60), QStringLiteral("60,00"));
        EXPECT_EQ(FormatDefFixed(-1234567.891), QStringLiteral("-1.234.567,89"));
        EXPECT_EQ(FormatDefFixed(-0.001), QStringLiteral("0,00"));
        EXPECT_EQ(FormatDefFixed(999.999), QStringLiteral("1.000,00"));
        EXPECT_EQ(FormatDefGeneral(60.5), QStringLiteral("60,5"));
        EXPECT_EQ(FormatDefGeneral(60), QStringLiteral("60"));
        EXPECT_EQ(FormatDefGeneral(1234.5), QStringLiteral("1234,5"));
        EXPECT_EQ(FormatDefGeneral(0.1 + 0.2), QStringLiteral("0,3"));
        EXPECT_EQ(ReadDefDecimal(u"1.234,50"), 1234.5);
    }
}

TEST(LabelDefNumbers, ReadingDecimalsAndIntegers)
{
    struct Case
    {
        const char* text;
        double decimal;
        int integer;
    };
    // clang-format off
    const Case cases[] = {
        {"60,5", 60.5, 1},   {"60,00", 60, 1}, {"1.234,50", 1234.5, 1}, {"1.234", 1234, 1},
        {"1.234.567", 1234567, 1}, {" 7 ", 7, 7}, {"-2,5", -2.5, 1}, {",5", 0.5, 1}, {"5,", 5, 1},
        {"2,5E3", 2500, 1},  {"12", 12, 12},   {"+3", 3, 3},           {"99999999999", 99999999999.0, 1},
        // Unconvertible: decimals read 0, integers 1.
        {"abc", 0, 1}, {"", 0, 1}, {",", 0, 1}, {"60.5", 0, 1}, {"1.23,4", 0, 1}, {"1e999", 0, 1}, {"3 4", 0, 1},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(ReadDefDecimal(text), c.decimal);
        EXPECT_EQ(ReadDefInteger(text), c.integer);
    }
    for (const double value : {0.0, 0.125, 2.625, 63.5, 1234.5, 123456.75, -8.25}) {
        EXPECT_EQ(ReadDefDecimal(FormatDefFixed(value, 3)), value);
        EXPECT_EQ(ReadDefDecimal(FormatDefGeneral(value)), value);
    }
}

TEST(LabelDefNumbers, LengthsKeepTheModelsPrecision)
{
    struct Case
    {
        const char* name;
        int model;
        TZVUnits units;
        const char* text;
    };
    // clang-format off
    const Case cases[] = {
        {"mm", 6000, unMM, "60,00"}, {"mm fraction", 1234, unMM, "12,34"}, {"mm thousands", 123456, unMM, "1.234,56"},
        {"inch in two places", 2540, unINCH, "1,00"},
        {"inch needing three", 6668, unINCH, "2,625"}, // 2.625 in as the label stores it
        {"inch needing four", 397, unINCH, "0,1563"},  // 5/32 in
        {"cm", 381, unCM, "0,381"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString text = FormatDefLength(c.model, c.units);
        EXPECT_EQ(text, QString::fromUtf8(c.text));
        EXPECT_EQ(ToModel(ReadDefDecimal(text), c.units), c.model);
    }
}

// ---- A line and the label -------------------------------------------------------------------

class LabelDefAndLabel : public ::testing::Test
{
protected:
    void SetUp() override { test::ensureApplication<QApplication>(); }

    TZVLab label;
};

TEST_F(LabelDefAndLabel, AddingFromTheDefaultLabelWritesTheExampleLine)
{
    // A4, 60 x 35 mm, 7 rows of 3, gaps 4 and 4, margins 5 and 10: the label's defaults.
    EXPECT_EQ(LabelDefFromLabel(label, MessageText(TZVMsg::NewLabel)), kExampleLine);
}

TEST_F(LabelDefAndLabel, AnInchDefinitionSwitchesTheLabelToInchesWithTheSameGeometry)
{
    TZVLab source;
    source.SetUnits(unINCH);
    source.Measure().SetPaperName(QStringLiteral("LETTER"));
    source.Measure().SetPaper(215.9f, 279.4f, 1);
    source.Measure().SetWidth(2.625f);
    source.Measure().SetHeight(1);
    source.Measure().SetDiHor(0.125f);
    source.Measure().SetDiVer(0);
    source.Measure().SetMarLeft(0.1875f);
    source.Measure().SetMarTop(0.5f);
    source.Measure().SetNuVer(3);
    source.Measure().SetNuHor(10);
    const QStringList fields = SplitLabelDef(LabelDefFromLabel(source, QStringLiteral("Address")));
    EXPECT_EQ(fields[ldfUnits], QStringLiteral("1"));
    EXPECT_EQ(fields[ldfPaperWidth], QStringLiteral("8,50"));
    EXPECT_EQ(fields[ldfWidth], QStringLiteral("2,625"));
    // 0.1875 in is 476.25 model units; the label keeps 476, which the line writes exactly.
    EXPECT_EQ(fields[ldfMarLeft], QStringLiteral("0,1874"));

    ASSERT_EQ(label.Units(), unMM);
    ASSERT_TRUE(AssignLabelDef(fields, label));
    EXPECT_EQ(label.Units(), unINCH);
    for (const auto measure :
         {&TZVMeasure::Width, &TZVMeasure::Height, &TZVMeasure::DiHor, &TZVMeasure::DiVer,
          &TZVMeasure::MarLeft, &TZVMeasure::MarTop, &TZVMeasure::PaperWidth, &TZVMeasure::PaperHeight,
          &TZVMeasure::NuVer, &TZVMeasure::NuHor})
        EXPECT_EQ((label.Measure().*measure)(), (source.Measure().*measure)());
    EXPECT_EQ(label.Measure().PaperName(), QStringLiteral("LETTER"));
    EXPECT_EQ(label.PrintInfo().PaperCode, 1);
}

TEST_F(LabelDefAndLabel, AssigningGoesThroughTheLabelsLimits)
{
    QStringList fields = SplitLabelDef(kExampleLine);
    fields[ldfWidth] = QStringLiteral("abc");
    fields[ldfHeight] = QStringLiteral("-3");
    fields[ldfMarLeft] = QStringLiteral("-1");
    fields[ldfNuVer] = QStringLiteral("0");
    fields[ldfNuHor] = QStringLiteral("rows");
    ASSERT_TRUE(AssignLabelDef(fields, label));
    EXPECT_EQ(label.Measure().NuHor(), 1) << "an unconvertible count reads 1";
    EXPECT_EQ(label.Measure().Width(), 500) << "raised to the 5 mm minimum";
    EXPECT_EQ(label.Measure().Height(), 500);
    EXPECT_EQ(label.Measure().MarLeft(), 0);
    EXPECT_EQ(label.Measure().NuVer(), 1);
    fields[ldfNuHor] = QStringLiteral("2000000000");
    ASSERT_TRUE(AssignLabelDef(fields, label));
    EXPECT_EQ(label.Measure().NuHor(), kMaxLabelDefCount);
}

TEST_F(LabelDefAndLabel, PaperComesFromTheTableOrFromTheLineForUser)
{
    struct Case
    {
        const char* name;
        const char* line;
        int paperWidth, paperHeight, paperCode, orientation;
        const char* paperName;
    };
    const Case cases[] = {
        {"table paper ignores the line's size", "a|0|A5|0|1|1|50|30|0|0|0|0|2|2", 14800, 21000, 11, 0, "A5"},
        {"name matched without case", "a|1|letter|0|8,5|11|2|1|0|0|0|0|2|2", 21590, 27940, 1, 0, "LETTER"},
        {"sideways table paper is landscape", "a|0|A4|0|297|210|50|30|0|0|0|0|2|2", 21000, 29700, 9, 1, "A4"},
        {"user paper from the line", "a|2|User|0|30|12,5|5|3|0|0|0|0|2|2", 30000, 12500, kUserPaperCode, 0,
         "User"},
        {"landscape table entry as it stands", "a|0|LEDGER|0|431,8|279,4|50|30|0|0|0|0|2|2", 43180, 27940, 4,
         0, "LEDGER"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLab target;
        target.PrintInfo().Orientation = 1 - c.orientation;
        ASSERT_TRUE(AssignLabelDef(SplitLabelDef(QString::fromUtf8(c.line)), target));
        EXPECT_EQ(target.Measure().PaperWidth(), c.paperWidth);
        EXPECT_EQ(target.Measure().PaperHeight(), c.paperHeight);
        EXPECT_EQ(target.PrintInfo().PaperCode, c.paperCode);
        EXPECT_EQ(target.PrintInfo().Orientation, c.orientation);
        EXPECT_EQ(target.Measure().PaperName(), QString::fromUtf8(c.paperName));
    }
}

TEST_F(LabelDefAndLabel, AContinuousRollSwitchesAutoLengthOnAndOthersOff)
{
    const struct
    {
        const char* line;
        bool autoLength;
        int width, height;
    } cases[] = {
        {"roll|0|User|0|62|1000|62|1000|0|0|0|0|1|1|1", true, 6200, 100000},
        {"die-cut|0|User|0|57|32|57|32|0|0|0|0|1|1", false, 5700, 3200},
        {"no flag|0|User|0|62|1000|62|1000|0|0|0|0|1|1|0", false, 6200, 100000},
        {"2,25 x 1,25 in|1|User|0|2,25|1,25|2,25|1,25|0|0|0|0|1|1|1", true, 5715, 3175},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        ASSERT_TRUE(AssignLabelDef(SplitLabelDef(QString::fromUtf8(c.line)), label));
        EXPECT_EQ(label.Measure().AutoLength(), c.autoLength);
        EXPECT_EQ(label.Measure().Width(), c.width);
        EXPECT_EQ(label.Measure().Height(), c.height);
        EXPECT_EQ(label.Measure().PaperHeight(), c.height) << "the paper is the label";
        // "Add" writes the flag back only for a roll that has it.
        const QStringList back = SplitLabelDef(LabelDefFromLabel(label, QStringLiteral("again")));
        EXPECT_EQ(back.size(), kLabelDefFieldCount + (c.autoLength ? 1 : 0));
        EXPECT_EQ(IsContinuousLabelDef(back), c.autoLength);
    }
    // On a sheet the flag does nothing, so the sheet's line is no roll's.
    label.Measure().SetAutoLength(true);
    label.Measure().SetNuHor(3);
    EXPECT_FALSE(IsContinuousLabelDef(SplitLabelDef(LabelDefFromLabel(label, QStringLiteral("sheet")))));
}

TEST_F(LabelDefAndLabel, ALandscapeLabelRoundTripsThroughALine)
{
    label.PrintInfo().Orientation = 1;
    const QStringList fields = SplitLabelDef(LabelDefFromLabel(label, QStringLiteral("wide")));
    EXPECT_EQ(fields[ldfPaperWidth], QStringLiteral("297,00"));
    EXPECT_EQ(fields[ldfPaperHeight], QStringLiteral("210,00"));
    TZVLab target;
    ASSERT_TRUE(AssignLabelDef(fields, target));
    EXPECT_EQ(target.PrintInfo().Orientation, 1);
    EXPECT_EQ(target.Measure().PaperWidth(), 21000);
}

TEST_F(LabelDefAndLabel, AnUnknownPaperIsNotAssignedAndTheLabelStaysAsItWas)
{
    TestEditorLink editor;
    label.SetEditor(&editor);
    label.SetModified(false);
    QStringList fields = SplitLabelDef(kExampleLine);
    fields[ldfPaperName] = QStringLiteral("Napkin");
    fields[ldfUnits] = QStringLiteral("1");
    fields[ldfWidth] = QStringLiteral("99");
    EXPECT_FALSE(AssignLabelDef(fields, label));
    EXPECT_EQ(label.Units(), unMM);
    EXPECT_EQ(label.Measure().Width(), 6000);
    EXPECT_FALSE(label.Modified());
    EXPECT_EQ(editor.clearSelectionCount, 0);
    label.SetEditor(nullptr);
}

TEST_F(LabelDefAndLabel, AssigningClearsTheSelectionThenResizesAndRepaintsTheEditor)
{
    TestEditorLink editor;
    label.SetEditor(&editor);
    ASSERT_TRUE(AssignLabelDef(SplitLabelDef(u"a|0|A4|1|210|297|40|40|5|5|17,5|16|4|6"), label));
    EXPECT_EQ(editor.clearSelectionCount, 1);
    EXPECT_GE(editor.recalcSizeCount, 1);
    ASSERT_FALSE(editor.refreshes.empty());
    EXPECT_TRUE(editor.refreshes.back().updateInspector);
    EXPECT_EQ(label.Measure().LabelType(), ltCircle);
    label.SetEditor(nullptr);
}

TEST(LabelDefOrdinals, OrdinalsOutsideTheirEnumerationReadAsTheFirstValue)
{
    EXPECT_EQ(DefUnits(SplitLabelDef(u"a|2")), unCM);
    EXPECT_EQ(DefUnits(SplitLabelDef(u"a|7")), unMM);
    EXPECT_EQ(DefUnits(SplitLabelDef(u"a|-1")), unMM);
    EXPECT_EQ(DefUnits(SplitLabelDef(u"a|x")), unINCH) << "an unconvertible integer reads 1";
    EXPECT_EQ(DefLabelType(SplitLabelDef(u"a|0|A4|1")), ltCircle);
    EXPECT_EQ(DefLabelType(SplitLabelDef(u"a|0|A4|5")), ltRect);
}

// ---- The file -------------------------------------------------------------------------------

class LabelDefsFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::ensureApplication<QApplication>();
        ASSERT_TRUE(dir.isValid());
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
};

TEST_F(LabelDefsFile, AMissingFileIsAnEmptyCatalogue)
{
    QStringList lines{QStringLiteral("stale")};
    const TZVLabelDefsResult result = ReadLabelDefsFile(path("none.dls"), lines);
    EXPECT_TRUE(result.Ok);
    EXPECT_TRUE(lines.isEmpty());
}

TEST_F(LabelDefsFile, WritesCodePageOrUtf8AndReadsBackTheSameLines)
{
    const QString file = path("cat.dls");
    const QStringList western = {QStringLiteral("^\u00C9tiquette 1^|0|A4|0|210|297|60|35|4|4|5|10|3|7"),
                                 kExampleLine};
    ASSERT_TRUE(WriteLabelDefsFile(file, western).Ok);
    const QByteArray bytes = readBytes(file);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xC9) << "Windows-1252";
    QStringList lines;
    ASSERT_TRUE(ReadLabelDefsFile(file, lines).Ok);
    EXPECT_EQ(lines, western);
    // Write, read, write again: the same bytes.
    ASSERT_TRUE(WriteLabelDefsFile(file, lines).Ok);
    EXPECT_EQ(readBytes(file), bytes);

    // A name the code page cannot hold is not turned into '?'.
    const QStringList wider = {QStringLiteral("^\u6F22\u5B57^|0|A4|0|210|297|60|35|4|4|5|10|3|7")};
    ASSERT_TRUE(WriteLabelDefsFile(file, wider).Ok);
    EXPECT_TRUE(readBytes(file).startsWith("\xEF\xBB\xBF"));
    ASSERT_TRUE(ReadLabelDefsFile(file, lines).Ok);
    EXPECT_EQ(lines, wider);
}

TEST_F(LabelDefsFile, ReadsWindowsLineEndsAndSkipsBlankLines)
{
    writeBytes(path("crlf.dls"), "a|0|A4\r\n\r\n   \r\nb|0|A5\r\n");
    QStringList lines;
    ASSERT_TRUE(ReadLabelDefsFile(path("crlf.dls"), lines).Ok);
    EXPECT_EQ(lines, QStringList({QStringLiteral("a|0|A4"), QStringLiteral("b|0|A5")}));
}

TEST_F(LabelDefsFile, RefusesFilesThatAreNoCatalogue)
{
    struct Case
    {
        const char* name;
        std::function<void(const QString&)> make;
        const char* errorPart;
    };
    const Case cases[] = {
        {"huge",
         [](const QString& p) {
             QFile f(p);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             ASSERT_TRUE(f.resize(200LL * 1024 * 1024)); // sparse: nothing is written
         },
         "larger than 1024 KB"},
        {"just over the limit",
         [](const QString& p) { writeBytes(p, QByteArray(kMaxLabelDefsBytes + 1, 'a')); }, "larger than"},
        {"binary", [](const QString& p) { writeBytes(p, QByteArray("a|0|A4\0\x01\x02", 9)); },
         "is not a label definitions file"},
        {"a folder", [](const QString& p) { ASSERT_TRUE(QDir().mkpath(p)); }, "is not a file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path(QString::fromUtf8(c.name));
        c.make(file);
        QStringList lines{QStringLiteral("stale")};
        const TZVLabelDefsResult result = ReadLabelDefsFile(file, lines);
        EXPECT_FALSE(result.Ok);
        EXPECT_TRUE(lines.isEmpty());
        EXPECT_TRUE(result.Error.contains(QString::fromUtf8(c.errorPart))) << result.Error.toStdString();
        EXPECT_TRUE(result.Error.contains(QDir::toNativeSeparators(file)));
    }
}

// Limits the size of any file this process writes, so that writing past it fails as a full disk
// would; root ignores file permissions but not this.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_previous);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_previous{};
    void (*m_handler)(int) = nullptr;
};

TEST_F(LabelDefsFile, AFailedSaveLeavesTheOldCatalogueWhole)
{
    const QString file = path("labels.dls");
    const QStringList old = {kExampleLine};
    ASSERT_TRUE(WriteLabelDefsFile(file, old).Ok);
    const QByteArray before = readBytes(file);

    // More than the file buffer is written at once; less is written when the file is committed.
    for (const int count : {400, 100}) {
        SCOPED_TRACE(count);
        const QStringList many(count, kExampleLine); // 75 bytes a line
        TZVLabelDefsResult result;
        {
            const FileSizeLimit limit(4096);
            result = WriteLabelDefsFile(file, many);
        }
        EXPECT_FALSE(result.Ok);
        EXPECT_TRUE(result.Error.startsWith(QStringLiteral("The label definitions file %1 cannot be written")
                                                .arg(QDir::toNativeSeparators(file))))
            << result.Error.toStdString();
        EXPECT_EQ(readBytes(file), before);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("labels.dls")})
            << "no temporary file is left behind";
    }

    // A folder that cannot be made: a file stands where it should be.
    writeBytes(path("blocker"), "x");
    const TZVLabelDefsResult result = WriteLabelDefsFile(path("blocker/sub/labels.dls"), old);
    EXPECT_FALSE(result.Ok);
    EXPECT_TRUE(result.Error.contains(QStringLiteral("cannot be created")));
}

TEST_F(LabelDefsFile, PlacesOfReadingAndWriting)
{
    const QString program = path("program");
    const QString user = path("user");
    const QString starter = path("starter.dls");
    const QString own = path("own.dls");
    QDir().mkpath(program);
    QDir().mkpath(user);
    writeBytes(starter, "starter|0|A4\n");
    const TZVLabelDefs defs({program, user, starter});
    const QString besideProgram = QDir(program).filePath(QStringLiteral("labels.dls"));
    const QString inUserData = QDir(user).filePath(QStringLiteral("labels.dls"));

    // Nothing exists yet: written beside the program, read from the starter catalogue.
    EXPECT_EQ(defs.WritePath(own), besideProgram);
    EXPECT_EQ(defs.ReadPath(own), starter);
    // A user's catalogue is found even when the program's folder would take the writing.
    writeBytes(inUserData, "user|0|A4\n");
    EXPECT_EQ(defs.ReadPath(QString()), inUserData);
    // The program's file comes before it.
    writeBytes(besideProgram, "program|0|A4\n");
    EXPECT_EQ(defs.ReadPath(QString()), besideProgram);
    // The label's own file, named with the other platform's separators, wins once it exists.
    writeBytes(own, "own|0|A4\n");
    QString backslashed = own;
    backslashed.replace(u'/', u'\\');
    EXPECT_EQ(defs.WritePath(backslashed), own);
    EXPECT_EQ(defs.ReadPath(backslashed), own);

    // A program folder that cannot take the file sends the writing to the user's data folder.
    const TZVLabelDefs installed({path("missing/program"), user, starter});
    EXPECT_EQ(installed.WritePath(QString()), inUserData);
    EXPECT_TRUE(TZVLabelDefsPlaces::Standard().StarterFile.startsWith(u':'));
}

TEST_F(LabelDefsFile, TheCatalogueWritesOnlyChangesAndNeverOverAFileItCouldNotRead)
{
    const QString user = path("user");
    writeBytes(path("starter.dls"), "starter|0|A4\n");
    TZVLabelDefs defs({QString(), user, path("starter.dls")});
    ASSERT_TRUE(defs.Load(QString()).Ok);
    EXPECT_EQ(defs.Lines(), QStringList{QStringLiteral("starter|0|A4")});
    ASSERT_TRUE(defs.Save().Ok);
    EXPECT_FALSE(QFile::exists(defs.WriteTo())) << "an unchanged starter catalogue is not copied";

    defs.Lines().append(kExampleLine);
    ASSERT_TRUE(defs.Save().Ok);
    EXPECT_EQ(defs.WriteTo(), QDir(user).filePath(QStringLiteral("labels.dls")));
    TZVLabelDefs again({QString(), user, path("starter.dls")});
    ASSERT_TRUE(again.Load(QString()).Ok);
    EXPECT_EQ(again.Lines(), defs.Lines());

    // A damaged catalogue stays on disk as it is, whatever is done in the dialog.
    const QByteArray damaged("a|0|A4\n\0\0\0", 10);
    writeBytes(defs.WriteTo(), damaged);
    TZVLabelDefs broken({QString(), user, QString()});
    EXPECT_FALSE(broken.Load(QString()).Ok);
    broken.Lines().append(kExampleLine);
    EXPECT_FALSE(broken.Save().Ok);
    EXPECT_EQ(readBytes(defs.WriteTo()), damaged);
}

// ---- The starter catalogue ------------------------------------------------------------------

TEST(StarterCatalogue, EveryDefinitionFitsItsPaper)
{
    test::ensureApplication<QApplication>();
    QStringList lines;
    ASSERT_TRUE(ReadLabelDefsFile(TZVLabelDefsPlaces::Standard().StarterFile, lines).Ok);
    ASSERT_GE(lines.size(), 15);
    QStringList names;
    for (const QString& line : lines) {
        SCOPED_TRACE(line.toStdString());
        const QStringList f = SplitLabelDef(line);
        ASSERT_EQ(f.size(), kLabelDefFieldCount + (IsContinuousLabelDef(f) ? 1 : 0));
        EXPECT_FALSE(names.contains(f[ldfName]));
        names << f[ldfName];
        const int paperIndex = FindPaperType(f[ldfPaperName]);
        ASSERT_GE(paperIndex, 0);
        EXPECT_EQ(f[ldfPaperName], PaperType(paperIndex).Name);
        const TZVUnits units = DefUnits(f);
        EXPECT_EQ(f[ldfUnits], QString::number(units));
        const double mmPerUnit = ToModel(1, units) / double(kModelPerMm);
        const auto mm = [&](int field) { return ReadDefDecimal(f[field]) * mmPerUnit; };
        const int columns = ReadDefInteger(f[ldfNuVer]);
        const int rows = ReadDefInteger(f[ldfNuHor]);
        EXPECT_GE(columns, 1);
        EXPECT_GE(rows, 1);
        // The paper as the table has it (a roll's is its own), and margins that repeat on the far side.
        if (paperIndex != UserPaperIndex()) {
            EXPECT_NEAR(mm(ldfPaperWidth), PaperType(paperIndex).Width, 0.05);
            EXPECT_NEAR(mm(ldfPaperHeight), PaperType(paperIndex).Height, 0.05);
        }
        EXPECT_NEAR(2 * mm(ldfMarLeft) + columns * mm(ldfWidth) + (columns - 1) * mm(ldfDiHor),
                    mm(ldfPaperWidth), 0.1);
        EXPECT_NEAR(2 * mm(ldfMarTop) + rows * mm(ldfHeight) + (rows - 1) * mm(ldfDiVer), mm(ldfPaperHeight),
                    0.1);
        if (DefLabelType(f) == ltCircle) {
            EXPECT_EQ(f[ldfWidth], f[ldfHeight]);
        }
        TZVLab label;
        EXPECT_TRUE(AssignLabelDef(f, label));
    }
}

// ---- The dialog -----------------------------------------------------------------------------

class LabelDefsDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::ensureApplication<QApplication>();
        ASSERT_TRUE(dir.isValid());
        catalogue = dir.filePath(QStringLiteral("cat.dls"));
        writeBytes(catalogue, "^Address 3 x 7^|0|A4|0|210|297|63,5|38,1|2,5|0|7,25|15,15|3|7\n"
                              "Damaged|0\n"
                              "^Letter 3 x 10^|1|LETTER|0|8,5|11|2,625|1|0,125|0|0,1875|0,5|3|10\n");
        label.SetLabelDefs(catalogue);
        dialog = std::make_unique<TFLabelDefs>(
            nullptr, TZVLabelDefsPlaces{QString(), dir.filePath("user"), QString()});
        dialog->Confirm = [this](const QString& question) {
            questions << question;
            return answer;
        };
        dialog->ShowError = [this](const QString& message) { errors << message; };
        dialog->SetLabel(label);
    }

    template <typename T> T* control(const char* name) const
    {
        T* widget = dialog->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QStringList fileLines() const
    {
        QStringList lines;
        EXPECT_TRUE(ReadLabelDefsFile(catalogue, lines).Ok);
        return lines;
    }
    const QStringList& lines() const { return dialog->Catalogue().Lines(); }
    const TZVStockTableModel& model() const { return dialog->Picker()->Model(); }
    // What the list shows in `column` for the user's line `line`.
    QString shown(int line, int column) const
    {
        return model().data(model().index(model().FirstUserRow() + line, column), Qt::DisplayRole).toString();
    }

    QTemporaryDir dir;
    QString catalogue;
    TZVLab label;
    std::unique_ptr<TFLabelDefs> dialog;
    QStringList questions;
    QStringList errors;
    bool answer = true;
};

TEST_F(LabelDefsDialog, OpensOnTheCatalogueWithTheFirstDefinitionSelected)
{
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Label's list"));
    EXPECT_EQ(control<QPushButton>("add")->text(), QStringLiteral("&Add"));
    EXPECT_EQ(control<QPushButton>("assign")->text(), QStringLiteral("Set as current"));
    EXPECT_EQ(model().headerData(TZVStockTableModel::colSize, Qt::Horizontal, Qt::DisplayRole),
              QStringLiteral("Label Size"));
    EXPECT_GT(model().FirstUserRow(), 1000) << "the shipped stocks come first";
    ASSERT_EQ(model().rowCount(), model().FirstUserRow() + 3);
    EXPECT_EQ(shown(0, TZVStockTableModel::colDescription), QStringLiteral("Address 3 x 7"));
    EXPECT_EQ(shown(0, TZVStockTableModel::colPaper), QStringLiteral("A4"));
    EXPECT_EQ(shown(0, TZVStockTableModel::colPerSheet), QStringLiteral("21"));
    EXPECT_EQ(dialog->Picker()->CurrentRow(), model().FirstUserRow());
    EXPECT_EQ(dialog->SelectedIndex(), 0);
    EXPECT_EQ(control<QLineEdit>("name")->text(), QStringLiteral("Address 3 x 7"));
    EXPECT_DOUBLE_EQ(control<QDoubleSpinBox>("labelWidth")->value(), 63.5);
    EXPECT_EQ(control<QSpinBox>("rows")->value(), 7);
    EXPECT_TRUE(control<QPushButton>("delete")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("assign")->isEnabled());
    EXPECT_FALSE(control<QDoubleSpinBox>("paperWidth")->isEnabled()) << "A4 has its own size";
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(LabelDefsDialog, CaptionsComeFromTheTranslationFileWhenThereIsOne)
{
    const QString ini = dir.filePath(QStringLiteral("texts.ini"));
    writeBytes(ini, "[dialogs]\nZvAdd=Nieuw\nZvLabDefs=Etiketten\nZVLabelWidth=Breedte\n");
    label.SetIniTranslate(ini);
    dialog->SetLabel(label);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Etiketten"));
    EXPECT_EQ(control<QPushButton>("add")->text(), QStringLiteral("Nieuw"));
    EXPECT_EQ(control<QPushButton>("assign")->text(), QStringLiteral("Set to current"))
        << "the key's default";
    QStringList captions;
    for (const QLabel* caption : dialog->findChildren<QLabel*>())
        captions << caption->text();
    EXPECT_TRUE(captions.contains(QStringLiteral("C  Breedte")));
}

TEST_F(LabelDefsDialog, EditsWriteTheirFieldInTheShortestFormAndShowInTheTree)
{
    const LocaleScope scope(QLocale::c());
    control<QDoubleSpinBox>("labelWidth")->setValue(60.5);
    EXPECT_EQ(lines()[0], QStringLiteral("^Address 3 x 7^|0|A4|0|210|297|60,5|38,1|2,5|0|7,25|15,15|3|7"));
    EXPECT_EQ(shown(0, TZVStockTableModel::colSize), QStringLiteral("60.5 x 38.1 mm"));

    control<QSpinBox>("columns")->setValue(2);
    control<QDoubleSpinBox>("gapVertical")->setValue(0.3);
    control<QLineEdit>("name")->setText(QStringLiteral("Left|Right"));
    EXPECT_EQ(shown(0, TZVStockTableModel::colDescription), QStringLiteral("Left|Right"));
    control<QRadioButton>("circle")->setChecked(true);
    EXPECT_EQ(lines()[0], QStringLiteral("^Left|Right^|0|A4|1|210|297|60,5|38,1|2,5|0,3|7,25|15,15|2|7"));

    // The unit changes what the numbers mean, not the numbers.
    control<QComboBox>("units")->setCurrentIndex(unCM);
    EXPECT_EQ(dialog->Fields()[ldfUnits], QStringLiteral("2"));
    EXPECT_EQ(dialog->Fields()[ldfWidth], QStringLiteral("60,5"));
    EXPECT_EQ(control<QDoubleSpinBox>("labelWidth")->suffix(), QStringLiteral(" cm"));
}

TEST_F(LabelDefsDialog, PaperAndOrientationFollowTheLinesUnit)
{
    dialog->SelectLine(2); // the Letter sheet, in inches
    control<QComboBox>("paper")->setCurrentIndex(FindPaperType(u"A5"));
    EXPECT_EQ(dialog->Fields()[ldfPaperName], QStringLiteral("A5"));
    EXPECT_EQ(dialog->Fields()[ldfPaperWidth], QStringLiteral("5,8268")) << "148 mm in inches";
    EXPECT_EQ(dialog->Fields()[ldfPaperHeight], QStringLiteral("8,2677"));
    EXPECT_TRUE(control<QRadioButton>("portrait")->isChecked());

    control<QRadioButton>("landscape")->setChecked(true);
    EXPECT_EQ(dialog->Fields()[ldfPaperWidth], QStringLiteral("8,2677"));
    EXPECT_EQ(dialog->Fields()[ldfPaperHeight], QStringLiteral("5,8268"));

    control<QComboBox>("paper")->setCurrentIndex(UserPaperIndex());
    EXPECT_EQ(dialog->Fields()[ldfPaperWidth], QStringLiteral("8,2677")) << "User keeps the size";
    ASSERT_TRUE(control<QDoubleSpinBox>("paperWidth")->isEnabled());
    control<QDoubleSpinBox>("paperWidth")->setValue(4);
    EXPECT_TRUE(control<QRadioButton>("portrait")->isChecked());
    EXPECT_EQ(lines()[2].section(u'|', 2, 5), QStringLiteral("User|0|4|5,8268"));
}

TEST_F(LabelDefsDialog, AShippedStockIsShownAndAssignedButNotEdited)
{
    const QList<TZVStock>& stocks = model().Stocks();
    const auto l7160 = std::find_if(stocks.begin(), stocks.end(), [](const TZVStock& s) {
        return s.Brand == QLatin1String("Avery") && s.Part == QLatin1String("L7160");
    });
    ASSERT_NE(l7160, stocks.end());
    dialog->Picker()->SetCurrentRow(int(l7160 - stocks.begin()));
    EXPECT_EQ(dialog->SelectedIndex(), -1);
    const double width = control<QDoubleSpinBox>("labelWidth")->value();
    EXPECT_NEAR(width, 63.5, 0.5) << "the maker's 63.5 mm, give or take the template's rounding";
    EXPECT_FALSE(control<QDoubleSpinBox>("labelWidth")->isEnabled());
    EXPECT_FALSE(control<QLineEdit>("name")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("delete")->isEnabled());
    control<QLineEdit>("name")->setText(QStringLiteral("nowhere"));
    EXPECT_FALSE(lines().join(u'\n').contains(QStringLiteral("nowhere")));
    ASSERT_TRUE(control<QPushButton>("assign")->isEnabled());
    control<QPushButton>("assign")->click();
    // Avery's sheet: 3 x 7 labels on A4 (the maker's data sheet), as wide as the box showed.
    EXPECT_EQ(label.Units(), unMM);
    EXPECT_EQ(label.Measure().PaperName(), QStringLiteral("A4"));
    EXPECT_EQ(label.Measure().Width(), qRound(width * 100));
    EXPECT_EQ(label.Measure().NuVer(), 3);
    EXPECT_EQ(label.Measure().NuHor(), 7);
    EXPECT_EQ(label.UndoStack().count(), 1) << "one step";

    // A running-bond sheet is listed but refused, and the label stays as it was.
    const auto staggered = std::find_if(stocks.begin(), stocks.end(), [](const TZVStock& s) { return s.Layouts > 1; });
    ASSERT_NE(staggered, stocks.end());
    dialog->Picker()->SetCurrentRow(int(staggered - stocks.begin()));
    EXPECT_FALSE(dialog->AssignToCurrent());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("staggered"))) << errors[0].toStdString();
    EXPECT_EQ(label.Measure().Width(), qRound(width * 100));
    EXPECT_EQ(label.UndoStack().count(), 1);
}

TEST_F(LabelDefsDialog, SwitchingDefinitionsJoinsThePreviousOneBack)
{
    dialog->SelectLine(1); // "Damaged"
    EXPECT_EQ(dialog->SelectedIndex(), 1);
    EXPECT_FALSE(control<QPushButton>("assign")->isEnabled()) << "no paper the table knows";
    EXPECT_FALSE(dialog->AssignToCurrent());
    dialog->SelectLine(0);
    EXPECT_EQ(lines()[1], QStringLiteral("Damaged|0||0|0|0|0|0|0|0|0|0|1|1"));
}

TEST_F(LabelDefsDialog, ClickingASheetLetterFocusesItsEditor)
{
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    TZVStockSheet* sheet = dialog->Picker()->Sheet();
    const struct
    {
        char letter;
        const char* editor;
    } cases[] = {{'I', "rows"}, {'J', "columns"}, {'E', "gapHorizontal"}, {'H', "marginTop"}, {'C', "labelWidth"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.letter);
        const QRectF box = sheet->LetterBox(QChar::fromLatin1(c.letter));
        ASSERT_FALSE(box.isEmpty());
        QTest::mouseClick(sheet, Qt::LeftButton, {}, box.center().toPoint());
        EXPECT_EQ(dialog->focusWidget(), control<QWidget>(c.editor));
    }
}

TEST_F(LabelDefsDialog, AddBuildsALineFromTheLabelAndSelectsIt)
{
    control<QPushButton>("add")->click();
    ASSERT_EQ(lines().size(), 4);
    EXPECT_EQ(lines()[3], kExampleLine);
    EXPECT_EQ(dialog->SelectedIndex(), 3);
    EXPECT_EQ(dialog->Picker()->CurrentRow(), model().FirstUserRow() + 3);
    EXPECT_EQ(control<QLineEdit>("name")->text(), QStringLiteral("New label"));
    EXPECT_TRUE(control<QPushButton>("delete")->isEnabled());
}

TEST_F(LabelDefsDialog, DeleteAsksFirstAndLeavesNothingSelected)
{
    dialog->SelectLine(1);
    answer = false;
    control<QPushButton>("delete")->click();
    EXPECT_EQ(questions, QStringList{QStringLiteral("Remove label definition from list?")});
    EXPECT_EQ(lines().size(), 3);

    answer = true;
    control<QPushButton>("delete")->click();
    ASSERT_EQ(lines().size(), 2);
    EXPECT_TRUE(lines()[1].startsWith(QStringLiteral("^Letter 3 x 10^")));
    EXPECT_EQ(model().rowCount(), model().FirstUserRow() + 2);
    EXPECT_EQ(dialog->SelectedIndex(), -1);
    EXPECT_EQ(dialog->Picker()->CurrentRow(), -1);
    EXPECT_FALSE(control<QPushButton>("delete")->isEnabled());
    EXPECT_FALSE(control<QDoubleSpinBox>("labelWidth")->isEnabled());
    // Editors without a selection write nothing.
    control<QLineEdit>("name")->setText(QStringLiteral("nowhere"));
    EXPECT_FALSE(lines().join(u'\n').contains(QStringLiteral("nowhere")));
    dialog->DeleteDefinition();
    EXPECT_EQ(lines().size(), 2);
}

TEST_F(LabelDefsDialog, AssignSetsTheCurrentLabel)
{
    dialog->SelectLine(2);
    control<QPushButton>("assign")->click();
    EXPECT_EQ(label.Units(), unINCH);
    EXPECT_EQ(label.Measure().PaperName(), QStringLiteral("LETTER"));
    EXPECT_EQ(label.Measure().Width(), 6668);
    EXPECT_EQ(label.Measure().NuHor(), 10);
}

TEST_F(LabelDefsDialog, ImportAddsAFilesStocksToTheUsersOwnAndRefusesAForeignFile)
{
    control<QDoubleSpinBox>("marginTop")->setValue(12.5); // an edit not saved yet goes along
    const struct
    {
        const char* file;
        const char* bytes;
        bool imported;
    } cases[] = {
        {"page.xml", "<html><body>no labels here</body></html>", false},
        {"test-templates.xml",
         "<?xml version=\"1.0\"?>\n<Glabels-templates>\n"
         "  <Template brand=\"Test\" part=\"T-21\" size=\"A4\" _description=\"Test labels\">\n"
         "    <Label-rectangle id=\"0\" width=\"70mm\" height=\"42.3mm\" round=\"0mm\">\n"
         "      <Layout nx=\"3\" ny=\"7\" x0=\"0mm\" y0=\"0mm\" dx=\"70mm\" dy=\"42.3mm\"/>\n"
         "    </Label-rectangle>\n  </Template>\n</Glabels-templates>\n",
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = dir.filePath(QString::fromLatin1(c.file));
        writeBytes(path, c.bytes);
        dialog->ChooseImportFile = [&path] { return path; };
        errors.clear();
        const qsizetype before = lines().size();
        EXPECT_EQ(dialog->ImportStocks(), c.imported);
        EXPECT_EQ(lines().size(), before + (c.imported ? 1 : 0));
        EXPECT_EQ(fileLines(), lines()) << "the file holds what the dialog shows";
        if (!c.imported) {
            ASSERT_EQ(errors.size(), 1);
            EXPECT_TRUE(errors[0].contains(QString::fromLatin1(c.file))) << errors[0].toStdString();
            continue;
        }
        EXPECT_TRUE(errors.isEmpty());
        EXPECT_EQ(dialog->SelectedIndex(), before);
        const TZVStock* chosen = dialog->Picker()->Current();
        ASSERT_NE(chosen, nullptr);
        EXPECT_EQ(chosen->Name(), QStringLiteral("Test T-21"));
        EXPECT_EQ(chosen->Source, path);
    }
    EXPECT_TRUE(fileLines()[0].endsWith(QStringLiteral("|7,25|12,5|3|7")));
}

TEST_F(LabelDefsDialog, ClosingWritesTheCatalogueAndKeepsTheProcessLocale)
{
    const LocaleScope scope(QLocale(QLocale::German, QLocale::Germany));
    control<QDoubleSpinBox>("marginTop")->setValue(12.5);
    dialog->reject();
    EXPECT_EQ(fileLines()[0], QStringLiteral("^Address 3 x 7^|0|A4|0|210|297|63,5|38,1|2,5|0|7,25|12,5|3|7"));
    EXPECT_EQ(fileLines().size(), 3);
    EXPECT_EQ(QLocale().language(), QLocale::German);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(LabelDefsDialog, AFailedWriteIsReportedAndTheOldFileKept)
{
    const QByteArray before = readBytes(catalogue);
    for (int i = 0; i < 200; ++i)
        dialog->AddDefinition();
    {
        const FileSizeLimit limit(1024);
        dialog->accept();
    }
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("cannot be written"))) << errors[0].toStdString();
    EXPECT_EQ(readBytes(catalogue), before);
}

TEST_F(LabelDefsDialog, AnUnreadableCatalogueIsReportedAndNotOverwritten)
{
    const QByteArray binary("\x7F"
                            "ELF\0\0\0\x01",
                            8);
    writeBytes(catalogue, binary);
    dialog->SetLabel(label);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("is not a label definitions file")));
    EXPECT_EQ(model().rowCount(), model().FirstUserRow()) << "the shipped stocks only";
    EXPECT_EQ(dialog->SelectedIndex(), -1);
    EXPECT_FALSE(control<QPushButton>("delete")->isEnabled());
    dialog->AddDefinition();
    dialog->reject();
    EXPECT_EQ(readBytes(catalogue), binary);
    EXPECT_EQ(errors.size(), 2) << "the refused save is reported too";
}

TEST_F(LabelDefsDialog, ItsSizeAndButtonsStayWhereTheyAreWhateverIsSelectedOrAdded)
{
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    QPushButton* add = control<QPushButton>("add");
    const QSize size = dialog->size();
    const QPoint addAt = add->mapTo(dialog.get(), QPoint(0, 0));
    const auto check = [&](const char* step) {
        SCOPED_TRACE(step);
        QTest::qWait(50); // a window's resize comes back from the platform later
        EXPECT_EQ(dialog->size(), size);
        EXPECT_EQ(add->mapTo(dialog.get(), QPoint(0, 0)), addAt);
    };
    label.SetUnits(unINCH);
    add->click();
    check("an inch definition added");
    for (int i = 0; i < lines().size(); ++i) {
        dialog->SelectLine(i);
        check("definition selected");
    }
    for (const char* search : {"avery", "63.5 x 38.1", "cd", "no such stock"}) {
        dialog->Picker()->SearchBox()->setText(QString::fromLatin1(search));
        check(search);
    }
    label.SetUnits(unCM);
    add->click();
    check("a centimetre definition added");
}

} // namespace
} // namespace zorvel
