// One input box per question, captioned with the label's answer prompt.
#include "dialogs/ZVInputBoxAsker.h"

#include <QInputDialog>
#include <QLineEdit>

namespace zorvel {

std::optional<QString> TZVInputBoxAsker::ask(const QString& caption, const QString& question,
                                             const QString& defaultAnswer)
{
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent, caption, question, QLineEdit::Normal, defaultAnswer, &ok);
    if (!ok) return std::nullopt;
    return text;
}

} // namespace zorvel
