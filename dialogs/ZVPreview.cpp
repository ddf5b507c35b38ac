// The print preview window: layout of the paint box, painting of the pages, the tool bar's actions.
#include "dialogs/ZVPreview.h"

#include "controls/ZVAlignEdit.h"
#include "dialogs/ZVCalibrationDialog.h"
#include "dialogs/ZVPrinterLanguageEdit.h"
#include "printsupport/ZVZplQueuePrinter.h"
#include "dialogs/ZVInputBoxAsker.h"
#include "dialogs/ZVProgressDialog.h"
#include "document/ZVCustomLab.h"
#include "foundation/ZVError.h"
#include "foundation/ZVStrings.h"
#include "foundation/ZVUtils.h"
#include "platform/ZVBmp.h"
#include "platform/ZVJpeg.h"
#include "platform/ZVOutputImage.h"
#include "platform/ZVSvgDevice.h"

#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPicture>
#include <QPrintDialog>
#include <QSaveFile>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace zorvel {

namespace {

constexpr int kZoomMinusFloor = 30; // minus stops below this: 100 - 4 x 20 = 20
constexpr int kZoomPlusCeiling = 500; // plus stops above this: 100 + 21 x 20 = 520
constexpr int kIdleMargin = 24;
constexpr int kTwoPageGap = 24;
constexpr QRgb kShadowColor = 0x808080;
// Tenths of a millimetre, the unit of a page picture: 254 a inch.
constexpr int kPictureDpi = 254;
constexpr int kPictureDotsPerMeter = 10000;

// Restores the label's question asker when the preview ends.
class AskerScope
{
public:
    AskerScope(TZVCustomLab& label, QWidget* parent) : m_label(label), m_asker(parent)
    {
        if (!label.QuestionAsker()) {
            label.SetQuestionAsker(&m_asker);
            m_installed = true;
        }
    }
    ~AskerScope()
    {
        if (m_installed && m_label.QuestionAsker() == &m_asker) m_label.SetQuestionAsker(nullptr);
    }
    Q_DISABLE_COPY_MOVE(AskerScope)

private:
    TZVCustomLab& m_label;
    TZVInputBoxAsker m_asker;
    bool m_installed = false;
};

class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    Q_DISABLE_COPY_MOVE(WaitCursor)
};

QToolButton* toolButton(QToolBar* bar, const QIcon& icon, const QString& text)
{
    auto* button = new QToolButton(bar);
    button->setIcon(icon);
    button->setText(text);
    button->setToolButtonStyle(icon.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
    bar->addWidget(button);
    return button;
}

} // namespace

void DrawPagePicture(QPainter& painter, const QPicture& picture, QSize pictureSize, const QRectF& target)
{
    if (pictureSize.isEmpty() || target.isEmpty()) return;
    QPaintDevice* device = painter.device();
    // Replaying scales by the device's resolution over the picture's; that is taken back here.
    const double dpiX = device ? double(picture.logicalDpiX()) / device->logicalDpiX() : 1.0;
    const double dpiY = device ? double(picture.logicalDpiY()) / device->logicalDpiY() : 1.0;
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    painter.translate(target.topLeft());
    painter.scale(target.width() / pictureSize.width() * dpiX, target.height() / pictureSize.height() * dpiY);
    painter.drawPicture(0, 0, picture);
    painter.restore();
}

PreviewPaper::PreviewPaper(TZvPrw& owner, QWidget* parent) : QWidget(parent), m_owner(owner) {}

void PreviewPaper::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    m_owner.PaintPaper(painter, size());
}

