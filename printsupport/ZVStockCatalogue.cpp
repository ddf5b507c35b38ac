// The stock catalogue: the shipped database read once per process, the user's file, imports.
#include "printsupport/ZVStockCatalogue.h"

#include "printsupport/ZVGlabelsTemplates.h"
#include "printsupport/ZVLibreOfficeLabels.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>

namespace zorvel {
namespace {

// The converted database compiled into the library (see printsupport/CMakeLists.txt).
constexpr const char* kShippedCatalogue = ":/zorvel/stocks/stocks.dls";
// LibreOffice's list is about 300 KB and gLabels' largest file 200 KB; a file fifty times that is
// no label list, and reading it whole would only cost memory.
constexpr qint64 kMaxImportBytes = 16 * 1024 * 1024;

QList<TZVStock> stocksOfLines(const QStringList& lines)
{
    QList<TZVStock> stocks;
    stocks.reserve(lines.size());
    for (const QString& line : lines)
        stocks.append(StockFromLabelDef(SplitLabelDef(line)));
    return stocks;
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The whole file, or the reason it cannot be had.
QString readImportFile(const QString& path, QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("The file %1 cannot be read: %2").arg(shown(path), file.errorString());
    bytes = file.read(kMaxImportBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("The file %1 cannot be read: %2").arg(shown(path), file.errorString());
    if (bytes.size() > kMaxImportBytes)
        return QStringLiteral("The file %1 is larger than %2 MB: it is no label template file.")
            .arg(shown(path))
            .arg(kMaxImportBytes / (1024 * 1024));
    return {};
}

QString refusedFile(const QString& path, const QString& why)
{
    return QStringLiteral("The file %1 cannot be imported: %2").arg(shown(path), why);
}

} // namespace

TZVStockCatalogue::TZVStockCatalogue(TZVLabelDefsPlaces places) : m_file(std::move(places)) {}

const QList<TZVStock>& TZVStockCatalogue::Shipped() const
{
    static const QList<TZVStock> shipped = [] {
        QStringList lines;
        ReadLabelDefsFile(QString::fromLatin1(kShippedCatalogue), lines);
        return stocksOfLines(lines);
    }();
    return shipped;
}

TZVLabelDefsResult TZVStockCatalogue::Load(const QString& labelDefs)
{
    Shipped();
    const TZVLabelDefsResult result = m_file.Load(labelDefs);
    m_loaded = true;
    Refresh();
    return result;
}

void TZVStockCatalogue::Refresh()
{
    m_user = stocksOfLines(m_file.Lines());
}

QList<TZVStock> TZVStockCatalogue::All() const
{
    return Shipped() + m_user;
}

const TZVStock* TZVStockCatalogue::Find(QStringView name) const
{
    const QStringView wanted = name.trimmed();
    const auto named = [wanted](const TZVStock& stock) {
        return wanted.compare(stock.Name(), Qt::CaseInsensitive) == 0 ||
               (!stock.Part.isEmpty() && wanted.compare(stock.Part, Qt::CaseInsensitive) == 0);
    };
    for (const QList<TZVStock>* list : {&m_user, &Shipped()}) {
        const auto found = std::find_if(list->begin(), list->end(), named);
        if (found != list->end()) return &*found;
    }
    return nullptr;
}

TZVStockImportResult TZVStockCatalogue::Import(const QString& path)
{
    const auto failed = [](const QString& error) { return TZVStockImportResult{false, 0, error}; };
    if (!m_loaded) {
        if (const TZVLabelDefsResult loaded = Load(); !loaded.Ok) return failed(loaded.Error);
    }
    const QFileInfo info(path);
    if (!info.exists()) return failed(QStringLiteral("The file %1 does not exist.").arg(shown(path)));
    QStringList files;
    if (info.isDir()) {
        const QDir dir(info.absoluteFilePath());
        for (const QString& name : dir.entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name))
            files << dir.absoluteFilePath(name);
        if (files.isEmpty())
            return failed(QStringLiteral("The folder %1 holds no label template files (*.xml).").arg(shown(path)));
    } else {
        files << info.absoluteFilePath();
    }

    // Paper sizes first: a folder's templates may be on papers that only its own list names.
    QList<QByteArray> contents;
    TZVGlabelsPapers papers = ShippedGlabelsPapers();
    for (const QString& file : files) {
        QByteArray bytes;
        if (const QString error = readImportFile(file, bytes); !error.isEmpty()) return failed(error);
        if (GlabelsFileKind(bytes) == TZVGlabelsFileKind::PaperSizes)
            if (const QString error = ReadGlabelsPaperSizes(bytes, papers); !error.isEmpty())
                return failed(refusedFile(file, error));
        contents.append(bytes);
    }
    TZVGlabelsSet glabels;
    QList<TZVStock> libreOffice;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QByteArray& bytes = contents[i];
        QString error;
        switch (GlabelsFileKind(bytes)) {
        case TZVGlabelsFileKind::Templates:
            error = ReadGlabelsTemplates(bytes, papers, files[i], glabels);
            break;
        case TZVGlabelsFileKind::PaperSizes:
        case TZVGlabelsFileKind::OtherList:
            // The lists beside the templates in a folder; a single one of them is not what was meant.
            if (!info.isDir()) error = QStringLiteral("it is a list of gLabels' database, not of its templates.");
            break;
        case TZVGlabelsFileKind::NotGlabels:
            if (IsLibreOfficeLabels(bytes))
                error = ReadLibreOfficeLabels(bytes, files[i], libreOffice);
            else
                error = QStringLiteral("it is neither a gLabels template file nor LibreOffice's labels.xml.");
            break;
        }
        if (!error.isEmpty()) return failed(refusedFile(files[i], error));
    }
    if (const QString error = glabels.ResolveEquivalents(Shipped() + m_user); !error.isEmpty())
        return failed(QStringLiteral("The templates of %1 cannot be imported: %2").arg(shown(path), error));
    const QList<TZVStock> imported = glabels.Stocks + libreOffice;
    if (imported.isEmpty()) return failed(QStringLiteral("%1 holds no label templates.").arg(shown(path)));

    // Replaces what an earlier import of the same files brought.
    const QSet<QString> sources(files.begin(), files.end());
    const QStringList before = m_file.Lines();
    QStringList& lines = m_file.Lines();
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [&](const QString& line) { return sources.contains(SplitLabelDef(line).value(ldfSource)); }),
                lines.end());
    for (const TZVStock& stock : imported)
        lines.append(JoinLabelDef(LabelDefFromStock(stock)));
    const TZVLabelDefsResult saved = m_file.Save();
    if (!saved.Ok) {
        m_file.Lines() = before;
        return failed(saved.Error);
    }
    Refresh();
    return {true, static_cast<int>(imported.size()), {}};
}

QStringList TZVStockCatalogue::InstalledTemplateFolders()
{
    const QStringList candidates = {
        QStringLiteral("/usr/share/libglabels-3.0/templates"),
        QStringLiteral("/usr/local/share/libglabels-3.0/templates"),
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/libglabels/templates"),
    };
    QStringList folders;
    for (const QString& folder : candidates)
        if (QFileInfo(folder).isDir()) folders << folder;
    return folders;
}

} // namespace zorvel
