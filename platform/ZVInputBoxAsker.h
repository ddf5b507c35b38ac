// The question asker of the widgets library: one input box per question.
#pragma once

#include "document/ZVPrintRun.h"

class QWidget;

namespace zorvel {

class TZVInputBoxAsker final : public TZVQuestionAsker
{
public:
    explicit TZVInputBoxAsker(QWidget* parent = nullptr) : m_parent(parent) {}

    std::optional<QString> ask(const QString& caption, const QString& question,
                               const QString& defaultAnswer) override;

private:
    QWidget* m_parent;
};

} // namespace zorvel
