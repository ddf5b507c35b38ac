// Windows-1252: the 8-bit code page of names, field names and font names in streams and files.
#pragma once

#include "zorvel_core_export.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace zorvel {

/// Decodes Windows-1252 bytes, the five unassigned codes included (they map to U+0081 and so on).
ZORVEL_CORE_EXPORT QString AnsiToQString(QByteArrayView bytes);
/// Characters outside the code page become '?'.
ZORVEL_CORE_EXPORT QByteArray QStringToAnsi(const QString& text);

} // namespace zorvel
