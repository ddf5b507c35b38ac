// Reads a PDF's page count, page size, title and words through poppler's pdfinfo and pdftotext, for tests.
#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>

#include <optional>
#include <vector>

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

struct PdfWord
{
    QString text;
    int page = 0; // from 1
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0; // mm from the page's top-left corner
};

// Every word of the PDF with its box (pdftotext -bbox).
inline std::vector<PdfWord> readPdfWords(const QString& pdf)
{
    QProcess process;
    process.start("pdftotext", {"-bbox", pdf, "-"});
    process.waitForFinished(30000);
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression item(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    std::vector<PdfWord> words;
    int page = 0;
    const double mm = 25.4 / 72;
    for (const auto& m : item.globalMatch(html)) {
        if (m.captured(0).startsWith("<page")) {
            ++page;
            continue;
        }
        words.push_back({m.captured(5), page, m.captured(1).toDouble() * mm, m.captured(2).toDouble() * mm,
                         m.captured(3).toDouble() * mm, m.captured(4).toDouble() * mm});
    }
    return words;
}

} // namespace zorvel::test
