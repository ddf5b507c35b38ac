// Joining PDF files page by page into one, through qpdf's library.
#pragma once

#include "zorvel_core_export.h"

#include <QString>
#include <QStringList>

namespace zorvel {

/// Writes the pages of `parts`, file after file, into `fileName` through a save file: the file
/// appears only when complete, and a failure (an unreadable part included) raises EZvError
/// "CAN'T WRITE FILE : <fileName>" and leaves an older file of that name as it was. Page streams
/// are copied as they are, not compressed again; the document information is the first part's.
ZORVEL_CORE_EXPORT void JoinPdfFiles(const QStringList& parts, const QString& fileName);

} // namespace zorvel
