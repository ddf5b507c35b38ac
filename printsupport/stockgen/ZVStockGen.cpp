// zorvel_stockgen: converts gLabels' template database into the catalogue compiled into the library.
// Usage: zorvel_stockgen OUT.dls paper-sizes.xml TEMPLATES.xml...
#include "printsupport/ZVGlabelsTemplates.h"
#include "printsupport/ZVLabelDefs.h"
#include "printsupport/ZVStock.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "zorvel_stockgen: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    using namespace zorvel;
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 3) return fail(QStringLiteral("usage: zorvel_stockgen OUT.dls paper-sizes.xml TEMPLATES.xml..."));
    const auto read = [](const QString& path, QByteArray& bytes) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return false;
        bytes = file.readAll();
        return true;
    };
    QByteArray bytes;
    TZVGlabelsPapers papers;
    if (!read(args[1], bytes)) return fail(QStringLiteral("cannot read %1").arg(args[1]));
    if (const QString error = ReadGlabelsPaperSizes(bytes, papers); !error.isEmpty())
        return fail(args[1] + QStringLiteral(", ") + error);
    TZVGlabelsSet set;
    for (const QString& path : args.mid(2)) {
        if (!read(path, bytes)) return fail(QStringLiteral("cannot read %1").arg(path));
        if (const QString error = ReadGlabelsTemplates(bytes, papers, QString::fromLatin1(kShippedStockSource), set);
            !error.isEmpty())
            return fail(QFileInfo(path).fileName() + QStringLiteral(", ") + error);
    }
    if (const QString error = set.ResolveEquivalents(); !error.isEmpty()) return fail(error);
    QStringList lines;
    for (const TZVStock& stock : set.Stocks)
        lines << JoinLabelDef(LabelDefFromStock(stock));
    if (const TZVLabelDefsResult written = WriteLabelDefsFile(args[0], lines); !written.Ok) return fail(written.Error);
    if (QFileInfo(args[0]).size() > kMaxLabelDefsBytes)
        return fail(QStringLiteral("the catalogue outgrew the %1 KB a catalogue file may have").arg(kMaxLabelDefsBytes / 1024));
    return 0;
}