TZvPrw::TZvPrw(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Preview"));
    buildControls();
    AskSaveFile = [this](const QStringList& filters) -> std::optional<TSaveChoice> {
        QString selected;
        QString name = QFileDialog::getSaveFileName(this, QString(), QString(), filters.join(QStringLiteral(";;")), &selected);
        if (name.isEmpty()) return std::nullopt;
        const int index = std::max<int>(0, static_cast<int>(filters.indexOf(selected)));
        static const char* const suffixes[] = {"svg", "bmp", "jpg"};
        if (QFileInfo(name).suffix().isEmpty()) name += QLatin1Char('.') + QLatin1String(suffixes[index]);
        return TSaveChoice{name, static_cast<TSaveFormat>(index)};
    };
    AskText = [this](const QString& caption, const QString& prompt, const QString& defaultText) -> std::optional<QString> {
        bool ok = false;
        const QString text = QInputDialog::getText(this, caption, prompt, QLineEdit::Normal, defaultText, &ok);
        if (!ok) return std::nullopt;
        return text;
    };
    ExecPrintDialog = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        // The offsets shown are the printer's as the dialog opens; only edited ones are kept, for
        // the printer chosen in the end.
        auto* calibration = new TZVCalibrationEdit;
        calibration->setWindowTitle(tr("Calibration"));
        calibration->LoadFor(printer.printerName());
        auto* language = new TZVPrinterLanguageEdit;
        language->setWindowTitle(tr("Printer language"));
        language->LoadFor(printer.printerName());
        dialog.setOptionTabs({calibration, language});
        if (dialog.exec() != QDialog::Accepted) return false;
        if (calibration->Edited() && printer.outputFileName().isEmpty())
            TZVPrinterCalibration::Save(printer.printerName(), calibration->Offsets());
        if (language->Edited() && printer.outputFileName().isEmpty())
            TZVPrinterLanguages::Save(printer.printerName(), language->Language());
        return true;
    };
    ShowError = [this](const QString& message) { QMessageBox::critical(this, windowTitle(), message); };
    updateButtons();
}

TZvPrw::~TZvPrw() = default;

void TZvPrw::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QToolBar(this);
    bar->setMovable(false);
    layout->addWidget(bar);

    QStyle* st = style();
    m_first = toolButton(bar, st->standardIcon(QStyle::SP_MediaSkipBackward), QStringLiteral("|<"));
    m_prior = toolButton(bar, st->standardIcon(QStyle::SP_MediaSeekBackward), QStringLiteral("<"));
    m_pages = new TZvAlignEdit(bar);
    m_pages->setReadOnly(true);
    m_pages->setFocusPolicy(Qt::NoFocus);
    m_pages->setFixedWidth(90);
    bar->addWidget(m_pages);
    m_next = toolButton(bar, st->standardIcon(QStyle::SP_MediaSeekForward), QStringLiteral(">"));
    m_last = toolButton(bar, st->standardIcon(QStyle::SP_MediaSkipForward), QStringLiteral(">|"));
    bar->addSeparator();
    m_showAll = toolButton(bar, {}, QStringLiteral("[1]"));
    m_showWidth = toolButton(bar, {}, QStringLiteral("[<->]"));
    m_showTwo = toolButton(bar, {}, QStringLiteral("[2]"));
    bar->addSeparator();
    m_zoomMinus = toolButton(bar, {}, QStringLiteral(" - "));
    m_zoomPlus = toolButton(bar, {}, QStringLiteral(" + "));
    bar->addSeparator();
    m_print = toolButton(bar, {}, MessageText(TZVMsg::Print));
    m_save = toolButton(bar, st->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("Save"));
    bar->addSeparator();
    m_exit = toolButton(bar, st->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Exit"));

    m_backScroll = new QScrollArea(this);
    m_backScroll->setWidgetResizable(false);
    m_backScroll->viewport()->setBackgroundRole(QPalette::Window);
    m_backScroll->viewport()->setAutoFillBackground(true);
    m_content = new QWidget;
    m_content->setAutoFillBackground(false);
    m_paper = new PreviewPaper(*this, m_content);
    // The pages are painted whole each time; one buffer for the paint box is enough.
    m_paper->setAttribute(Qt::WA_OpaquePaintEvent);
    m_backScroll->setWidget(m_content);
    m_backScroll->installEventFilter(this);
    layout->addWidget(m_backScroll, 1);

    connect(m_first, &QToolButton::clicked, this, &TZvPrw::PageFirst);
    connect(m_prior, &QToolButton::clicked, this, &TZvPrw::PagePrior);
    connect(m_next, &QToolButton::clicked, this, &TZvPrw::PageNext);
    connect(m_last, &QToolButton::clicked, this, &TZvPrw::PageLast);
    connect(m_showAll, &QToolButton::clicked, this, [this] { SetViewMode(vmFitPage); });
    connect(m_showWidth, &QToolButton::clicked, this, [this] { SetViewMode(vmFitWidth); });
    connect(m_showTwo, &QToolButton::clicked, this, [this] { SetViewMode(vmTwoPages); });
    connect(m_zoomMinus, &QToolButton::clicked, this, &TZvPrw::ZoomMinus);
    connect(m_zoomPlus, &QToolButton::clicked, this, &TZvPrw::ZoomPlus);
    connect(m_print, &QToolButton::clicked, this, &TZvPrw::PrintPages);
    connect(m_save, &QToolButton::clicked, this, &TZvPrw::SaveCurrentPage);
    connect(m_exit, &QToolButton::clicked, this, &TZvPrw::reject);

    resize(800, 600);
}

