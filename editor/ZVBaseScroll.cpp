// The editor's scroll box.
#include "editor/ZVBaseScroll.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScrollBar>

namespace zorvel {

TZVBaseScroll::TZVBaseScroll(QWidget* parent) : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The editor takes the keys: arrow keys nudge elements rather than scroll.
    setFocusPolicy(Qt::NoFocus);
    m_client = new QWidget;
    m_client->setAutoFillBackground(true);
    setWidget(m_client);
    viewport()->setAutoFillBackground(true);
    m_horzPos = horizontalScrollBar()->value();
    m_vertPos = verticalScrollBar()->value();
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &TZVBaseScroll::horzMoved);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &TZVBaseScroll::vertMoved);
}

void TZVBaseScroll::SetColor(const QColor& color)
{
    for (QWidget* widget : {static_cast<QWidget*>(m_client), viewport()}) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Window, color);
        widget->setPalette(palette);
    }
}

void TZVBaseScroll::SettleScrollBars()
{
    // The scroll area shows or hides a bar through a queued call when a range changes, and a bar
    // that comes or goes changes the other bar's range: a second round settles that.
    for (int round = 0; round < 2; ++round)
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void TZVBaseScroll::horzMoved(int value)
{
    if (value == m_horzPos) return;
    m_horzPos = value;
    if (OnHorzScroll) OnHorzScroll();
}

void TZVBaseScroll::vertMoved(int value)
{
    if (value == m_vertPos) return;
    m_vertPos = value;
    if (OnVertScroll) OnVertScroll();
}

} // namespace zorvel
