// The 7 x 7 handle glyphs the design surface draws over the selection.
#pragma once

#include "zorvel_widgets_export.h"

#include <QImage>

namespace zorvel {

/// Glyph indices; only the first three and the grey circle are drawn by the surface, the others
/// are kept for hosts that mark data fields and line joins.
enum TZVGlyph : int {
    glRec01 = 0,    ///< square handle of a single selection
    glCir01 = 1,    ///< circular line-end handle
    glRec01Gr = 2,  ///< grey square of a group selection
    glData = 3,     ///< marks a data-bound element
    glCir01Gr = 4,  ///< grey circle of a line in a group
    glTrimLineH = 5,
    glTrimLineV = 6,
    glExtLineH = 7,
    glExtLineV = 8,
    glJoinLine = 9,
};
/// Number of glyphs, the valid indices being 0 .. kZvGlyphCount - 1.
inline constexpr int kZvGlyphCount = 10;
/// Width and height of a glyph, pixels.
inline constexpr int kZvGlyphSize = 7;

/// A 7 x 7 ARGB image with a transparent background; an out-of-range index gives a null image.
/// Needs a GUI application.
ZORVEL_WIDGETS_EXPORT const QImage& ZvMarkGlyph(int index);

} // namespace zorvel
