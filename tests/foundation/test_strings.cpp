// Tests of the localized texts: captions, custom captions, dialog texts, paper types and messages.
#include "foundation/ZVStrings.h"
#include "tests/support/QStringPrinter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace zorvel;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

const QString& customCell(int row)
{
    return PropertyCaptions()[row * kCaptionColumns + kCustomCaptionColumn];
}

constexpr int kBackColorRow = 3;

// The custom column is process-wide: every test starts and ends with the English copy.
class Strings : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetCustomCaptions();
        ASSERT_TRUE(m_dir.isValid());
    }
    void TearDown() override
    {
        ResetCustomCaptions();
        QDir::setCurrent(m_oldCurrent);
    }

    QString file(const char* name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        writeFile(path, bytes);
        return path;
    }

    QTemporaryDir m_dir;
    QString m_oldCurrent = QDir::currentPath();
};

} // namespace

TEST_F(Strings, CaptionsFollowTheLanguageWithoutATranslation)
{
    struct Case
    {
        const char* name;
        const char* property;
        int language;
        const char* expected;
    };
    const Case cases[] = {
        {"English", "BackColor", zvEnglish, "Back Color"},
        {"Spanish", "BackColor", zvSpanish, "Color Fondo"},
        {"Dutch", "BackColor", zvDutch, "Achtergrond kleur"},
        {"custom column starts English", "BackColor", zvCustom, "Back Color"},
        {"accented Spanish", "TextD", zvSpanish, "Separación letras"},
        {"inverted question mark", "IsBarcode", zvSpanish, "¿Código barras?"},
        {"caption differs from name", "Data", zvEnglish, "Database"},
        {"lower-case name", "bold", zvDutch, "Vet"},
        {"upper-case name", "BOLD", zvSpanish, "Negrita"},
        {"last row", "Encoding", zvSpanish, "Codificación"},
        {"no row", "Foo", zvSpanish, "Not Found"},
        {"empty name", "", zvDutch, "Not Found"},
        {"the not-found row itself", "NotFound", zvEnglish, "Not Found"},
        {"language outside the enumeration", "Color", 7, "Color"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PropertyCaption(QString::fromUtf8(c.property), TZVLanguage(c.language), false),
                  QString::fromUtf8(c.expected));
    }
}

TEST_F(Strings, FindsTheFirstRowWhateverTheCase)
{
    struct Case
    {
        const char* name;
        int row;
    };
    const Case cases[] = {
        {"Bold", 23}, {"bold", 23}, {"BOLD", 23}, {"NotFound", 0}, {"notfound", 0},
        {"Encoding", 89}, {"Bol", -1}, {"Bold ", -1}, {"", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FindCaptionRow(QString::fromUtf8(c.name)), c.row);
    }
}

TEST_F(Strings, CaptionTableIsOneFlatArrayWithTheCustomColumnCopiedFromEnglish)
{
    const auto cells = PropertyCaptions();
    ASSERT_EQ(cells.size(), std::size_t(kCaptionRows * kCaptionColumns));
    EXPECT_EQ(cells[5 * kBackColorRow + 0], "BackColor");
    EXPECT_EQ(cells[5 * kBackColorRow + 2], "Color Fondo");
    EXPECT_EQ(cells[5 * 48 + 0], "Bold"); // the second Bold row exists but is never found
    for (int row = 0; row < kCaptionRows; ++row) {
        SCOPED_TRACE(row);
        EXPECT_FALSE(cells[row * kCaptionColumns].isEmpty());
        EXPECT_EQ(cells[row * kCaptionColumns + kCustomCaptionColumn], cells[row * kCaptionColumns + 1]);
    }
}

