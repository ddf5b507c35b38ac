// Progress of a long print run, with a Cancel button that stops it between labels.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>

#include "document/ZVPrintRun.h"
#include "zorvel_widgets_export.h"

namespace zorvel {

class TZVCustomLab;

/// A window-modal progress dialog that a print run reports to through the label; it appears
/// only when the run goes on for more than half a second after its first report. Keep it no
/// longer than the run: a dialog left alive over a later modal window blocks that window.
class ZORVEL_WIDGETS_EXPORT TZVProgressDialog : public QProgressDialog
{
    Q_OBJECT

public:
    /// Not attached to a label yet; the Cancel button is captioned in the library's language.
    explicit TZVProgressDialog(QWidget* parent = nullptr);
    /// Gives the label's progress report back to whoever had it.
    ~TZVProgressDialog() override;

    /// Becomes the label's progress report until the dialog goes.
    void Attach(TZVCustomLab& label);
    /// Shows "PAGE page / pageCount"; false once the user cancelled.
    bool Report(int page, int pageCount);

private:
    QPointer<TZVCustomLab> m_label;
    TZVPrintProgress m_previous;
    QElapsedTimer m_sinceEvents;
    int m_shownPage = -1;
    int m_shownPages = -1;
};

} // namespace zorvel
