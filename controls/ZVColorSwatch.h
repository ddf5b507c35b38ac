// The colour swatch of the dialogs and the demo, and the one colour picker every colour choice
// of the library goes through.
#pragma once

#include "foundation/ZVTypes.h"
#include "zorvel_widgets_export.h"

#include <QAbstractButton>

#include <functional>
#include <optional>

namespace zorvel {

/// Asks the user for a colour, starting from `current`; nullopt when the user cancels. A dialog
/// it opens belongs to `parent`.
using ColorPicker = std::function<std::optional<TZVColor>(TZVColor current, QWidget* parent)>;

/// Asks the installed picker for a colour: the platform's colour dialog unless the application
/// replaced it with SetColorPicker.
ZORVEL_WIDGETS_EXPORT std::optional<TZVColor> PickColor(TZVColor current, QWidget* parent);
/// Replaces the picker for the whole application and returns the one it replaces; an empty
/// function brings back the colour dialog.
ZORVEL_WIDGETS_EXPORT ColorPicker SetColorPicker(ColorPicker picker);

/// A patch of colour in a thin frame. Pressing it with the left button, or clicking it from the
/// keyboard or in code, asks PickColor for a colour starting from the one shown; a choice is
/// shown and reported through ColorPicked, a cancelled pick changes nothing.
class ZORVEL_WIDGETS_EXPORT ColorSwatch : public QAbstractButton
{
    Q_OBJECT

public:
    /// A black patch with a pointing-hand cursor, reached by Tab.
    explicit ColorSwatch(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(ColorSwatch)

    /// The colour shown, 0xBBGGRR.
    TZVColor Color() const { return m_color; }
    /// Sets Color and repaints; reports nothing.
    void SetColor(TZVColor color);

    /// 48 x 20 pixels.
    QSize sizeHint() const override { return {48, 20}; }

signals:
    /// The user picked `color`, which the swatch now shows.
    void ColorPicked(zorvel::TZVColor color);

protected:
    /// Fills the patch with Color inside a one-pixel grey frame.
    void paintEvent(QPaintEvent* event) override;
    /// A left press picks at once, as the colour dialog takes over the mouse.
    void mousePressEvent(QMouseEvent* event) override;

private:
    void pick();

    TZVColor m_color = 0;
};

} // namespace zorvel
