// The progress box of a long print run and its Cancel button.
#include "dialogs/ZVProgressDialog.h"

#include "document/ZVCustomLab.h"
#include "foundation/ZVStrings.h"

#include <QCoreApplication>

#include <algorithm>

namespace zorvel {

namespace {
// Reports come once per label; letting the event loop run on each would cost more than the
// drawing on a fast sheet job, and a tenth of this keeps the Cancel button responsive.
constexpr qint64 kEventIntervalMs = 40;
} // namespace

TZVProgressDialog::TZVProgressDialog(QWidget* parent) : QProgressDialog(parent)
{
    setWindowModality(Qt::WindowModal);
    setCancelButtonText(MessageText(TZVMsg::Cancel));
    setMinimumDuration(500);
    setAutoReset(false);
    setAutoClose(false);
    setRange(0, 1);
    // QProgressDialog shows itself once the minimum duration has passed, reports or not; it
    // would come up over the run's questions or over a window opened after the run. Only a
    // report starts that clock.
    reset();
}

TZVProgressDialog::~TZVProgressDialog()
{
    if (m_label) m_label->OnProgress = std::move(m_previous);
}

void TZVProgressDialog::Attach(TZVCustomLab& label)
{
    if (m_label) m_label->OnProgress = std::move(m_previous);
    m_label = &label;
    m_previous = std::move(label.OnProgress);
    label.OnProgress = [this](int page, int pageCount) { return Report(page, pageCount); };
    setWindowTitle(QStringLiteral("PRINTING : ") + label.Measure().LabelName());
}

bool TZVProgressDialog::Report(int page, int pageCount)
{
    const int pages = std::max(pageCount, 1);
    if (maximum() != pages) setMaximum(pages);
    // The report comes before the page is printed: the pages before it are done.
    if (page != m_shownPage || pages != m_shownPages) {
        m_shownPage = page;
        m_shownPages = pages;
        setValue(std::clamp(page - 1, 0, pages));
        setLabelText(QStringLiteral("%1 %2 / %3").arg(MessageText(TZVMsg::Page)).arg(page).arg(pages));
    }
    if (!m_sinceEvents.isValid() || m_sinceEvents.elapsed() >= kEventIntervalMs) {
        QCoreApplication::processEvents();
        m_sinceEvents.restart();
    }
    return !wasCanceled();
}

} // namespace zorvel
