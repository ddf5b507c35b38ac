// EZvError: the library's exception, carrying an upper-case English message.
#pragma once

#include "zorvel_core_export.h"

#include <QString>

#include <stdexcept>

namespace zorvel {

/// The exception the library raises; what() is the UTF-8 form of the message.
class ZORVEL_CORE_EXPORT EZvError : public std::runtime_error
{
public:
    /// `message` is the exact upper-case text callers and tests compare.
    explicit EZvError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }

    /// The message as given.
    const QString& message() const noexcept { return m_message; }

private:
    QString m_message;
};

/// Message texts of failures shared by several readers.
inline constexpr const char* kErrorReadingFile = "ERROR READING FILE";

/// Characters of a value that a message quotes before it is cut.
inline constexpr qsizetype kMessageQuoteLength = 60;

/// `text` as a message quotes it: longer values (a bar code's content can run to megabytes) are
/// cut with an ellipsis, so that the message stays one readable line.
inline QString MessageQuote(const QString& text)
{
    if (text.size() <= kMessageQuoteLength) return text;
    qsizetype cut = kMessageQuoteLength;
    // Half a surrogate pair is no character.
    if (text[cut - 1].isHighSurrogate()) --cut;
    return text.left(cut) + QChar(0x2026);
}

} // namespace zorvel
