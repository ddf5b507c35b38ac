// The temporary folder a part of a job split among threads writes its file in.
#pragma once

#include "foundation/ZVError.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace zorvel {

/// A new temporary folder for one part's file, removed with the folder object; raises
/// "CAN'T WRITE FILE" with the reason when none can be made.
inline std::unique_ptr<QTemporaryDir> NewPartFolder()
{
    auto folder = std::make_unique<QTemporaryDir>();
    if (!folder->isValid()) throw EZvError(QStringLiteral("CAN'T WRITE FILE : ") + folder->errorString());
    return folder;
}

} // namespace zorvel
