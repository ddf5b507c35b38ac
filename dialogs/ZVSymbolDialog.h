// The symbol dialog: a paged character map in the symbol's font, with a magnifier, that picks
// the symbol's character.
#pragma once

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

// A cell of a character map; Row and Column are -1 for no cell.
struct TZVMapCell
{
    int Row = -1;
    int Column = -1;

    bool IsValid() const { return Row >= 0 && Column >= 0; }
    friend bool operator==(const TZVMapCell&, const TZVMapCell&) = default;
};

// A grid of characters, one page of Rows x Columns at a time. Cells are the widget's size
// divided by the rows and columns (whole pixels); the remainder at the right and bottom is no
// cell. The grid is drawn once into a pixmap and copied on every paint, so hovering only adds
// the magnifier.
class TZVSymbolMap : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kRows = 15;
    static constexpr int kColumns = 16;
    static constexpr int kCharactersPerPage = kRows * kColumns; // 240
    static constexpr int kCharacterPixels = 16;
    static constexpr int kMagnifiedPixels = 48;

    explicit TZVSymbolMap(QWidget* parent = nullptr);

    // The character of a cell of a page, wrapped into the 16-bit range.
    static QChar CharacterAt(int page, int row, int column);

    int Page() const { return m_page; }
    void SetPage(int page);
    const QString& FontName() const { return m_fontName; }
    void SetFontName(const QString& name);
    // The highlighted character; the cell that shows it on the current page is filled.
    std::optional<QChar> Selected() const { return m_selected; }
    void SetSelected(std::optional<QChar> character);
    // The cell showing the selected character on the current page, or no cell.
    TZVMapCell SelectedCell() const;

    // The cell under a point of the widget, or no cell.
    TZVMapCell CellAt(QPoint point) const;
    QRect CellRect(TZVMapCell cell) const;
    QChar CharacterOf(TZVMapCell cell) const { return CharacterAt(m_page, cell.Row, cell.Column); }
    // The magnifier: three cells square around the hovered cell, kept 1 pixel inside the map.
    // Empty while no cell is hovered.
    TZVMapCell HoveredCell() const { return m_hovered; }
    QRect MagnifierRect() const;

    QSize sizeHint() const override;

signals:
    void CellClicked(zorvel::TZVMapCell cell, QChar character);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
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

class TPropSym : public QDialog
{
    Q_OBJECT

public:
    // Pages that hold characters: the last starts at 273 x 240 = 65520.
    static constexpr int kLastPage = 0xFFFF / TZVSymbolMap::kCharactersPerPage;

    explicit TPropSym(QWidget* parent = nullptr);

    // The label's element dialog for a symbol: OK refreshes the inspector; any other end puts
    // the character and its page back and repaints the editor.
    static int Execute(TZVCustomLab& label, TZVSymbol& symbol, QWidget* parent = nullptr);

    // Captions from the label's translation file, the symbol's page, its character selected.
    void Prepare(TZVCustomLab& label, TZVSymbol& symbol);

    TZVSymbolMap* Map() const { return m_map; }
    QSpinBox* PageBox() const { return m_pageBox; }
    QLabel* PageCaption() const { return m_pageCaption; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

private:
    void fillLanguage();
    void showPage(int page);
    void cellClicked(TZVMapCell cell, QChar character);

    QPointer<TZVCustomLab> m_label;
    QPointer<TZVSymbol> m_symbol;
    QString m_pageWord;
    bool m_filling = false;

    TZVSymbolMap* m_map = nullptr;
    QSpinBox* m_pageBox = nullptr;
    QLabel* m_pageCaption = nullptr;
    QLabel* m_characterCaption = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace zorvel
