// Alias and table items offered to the user.
#include "document/ZVAlias.h"

namespace zorvel {

void TZVTableItem::SetTableName(const QString& name)
{
    TableName = name;
    if (Caption.isEmpty()) Caption = name;
}

QString TZVTableItem::DisplayName() const
{
    return TableName.isEmpty() ? QStringLiteral("TZVTableItem") : TableName;
}

QString TZVAliasItem::DisplayName() const
{
    return Caption.isEmpty() ? QStringLiteral("TZVAliasItem") : Caption;
}

} // namespace zorvel
