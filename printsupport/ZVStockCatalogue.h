// The stock catalogue: the shipped stock database followed by the user's own catalogue file.
#pragma once

#include "printsupport/ZVLabelDefs.h"
#include "printsupport/ZVStock.h"
#include "zorvel_print_export.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace zorvel {

/// Outcome of an import.
struct TZVStockImportResult
{
    bool Ok = true; ///< false when nothing was imported
    int Count = 0;  ///< stocks added to the user's catalogue
    QString Error;  ///< a sentence naming the file; empty when Ok
};

/// The shipped stock database (compiled into the library, read-only) and the user's catalogue
/// (labels.dls in TZVLabelDefs's places, editable, where imports go).
class ZORVEL_PRINT_EXPORT TZVStockCatalogue
{
public:
    /// An empty catalogue looking for the user's file in `places`; nothing is read before Load.
    explicit TZVStockCatalogue(TZVLabelDefsPlaces places = TZVLabelDefsPlaces::Standard());

    /// Reads the shipped stocks (once per process) and the user's catalogue for `labelDefs` (a
    /// LabelDefs value). A user's file that cannot be read leaves User() empty and says why.
    TZVLabelDefsResult Load(const QString& labelDefs = {});

    /// The shipped stocks, in the order of their source files.
    const QList<TZVStock>& Shipped() const;
    /// The user's lines as stocks, in file order.
    const QList<TZVStock>& User() const { return m_user; }
    /// Shipped() followed by User().
    QList<TZVStock> All() const;
    /// The stock called `name` ("Avery L7160", or a part alone), without regard to case; the
    /// user's own entries before the shipped ones. Null when there is none.
    const TZVStock* Find(QStringView name) const;

    /// Imports a gLabels 3 or glabels-qt template file, LibreOffice's labels.xml, or a folder of
    /// such files (its *.xml, gLabels' paper sizes and lists among them) into the user's
    /// catalogue and saves it (loading it first when Load was not called). Entries already
    /// imported from the same file are replaced. All or nothing: on any error the catalogue and its
    /// file stay as they were.
    TZVStockImportResult Import(const QString& path);

    /// The user's catalogue file, for editing its lines; call Refresh() after a change.
    TZVLabelDefs& UserFile() { return m_file; }
    /// Reads User() again from UserFile()'s lines.
    void Refresh();

    /// The gLabels template folders of this machine that exist: the installed library's and the
    /// user's own.
    static QStringList InstalledTemplateFolders();

private:
    TZVLabelDefs m_file;
    QList<TZVStock> m_user;
    bool m_loaded = false;
};

} // namespace zorvel
