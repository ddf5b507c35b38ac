// LibreOffice's label list (labels.xml): makers, their labels and each label's measures.
#pragma once

#include "printsupport/ZVStock.h"
#include "zorvel_print_export.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace zorvel {

/// Whether `xml` starts with the "manufacturers" element of LibreOffice's list.
ZORVEL_PRINT_EXPORT bool IsLibreOfficeLabels(const QByteArray& xml);

/// Appends the labels of `xml` to `stocks`, each with `source`: the maker as the brand, the first
/// word of the name as the part and the rest as the description. Sheets keep their grid; a
/// continuous form becomes a roll whose page is one row of labels. Returns the error (a sentence
/// naming the line), empty on success; `stocks` is unchanged on an error.
ZORVEL_PRINT_EXPORT QString ReadLibreOfficeLabels(const QByteArray& xml, const QString& source,
                                                  QList<TZVStock>& stocks);

} // namespace zorvel
