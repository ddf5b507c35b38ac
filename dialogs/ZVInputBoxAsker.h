// The question asker of the widgets library: one input box per question.
#pragma once

#include "document/ZVPrintRun.h"

class QWidget;

namespace zorvel {

/// Asks each question of a print run with a modal input box.
class TZVInputBoxAsker final : public TZVQuestionAsker
{
public:
    /// `parent` (may be null, not owned) parents the input boxes.
    explicit TZVInputBoxAsker(QWidget* parent = nullptr) : m_parent(parent) {}

    std::optional<QString> ask(const QString& caption, const QString& question,
                               const QString& defaultAnswer) override;

private:
    QWidget* m_parent;
};

} // namespace zorvel
