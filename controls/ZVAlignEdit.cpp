// One-line edit box with a text alignment.
#include "controls/ZVAlignEdit.h"

namespace zorvel {

TZvAlignEdit::TZvAlignEdit(QWidget* parent) : QLineEdit(parent)
{
    setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
}

void TZvAlignEdit::SetAlignment(TAlignment value)
{
    if (value == m_alignment)
        return;
    m_alignment = value;
    const Qt::Alignment horizontal = value == taLeftJustify    ? Qt::AlignLeft
                                     : value == taRightJustify ? Qt::AlignRight
                                                               : Qt::AlignHCenter;
    setAlignment(horizontal | Qt::AlignVCenter);
}

bool TZvAlignEdit::Assign(const QObject* source)
{
    const auto* other = qobject_cast<const TZvAlignEdit*>(source);
    if (!other)
        return false;
    SetAlignment(other->Alignment());
    return true;
}

} // namespace zorvel