void TZvPrw::fillLanguage()
{
    const TZVDialogTexts texts(m_label ? m_label->IniTranslate() : QString());
    setWindowTitle(texts.text(TZVDialog::TZvPrw, u"ZvPrintPr"));
    m_showAll->setToolTip(texts.text(TZVDialog::TZvPrw, u"ZvFitOnePage"));
    m_showWidth->setToolTip(texts.text(TZVDialog::TZvPrw, u"ZvFitWidth"));
    m_showTwo->setToolTip(texts.text(TZVDialog::TZvPrw, u"ZvFitTwoPage"));
    m_exit->setToolTip(texts.text(TZVDialog::TZvPrw, u"ZvExit"));
}

void TZvPrw::Execute(TZVCustomLab& label, QWidget* parent)
{
    const AskerScope asker(label, parent);
    label.AskQuestions();
    {
        const WaitCursor wait;
        // Reports the rendering only: left over the modal preview it would block it.
        TZVProgressDialog progress(parent);
        progress.Attach(label);
        // No printer is needed to render the pages; a machine without one still previews.
        if (!label.PreparePreview(nullptr)) return;
    }
    TZvPrw window(parent);
    window.SetLabel(label);
    window.exec();
}

void TZvPrw::SetLabel(TZVCustomLab& label)
{
    {
        const auto layingOut = m_layingOut.hold();
        m_label = &label;
        fillLanguage();
        m_zoom = kDefaultZoom;
        if (PageCount() >= 1) {
            m_page = 1;
            m_viewMode = vmFitPage;
            picture(1);
        } else {
            m_page = 0;
            m_viewMode = vmNothing;
        }
        updateButtons();
    }
    m_labelSet = true;
    layoutPaper();
    m_paper->update();
}

int TZvPrw::PageCount() const
{
    return m_label ? std::max(0, m_label->PrintInfo().PageCount) : 0;
}

const QPicture* TZvPrw::picture(int page) const
{
    // Asking the label also keeps its page cache filled around the page.
    return m_label && page >= 1 && page <= PageCount() ? m_label->GetPreviewPage(page) : nullptr;
}

QSize TZvPrw::pictureSize() const
{
    if (!m_label) return {};
    if (const QPicture* pic = picture(m_page); pic && !pic->boundingRect().isEmpty())
        return pic->boundingRect().size();
    return m_label->PreviewPageSize();
}