TEST_F(Strings, ATranslationFileOverridesEveryLanguage)
{
    const QString path = file("tr.ini", "[Inspector]\r\n"
                                        "ZVIBackColor=Fond\r\n"
                                        "zvibold=Gras\r\n"
                                        "ZVIColor=Couleur \xE9\r\n"
                                        "ZVINotFound=Introuvable\r\n");
    ASSERT_TRUE(LoadCustomCaptions(path));

    struct Case
    {
        const char* name;
        const char* property;
        TZVLanguage language;
        const char* expected;
    };
    const Case cases[] = {
        {"English", "BackColor", zvEnglish, "Fond"},
        {"Spanish", "BackColor", zvSpanish, "Fond"},
        {"Dutch", "BackColor", zvDutch, "Fond"},
        {"custom", "BackColor", zvCustom, "Fond"},
        {"code page widened", "Color", zvDutch, "Couleur é"},
        {"key case ignored", "Bold", zvSpanish, "Gras"},
        {"no key: English", "Italic", zvSpanish, "Italic"},
        {"no row: by language", "Foo", zvSpanish, "Not Found"},
        {"no row: custom column of row 0", "Foo", zvCustom, "Introuvable"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PropertyCaption(QString::fromUtf8(c.property), c.language, true),
                  QString::fromUtf8(c.expected));
    }
    EXPECT_EQ(customCell(48), "Gras"); // both Bold rows read the same key
    // Another inspector without the flag still shows its language.
    EXPECT_EQ(PropertyCaption(u"BackColor", zvSpanish, false), "Color Fondo");
}

TEST_F(Strings, AFailedLoadKeepsTheCustomColumn)
{
    ASSERT_TRUE(LoadCustomCaptions(file("tr.ini", "[inspector]\nZVIBackColor=Fond\n")));
    QDir(m_dir.path()).mkdir("folder.ini");

    for (const QString& missing : {m_dir.filePath("missing.ini"), QString(), m_dir.filePath("folder.ini")}) {
        SCOPED_TRACE(missing.toStdString());
        EXPECT_FALSE(LoadCustomCaptions(missing));
        EXPECT_EQ(customCell(kBackColorRow), "Fond");
        // The inspector clears its flag, but its custom language still reads column 4.
        EXPECT_EQ(PropertyCaption(u"BackColor", zvCustom, false), "Fond");
        EXPECT_EQ(PropertyCaption(u"BackColor", zvEnglish, false), "Back Color");
    }
}

TEST_F(Strings, ASecondLoadRewritesEveryRow)
{
    ASSERT_TRUE(LoadCustomCaptions(file("a.ini", "[inspector]\nZVIBackColor=Fond\n")));
    ASSERT_TRUE(LoadCustomCaptions(file("b.ini", "[inspector]\nZVIColor=Farbe\n")));
    EXPECT_EQ(customCell(kBackColorRow), "Back Color");
    EXPECT_EQ(PropertyCaption(u"Color", zvEnglish, true), "Farbe");

    // An existing file without the section still counts as loaded, all rows English.
    ASSERT_TRUE(LoadCustomCaptions(file("c.ini", "[dialogs]\nZvOK=Vale\n")));
    EXPECT_EQ(PropertyCaption(u"Color", zvDutch, true), "Color");
}

TEST_F(Strings, RelativePathsResolveAgainstTheWorkingDirectory)
{
    QDir(m_dir.path()).mkdir("sub");
    file("sub/tr.ini", "[inspector]\nZVIBackColor=Fond\n[dialogs]\nZvOK=Vale\n");
    ASSERT_TRUE(QDir::setCurrent(m_dir.path()));

    for (const QString& relative : {QStringLiteral("sub/tr.ini"), QStringLiteral("sub\\tr.ini")}) {
        SCOPED_TRACE(relative.toStdString());
        EXPECT_EQ(QFileInfo(ResolveTranslationPath(relative)).canonicalFilePath(),
                  QFileInfo(QDir(m_dir.path()).filePath("sub/tr.ini")).canonicalFilePath());
        ResetCustomCaptions();
        EXPECT_TRUE(LoadCustomCaptions(relative));
        EXPECT_EQ(customCell(kBackColorRow), "Fond");
        EXPECT_EQ(TZVDialogTexts(relative).text(TZVDialog::TFPropEditor, u"ZvOK"), "Vale");
    }
    EXPECT_FALSE(LoadCustomCaptions("tr.ini"));
    EXPECT_EQ(ResolveTranslationPath(QString()), QString());
}

