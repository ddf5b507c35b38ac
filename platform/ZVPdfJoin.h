// Joining PDF files page by page into one, through qpdf's library.
#pragma once

#include "zorvel_core_export.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace zorvel {

/// PDF files joined into `fileName` part by part as they come, so that a run joins the parts it
/// has printed while it prints the next ones. The first part is the document the others' pages
/// are added to: its document information is the joined file's. Page streams are copied as they
/// are, not compressed again. A failure (an unreadable part included) raises EZvError "CAN'T
/// WRITE FILE : <fileName>" and leaves an older file of that name as it was.
class ZORVEL_CORE_EXPORT TZVPdfJoin
{
public:
    /// A join into `fileName`, which nothing is written to before Write.
    explicit TZVPdfJoin(const QString& fileName);
    ~TZVPdfJoin();
    TZVPdfJoin(const TZVPdfJoin&) = delete;
    TZVPdfJoin& operator=(const TZVPdfJoin&) = delete;

    /// Reads `part` and takes its pages after those taken so far. The file is read again when
    /// written: it must stay until Write.
    void Add(const QString& part);
    /// Writes the pages taken through a save file: the file appears only when complete.
    void Write();

private:
    struct TDocuments;
    [[noreturn]] void cantWrite() const;

    QString m_fileName;
    std::unique_ptr<TDocuments> m_documents;
};

/// Writes the pages of `parts`, file after file, into `fileName` as TZVPdfJoin does.
ZORVEL_CORE_EXPORT void JoinPdfFiles(const QStringList& parts, const QString& fileName);

} // namespace zorvel
