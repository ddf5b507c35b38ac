// Tests of the Spanish sample translation file data/translations/zorvel-es.ini.
#include "foundation/ZVIniFile.h"
#include "foundation/ZVStrings.h"
#include "tests/support/QStringPrinter.h"

#include <QFile>
#include <QString>

#include <gtest/gtest.h>

using namespace zorvel;

namespace {

const QString kSample = QStringLiteral(ZORVEL_SPANISH_TRANSLATION);

QString captionCell(int row, int column) { return PropertyCaptions()[row * kCaptionColumns + column]; }

// The custom caption column is process-wide: every test starts and ends with the English copy.
class TranslationSample : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetCustomCaptions();
        ASSERT_TRUE(QFile::exists(kSample)) << kSample.toStdString();
        m_file = TZVIniFile(kSample);
        ASSERT_TRUE(m_file.isLoaded());
    }
    void TearDown() override { ResetCustomCaptions(); }

    TZVIniFile m_file;
};

TEST_F(TranslationSample, EveryInspectorRowHasACaption)
{
    for (int row = 0; row < kCaptionRows; ++row) {
        const QString key = QStringLiteral("ZVI") + captionCell(row, 0);
        SCOPED_TRACE(key.toStdString());
        EXPECT_TRUE(m_file.valueExists(u"inspector", key));
        EXPECT_FALSE(m_file.readString(u"inspector", key, QString()).isEmpty());
    }
}

TEST_F(TranslationSample, EveryDialogKeyHasAText)
{
    for (int d = 0; d <= int(TZVDialog::TZVLab); ++d) {
        for (const TZVDialogKey& key : DialogKeys(TZVDialog(d))) {
            SCOPED_TRACE(testing::Message() << "dialog " << d << " key " << key.Key);
            const QString name = QString::fromLatin1(key.Key);
            EXPECT_TRUE(m_file.valueExists(u"dialogs", name));
            EXPECT_FALSE(m_file.readString(u"dialogs", name, QString()).trimmed().isEmpty());
        }
    }
}

TEST_F(TranslationSample, AccentedTextsDecodeFromWindows1252)
{
    // Written as Windows-1252 bytes (no UTF-8 byte order mark), as the reader decodes them.
    QFile raw(kSample);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(bytes.contains("ZVIPenWidth=Grosor l\xEDnea"));

    EXPECT_EQ(m_file.readString(u"inspector", u"ZVIPenWidth", QString()), QString::fromUtf8("Grosor línea"));
    EXPECT_EQ(m_file.readString(u"inspector", u"ZVIIsBarcode", QString()), QString::fromUtf8("¿Código barras?"));
    EXPECT_EQ(m_file.readString(u"dialogs", u"ZvLabelSize", QString()), QString::fromUtf8("Tamaño de la etiqueta"));
    EXPECT_EQ(m_file.readString(u"dialogs", u"ZvCarac", QString()), QString::fromUtf8("Carácter"));
}

TEST_F(TranslationSample, LoadedCaptionsAreTheSpanishColumn)
{
    ASSERT_TRUE(LoadCustomCaptions(kSample));
    for (int row = 0; row < kCaptionRows; ++row) {
        SCOPED_TRACE(captionCell(row, 0).toStdString());
        EXPECT_EQ(captionCell(row, kCustomCaptionColumn), captionCell(row, 2));
    }
    EXPECT_EQ(PropertyCaption(u"PenWidth", zvEnglish, true), QString::fromUtf8("Grosor línea"));
    EXPECT_EQ(PropertyCaption(u"Checksum", zvEnglish, true), PropertyCaption(u"Checksum", zvSpanish, false));
    EXPECT_EQ(PropertyCaption(u"PenWidth", zvEnglish, false), "Pen Width");
}

TEST_F(TranslationSample, DialogTextsAreSpanish)
{
    const TZVDialogTexts texts(kSample);
    ASSERT_TRUE(texts.hasFile());
    EXPECT_EQ(texts.text(TZVDialog::TFPropLab, u"ZvLabPro"), "Propiedades de la etiqueta");
    EXPECT_EQ(texts.text(TZVDialog::TFPropLab, u"ZvLeft"), "Izquierda: ");
    EXPECT_EQ(texts.text(TZVDialog::TPropSym, u"ZVCancel"), "Cancelar");
    EXPECT_EQ(texts.text(TZVDialog::TFLabelDefs, u"ZvAdd"), QString::fromUtf8("&Añadir"));
    EXPECT_EQ(DialogText(kSample, u"ZvInputText", "WRITE ANSWER TO QUESTION"), "ESCRIBA LA RESPUESTA A LA PREGUNTA");
}

} // namespace
