// The inspector's wide-text dialog: a text box and a character map; every change is written to
// the selected elements as the user types.
#pragma once

#include "controls/ZVGuard.h"
#include "zorvel_widgets_export.h"

#include <QDialog>
#include <QString>

class QLineEdit;
class QScrollBar;
class QLabel;

namespace zorvel {

class TZVCustomInspector;
class CharacterMap;

/// The dialog behind TZVInspector::EditWideText. It writes through the inspector's
/// CommitWideText; on Cancel, EditWideText writes the old texts back.
class ZORVEL_WIDGETS_EXPORT TZvEdText : public QDialog
{
    Q_OBJECT

public:
    /// Rows and columns of the character map.
    /// @{
    static constexpr int kMapRows = 7;
    static constexpr int kMapColumns = 16;
    /// @}
    /// Characters on one page of the map.
    static constexpr int kCharactersPerPage = kMapRows * kMapColumns;
    /// The highest page the scroll bar reaches.
    static constexpr int kLastPage = 16;

    /// A dialog writing to the selected elements of `inspector`, which must outlive it.
    explicit TZvEdText(TZVCustomInspector& inspector, QWidget* parent = nullptr);
    ~TZvEdText() override;
    Q_DISABLE_COPY_MOVE(TZvEdText)

    /// Shows the property `name` of the first selected element, in that element's font; with
    /// the label's UseUnicodeEditor off the text is shown as it survives the 8-bit code page.
    /// Nothing is written meanwhile.
    void Prepare(const QString& name);

    /// A TZVWideEdit with UseUnicodeEditor, a plain line edit without.
    QLineEdit* Box() const { return m_box; }
    /// The page of the character map shown, 0..kLastPage.
    int Page() const;
    /// Shows page `page` of the map (kept within 0..kLastPage).
    void SetPage(int page);
    /// page * 112 + row * 16 + column, modulo 65536.
    QChar CharacterAt(int row, int column) const;
    /// Inserts the character of the cell at the caret, before any selection.
    void ClickCell(int row, int column);
    /// The character map widget, owned by the dialog.
    QWidget* Map() const;

private:
    void boxChanged(const QString& text);
    void showMagnified(QChar character);

    TZVCustomInspector& m_inspector;
    QString m_name;
    FeedbackGuard m_filling;
    QLineEdit* m_box = nullptr;
    CharacterMap* m_map = nullptr;
    QScrollBar* m_pages = nullptr;
    QLabel* m_magnifier = nullptr;
};

} // namespace zorvel
