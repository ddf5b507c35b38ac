// gLabels 3 and glabels-qt template files: lengths, paper sizes, templates and their equivalents.
#pragma once

#include "printsupport/ZVStock.h"
#include "zorvel_print_export.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace zorvel {

/// A length of the template files in millimetres: a number with mm, cm, in, pt or pc, or a bare
/// number of points. Nullopt for anything else, or a length that is not finite.
ZORVEL_PRINT_EXPORT std::optional<double> ParseGlabelsLength(QStringView text);

/// What the top element of a file says it holds.
enum class TZVGlabelsFileKind
{
    Templates,  ///< Glabels-templates
    PaperSizes, ///< Glabels-paper-sizes
    OtherList,  ///< another list of the database (categories, vendors)
    NotGlabels, ///< anything else, or no XML at all
};

/// The kind of `xml`, from its first element (with or without the gLabels namespace).
ZORVEL_PRINT_EXPORT TZVGlabelsFileKind GlabelsFileKind(const QByteArray& xml);

/// Paper sizes by their id ("A4", "US-Letter"), in millimetres.
using TZVGlabelsPapers = QHash<QString, QSizeF>;

/// The paper sizes of the database shipped with the library.
ZORVEL_PRINT_EXPORT const TZVGlabelsPapers& ShippedGlabelsPapers();

/// Adds the sizes of a paper-sizes file to `papers`. Returns the error (a sentence naming the
/// line), empty on success; `papers` is unchanged on an error.
ZORVEL_PRINT_EXPORT QString ReadGlabelsPaperSizes(const QByteArray& xml, TZVGlabelsPapers& papers);

/// Templates read from one or more files, equivalents still waiting for their model.
struct ZORVEL_PRINT_EXPORT TZVGlabelsSet
{
    QList<TZVStock> Stocks;    ///< in file order
    QStringList EquivalentOf;  ///< per stock: the part whose geometry it takes, empty once it has its own

    /// Gives every equivalent the geometry of the same brand's model, found in this set or else
    /// in `known`. Returns the error naming the first equivalent without a model; empty on success.
    QString ResolveEquivalents(const QList<TZVStock>& known = {});
};

/// Appends the templates of `xml` to `set`, each with `source`. Sheets of the papers named in
/// `papers`, "Other" sheets of their own size, and rolls. Returns the error (a sentence naming the
/// template or the line), empty on success; `set` is unchanged on an error.
ZORVEL_PRINT_EXPORT QString ReadGlabelsTemplates(const QByteArray& xml, const TZVGlabelsPapers& papers,
                                                 const QString& source, TZVGlabelsSet& set);

} // namespace zorvel
