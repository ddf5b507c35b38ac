// The editor's cursor table: numbered cursors drawn by the library itself, and the draw tools' icons.
#pragma once

#include "foundation/ZVTypes.h"
#include "zorvel_widgets_export.h"

#include <QCursor>
#include <QIcon>

namespace zorvel {

/// Numbers of the editor's cursors: one per draw tool, plus the move and alignment cursors.
enum TZVCursorId : int {
    crZvDefault = 0, ///< the arrow
    crZvMoveLeft = 5,
    crZvMoveTop = 6,
    crZvMove = 7,
    crZvText = 8,
    crZvRect = 9,
    crZvSymb = 10,
    crZvLine = 11,
    crZvPara = 12,
    crZvBarc = 13,
    crZvAddt = 14,
    crZvImag = 15,
    crZvTabl = 16,
    crZvAskt = 17,
    crZvPolt = 18,
    crZvRefLine = 19,
    crZvAlignX = 20,
    crZvAlignY = 21,
    crZvLayout = 22,
    crZvPdf = 23,
    crZvQrCode = 24,
    crZvDataMatrix = 25,
};

/// The cursor of a table number; unknown numbers give the arrow. Needs a GUI application.
ZORVEL_WIDGETS_EXPORT QCursor ZvCursor(int id);

/// The cursor number the editor shows while `tool` is the draw tool.
ZORVEL_WIDGETS_EXPORT int ZvCursorOfTool(TZVDrawTool tool);

/// The bar code tool's cursor number for new bar codes of `type`: the QR Code, Data Matrix and
/// PDF417 cursors for their kinds, the bars for the others.
int ZvCursorOfBarCode(TZVBar type);

/// The glyph of `tool`'s cursor without its crosshair, for tool bars and menus (16 x 16 and
/// larger); the selection tool gets an arrow. Needs a GUI application.
ZORVEL_WIDGETS_EXPORT QIcon ZvToolIcon(TZVDrawTool tool);

} // namespace zorvel
