// Sample content of the demo database: tables, rows, pictures drawn in code and three designs.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace zorvel {

class TZVCustomLab;
class TZVDataSet;

// Quality of the sample JPEG pictures: small files that still look clean.
inline constexpr int kSampleJpegQuality = 85;

// The sample tables, in the order they are created.
QStringList SampleTableNames();

// A printer as a product photo: cabinet, paper tray with a sheet, coloured control panel, model text.
QByteArray PrinterPictureJpeg(const QString& model, const QColor& panel, int style);
// A head-and-shoulders silhouette on a coloured ground with the initials on the chest.
QByteArray EmployeePhotoJpeg(const QString& initials, const QColor& ground);
// A desktop computer: monitor, tower and keyboard (the "PC1.jpg" of the code-built design).
QByteArray ComputerPictureJpeg();

// Writes the pictures the demo ships into `folder` unless they are there; false when one could
// not be written.
bool WriteSamplePictures(const QString& folder);

// SQLite only: creates those of the sample tables that are missing and fills the ones it
// created. Runs inside the caller's transaction; raises EZvError with the driver's message.
// Returns the names of the tables it created.
QStringList CreateSampleTables(QSqlDatabase& db);

// The sample designs, bound to the data sets given (open, so fields bind by name).
void BuildPrinterLabel(TZVCustomLab& label, TZVDataSet& printers, TZVDataSet& characteristics);
void BuildEmployeeBadge(TZVCustomLab& label, TZVDataSet& employees);
// A 57 x 32 mm asset label on a roll: tag as QR Code and Code 128, and the printer's name.
void BuildAssetLabel(TZVCustomLab& label, TZVDataSet& printers);

} // namespace zorvel
