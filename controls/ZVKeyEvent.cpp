// The key handling the edit controls share.
#include "controls/ZVKeyEvent.h"

#include <QKeyEvent>
#include <QString>

#include <algorithm>

namespace zorvel {

bool HasControlCharacter(const QString& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.category() == QChar::Other_Control; });
}

bool SwallowedByKeyDown(QObject* sender, const TZVKeyEvent& handler, QKeyEvent* event)
{
    if (!handler) return false;
    int key = event->key();
    handler(sender, key, event->modifiers());
    if (key != 0) return false;
    event->accept();
    return true;
}

} // namespace zorvel