TEST_F(Strings, DialogTextsWithoutAFileAreMessageTexts)
{
    struct Case
    {
        const char* name;
        TZVDialog dialog;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        {"symbol OK", TZVDialog::TPropSym, "ZvOK", "OK"},
        {"symbol Cancel", TZVDialog::TPropSym, "ZVCancel", "Cancel"},
        {"key case ignored", TZVDialog::TPropSym, "zvcancel", "Cancel"},
        {"Add", TZVDialog::TFLabelDefs, "ZvAdd", "&Add"},
        {"Add in the table dialog", TZVDialog::TPropTable, "ZvAdd", "&Add"},
        {"Set as current", TZVDialog::TFLabelDefs, "ZvSetCurrent", "Set as current"},
        {"Paper's type", TZVDialog::TFLabelDefs, "ZvPaperType", "Paper's type"},
        {"trailing space kept", TZVDialog::TFPropLab, "ZvLeft", "Left: "},
        {"shared key without its own default", TZVDialog::TFLabelDefs, "ZvRow", "Rows"},
        {"answer prompt", TZVDialog::TZVLab, "ZvInputText", "WRITE ANSWER TO QUESTION"},
        {"key the dialog does not read", TZVDialog::TZvPrw, "ZvNothing", "ZvNothing"},
    };
    const TZVDialogTexts texts(QString{});
    EXPECT_FALSE(texts.hasFile());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(texts.text(c.dialog, QString::fromUtf8(c.key)), QString::fromUtf8(c.expected));
    }
    EXPECT_EQ(texts.text(u"ZVCANCEL", "&Cancel"), "Cancel");
    EXPECT_EQ(texts.text(u"ZvNothing", "fallback"), "fallback");
    EXPECT_EQ(DialogText(m_dir.filePath("missing.ini"), u"ZvInputText", "x"), "WRITE ANSWER TO QUESTION");
}

