// The print preview window: pages of a print run fitted or zoomed, paged through, printed and
// saved as a picture file.
#pragma once

#include "controls/ZVGuard.h"
#include "printsupport/ZVQtPrinter.h"
#include "zorvel_widgets_export.h"

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QPicture;
class QPrinter;
class QScrollArea;
class QToolButton;

namespace zorvel {

class TZVCustomLab;
class TZvAlignEdit;
class TZvPrw;

/// The paint box the pages are drawn on; the window does the drawing.
class PreviewPaper : public QWidget
{
    Q_OBJECT

public:
    /// A paint box drawn by `owner`, which must outlive it.
    explicit PreviewPaper(TZvPrw& owner, QWidget* parent = nullptr);

protected:
    /// Has the owner paint the box (TZvPrw::PaintPaper).
    void paintEvent(QPaintEvent* event) override;

private:
    TZvPrw& m_owner;
};

/// Draws `picture` stretched into `target`, whatever the resolutions of the picture and of the
/// painter's device.
void DrawPagePicture(QPainter& painter, const QPicture& picture, QSize pictureSize, const QRectF& target);

/// The print preview window behind a label's Preview. Pages are numbered from 1; page 0 means
/// the run has no pages.
class ZORVEL_WIDGETS_EXPORT TZvPrw : public QDialog
{
    Q_OBJECT

public:
    /// How the pages are fitted: nothing shown, whole page, page width, two pages side by side,
    /// or a percentage of the last fitted size.
    enum TViewMode : std::uint8_t { vmNothing, vmFitPage, vmFitWidth, vmTwoPages, vmZoom };
    /// The save dialog's filters, in their order.
    enum TSaveFormat : std::uint8_t { sfSvg, sfBmp, sfJpeg };

    /// What the save dialog answered.
    struct TSaveChoice
    {
        QString FileName;           ///< the file to write
        TSaveFormat Format = sfSvg; ///< the filter chosen
    };

    /// Percentage points a zoom button adds or takes away.
    static constexpr int kZoomStep = 20;
    /// The zoom of a fitted view, percent.
    static constexpr int kDefaultZoom = 100;

    /// An empty window with its tool bar; SetLabel gives it pages.
    explicit TZvPrw(QWidget* parent = nullptr);
    ~TZvPrw() override;

    /// The label's Preview: asks the questions, renders the pages and shows them modally.
    /// Failures of the run (data that cannot be opened, a bad answer) reach the caller.
    static void Execute(TZVCustomLab& label, QWidget* parent = nullptr);

    /// Links the label whose rendered pages are shown and goes to the first one.
    void SetLabel(TZVCustomLab& label);

    // Modal sub-dialogs, real ones unless a caller replaces them.
    /// The save dialog: the filters in Qt's syntax; nullopt when dismissed.
    std::function<std::optional<TSaveChoice>(const QStringList& filters)> AskSaveFile;
    /// A text input box; nullopt when dismissed.
    std::function<std::optional<QString>(const QString& caption, const QString& prompt, const QString& defaultText)> AskText;
    /// The platform's print dialog over `printer`; true when confirmed.
    std::function<bool(QPrinter& printer)> ExecPrintDialog;
    /// Failures of printing and saving; a message box unless a caller replaces it.
    std::function<void(const QString& message)> ShowError;

    /// The page shown (the left one of two), from 1; 0 when there is none.
    int Page() const { return m_page; }
    /// Pages of the label's print run; 0 without a label.
    int PageCount() const;
    /// Percent of BaseSize in vmZoom; back to kDefaultZoom whenever a view is fitted.
    int Zoom() const { return m_zoom; }
    /// The current fitting; vmFitPage after SetLabel when there are pages.
    TViewMode ViewMode() const { return m_viewMode; }
    /// Size of the paint box at the last fitting, pixels; the zoom scales it.
    QSize BaseSize() const { return {m_baseWidth, m_baseHeight}; }
    /// The paint box, inside BackScroll.
    PreviewPaper* Paper() const { return m_paper; }
    /// The scroll area around the paint box.
    QScrollArea* BackScroll() const { return m_backScroll; }
    /// The read-only "page - count" box between the page buttons.
    TZvAlignEdit* PageIndicator() const { return m_pages; }
    /// The printer PrintPages prints to; its settings outlive a print.
    TZVQtPrinter& Printer() { return m_printer; }

