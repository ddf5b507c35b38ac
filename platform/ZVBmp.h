// BMP, the bitmap stream format (file header, information header, pixels): in byte arrays and
// in the middle of label streams.
#pragma once

#include "zorvel_core_export.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

namespace zorvel {

class TZVMemoryStream;

/// Decodes a whole BMP file image; the headers are checked before any pixel is allocated.
/// Raises EZvError "INVALID IMAGE : NOT A BITMAP", "INVALID IMAGE : DAMAGED BITMAP" (headers that
/// contradict each other or the data) or "INVALID IMAGE : IMAGE TOO LARGE".
ZORVEL_CORE_EXPORT QImage DecodeBmp(QByteArrayView data);

/// Always a 24-bit BMP; transparent parts come out as white paper. A null image raises
/// EZvError "INVALID IMAGE : EMPTY IMAGE".
ZORVEL_CORE_EXPORT QByteArray EncodeBmp(const QImage& image);

/// Reads the bitmap starting at the stream's position, whose length is the file header's size
/// field. When that header is missing, is no BMP header, or claims more than remains, the bitmap
/// cannot be delimited: EZvError "ERROR READING FILE" and the position stays. Otherwise the
/// position moves right past the bitmap before it is decoded, so that a reader can carry on
/// after a damaged picture (EZvError "INVALID IMAGE : ..." as from DecodeBmp).
ZORVEL_CORE_EXPORT QImage ReadBmpFromStream(TZVMemoryStream& stream);
/// The same delimiting without decoding, for bitmaps that are read and discarded.
ZORVEL_CORE_EXPORT void SkipBmpInStream(TZVMemoryStream& stream);

/// Writes EncodeBmp's bytes at the stream's position; ReadBmpFromStream reads them back.
ZORVEL_CORE_EXPORT void WriteBmpToStream(const QImage& image, TZVMemoryStream& stream);

} // namespace zorvel
