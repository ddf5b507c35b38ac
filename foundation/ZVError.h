// EZvError: the library's exception, carrying an upper-case English message.
#pragma once

#include <QString>

#include <stdexcept>

namespace zorvel {

/// The exception the library raises; what() is the UTF-8 form of the message.
class EZvError : public std::runtime_error
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

} // namespace zorvel
