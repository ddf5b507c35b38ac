// The single-thread floor of the sheet job in render_labels.sh: a bare QPdfWriter loop drawing the
// same 3 x 7 price labels of 60 x 35 mm on A4 (two texts, a line, a Code 128 symbol with its
// number), with no document, data set or canvas in between.
//   bench_pdf_floor OUT.pdf LABELS
#include "foundation/ZVBarcode.h"

#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRect>

#include <cstdio>
#include <vector>

using namespace zorvel;

namespace {

// The design's geometry, hundredths of a millimetre (bench/data/price_labels.json).
constexpr int kDpi = 1200;
constexpr int kRows = 7;
constexpr int kCols = 3;
constexpr int kLeft = 500, kTop = 1000, kWidth = 6000, kHeight = 3500, kGap = 400;
constexpr int kTextX = 300, kNameY = 300, kPriceY = 800, kRuleY = 1350, kRuleEnd = 5700;
constexpr int kCodeY = 1600, kCodeHeight = 1100, kNarrow = 25, kRatio = 200;
constexpr int kTextPixels = 353, kNumberPixels = 250;

void drawLabel(QPainter& painter, QPoint at, int n, const QFont& text, const QFont& digits)
{
    const QString code = QStringLiteral("%1").arg(n, 8, 10, QLatin1Char('0'));
    painter.setFont(text);
    painter.drawText(at + QPoint(kTextX, kNameY + kTextPixels), QStringLiteral("Product %1").arg(n));
    painter.drawText(at + QPoint(kTextX, kPriceY + kTextPixels),
                     QStringLiteral("%1.%2").arg(n % 500).arg(n % 100, 2, 10, QLatin1Char('0')));
    painter.drawLine(at + QPoint(kTextX, kRuleY), at + QPoint(kRuleEnd, kRuleY));
    const QString modules = BarCodeModules(BarCodeText(code, EAN128B, false), EAN128B, false);
    const TZVBarWidths widths = BarWidths(kNarrow, kRatio, TZVHalfRound::AwayFromZero);
    std::vector<QRect> bars;
    int x = at.x() + kTextX;
    for (const QChar module : modules) {
        const int w = widths.Of(module);
        if (ModuleKind(module) != TZVModuleKind::Space) bars.emplace_back(x, at.y() + kCodeY, w, kCodeHeight);
        x += w;
    }
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRects(bars.data(), int(bars.size()));
    painter.restore();
    painter.setFont(digits);
    painter.drawText(at + QPoint(kTextX, kCodeY + kCodeHeight + kNumberPixels), code);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: bench_pdf_floor OUT.pdf LABELS\n", stderr);
        return 2;
    }
    const int labels = QByteArray(argv[2]).toInt();
    QPdfWriter writer(QString::fromLocal8Bit(argv[1]));
    writer.setResolution(kDpi);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins({});
    QPainter painter(&writer);
    painter.setWindow(0, 0, 21000, 29700);
    painter.setViewport(0, 0, writer.width(), writer.height());
    QPen pen(Qt::black);
    pen.setWidth(20);
    painter.setPen(pen);
    QFont text(QStringLiteral("Arial"));
    text.setPixelSize(kTextPixels);
    QFont digits(QStringLiteral("Arial"));
    digits.setPixelSize(kNumberPixels);
    for (int n = 0; n < labels; ++n) {
        const int place = n % (kRows * kCols);
        if (n > 0 && place == 0) writer.newPage();
        const QPoint at(kLeft + place % kCols * (kWidth + kGap), kTop + place / kCols * (kHeight + kGap));
        drawLabel(painter, at, n + 1, text, digits);
    }
    return painter.end() ? 0 : 1;
}
