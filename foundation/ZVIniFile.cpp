// TZVIniFile: parsing and case-insensitive look-up of initialization files.
#include "foundation/ZVIniFile.h"

#include "foundation/ZVAnsi.h"

#include <QFile>

namespace zorvel {

namespace {

constexpr QByteArrayView kUtf8Bom("\xEF\xBB\xBF", 3);

QString foldName(QStringView name) { return name.toString().toCaseFolded(); }

QByteArrayView unquoted(QByteArrayView value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

} // namespace

TZVIniFile::TZVIniFile(const QString& path)
{
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileSize)
        return;
    // Devices and pipes report size 0: the read itself is capped as well.
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    if (bytes.size() > kMaxFileSize || file.error() != QFileDevice::NoError)
        return;
    parse(bytes);
    m_loaded = true;
}

TZVIniFile TZVIniFile::fromBytes(QByteArrayView bytes)
{
    TZVIniFile ini;
    ini.parse(bytes);
    ini.m_loaded = true;
    return ini;
}

void TZVIniFile::parse(QByteArrayView bytes)
{
    const bool utf8 = bytes.startsWith(kUtf8Bom);
    if (utf8)
        bytes = bytes.sliced(kUtf8Bom.size());
    const auto decode = [utf8](QByteArrayView text) {
        return utf8 ? QString::fromUtf8(text) : AnsiToQString(text);
    };

    QString section;
    bool inSection = false;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        qsizetype end = pos;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        const QByteArrayView line = bytes.sliced(pos, end - pos).trimmed();
        pos = end + 1;

        if (line.isEmpty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            const qsizetype close = line.indexOf(']');
            const QByteArrayView name = close < 0 ? line.sliced(1) : line.sliced(1, close - 1);
            section = decode(name.trimmed()).toCaseFolded();
            inSection = true;
            m_sections[section]; // an empty section still exists
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inSection || equals <= 0)
            continue;
        const QString key = decode(line.sliced(0, equals).trimmed()).toCaseFolded();
        TSection& entries = m_sections[section];
        if (!entries.contains(key))
            entries.insert(key, decode(unquoted(line.sliced(equals + 1).trimmed())));
    }
}

bool TZVIniFile::sectionExists(QStringView section) const { return m_sections.contains(foldName(section)); }

bool TZVIniFile::valueExists(QStringView section, QStringView key) const
{
    const auto found = m_sections.constFind(foldName(section));
    return found != m_sections.cend() && found->contains(foldName(key));
}

QString TZVIniFile::readString(QStringView section, QStringView key, const QString& defaultValue) const
{
    const auto found = m_sections.constFind(foldName(section));
    if (found == m_sections.cend())
        return defaultValue;
    return found->value(foldName(key), defaultValue);
}

} // namespace zorvel
