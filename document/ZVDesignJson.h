// The JSON form of a design, both ways, and the stream <-> JSON conversions of the tools.
#pragma once

#include "document/ZVEditorLink.h"
#include "zorvel_core_export.h"

#include <QByteArray>

namespace zorvel {

class TZVCustomLab;

// The JSON form follows the design document of the tools, with these keys added:
// - "OnlyBitmap" (top level): image records keep their picture inside the design;
// - "Picture" (image elements, only with OnlyBitmap): that picture as a BMP file image in base64;
// - "ShowMargins" (top level) and "ShowAlign" (in "BackSurf"): kept by the stream although a
//   normal load leaves the reading label's own;
// - "Editor" (top level, only when the label has an editor): the editor settings kept in the
//   stream: "Snap", "GridColor", "GridIncX", "GridIncY" (model units), "GridShow", "SelColor".
// "DataSetName" and "AliasTable.DatabaseName" share one field of the stream, which keeps the
// latter. Pictures are BMP as this library encodes them, so a stream whose pictures came from
// another encoder converts to equal pictures, not to equal bytes.

/// The design as indented UTF-8 JSON, each object's keys in stream order. A key that a design
/// visits twice (the bar code's "FontHeight") is written once.
ZORVEL_CORE_EXPORT QByteArray DesignToJson(TZVCustomLab& label);

/// Replaces the label's design by the JSON's, storing values as the stream reader stores them;
/// the background picture is loaded as that reader loads it (JsonToStream leaves it). A missing
/// key keeps the default of a new label or of a new element of that kind. Raises EZvError:
/// "INVALID JSON AT OFFSET n", "UNKNOWN KEY : Elements[3].Foo", "INVALID VALUE : X1" (a value of
/// the wrong type or out of range), "MISSING KEY : Elements[0].Kind"; the label is then left as
/// it was. A design read clears the label's undo history, as a stream load does.
ZORVEL_CORE_EXPORT void DesignFromJson(TZVCustomLab& label, const QByteArray& json);

/// Keeps the editor settings of a stream for tools that have no editor, so that a conversion
/// loses none of them. Everything else an editor does is a no-op here.
class ZORVEL_CORE_EXPORT TZVEditorSettings final : public TZVEditorLink
{
public:
    TZVSnap Snap() const override { return m_snap; }
    void SetSnap(TZVSnap snap) override { m_snap = snap; }
    int GridIncX() const override { return m_gridIncX; }
    int GridIncY() const override { return m_gridIncY; }
    TZVColor GridColor() const override { return m_gridColor; }
    bool GridShow() const override { return m_gridShow; }
    TZVColor SelColor() const override { return m_selColor; }
    void SetGridSettings(TZVColor color, int incX, int incY, bool show) override;
    void SetSelColor(TZVColor color) override { m_selColor = color; }

    int SurfaceWidth() const override { return 1; }
    int SurfaceHeight() const override { return 1; }
    void RecalcSize() override {}
    void SetContentDirty() override {}
    void SetSelectionDirty() override {}
    bool PaintEnabled() const override { return false; }
    void Refresh(bool, const QString& = {}) override {}
    void RemoveFromSelection(TZVElement*) override {}
    void ClearSelection() override {}
    void ShowGuideMarks(bool) override {}
    void SetGuideMarks(int, int) override {}
    void RefreshInspector() override {}
    void RefreshProperty(const QString&) override {}
    void UnitsChanged(TZVUnits) override {}
    void DrawSelectionFrame(bool, const TRect&, const TRect&, bool) override {}

private:
    TZVSnap m_snap = snPoint;
    int m_gridIncX = 0;
    int m_gridIncY = 0;
    TZVColor m_gridColor = 0;
    bool m_gridShow = false;
    TZVColor m_selColor = 0;
};

/// The tools' conversions. A stream is read raw (LoadFromStreamRaw) with its editor settings
/// kept and its pictures found wherever they are, so that stream -> JSON -> stream gives the
/// stream's bytes back when this library wrote it. Errors as LoadFromStream and DesignFromJson.
ZORVEL_CORE_EXPORT QByteArray StreamToJson(const QByteArray& stream);
/// The reverse of StreamToJson: the JSON form to a design stream.
ZORVEL_CORE_EXPORT QByteArray JsonToStream(const QByteArray& json);

} // namespace zorvel
