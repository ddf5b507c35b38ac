// Aliases offered to the user: named database connections, each with its tables.
#pragma once

#include "zorvel_core_export.h"

#include <QString>

#include <vector>

namespace zorvel {

/// A table of an alias as the data dialogs list it.
struct ZORVEL_CORE_EXPORT TZVTableItem
{
    QString TableName; ///< table name in the database
    QString Caption; ///< name shown to the user

    /// Setting the table name fills an empty caption.
    void SetTableName(const QString& name);
    /// The table name, or the item class's name when it is empty.
    QString DisplayName() const;
};

/// A named database connection as the data dialogs list it, with its tables.
struct ZORVEL_CORE_EXPORT TZVAliasItem
{
    QString AliasName; ///< connection alias (see TZVConnections)
    QString Caption; ///< name shown to the user
    std::vector<TZVTableItem> Tables; ///< tables offered under the alias

    /// The caption, or the item class's name when it is empty.
    QString DisplayName() const;
};

/// The aliases offered to the user.
using TZVAlias = std::vector<TZVAliasItem>;

/// The table that older-engine access opens, as stored with a design.
struct TZVAliasTable
{
    QString DatabaseName; ///< connection alias
    QString TableName; ///< table opened
    QString Filter; ///< filter text applied to it
};

} // namespace zorvel
