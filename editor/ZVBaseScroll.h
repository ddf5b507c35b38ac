// The scroll box of the editor: holds the design surface and its margins, reports scrolling.
#pragma once

#include "zorvel_widgets_export.h"

#include <QScrollArea>

#include <functional>

namespace zorvel {

/// A frameless scroll area that never takes the keyboard focus, so that arrow keys reach the
/// editor.
class ZORVEL_WIDGETS_EXPORT TZVBaseScroll : public QScrollArea
{
    Q_OBJECT

public:
    /// Creates the client widget, which the scroll area owns.
    explicit TZVBaseScroll(QWidget* parent = nullptr);

    /// The scrolled widget on which the surface and the margins sit.
    QWidget* Client() const { return m_client; }
    /// Background of the client and of the viewport around it.
    void SetColor(const QColor& color);

    /// Last reported scroll positions, pixels.
    /// @{
    int HorzPos() const { return m_horzPos; }
    int VertPos() const { return m_vertPos; }
    /// @}
    /// Records a scroll position as reported, without scrolling.
    /// @{
    void SetHorzPos(int pos) { m_horzPos = pos; }
    void SetVertPos(int pos) { m_vertPos = pos; }
    /// @}

    /// Shows or hides the scroll bars for the client's size now rather than later, so that their
    /// ranges are final before a scroll position is set.
    void SettleScrollBars();

    /// Called when a scroll bar moved to a position other than the last reported one.
    /// @{
    std::function<void()> OnHorzScroll;
    std::function<void()> OnVertScroll;
    /// @}

private:
    void horzMoved(int value);
    void vertMoved(int value);

    QWidget* m_client = nullptr;
    int m_horzPos = 0;
    int m_vertPos = 0;
};

} // namespace zorvel