void TZvPrw::updateButtons()
{
    const bool any = m_page > 0;
    for (QToolButton* button : {m_first, m_prior, m_next, m_last, m_showAll, m_showWidth, m_showTwo, m_zoomMinus,
                                m_zoomPlus, m_print, m_save})
        button->setEnabled(any);
    if (!any) {
        m_pages->setText(QString());
        return;
    }
    const int count = PageCount();
    const bool two = m_viewMode == vmTwoPages;
    const bool atEnd = m_page >= count || (two && m_page + 1 == count);
    m_next->setEnabled(!atEnd);
    m_last->setEnabled(!atEnd);
    m_first->setEnabled(m_page > 1);
    m_prior->setEnabled(m_page > 1);
    m_pages->setText(QStringLiteral("%1 - %2").arg(m_page).arg(count));
    m_zoomMinus->setEnabled(!(m_zoom < kZoomMinusFloor || two));
    m_zoomPlus->setEnabled(!(m_zoom > kZoomPlusCeiling || two));
}

void TZvPrw::goToPage(int page)
{
    m_page = std::clamp(page, 1, std::max(1, PageCount()));
    picture(m_page);
    if (m_viewMode == vmTwoPages) picture(m_page + 1);
    updateButtons();
    m_paper->update();
}

void TZvPrw::PageFirst()
{
    if (m_first->isEnabled()) goToPage(1);
}

void TZvPrw::PagePrior()
{
    if (!m_prior->isEnabled()) return;
    goToPage(m_viewMode == vmTwoPages && m_page > 2 ? m_page - 2 : m_page - 1);
}

void TZvPrw::PageNext()
{
    if (!m_next->isEnabled()) return;
    goToPage(m_viewMode == vmTwoPages && m_page + 1 < PageCount() ? m_page + 2 : m_page + 1);
}

void TZvPrw::PageLast()
{
    if (!m_last->isEnabled()) return;
    const int count = PageCount();
    goToPage(m_viewMode == vmTwoPages && count > 1 ? count - 1 : count);
}

void TZvPrw::SetViewMode(TViewMode mode)
{
    if (m_page == 0) return;
    m_viewMode = mode;
    if (mode == vmTwoPages) picture(m_page + 1);
    layoutPaper();
    updateButtons();
    m_paper->update();
}

void TZvPrw::ZoomMinus()
{
    if (!m_zoomMinus->isEnabled()) return;
    m_viewMode = vmZoom;
    m_zoom -= kZoomStep;
    updateButtons();
    layoutPaper();
    m_paper->update();
}

void TZvPrw::ZoomPlus()
{
    if (!m_zoomPlus->isEnabled()) return;
    m_viewMode = vmZoom;
    m_zoom += kZoomStep;
    updateButtons();
    layoutPaper();
    m_paper->update();
}

void TZvPrw::placePaper(int x, int y, int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    x = std::max(x, 0);
    y = std::max(y, 0);
    m_paper->setGeometry(x, y, width, height);
    // The same margin on the far side keeps a centred box centred and a fitted one unscrolled.
    m_content->resize(2 * x + width, 2 * y + height);
}

void TZvPrw::fitInto(QSize area, int w, int h)
{
    if (double(area.width()) / std::max(area.height(), 1) > double(w) / h) {
        const int height = area.height() - 2;
        const int width = MulDiv(height, w, h);
        placePaper((area.width() - width - 2) / 2, 0, width, height);
    } else {
        const int width = area.width() - 2;
        const int height = MulDiv(width, h, w);
        placePaper(0, (area.height() - height - 2) / 2, width, height);
    }
}

