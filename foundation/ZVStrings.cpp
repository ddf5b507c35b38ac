// Translation-file paths and the dialog texts read from section "dialogs".
#include "foundation/ZVStrings.h"

#include <QDir>
#include <QFileInfo>

namespace zorvel {

namespace {

constexpr QStringView kDialogsSection = u"dialogs";

const TZVDialogKey* findKey(std::span<const TZVDialogKey> keys, QStringView key)
{
    for (const TZVDialogKey& entry : keys)
        if (key.compare(QLatin1StringView(entry.Key), Qt::CaseInsensitive) == 0)
            return &entry;
    return nullptr;
}

// A key shared by several dialogs means the same text in each, so the first dialog that reads it
// names its message.
const TZVDialogKey* findKeyInAnyDialog(QStringView key)
{
    for (int dialog = 0; dialog <= int(TZVDialog::TZVLab); ++dialog)
        if (const TZVDialogKey* entry = findKey(DialogKeys(TZVDialog(dialog)), key))
            return entry;
    return nullptr;
}

} // namespace

QString ResolveTranslationPath(const QString& iniTranslate)
{
    if (iniTranslate.isEmpty())
        return {};
    QString path = iniTranslate;
    path.replace(u'\\', u'/');
    return QDir::current().absoluteFilePath(path);
}

bool TranslationFileExists(const QString& iniTranslate)
{
    const QString path = ResolveTranslationPath(iniTranslate);
    return !path.isEmpty() && QFileInfo(path).isFile();
}

TZVDialogTexts::TZVDialogTexts(const QString& iniTranslate)
{
    if (TranslationFileExists(iniTranslate)) {
        m_file = TZVIniFile(ResolveTranslationPath(iniTranslate));
        m_hasFile = true;
    }
}

QString TZVDialogTexts::text(QStringView key, const QString& defaultText) const
{
    if (m_hasFile)
        return m_file.readString(kDialogsSection, key, defaultText);
    const TZVDialogKey* entry = findKeyInAnyDialog(key);
    return entry ? MessageText(entry->Message) : defaultText;
}

QString TZVDialogTexts::text(TZVDialog dialog, QStringView key) const
{
    const TZVDialogKey* entry = findKey(DialogKeys(dialog), key);
    if (!entry)
        return text(key, key.toString());
    if (m_hasFile)
        return m_file.readString(kDialogsSection, key, QString::fromUtf8(entry->Default));
    return MessageText(entry->Message);
}

QString DialogText(const QString& iniTranslate, QStringView key, const QString& defaultText)
{
    return TZVDialogTexts(iniTranslate).text(key, defaultText);
}

} // namespace zorvel