TEST_F(Strings, DialogTextsFromAFileUseTheFileDefaults)
{
    const QString noDialogs = file("inspector-only.ini", "[inspector]\nZVIBackColor=Fond\n");
    const QString french = file("fr.ini", "[Dialogs]\nzvcancel=Annuler\nZvOK=Valider\nZvAdd=Ajouter\n");
    struct Case
    {
        const char* name;
        QString path;
        TZVDialog dialog;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        {"symbol OK", noDialogs, TZVDialog::TPropSym, "ZvOK", "&OK"},
        {"symbol Cancel", noDialogs, TZVDialog::TPropSym, "ZVCancel", "&Cancel"},
        {"editor OK", noDialogs, TZVDialog::TFPropEditor, "ZvOK", "OK"},
        {"Add", noDialogs, TZVDialog::TFLabelDefs, "ZvAdd", "Add"},
        {"Set to current", noDialogs, TZVDialog::TFLabelDefs, "ZvSetCurrent", "Set to current"},
        {"Paper Type", noDialogs, TZVDialog::TFLabelDefs, "ZvPaperType", "Paper Type"},
        {"ZVCancel names ZvCancel", french, TZVDialog::TPropSym, "ZVCancel", "Annuler"},
        {"translated OK", french, TZVDialog::TZvEdText, "ZvOK", "Valider"},
        {"translated Add", french, TZVDialog::TPropTable, "ZvAdd", "Ajouter"},
        {"untranslated key", french, TZVDialog::TZvPrw, "ZvExit", "Exit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TZVDialogTexts texts(c.path);
        EXPECT_TRUE(texts.hasFile());
        EXPECT_EQ(texts.text(c.dialog, QString::fromUtf8(c.key)), QString::fromUtf8(c.expected));
    }
    EXPECT_EQ(DialogText(french, u"ZvInputText", "WRITE ANSWER TO QUESTION"), "WRITE ANSWER TO QUESTION");
}

TEST_F(Strings, DialogTextsReadTheFileOnce)
{
    const QString path = file("fr.ini", "[dialogs]\nZvExit=Sortir\n");
    const TZVDialogTexts texts(path);
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_EQ(texts.text(TZVDialog::TZvPrw, u"ZvExit"), "Sortir");
}

TEST_F(Strings, DialogDefaultsMatchTheirMessageTextsExceptTheKnownOnes)
{
    const QSet<QString> exceptions = {"TFLabelDefs/ZvAdd", "TPropTable/ZvAdd", "TFLabelDefs/ZvSetCurrent",
                                      "TFLabelDefs/ZvPaperType", "TPropSym/ZvOK", "TPropSym/ZVCancel"};
    const char* dialogNames[] = {"TFPropLab",  "TFLabelDefs", "TZvPrw",    "TFPropEditor", "TPropTable",
                                 "TPropPara",  "TPropSym",    "TZvEdText", "TZVLab"};
    QSet<QString> seen;
    for (int d = 0; d <= int(TZVDialog::TZVLab); ++d) {
        QSet<QString> keysOfDialog;
        for (const TZVDialogKey& key : DialogKeys(TZVDialog(d))) {
            const QString id = QString("%1/%2").arg(dialogNames[d], key.Key);
            SCOPED_TRACE(id.toStdString());
            EXPECT_FALSE(keysOfDialog.contains(QString(key.Key).toLower())) << "key listed twice";
            keysOfDialog.insert(QString(key.Key).toLower());
            EXPECT_EQ(QString::fromUtf8(key.Default) == MessageText(key.Message), !exceptions.contains(id));
            seen.insert(id);
        }
    }
    EXPECT_TRUE(seen.contains(exceptions)) << "every exception is a listed key";
    EXPECT_EQ(DialogKeys(TZVDialog::TFPropLab).size(), 55u);
    EXPECT_EQ(DialogKeys(TZVDialog::TFLabelDefs).size(), 40u);
}

TEST_F(Strings, MessageTexts)
{
    struct Case
    {
        TZVMsg id;
        const char* expected;
    };
    const Case cases[] = {
        {TZVMsg::MM, "mm"},
        {TZVMsg::Add, "&Add"},
        {TZVMsg::PaperTypeName, "Paper's type"},
        {TZVMsg::TopColon, "Top: "},
        {TZVMsg::WriteAnswer, "WRITE ANSWER TO QUESTION"},
        {TZVMsg::Height, "Height"},
        {TZVMsg::Count, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(MessageText(c.id), c.expected);
    }
    for (int id = 0; id < int(TZVMsg::Count); ++id)
        EXPECT_FALSE(MessageText(TZVMsg(id)).isEmpty()) << id;
}

TEST_F(Strings, PaperTypes)
{
    struct Case
    {
        int index;
        float width;
        float height;
        const char* name;
        int code;
    };
    const Case cases[] = {
        {0, 210.0f, 297.0f, "A4", 9},
        {2, 184.15f, 266.7f, "EXECUTIVE", 7},
        {8, 431.8f, 279.4f, "LEDGER", 4},
        {12, 110.0f, 220.0f, "Envelope DL", 27},
        {20, 176.0f, 125.0f, "Envelope B6", 35},
        {22, 250.0f, 353.0f, "B4 (ISO)", 42},
        {25, 220.0f, 220.0f, "Envelope Invite", 47},
        {26, 200.0f, 200.0f, "User", 256},
    };
    ASSERT_EQ(PaperTypes().size(), std::size_t(kPaperTypeCount));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TPaperType& paper = PaperType(c.index);
        EXPECT_EQ(paper.Width, c.width);
        EXPECT_EQ(paper.Height, c.height);
        EXPECT_EQ(paper.Name, c.name);
        EXPECT_EQ(paper.PaperCode, c.code);
    }
    // Names taken from the message texts.
    const TZVMsg fromMessages[] = {TZVMsg::EnvelopeDL, TZVMsg::EnvelopeC5,  TZVMsg::EnvelopeC3,
                                   TZVMsg::EnvelopeC4, TZVMsg::EnvelopeC6,  TZVMsg::EnvelopeC65,
                                   TZVMsg::EnvelopeB4, TZVMsg::EnvelopeB5,  TZVMsg::EnvelopeB6};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(PaperType(12 + i).Name, MessageText(fromMessages[i])) << 12 + i;
    EXPECT_EQ(PaperType(25).Name, MessageText(TZVMsg::EnvelopeInvite));
    EXPECT_EQ(PaperType(26).Name, MessageText(TZVMsg::User));
    EXPECT_THROW(PaperType(kPaperTypeCount), std::out_of_range);
    EXPECT_THROW(PaperType(-1), std::out_of_range);
}