void TZvPrw::layoutPaper()
{
    if (m_layingOut.held() || !m_labelSet) return;
    const auto layingOut = m_layingOut.hold();
    const QSize area = m_backScroll->maximumViewportSize();
    const QSize pic = pictureSize();
    const int w = pic.width();
    const int h = pic.height();
    // A page without extent cannot be fitted; it is laid out like an empty preview.
    const TViewMode mode = w > 0 && h > 0 ? m_viewMode : vmNothing;
    switch (mode) {
    case vmNothing:
        placePaper(kIdleMargin, kIdleMargin, area.width() - 2 * kIdleMargin, area.height() - 2 * kIdleMargin);
        break;
    case vmFitPage:
        fitInto(area, w, h);
        break;
    case vmTwoPages:
        fitInto(area, 2 * w + kTwoPageGap, h);
        break;
    case vmFitWidth: {
        int width = area.width();
        int height = MulDiv(width, h, w);
        if (height > area.height() - 2) {
            QScrollBar* bar = m_backScroll->verticalScrollBar();
            int barWidth = bar ? bar->sizeHint().width() : 0;
            if (barWidth <= 0) barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
            width = area.width() - barWidth - 2;
            height = MulDiv(width, h, w);
        }
        placePaper(0, 0, width, height);
        break;
    }
    case vmZoom: {
        const int width = MulDiv(m_baseWidth, m_zoom, 100);
        const int height = MulDiv(m_baseHeight, m_zoom, 100);
        const int x = width < area.width() - 2 ? (area.width() - width - 2) / 2 : 0;
        const int y = height < area.height() - 2 ? (area.height() - height - 2) / 2 : 0;
        placePaper(x, y, width, height);
        break;
    }
    }
    if (mode == vmFitPage || mode == vmFitWidth || mode == vmTwoPages) {
        m_baseWidth = m_paper->width();
        m_baseHeight = m_paper->height();
        m_zoom = kDefaultZoom;
    }
}

void TZvPrw::PaintPaper(QPainter& painter, QSize size)
{
    if (m_layingOut.held() || !m_labelSet) return;
    const int W = size.width();
    const int H = size.height();
    const QSize picSize = pictureSize();
    if (m_viewMode == vmNothing || picSize.isEmpty()) {
        painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
        return;
    }
    painter.fillRect(QRect(QPoint(0, 0), size), m_backScroll->viewport()->palette().color(QPalette::Window));
    // Rectangles by their corners; the right and bottom edges lie outside.
    const auto corners = [](int l, int t, int r, int b) { return QRect(l, t, std::max(r - l, 0), std::max(b - t, 0)); };
    const auto sheet = [&](const QRect& shadow, const QRect& page, int number) {
        painter.fillRect(shadow, QColor::fromRgb(kShadowColor));
        painter.setPen(Qt::black);
        painter.setBrush(Qt::white);
        painter.drawRect(page.adjusted(0, 0, -1, -1));
        if (number < 1) return;
        if (const QPicture* pic = picture(number)) DrawPagePicture(painter, *pic, picSize, page);
    };
    if (m_viewMode == vmTwoPages) {
        sheet(corners(12, 12, W / 2 - 6, H - 6), corners(6, 6, W / 2 - 12, H - 12), m_page);
        sheet(corners(W / 2 + 12, 12, W - 6, H - 6), corners(W / 2 + 6, 6, W - 12, H - 12),
              m_page < PageCount() ? m_page + 1 : 0);
    } else {
        sheet(corners(12, 12, W - 6, H - 6), corners(6, 6, W - 12, H - 12), m_page);
    }
}

bool TZvPrw::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_backScroll && event->type() == QEvent::Resize) layoutPaper();
    return QDialog::eventFilter(watched, event);
}