    /// The tool bar's buttons.
    /// @{
    QToolButton* TbPageFirst() const { return m_first; }
    QToolButton* TbPagePrior() const { return m_prior; }
    QToolButton* TbPageNext() const { return m_next; }
    QToolButton* TbPageLast() const { return m_last; }
    QToolButton* TbShowAll() const { return m_showAll; }
    QToolButton* TbShowWidth() const { return m_showWidth; }
    QToolButton* TbShowTwo() const { return m_showTwo; }
    QToolButton* TbZoomMinus() const { return m_zoomMinus; }
    QToolButton* TbZoomPlus() const { return m_zoomPlus; }
    QToolButton* TbPrint() const { return m_print; }
    QToolButton* TbSave() const { return m_save; }
    QToolButton* TbExit() const { return m_exit; }
    /// @}

    /// The buttons' actions; each does nothing while its button is disabled. In two-page view
    /// the page buttons move by two.
    /// @{
    void PageFirst();
    void PagePrior();
    void PageNext();
    void PageLast();
    /// @}
    /// Fits the pages anew; nothing without pages.
    void SetViewMode(TViewMode mode);
    /// One kZoomStep smaller or larger, switching to vmZoom; nothing in two-page view or
    /// past the limits.
    /// @{
    void ZoomMinus();
    void ZoomPlus();
    /// @}
    /// Prints the run after the print dialog was confirmed; false when it was not printed.
    bool PrintPages();
    /// Asks for a file and saves the current page there.
    bool SaveCurrentPage();
    /// Writes the current page as one file of `format`, all or nothing; a JPEG asks its quality.
    /// Failures are shown and leave no file behind.
    bool SavePage(const QString& fileName, TSaveFormat format);

    /// Paints the paint box of `size`.
    void PaintPaper(QPainter& painter, QSize size);

protected:
    /// Fits the pages again when the scroll area changes size.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void fillLanguage();
    void goToPage(int page);
    void updateButtons();
    void layoutPaper();
    void placePaper(int x, int y, int width, int height);
    /// Fits the box of a w x h picture into `area` keeping its shape.
    void fitInto(QSize area, int w, int h);
    QSize pictureSize() const;
    const QPicture* picture(int page) const;
    QByteArray encodePage(TSaveFormat format, bool& ok);

    QPointer<TZVCustomLab> m_label;
    int m_page = 0;
    int m_zoom = kDefaultZoom;
    TViewMode m_viewMode = vmNothing;
    int m_baseWidth = 0;
    int m_baseHeight = 0;
    /// False until SetLabel: before it there is nothing to lay out or paint.
    bool m_labelSet = false;
    /// Held while the label is set or the paper laid out: placing the paper resizes the view,
    /// which would lay it out again, and a half-set label is not painted.
    FeedbackGuard m_layingOut;
    TZVQtPrinter m_printer;

    QToolButton* m_first = nullptr;
    QToolButton* m_prior = nullptr;
    TZvAlignEdit* m_pages = nullptr;
    QToolButton* m_next = nullptr;
    QToolButton* m_last = nullptr;
    QToolButton* m_showAll = nullptr;
    QToolButton* m_showWidth = nullptr;
    QToolButton* m_showTwo = nullptr;
    QToolButton* m_zoomMinus = nullptr;
    QToolButton* m_zoomPlus = nullptr;
    QToolButton* m_print = nullptr;
    QToolButton* m_save = nullptr;
    QToolButton* m_exit = nullptr;
    QScrollArea* m_backScroll = nullptr;
    QWidget* m_content = nullptr;
    PreviewPaper* m_paper = nullptr;
};

} // namespace zorvel
