// How the SQL data set words a failure to read its source.
#pragma once

#include "foundation/ZVDataSet.h"
#include "foundation/ZVError.h"

#include <QSqlError>

namespace zorvel {

/// The driver's reason on one line.
inline QString SqlErrorText(const QSqlError& error)
{
    return error.text().simplified();
}

/// Raises "CAN'T OPEN DATASET : <reason>".
[[noreturn]] inline void ThrowCantOpenDataSet(const QString& reason)
{
    throw EZvError(QLatin1String(kErrorCantOpenDataSet) + QStringLiteral(" : ") + reason);
}

} // namespace zorvel
