// Acts on a modal window once it is up, from inside the event loop that runs it.
#pragma once

#include <QApplication>
#include <QTimer>

#include <functional>

namespace zorvel::test {

// Watches for the first visible modal window of type Window while it lives; a window that never
// comes leaves nothing behind for the next test. Unlike a one-shot timer it cannot fire early,
// inside work (a progress report's event processing) that runs before the window shows.
template <typename Window>
class ModalWatch
{
public:
    explicit ModalWatch(std::function<void(Window*)> act)
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this, act = std::move(act)] {
            auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
            if (!window || !window->isVisible()) return;
            m_timer.stop();
            m_seen = true;
            act(window);
        });
        m_timer.start();
    }

    // Whether the window came and was acted on.
    bool seen() const { return m_seen; }

private:
    QTimer m_timer;
    bool m_seen = false;
};

} // namespace zorvel::test
