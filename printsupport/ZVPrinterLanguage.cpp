#include "printsupport/ZVPrinterLanguage.h"

#include "foundation/ZVError.h"
#include "printsupport/ZVPrinterSettings.h"

#include <algorithm>
#include <array>

namespace zorvel {
namespace {

// The resolutions of the print heads that ZPL printers are built with.
constexpr std::array kZplDpis{203, 300, 600};

QString settingsGroup(const QString& printer)
{
    return PrinterSettingsGroup(QStringLiteral("PrinterLanguage"), printer);
}

} // namespace

TZVPrinterLanguage TZVPrinterLanguages::Parse(const QString& name, int dpi)
{
    TZVPrinterLanguage language;
    if (name.compare(QLatin1String("zpl"), Qt::CaseInsensitive) == 0)
        language.Kind = TZVPrinterLanguage::Zpl;
    else if (name.compare(QLatin1String("driver"), Qt::CaseInsensitive) != 0)
        throw EZvError(QStringLiteral("INVALID PRINTER LANGUAGE : %1 (DRIVER OR ZPL)").arg(name));
    if (language.Kind == TZVPrinterLanguage::Zpl && std::find(kZplDpis.begin(), kZplDpis.end(), dpi) == kZplDpis.end())
        throw EZvError(QStringLiteral("INVALID PRINTER RESOLUTION : %1 DPI (203, 300 OR 600)").arg(dpi));
    language.Dpi = dpi;
    return language;
}

QString TZVPrinterLanguages::Name(TZVPrinterLanguage::TKind kind)
{
    return kind == TZVPrinterLanguage::Zpl ? QStringLiteral("zpl") : QStringLiteral("driver");
}

TZVPrinterLanguage TZVPrinterLanguages::Load(const QString& printer)
{
    const auto settings = PrinterSettingsFile();
    settings->beginGroup(settingsGroup(printer));
    bool number = false;
    const int dpi = settings->value("Dpi", TZVPrinterLanguage::kDefaultDpi).toInt(&number);
    try {
        // A hand-edited entry that names no language Zorvel writes prints through the driver,
        // which every queue has.
        return Parse(settings->value("Language", QStringLiteral("driver")).toString(),
                     number ? dpi : TZVPrinterLanguage::kDefaultDpi);
    } catch (const EZvError&) {
        return {};
    }
}

void TZVPrinterLanguages::Save(const QString& printer, const TZVPrinterLanguage& language)
{
    Parse(Name(language.Kind), language.Dpi);
    const auto settings = PrinterSettingsFile();
    if (language.Kind == TZVPrinterLanguage::Driver) {
        settings->remove(settingsGroup(printer));
        return;
    }
    settings->beginGroup(settingsGroup(printer));
    settings->setValue("Language", Name(language.Kind));
    settings->setValue("Dpi", language.Dpi);
}

} // namespace zorvel
