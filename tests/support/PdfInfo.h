// Reads page count, page size and title of a PDF through poppler's pdfinfo, for tests.
#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>

#include <optional>

namespace zorvel::test {

struct PdfInfo
{
    int pages = 0;
    double widthPt = 0;
    double heightPt = 0;
    QString title;
};

// nullopt when pdfinfo is not installed.
inline std::optional<PdfInfo> readPdfInfo(const QString& file)
{
    if (QStandardPaths::findExecutable("pdfinfo").isEmpty())
        return std::nullopt;
    QProcess process;
    process.start("pdfinfo", {file});
    process.waitForFinished(30000);
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    PdfInfo info;
    const auto pages = QRegularExpression(R"(Pages:\s+(\d+))").match(out);
    const auto size = QRegularExpression(R"(Page size:\s+([\d.]+) x ([\d.]+) pts)").match(out);
    const auto title = QRegularExpression(R"(Title:\s+(.*)\n)").match(out);
    info.pages = pages.captured(1).toInt();
    info.widthPt = size.captured(1).toDouble();
    info.heightPt = size.captured(2).toDouble();
    info.title = title.captured(1).trimmed();
    return info;
}

inline double mmToPoints(double mm)
{
    return mm / 25.4 * 72.0;
}

} // namespace zorvel::test
