// Tests of the initialization-file reader: syntax, case, code page, defaults and damaged input.
#include "foundation/ZVIniFile.h"
#include "tests/support/QStringPrinter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

using namespace zorvel;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

} // namespace

TEST(IniFile, ReadsValuesAsThePlatformReaderDid)
{
    struct Case
    {
        const char* name;
        QByteArray contents;
        const char* section;
        const char* key;
        QString expected; // the default is "<default>"
    };
    const QString dflt = QStringLiteral("<default>");
    const Case cases[] = {
        {"plain", "[dialogs]\nZvOK=Vale\n", "dialogs", "ZvOK", "Vale"},
        {"section case", "[Dialogs]\nZvOK=Vale\n", "DIALOGS", "ZvOK", "Vale"},
        {"key case", "[dialogs]\nZVCancel=Anular\n", "dialogs", "zvcancel", "Anular"},
        {"non-ASCII key case", "[s]\n\xD1" "a=x\n", "s", "\xC3\xB1" "A", "x"},
        {"CRLF", "[s]\r\nk=v\r\nl=w\r\n", "s", "k", "v"},
        {"CR only", "[s]\rk=v\rl=w", "s", "l", "w"},
        {"no final newline", "[s]\nk=v", "s", "k", "v"},
        {"spaces and tabs around", "  [ s ]  \n \t k \t=  v w \t\n", "s", "k", "v w"},
        {"value keeps '='", "[s]\nk=a=b\n", "s", "k", "a=b"},
        {"empty value is not missing", "[s]\nk=\n", "s", "k", ""},
        {"quotes keep spaces", "[s]\nk=\"Left: \"\n", "s", "k", "Left: "},
        {"single quotes", "[s]\nk=' x '\n", "s", "k", " x "},
        {"unmatched quote stays", "[s]\nk=\"x\n", "s", "k", "\"x"},
        {"Windows-1252 letters", "[s]\nk=Separaci\xF3n \xE9\n", "s", "k",
         QString::fromUtf8("Separación é")},
        {"Windows-1252 euro", "[s]\nk=\x80 5\n", "s", "k", QString::fromUtf8("€ 5")},
        {"UTF-8 with byte order mark", "\xEF\xBB\xBF[s]\nk=\xC3\xA9\n", "s", "k", QString::fromUtf8("é")},
        {"first of duplicate keys", "[s]\nk=first\nK=second\n", "s", "k", "first"},
        {"repeated section merges", "[s]\na=1\n[t]\nb=2\n[S]\nb=3\n", "s", "b", "3"},
        {"other section's key", "[s]\na=1\n[t]\nb=2\n", "s", "b", dflt},
        {"comment line", "[s]\n; k=v\n", "s", "k", dflt},
        {"indented comment", "[s]\n   ;k=v\n", "s", "k", dflt},
        {"key before any section", "k=v\n[s]\n", "s", "k", dflt},
        {"line without '='", "[s]\nk\n", "s", "k", dflt},
        {"empty key", "[s]\n=v\n", "s", "", dflt},
        {"missing section", "[s]\nk=v\n", "t", "k", dflt},
        {"missing key", "[s]\nk=v\n", "s", "x", dflt},
        {"header without ']'", "[s\nk=v\n", "s", "k", "v"},
        {"empty file", "", "s", "k", dflt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TZVIniFile ini = TZVIniFile::fromBytes(c.contents);
        EXPECT_EQ(ini.readString(QString::fromUtf8(c.section), QString::fromUtf8(c.key), dflt), c.expected);
    }
}

TEST(IniFile, ReportsSectionsAndValues)
{
    const TZVIniFile ini = TZVIniFile::fromBytes("[Empty]\n[Inspector]\nZVIBold=\n");
    EXPECT_TRUE(ini.sectionExists(u"empty"));
    EXPECT_TRUE(ini.sectionExists(u"INSPECTOR"));
    EXPECT_FALSE(ini.sectionExists(u"dialogs"));
    EXPECT_TRUE(ini.valueExists(u"inspector", u"zvibold"));
    EXPECT_FALSE(ini.valueExists(u"inspector", u"ZVIItalic"));
    EXPECT_FALSE(ini.valueExists(u"empty", u"ZVIBold"));
}

TEST(IniFile, OpensOnlyReadableRegularFilesOfSaneSize)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString good = dir.filePath("good.ini");
    writeFile(good, "[s]\r\nk=v\r\n");
    const QString atLimit = dir.filePath("limit.ini");
    writeFile(atLimit, "[s]\nk=v\n" + QByteArray(TZVIniFile::kMaxFileSize - 8, ' '));
    const QString huge = dir.filePath("huge.ini");
    writeFile(huge, "[s]\nk=v\n" + QByteArray(TZVIniFile::kMaxFileSize - 7, ' '));
    QDir(dir.path()).mkdir("folder.ini");

    struct Case
    {
        const char* name;
        QString path;
        bool loaded;
    };
    const Case cases[] = {
        {"regular file", good, true},
        {"exactly at the size limit", atLimit, true},
        {"one byte over the limit", huge, false},
        {"missing file", dir.filePath("missing.ini"), false},
        {"directory", dir.filePath("folder.ini"), false},
        {"empty path", QString(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TZVIniFile ini(c.path);
        EXPECT_EQ(ini.isLoaded(), c.loaded);
        EXPECT_EQ(ini.readString(u"s", u"k", "none"), c.loaded ? "v" : "none");
    }
}

TEST(IniFile, SurvivesDamagedAndBinaryInput)
{
    const QByteArray nasty[] = {
        "[", "]", "=", "[]", "[]=x\n=", "[\n=\n[",
        QByteArray("\0\0\0[\0]\0=\0", 10), QByteArray("[s]\n\0=\0\n", 8),
        QByteArray(100000, '['), QByteArray(100000, '='), QByteArray(100000, '\r'),
    };
    for (const QByteArray& bytes : nasty) {
        SCOPED_TRACE(bytes.left(16).toHex().constData());
        const TZVIniFile ini = TZVIniFile::fromBytes(bytes);
        EXPECT_EQ(ini.readString(u"s", u"k", "d"), "d");
    }

    // Random bytes biased towards the characters the parser reacts to.
    std::mt19937 random(1234);
    const char alphabet[] = {'[', ']', '=', ';', '\n', '\r', ' ', '"', 'k', 's', '\0', '\x80', '\xFF'};
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes(4096, '\0');
        for (char& b : bytes)
            b = random() % 2 ? alphabet[random() % sizeof(alphabet)] : char(random());
        const TZVIniFile ini = TZVIniFile::fromBytes(bytes);
        const QString value = ini.readString(u"s", u"k", "d");
        EXPECT_LE(value.size(), bytes.size());
    }
}

TEST(IniFile, ReadsABinaryFileFromDiskWithoutFailing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QByteArray bytes;
    for (int i = 0; i < 70000; ++i)
        bytes.append(char(i * 7919 % 256));
    const QString path = dir.filePath("binary.ini");
    writeFile(path, bytes);
    const TZVIniFile ini(path);
    EXPECT_TRUE(ini.isLoaded());
    EXPECT_EQ(ini.readString(u"dialogs", u"ZvOK", "OK"), "OK");
}
