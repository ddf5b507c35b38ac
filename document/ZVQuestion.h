// What the print run needs of an element that asks the user for its text before printing.
#pragma once

#include "zorvel_core_export.h"

#include <QString>

namespace zorvel {

/// A question element: its ID and question are shown before a run, the answer is what it prints.
class ZORVEL_CORE_EXPORT TZVQuestion
{
public:
    /// The question shown to the user.
    virtual const QString& Question() const = 0;
    /// The answer printed.
    virtual const QString& Answer() const = 0;
    /// Takes the user's answer for the run; the editor is not told.
    virtual void SetAnswer(const QString& value) = 0;

protected:
    ~TZVQuestion() = default;
};

} // namespace zorvel
