// Aliases offered to the user: named database connections, each with its tables.
#pragma once

#include <QString>

#include <vector>

namespace zorvel {

struct TZVTableItem
{
    QString TableName;
    QString Caption;

    // Setting the table name fills an empty caption.
    void SetTableName(const QString& name);
    // The table name, or the item class's name when it is empty.
    QString DisplayName() const;
};

struct TZVAliasItem
{
    QString AliasName;
    QString Caption;
    std::vector<TZVTableItem> Tables;

    // The caption, or the item class's name when it is empty.
    QString DisplayName() const;
};

using TZVAlias = std::vector<TZVAliasItem>;

// The table that older-engine access opens, as stored with a design.
struct TZVAliasTable
{
    QString DatabaseName;
    QString TableName;
    QString Filter;
};

} // namespace zorvel
