// The symbol dialog and its character map.
#include "dialogs/ZVSymbolDialog.h"

#include "document/ZVCustomLab.h"
#include "document/ZVEditorLink.h"
#include "document/ZVUndoHistory.h"
#include "elements/ZVSymbol.h"
#include "foundation/ZVCanvas.h"
#include "foundation/ZVStrings.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace zorvel {
namespace {

constexpr TZVColor kSelectedFill = 0xFFFF00; // aqua
constexpr TZVColor kGridLine = 0xC0C0C0;
constexpr TZVColor kOutline = 0x808080;
constexpr int kMagnifierBorder = 2;

QFont mapFont(const QString& name, int pixels)
{
    QFont font(name);
    font.setPixelSize(pixels);
    return font;
}

} // namespace

// ---- Map --------------------------------------------------------------------------------------

SymbolMap::SymbolMap(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PaintBox"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(sizeHint());
}

QChar SymbolMap::CharacterAt(int page, int row, int column)
{
    const qint64 code = qint64(page) * kCharactersPerPage + qint64(row) * kColumns + column;
    return QChar(static_cast<char16_t>(code & 0xFFFF));
}

void SymbolMap::SetPage(int page)
{
    if (page == m_page) return;
    m_page = page;
    redraw();
}

void SymbolMap::SetFontName(const QString& name)
{
    if (name == m_fontName) return;
    m_fontName = name;
    redraw();
}

void SymbolMap::SetSelected(std::optional<QChar> character)
{
    if (character == m_selected) return;
    m_selected = character;
    redraw();
}

TZVMapCell SymbolMap::SelectedCell() const
{
    if (!m_selected) return {};
    const int offset = int(m_selected->unicode()) - int((qint64(m_page) * kCharactersPerPage) & 0xFFFF);
    // A page that wraps past 0xFFFF continues at 0.
    const int index = (offset + 0x10000) % 0x10000;
    if (index >= kCharactersPerPage) return {};
    return {index / kColumns, index % kColumns};
}

TZVMapCell SymbolMap::CellAt(QPoint point) const
{
    const int w = cellWidth();
    const int h = cellHeight();
    if (w <= 0 || h <= 0 || point.x() < 0 || point.y() < 0) return {};
    const int column = point.x() / w;
    const int row = point.y() / h;
    if (column >= kColumns || row >= kRows) return {};
    return {row, column};
}

QRect SymbolMap::CellRect(TZVMapCell cell) const
{
    if (!cell.IsValid()) return {};
    return {cell.Column * cellWidth(), cell.Row * cellHeight(), cellWidth(), cellHeight()};
}

QRect SymbolMap::MagnifierRect() const
{
    if (!m_hovered.IsValid()) return {};
    const QRect cell = CellRect(m_hovered);
    QRect rect(cell.left() - cell.width(), cell.top() - cell.height(), 3 * cell.width(),
               3 * cell.height());
    rect.moveLeft(std::clamp(rect.left(), 1, std::max(1, width() - 1 - rect.width())));
    rect.moveTop(std::clamp(rect.top(), 1, std::max(1, height() - 1 - rect.height())));
    return rect;
}

QSize SymbolMap::sizeHint() const
{
    return {kColumns * 28, kRows * 24};
}

void SymbolMap::redraw()
{
    const QSize size = this->size();
    if (size.isEmpty()) {
        m_picture = QPixmap();
        update();
        return;
    }
    m_picture = QPixmap(size);
    m_picture.fill(palette().color(QPalette::Window));
    QPainter painter(&m_picture);
    const int w = cellWidth();
    const int h = cellHeight();
    if (const TZVMapCell selected = SelectedCell(); selected.IsValid())
        painter.fillRect(CellRect(selected), toQColor(kSelectedFill));

    painter.setFont(mapFont(m_fontName, kCharacterPixels));
    painter.setPen(Qt::black);
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column)
            painter.drawText(CellRect({row, column}), Qt::AlignCenter,
                             QString(CharacterAt(m_page, row, column)));

    painter.setPen(toQColor(kGridLine));
    for (int column = 1; column < kColumns; ++column)
        painter.drawLine(column * w, 0, column * w, kRows * h);
    for (int row = 1; row < kRows; ++row)
        painter.drawLine(0, row * h, kColumns * w, row * h);
    painter.setPen(toQColor(kOutline));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    update();
}

void SymbolMap::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_picture.size() != size()) redraw();
    painter.drawPixmap(0, 0, m_picture);
    const QRect magnifier = MagnifierRect();
    if (magnifier.isEmpty()) return;
    painter.fillRect(magnifier, Qt::white);
    QPen border(Qt::red, kMagnifierBorder);
    border.setJoinStyle(Qt::MiterJoin);
    painter.setPen(border);
    painter.drawRect(magnifier.adjusted(1, 1, -1, -1));
    painter.setFont(mapFont(m_fontName, kMagnifiedPixels));
    painter.setPen(Qt::black);
    painter.drawText(magnifier, Qt::AlignCenter, QString(CharacterOf(m_hovered)));
}

