// The symbol dialog: a paged character map in the symbol's font, with a magnifier, that picks
// the symbol's character.
#pragma once

#include "controls/ZVGuard.h"
#include "zorvel_widgets_export.h"

#include <QChar>
#include <QDialog>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <optional>

class QLabel;
class QPushButton;
class QSpinBox;

namespace zorvel {

class TZVCustomLab;
class TZVSymbol;

/// A cell of a character map; Row and Column are -1 for no cell.
struct TZVMapCell
{
    int Row = -1;    ///< from the top, 0-based
    int Column = -1; ///< from the left, 0-based

    /// True for a cell, false for no cell.
    bool IsValid() const { return Row >= 0 && Column >= 0; }
    /// Same row and column.
    friend bool operator==(const TZVMapCell&, const TZVMapCell&) = default;
};

/// A grid of characters, one page of Rows x Columns at a time. Cells are the widget's size
/// divided by the rows and columns (whole pixels); the remainder at the right and bottom is no
/// cell. The grid is drawn once into a pixmap and copied on every paint, so hovering only adds
/// the magnifier.
class ZORVEL_WIDGETS_EXPORT SymbolMap : public QWidget
{
    Q_OBJECT

public:
    /// Rows and columns of a page.
    /// @{
    static constexpr int kRows = 15;
    static constexpr int kColumns = 16;
    /// @}
    /// Characters on a page: 240.
    static constexpr int kCharactersPerPage = kRows * kColumns;
    /// Pixel size of the characters in the grid.
    static constexpr int kCharacterPixels = 16;
    /// Pixel size of the character in the magnifier.
    static constexpr int kMagnifiedPixels = 48;

    /// Page 0, no font, nothing selected; sized to its size hint.
    explicit SymbolMap(QWidget* parent = nullptr);

    /// The character of a cell of a page, wrapped into the 16-bit range.
    static QChar CharacterAt(int page, int row, int column);

    /// The page shown; page p starts at character p x 240.
    int Page() const { return m_page; }
    /// Shows another page and redraws the grid.
    void SetPage(int page);
    /// The family the characters are drawn in; empty for the widget's font.
    const QString& FontName() const { return m_fontName; }
    /// Sets FontName and redraws the grid.
    void SetFontName(const QString& name);
    /// The highlighted character; the cell that shows it on the current page is filled.
    std::optional<QChar> Selected() const { return m_selected; }
    /// Sets Selected (nullopt for none) and redraws the grid.
    void SetSelected(std::optional<QChar> character);
    /// The cell showing the selected character on the current page, or no cell.
    TZVMapCell SelectedCell() const;

    /// The cell under a point of the widget, or no cell.
    TZVMapCell CellAt(QPoint point) const;
    /// Where `cell` lies in the widget; empty for no cell.
    QRect CellRect(TZVMapCell cell) const;
    /// The character `cell` shows on the current page.
    QChar CharacterOf(TZVMapCell cell) const { return CharacterAt(m_page, cell.Row, cell.Column); }
    /// The cell under the mouse, or no cell.
    TZVMapCell HoveredCell() const { return m_hovered; }
    /// The magnifier: three cells square around the hovered cell, kept 1 pixel inside the map.
    /// Empty while no cell is hovered.
    QRect MagnifierRect() const;

    /// 28 x 24 pixels a cell.
    QSize sizeHint() const override;

signals:
    /// A left click on a cell, which has become the selected character.
    void CellClicked(zorvel::TZVMapCell cell, QChar character);

protected:
    /// Copies the grid's pixmap and draws the magnifier over it.
    void paintEvent(QPaintEvent* event) override;
    /// Redraws the grid at the new size.
    void resizeEvent(QResizeEvent* event) override;
    /// Moves the magnifier to the cell under the mouse.
    void mouseMoveEvent(QMouseEvent* event) override;
    /// A left click on a cell selects its character and emits CellClicked.
    void mousePressEvent(QMouseEvent* event) override;
    /// Hides the magnifier.
    void leaveEvent(QEvent* event) override;

private:
    int cellWidth() const { return width() / kColumns; }
    int cellHeight() const { return height() / kRows; }
    void redraw();
    void setHovered(TZVMapCell cell);

    int m_page = 0;
    QString m_fontName;
    std::optional<QChar> m_selected;
    TZVMapCell m_hovered;
    QPixmap m_picture;
};

/// The symbol dialog behind a label's element dialog for a symbol.
class ZORVEL_WIDGETS_EXPORT TPropSym : public QDialog
{
    Q_OBJECT

public:
    /// Pages that hold characters: the last starts at 273 x 240 = 65520.
    static constexpr int kLastPage = 0xFFFF / SymbolMap::kCharactersPerPage;

    /// The map, the page box and OK and Cancel; Prepare fills them.
    explicit TPropSym(QWidget* parent = nullptr);

    /// The label's element dialog for a symbol: OK refreshes the inspector; any other end puts
    /// the character and its page back and repaints the editor.
    static int Execute(TZVCustomLab& label, TZVSymbol& symbol, QWidget* parent = nullptr);

    /// Captions from the label's translation file, the symbol's page, its character selected.
    void Prepare(TZVCustomLab& label, TZVSymbol& symbol);

    /// The character map; a click sets the symbol's character at once.
    SymbolMap* Map() const { return m_map; }
    /// Chooses the page, 0..kLastPage.
    QSpinBox* PageBox() const { return m_pageBox; }
    /// The page's range of character codes and the word for page, before the box.
    QLabel* PageCaption() const { return m_pageCaption; }
    /// Closes the dialog keeping the chosen character.
    QPushButton* OkButton() const { return m_ok; }
    /// Closes the dialog; Execute then puts the old character back.
    QPushButton* CancelButton() const { return m_cancel; }

private:
    void fillLanguage();
    void showPage(int page);
    void cellClicked(TZVMapCell cell, QChar character);

    QPointer<TZVCustomLab> m_label;
    QPointer<TZVSymbol> m_symbol;
    QString m_pageWord;
    FeedbackGuard m_filling;

    SymbolMap* m_map = nullptr;
    QSpinBox* m_pageBox = nullptr;
    QLabel* m_pageCaption = nullptr;
    QLabel* m_characterCaption = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace zorvel
