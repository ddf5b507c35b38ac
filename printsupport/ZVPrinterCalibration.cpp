// Calibration offsets in the user's settings, the printer moving a page by them, the calibration page.
#include "printsupport/ZVPrinterCalibration.h"

#include "foundation/ZVCanvas.h"
#include "foundation/ZVError.h"
#include "printsupport/ZVPrinterSettings.h"


#include <cmath>
#include <memory>
#include <utility>

namespace zorvel {
namespace {

QString settingsGroup(const QString& printer)
{
    return PrinterSettingsGroup(QStringLiteral("PrinterCalibration"), printer);
}

int toPixels(double mm, int dpi)
{
    return static_cast<int>(std::lround(mm * dpi / 25.4));
}

} // namespace

void TZVPrinterCalibration::Check(const TZVCalibration& offsets)
{
    const auto check = [](double mm, const char* axis) {
        if (!std::isfinite(mm) || std::abs(mm) > kMaxOffsetMm)
            throw EZvError(QStringLiteral("%1 OFFSET OUT OF RANGE : %2 MM (-10 TO 10 MM)").arg(QLatin1String(axis)).arg(mm));
    };
    check(offsets.X, "HORIZONTAL");
    check(offsets.Y, "VERTICAL");
}

TZVCalibration TZVPrinterCalibration::Load(const QString& printer)
{
    return Load(printer, nullptr);
}

TZVCalibration TZVPrinterCalibration::Load(const QString& printer, QString* damage)
{
    if (damage) damage->clear();
    const auto settings = PrinterSettingsFile();
    settings->beginGroup(settingsGroup(printer));
    // A hand-edited entry may hold anything; one offset of it applied without the other would
    // put the print off the other way, so a bad value drops both.
    TZVCalibration offsets;
    for (const auto& [key, mm] : {std::pair{"OffsetX", &offsets.X}, std::pair{"OffsetY", &offsets.Y}}) {
        const QVariant value = settings->value(key, 0.0);
        bool number = false;
        *mm = value.toDouble(&number);
        if (!number || !std::isfinite(*mm) || std::abs(*mm) > kMaxOffsetMm) {
            if (damage)
                *damage = QStringLiteral("DAMAGED CALIBRATION : %1 (%2=%3), NO OFFSETS USED")
                              .arg(printer, QLatin1String(key), value.toString());
            return {};
        }
    }
    return offsets;
}

void TZVPrinterCalibration::Save(const QString& printer, const TZVCalibration& offsets)
{
    Check(offsets);
    const auto settings = PrinterSettingsFile();
    if (offsets == TZVCalibration{}) {
        settings->remove(settingsGroup(printer));
        return;
    }
    settings->beginGroup(settingsGroup(printer));
    settings->setValue("OffsetX", offsets.X);
    settings->setValue("OffsetY", offsets.Y);
}

QSize TZVOffsetPrinter::PhysicalOffset() const
{
    const QSize offset = Target().PhysicalOffset();
    return {offset.width() - toPixels(m_offsets.X, DpiX()), offset.height() - toPixels(m_offsets.Y, DpiY())};
}

std::unique_ptr<TZVPrinter> TZVOffsetPrinter::NewPart(int firstPage)
{
    auto part = Target().NewPart(firstPage);
    if (!part) return nullptr;
    return std::unique_ptr<TZVPrinter>(new TZVOffsetPrinter(std::move(part), m_offsets));
}

void TZVOffsetPrinter::JoinParts(std::vector<std::unique_ptr<TZVPrinter>> parts)
{
    std::vector<std::unique_ptr<TZVPrinter>> targets;
    for (auto& part : parts) targets.push_back(std::move(static_cast<TZVOffsetPrinter&>(*part).m_part));
    Target().JoinParts(std::move(targets));
}

void TZVOffsetPrinter::PrepareJoin(TZVPrinter& part)
{
    Target().PrepareJoin(*static_cast<TZVOffsetPrinter&>(part).m_part);
}

void PrintCalibrationPage(TZVPrinter& printer, const QString& printerName, const TZVCalibration& offsets)
{
    using M = TZVCalibrationMarks;
    TZVDevMode& mode = RequireDevMode(printer);
    mode.PaperWidth = 2100;
    mode.PaperLength = 2970;
    mode.Orientation = TZVDevMode::kPortrait;
    mode.CopiesSet = true;
    mode.Copies = 1;
    printer.BeginDoc(QStringLiteral("CALIBRATION : ") + printerName);
    try {
        const int dpiX = printer.DpiX();
        const int dpiY = printer.DpiY();
        const QSize origin = printer.PhysicalOffset();
        const auto px = [&](double mm) { return toPixels(mm, dpiX) - origin.width(); };
        const auto py = [&](double mm) { return toPixels(mm, dpiY) - origin.height(); };
        TZVCanvas& canvas = printer.Canvas();
        canvas.SelectPen(TZVPen{0, std::max(1, toPixels(0.15, dpiX))});
        canvas.SelectFont(TZVFont{QStringLiteral("Arial"), -toPixels(2.5, dpiY)});
        const auto line = [&](double x1, double y1, double x2, double y2) {
            canvas.MoveTo(px(x1), py(y1));
            canvas.LineTo(px(x2), py(y2));
        };
        const auto tick = [](int mm) { return mm % 10 == 0 ? 4.0 : mm % 5 == 0 ? 2.5 : 1.5; };
        // Rulers: ticks inwards from a line at kRulerEdge, numbers beside every tenth millimetre.
        line(M::kRulerFrom, M::kRulerEdge, M::kTopRulerTo, M::kRulerEdge);
        for (int x = int(M::kRulerFrom); x <= int(M::kTopRulerTo); ++x) {
            line(x, M::kRulerEdge, x, M::kRulerEdge + tick(x));
            if (x % 10 == 0) canvas.ExtTextOut(px(x + 0.5), py(M::kRulerEdge + 1), QString::number(x));
        }
        line(M::kRulerEdge, M::kRulerFrom, M::kRulerEdge, M::kLeftRulerTo);
        for (int y = int(M::kRulerFrom); y <= int(M::kLeftRulerTo); ++y) {
            line(M::kRulerEdge, y, M::kRulerEdge + tick(y), y);
            if (y % 10 == 0 && y > int(M::kRulerFrom))
                canvas.ExtTextOut(px(M::kRulerEdge + 4.5), py(y + 0.5), QString::number(y));
        }
        // The cross: 20 mm arms with millimetre ticks.
        line(M::kCrossX - 20, M::kCrossY, M::kCrossX + 20, M::kCrossY);
        line(M::kCrossX, M::kCrossY - 20, M::kCrossX, M::kCrossY + 20);
        for (int d = -20; d <= 20; ++d) {
            const double t = tick(std::abs(d)) / 2;
            line(M::kCrossX + d, M::kCrossY - t, M::kCrossX + d, M::kCrossY + t);
            line(M::kCrossX - t, M::kCrossY + d, M::kCrossX + t, M::kCrossY + d);
        }
        const QStringList notes{
            QStringLiteral("Calibration page for %1, printed with offsets x %2 mm, y %3 mm.")
                .arg(printerName).arg(offsets.X).arg(offsets.Y),
            QStringLiteral("Measure from the paper's edges: the cross's centre belongs at %1 mm from the left, %2 mm from the top,")
                .arg(M::kCrossX).arg(M::kCrossY),
            QStringLiteral("the ruler lines at %1 mm from the top and from the left edge.").arg(M::kRulerEdge),
            QStringLiteral("New offset x = offset x + %1 - measured; new offset y = offset y + %2 - measured.")
                .arg(M::kCrossX).arg(M::kCrossY),
        };
        for (int i = 0; i < notes.size(); ++i)
            canvas.ExtTextOut(px(30), py(200 + 6 * i), notes.at(i));
        printer.EndDoc();
    } catch (...) {
        if (printer.Printing()) printer.Abort();
        throw;
    }
}

} // namespace zorvel
