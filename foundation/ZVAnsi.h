// Windows-1252: the 8-bit code page of names, field names and font names in streams and files.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace zorvel {

/// Decodes Windows-1252 bytes, the five unassigned codes included (they map to U+0081 and so on).
QString AnsiToQString(QByteArrayView bytes);
/// Characters outside the code page become '?'.
QByteArray QStringToAnsi(const QString& text);

} // namespace zorvel
