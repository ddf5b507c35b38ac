// Readable QString values in GoogleTest failure messages.
#pragma once

#include <QString>

#include <ostream>

// Global, beside QString, so that GoogleTest finds it by argument-dependent lookup.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
