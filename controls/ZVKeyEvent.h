// The key-down hook of the edit controls and the key handling they share.
#pragma once

#include <QtCore/qnamespace.h>

#include <functional>

class QKeyEvent;
class QObject;
class QString;

namespace zorvel {

/// Key-down event raised before the control handles the key; setting Key to 0 swallows it.
using TZVKeyEvent = std::function<void(QObject* Sender, int& Key, Qt::KeyboardModifiers Shift)>;

/// Whether `text` holds a control character, which no edit control types.
bool HasControlCharacter(const QString& text);
/// Offers `event` to `handler`; true, with the event accepted, when the handler zeroed the key.
bool SwallowedByKeyDown(QObject* sender, const TZVKeyEvent& handler, QKeyEvent* event);

} // namespace zorvel
