// The user's settings file of printers (Zorvel/printers.conf), shared by every program of the library.
#pragma once

#include <QSettings>
#include <QString>

#include <memory>

namespace zorvel {

/// One file for every program of the library (the designer, the command line, a host application),
/// so a printer set up in one prints the same in all.
std::unique_ptr<QSettings> PrinterSettingsFile();

/// The group of `section` for `printer`: queue names may hold characters QSettings reads as group
/// separators, so the name is percent-encoded.
QString PrinterSettingsGroup(const QString& section, const QString& printer);

} // namespace zorvel