bool TZvPrw::PrintPages()
{
    if (!m_label || m_page == 0) return false;
    QPrinter& printer = m_printer.Printer();
    if (!ExecPrintDialog(printer)) return false;
    // The dialog may have chosen another queue or a file; the printer follows that choice.
    if (!printer.outputFileName().isEmpty()) {
        m_printer.SetOutputFileName(printer.outputFileName());
    } else {
        const int index = static_cast<int>(m_printer.Printers().indexOf(printer.printerName()));
        if (index >= 0) m_printer.SetPrinterIndex(index);
    }
    // The copies asked for in the dialog, which the label's paper settings would reset to one.
    const int copies = std::max(1, printer.copyCount());
    try {
        // Inside the try: the dialog is gone before a failure is shown.
        TZVProgressDialog progress(this);
        progress.Attach(*m_label);
        // A queue's calibration moves the whole run; a file is printed as designed.
        const TZVCalibration offsets = printer.outputFileName().isEmpty()
                                           ? TZVPrinterCalibration::Load(printer.printerName())
                                           : TZVCalibration{};
        // A ZPL printer's queue gets Zorvel's own ZPL, the offsets as its label home.
        const TZVPrinterLanguage language = printer.outputFileName().isEmpty()
                                                ? TZVPrinterLanguages::Load(printer.printerName())
                                                : TZVPrinterLanguage{};
        if (language.Kind == TZVPrinterLanguage::Zpl) {
            TZVZplQueuePrinter zpl(printer.printerName(), language.Dpi, offsets);
            return m_label->PrintEx(zpl, copies, false);
        }
        TZVOffsetPrinter moved(m_printer, offsets);
        return m_label->PrintEx(moved, copies, false);
    } catch (const EZvError& error) {
        ShowError(error.message());
    } catch (const std::exception& error) {
        ShowError(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

bool TZvPrw::SaveCurrentPage()
{
    if (!m_label || m_page == 0) return false;
    const QStringList filters{QStringLiteral("Scalable Vector Graphics (*.svg)"), QStringLiteral("Bitmap (*.bmp)"),
                              QStringLiteral("Jpeg (*.jpg)")};
    const std::optional<TSaveChoice> choice = AskSaveFile(filters);
    if (!choice || choice->FileName.isEmpty()) return false;
    return SavePage(choice->FileName, choice->Format);
}

QByteArray TZvPrw::encodePage(TSaveFormat format, bool& ok)
{
    ok = false;
    const QPicture* pic = picture(m_page);
    const QSize size = pictureSize();
    if (!pic || size.isEmpty()) throw EZvError(QStringLiteral("INVALID IMAGE : EMPTY IMAGE"));
    if (format == sfSvg) {
        ok = true;
        return PaintSvg(
            size, kPictureDpi,
            [&](QPainter& painter) { DrawPagePicture(painter, *pic, size, QRectF(QPointF(0, 0), QSizeF(size))); },
            windowTitle());
    }
    QImage image = NewOutputImage(size.width(), size.height(), QImage::Format_RGB888);
    image.setDotsPerMeterX(kPictureDotsPerMeter);
    image.setDotsPerMeterY(kPictureDotsPerMeter);
    {
        QPainter painter(&image);
        DrawPagePicture(painter, *pic, size, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    if (format == sfBmp) {
        ok = true;
        return EncodeBmp(image);
    }
    const std::optional<QString> answer =
        AskText(QStringLiteral("Compression"), QStringLiteral("Compression Quality (1..100)"),
                QString::number(kJpegDefaultQuality));
    if (!answer) return {};
    bool number = false;
    const int quality = answer->trimmed().toInt(&number);
    if (!number) throw EZvError(QStringLiteral("'%1' is not a valid integer value").arg(*answer));
    QByteArray bytes = EncodeJpeg(image, quality);
    ok = true;
    return bytes;
}

bool TZvPrw::SavePage(const QString& fileName, TSaveFormat format)
{
    try {
        bool ok = false;
        const QByteArray bytes = encodePage(format, ok);
        if (!ok) return false;
        // Written beside the target and renamed at the end: a failure leaves no half file.
        QSaveFile file(fileName);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
            throw EZvError(QStringLiteral("CAN'T WRITE FILE : ") + fileName);
        return true;
    } catch (const EZvError& error) {
        ShowError(error.message());
    }
    return false;
}

} // namespace zorvel
