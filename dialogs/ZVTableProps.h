// The table properties dialog: the title, rows and draw mode of a table, and its columns with
// their data, header and footer cells. Every change goes to the table at once.
#pragma once

#include "controls/ZVGuard.h"
#include "foundation/ZVTypes.h"
#include "zorvel_widgets_export.h"

#include <QDialog>
#include <QPointer>
#include <QToolButton>

#include <array>
#include <functional>
#include <utility>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGridLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace zorvel {

class ColorSwatch;
class TZVColumn;
class TZVCustomLab;
class TZVTable;
enum class TablePart : std::uint8_t;

/// The table properties dialog behind a label's element dialog for a table.
class ZORVEL_WIDGETS_EXPORT TPropTable : public QDialog
{
    Q_OBJECT

public:
    /// Columns the dialog lets a table have.
    static constexpr int kMaxColumns = 10;

    /// The general and columns pages, not yet linked to a table (see Prepare).
    explicit TPropTable(QWidget* parent = nullptr);
    ~TPropTable() override;

    /// The label's element dialog for a table; there is no OK, so closing repaints the editor.
    static int Execute(TZVCustomLab& label, TZVTable& table, QWidget* parent = nullptr);

    /// Captions, title settings, font and field lists, the columns with the first selected.
    /// Filling the controls writes nothing to the table.
    void Prepare(TZVCustomLab& label, TZVTable& table);

    /// The selected column's index, -1 when the table has none.
    int SelectedColumn() const;
    /// Selects column `index` and shows its settings in the column controls.
    void SelectColumn(int index);

    /// Reports a detail data set that does not open for the field list; a message box unless
    /// replaced.
    std::function<void(const QString& message)> ShowError;

public slots:
    /// Appends a column on the field chosen in the field list, headed with its name, and
    /// selects it. Nothing once the table has kMaxColumns columns.
    void AddColumn();
    /// Deletes the selected column; its neighbour, or the new last column, is selected.
    void DeleteColumn();
    /// Moves the selected column one place towards the start; it stays selected.
    void MoveUp();
    /// Moves the selected column one place towards the end; it stays selected.
    void MoveDown();

private:
    /// The four cells sharing font, colours, style and alignment controls.
    using Part = TablePart;
    struct CellControls
    {
        QComboBox* Font = nullptr;
        QDoubleSpinBox* FontHeight = nullptr;
        ColorSwatch* FontColor = nullptr;
        ColorSwatch* Color = nullptr;
        QToolButton* Bold = nullptr;
        QToolButton* Italic = nullptr;
        QToolButton* Underline = nullptr;
        QButtonGroup* Align = nullptr; ///< ids are the alignment values
    };
    /// Reads and writes of one cell's settings; the column cells go to the selected column.
    struct CellAccess
    {
        std::function<QString()> FontName;
        std::function<void(const QString&)> SetFontName;
        std::function<float()> FontHeight;
        std::function<void(float)> SetFontHeight;
        std::function<TZVColor()> FontColor;
        std::function<void(TZVColor)> SetFontColor;
        std::function<TZVColor()> Color;
        std::function<void(TZVColor)> SetColor;
        std::function<bool()> Bold, Italic, Underline;
        std::function<void(bool)> SetBold, SetItalic, SetUnderline;
        std::function<int()> Align;
        std::function<void(int)> SetAlign;
    };
    struct Names
    {
        const char* Font;
        const char* FontHeight;
        const char* FontColor;
        const char* Color;
        const char* Bold;
        const char* Italic;
        const char* Underline;
        const char* Left;
        const char* Center;
        const char* Right;
    };

    void buildControls();
    QWidget* buildGeneralPage();
    QWidget* buildColumnsPage();
    /// The shared cell controls, laid out in a grid from `row` on; `colorKey` captions the fill.
    CellControls buildCell(Part part, const Names& names, const char* colorKey, QWidget* page,
                           QGridLayout* grid, int row);
    CellAccess access(Part part);
    void connectCell(Part part);
    void fillCell(Part part);
    void fillLanguage();
    void fillFontLists();
    void fillFieldList();
    void fillColumnList();
    void showColumn();
    void updateButtons();
    void fieldChosen(int index);
    /// The selected column, null when none.
    TZVColumn* column() const;

    QPointer<TZVCustomLab> m_label;
    QPointer<TZVTable> m_table;
    /// Held while controls are filled from the table, so their change handlers stay quiet.
    FeedbackGuard m_filling;
    std::vector<std::pair<const char*, std::function<void(const QString&)>>> m_captions;
    std::array<CellControls, 4> m_cells;

    QTabWidget* m_pages = nullptr;
    QLineEdit* m_title = nullptr;
    QCheckBox* m_titleVisible = nullptr;
    QDoubleSpinBox* m_titleHeight = nullptr;
    QDoubleSpinBox* m_rowHeight = nullptr;
    QButtonGroup* m_drawMode = nullptr;

    QListWidget* m_columns = nullptr;
    QToolButton* m_up = nullptr;
    QToolButton* m_down = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_delete = nullptr;
    QTabWidget* m_columnPages = nullptr;
    QComboBox* m_fields = nullptr;
    QSpinBox* m_width = nullptr;
    QLineEdit* m_format = nullptr;
    QLineEdit* m_headerText = nullptr;
    QCheckBox* m_headerVisible = nullptr;
    QDoubleSpinBox* m_headerHeight = nullptr;
    QCheckBox* m_footerVisible = nullptr;
    QDoubleSpinBox* m_footerHeight = nullptr;
    QButtonGroup* m_footerCalc = nullptr;
};

} // namespace zorvel
