// One-line Unicode text box of the inspector and the dialogs.
#pragma once

#include "controls/ZVKeyEvent.h"
#include "foundation/ZVTypes.h"
#include "zorvel_widgets_export.h"

#include <QColor>
#include <QLineEdit>

namespace zorvel {

/// One-line Unicode text box. Text changes are reported through OnChange whether the user
/// or the program made them; navigation keys never edit the text.
class ZORVEL_WIDGETS_EXPORT TZVWideEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE SetText NOTIFY Changed)
    Q_PROPERTY(TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)

public:
    /// Whether the box draws its frame.
    enum TBorderStyle { bsNone, bsSingle };
    Q_ENUM(TBorderStyle)

    /// An empty, framed box 120 x 21 pixels that takes the focus by Tab and by click.
    explicit TZVWideEdit(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TZVWideEdit)

    /// The whole text.
    QString Text() const { return text(); }
    /// Replaces the whole text, puts the caret at the end and reports the change even when
    /// the text is the same.
    void SetText(const QString& value);

    /// Framed (bsSingle) unless set otherwise.
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    /// Sets BorderStyle and shows or hides the frame.
    void SetBorderStyle(TBorderStyle value);

    /// Background of the text area.
    QColor Color() const;
    /// Sets the background of the text area.
    void SetColor(const QColor& value);

    /// 120 pixels wide, at least 21 high.
    QSize sizeHint() const override;

    /// The text changed, by the user or through SetText; the sender is the box.
    TZVNotifyEvent OnChange;
    /// The selected part of the text changed; the sender is the box.
    TZVNotifyEvent OnSelect;
    /// A key is about to be handled; see TZVKeyEvent.
    TZVKeyEvent OnKeyDown;

signals:
    /// Emitted right after OnChange fires.
    void Changed();

protected:
    /// Offers key presses to OnKeyDown before anything else sees them.
    bool event(QEvent* event) override;
    /// Typing, Backspace, Delete, Left, Right, Home, End, copy, cut and paste; Enter, Escape and
    /// Tab are left to the window, and the other navigation keys (Up, Page Down and the like) do
    /// nothing.
    void keyPressEvent(QKeyEvent* event) override;
    /// Selects the whole text, except when the focus comes back from a pop-up menu.
    void focusInEvent(QFocusEvent* event) override;
    /// A left drag selects; after a double click the whole text stays selected.
    /// @{
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    /// @}
    /// A left double click selects the whole text without moving the caret.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    /// Keeps the box at least one text line high when the font changes.
    void changeEvent(QEvent* event) override;

private:
    void copySelection();
    void cutSelection();
    void pasteText();
    void keepTextHeight();
    void reportChange();

    TBorderStyle m_borderStyle = bsSingle;
    bool m_mouseSelecting = false;
};

} // namespace zorvel
