// Pictures of image elements and backgrounds: loading from bytes and from files.
#pragma once

#include "foundation/ZVPictureFormat.h"
#include "zorvel_core_export.h"

#include <QByteArrayView>
#include <QImage>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace zorvel {

/// The largest picture file read: the largest bitmap at 32 bits a pixel, plus 1 MB of headers.
inline constexpr std::int64_t kMaxPictureFileBytes = kMaxPicturePixels * 4 + (1 << 20);

/// Decodes the drawable formats recognised from the first bytes: BMP, JPEG (libjpeg) and icons.
/// Metafiles are recognised but cannot be rendered here, so they fail like the undrawable ones.
/// Raises EZvError "INVALID IMAGE : UNKNOWN FORMAT", "INVALID IMAGE : UNSUPPORTED FORMAT",
/// "INVALID IMAGE : DAMAGED ICON", or a decoder's own "INVALID IMAGE : ..." message.
ZORVEL_CORE_EXPORT QImage LoadPicture(QByteArrayView data);

/// Loads a picture file whose extension names a drawable format (.bmp .dib .jpg .jpeg .jpe .ico,
/// and .wmf .emf, which then fail); the content decides how it is decoded. Any failure, a missing
/// file included, raises EZvError "INVALID IMAGE : " followed by `path` as given.
ZORVEL_CORE_EXPORT QImage LoadPictureFile(const QString& path);

/// `path` with every '\' read as a separator, as designs made on another platform write them.
/// A relative path that names no file from the working folder is looked up from each picture
/// base folder in turn, and the first that names a file is returned.
ZORVEL_CORE_EXPORT QString LocalPicturePath(const QString& path);
/// Folders that stand in for the working folder the designs were made in, so that a path like
/// "..\DEMOS\DATA\PC1.jpg" finds its picture without changing the process's working folder.
/// Set them at start-up, on the thread that loads pictures.
ZORVEL_CORE_EXPORT void SetPictureBaseFolders(const QStringList& folders);
/// The folders set by SetPictureBaseFolders.
ZORVEL_CORE_EXPORT QStringList PictureBaseFolders();
/// True when the path (see LocalPicturePath) has the extension of a picture file LoadPictureFile takes.
bool IsPictureFileName(const QString& path);

/// `image` as it looks on white paper, in `format` (one without alpha).
QImage OpaqueImage(const QImage& image, QImage::Format format);

} // namespace zorvel
