// TZVIniFile: read-only initialization file (sections in brackets, key=value lines, Windows-1252 values).
#pragma once

#include "zorvel_core_export.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringView>

namespace zorvel {

/// Sections and keys match without regard to case. Within a section the first line of a key wins;
/// a section that appears twice is read as one. Lines before the first section, lines without '='
/// and lines starting with ';' are ignored. A value wrapped in matching quotes loses them, so that
/// a text can keep leading or trailing spaces.
class ZORVEL_CORE_EXPORT TZVIniFile
{
public:
    /// Translation and settings files are a few kilobytes; anything above 1 MiB is not one of them.
    static constexpr qint64 kMaxFileSize = 1024 * 1024;

    TZVIniFile() = default;
    /// A missing, unreadable or oversized file leaves the reader empty: every read gives its default.
    explicit TZVIniFile(const QString& path);

    /// Parses file contents already in memory. A leading UTF-8 byte order mark switches the decoding
    /// from Windows-1252 to UTF-8.
    static TZVIniFile fromBytes(QByteArrayView bytes);

    /// True when the file was read (or the bytes parsed); an empty reader answers every read with its
    /// default.
    bool isLoaded() const { return m_loaded; }
    /// True when the file has the section.
    bool sectionExists(QStringView section) const;
    /// True when the section has the key, even with an empty value.
    bool valueExists(QStringView section, QStringView key) const;
    /// The key's value in the section, or `defaultValue` when either is missing.
    QString readString(QStringView section, QStringView key, const QString& defaultValue) const;

private:
    void parse(QByteArrayView bytes);

    using TSection = QHash<QString, QString>;
    QHash<QString, TSection> m_sections; // keyed by case-folded names
    bool m_loaded = false;
};

} // namespace zorvel