void SymbolMap::resizeEvent(QResizeEvent*)
{
    redraw();
}

void SymbolMap::setHovered(TZVMapCell cell)
{
    if (cell == m_hovered) return;
    m_hovered = cell;
    update();
}

void SymbolMap::mouseMoveEvent(QMouseEvent* event)
{
    setHovered(CellAt(event->position().toPoint()));
}

void SymbolMap::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    const TZVMapCell cell = CellAt(event->position().toPoint());
    if (!cell.IsValid()) return;
    const QChar character = CharacterOf(cell);
    SetSelected(character);
    emit CellClicked(cell, character);
}

void SymbolMap::leaveEvent(QEvent*)
{
    setHovered({});
}

// ---- Dialog -----------------------------------------------------------------------------------

TPropSym::TPropSym(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PropSym"));
    m_characterCaption = new QLabel(this);
    m_pageCaption = new QLabel(this);
    m_pageCaption->setObjectName(QStringLiteral("LaPage"));
    m_pageBox = new QSpinBox(this);
    m_pageBox->setObjectName(QStringLiteral("SpEdPage"));
    m_pageBox->setRange(0, kLastPage);
    m_map = new SymbolMap(this);
    m_map->setMinimumSize(SymbolMap::kColumns * 20, SymbolMap::kRows * 20);

    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QDialogButtonBox::Ok);
    m_cancel = buttons->addButton(QDialogButtonBox::Cancel);
    m_ok->setObjectName(QStringLiteral("BuOK"));
    m_cancel->setObjectName(QStringLiteral("BuCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(m_characterCaption);
    top->addStretch();
    top->addWidget(m_pageCaption);
    top->addWidget(m_pageBox);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_map, 1);
    layout->addWidget(buttons);

    connect(m_pageBox, &QSpinBox::valueChanged, this, &TPropSym::showPage);
    connectGuarded(m_filling, m_map, &SymbolMap::CellClicked, this,
                   [this](TZVMapCell cell, QChar character) { cellClicked(cell, character); });
    fillLanguage();
}

int TPropSym::Execute(TZVCustomLab& label, TZVSymbol& symbol, QWidget* parent)
{
    const QChar character = symbol.Character();
    const int page = symbol.SymbolPage();
    const bool modified = label.Modified();
    TZVChangeScope change(label, tr("Symbol"));
    TPropSym dialog(parent);
    dialog.Prepare(label, symbol);
    const int result = dialog.exec();
    TZVEditorLink* editor = label.Editor();
    if (result == QDialog::Accepted) {
        if (editor) editor->RefreshInspector();
        return result;
    }
    // Cancelled: the design as it was, SymbolAlt included, and no step.
    change.Cancel(true);
    // Inside another change nothing was put back; setting an unchanged character would still
    // clear SymbolAlt and mark the label.
    if (symbol.Character() != character || symbol.SymbolPage() != page) {
        symbol.SetCharacter(character);
        symbol.SetSymbolPage(page);
        label.SetModified(modified);
    }
    if (editor) editor->Refresh(false);
    return result;
}

void TPropSym::Prepare(TZVCustomLab& label, TZVSymbol& symbol)
{
    const auto filling = m_filling.hold();
    m_label = &label;
    m_symbol = &symbol;
    fillLanguage();
    m_map->SetFontName(symbol.FontName());
    m_map->SetSelected(symbol.Character());
    const int page = std::clamp(symbol.SymbolPage(), 0, kLastPage);
    m_pageBox->setValue(page);
    showPage(page);
}

void TPropSym::fillLanguage()
{
    const TZVDialogTexts texts(m_label ? m_label->IniTranslate() : QString());
    const auto text = [&texts](const char* key) {
        return texts.text(TZVDialog::TPropSym, QString::fromLatin1(key));
    };
    setWindowTitle(text("ZvSymbolPro"));
    m_characterCaption->setText(text("ZvCarac"));
    m_ok->setText(text("ZvOK"));
    m_cancel->setText(text("ZVCancel"));
    m_pageWord = MessageText(TZVMsg::Page);
    showPage(m_pageBox->value());
}

void TPropSym::showPage(int page)
{
    const int first = page * SymbolMap::kCharactersPerPage;
    m_pageCaption->setText(QStringLiteral("[%1-%2]   %3: ")
                               .arg(first)
                               .arg(first + SymbolMap::kCharactersPerPage)
                               .arg(m_pageWord));
    m_map->SetPage(page);
}

void TPropSym::cellClicked(TZVMapCell, QChar character)
{
    if (!m_symbol) return;
    m_symbol->SetCharacter(character);
}

} // namespace zorvel
