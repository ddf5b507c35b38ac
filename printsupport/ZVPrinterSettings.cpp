#include "printsupport/ZVPrinterSettings.h"

#include <QUrl>

namespace zorvel {

std::unique_ptr<QSettings> PrinterSettingsFile()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Zorvel"),
                                       QStringLiteral("printers"));
}

QString PrinterSettingsGroup(const QString& section, const QString& printer)
{
    return section + QLatin1Char('/') + QString::fromLatin1(QUrl::toPercentEncoding(printer));
}

} // namespace zorvel
