// The element base classes: defaults, the change protocol, editor placement and the persisted fields.
#include "document/ZVElement.h"

#include "document/ZVCustomLab.h"
#include "document/ZVEditorLink.h"
#include "document/ZVFieldVisitor.h"
#include "document/ZVLegacyLength.h"
#include "foundation/ZVUtils.h"

#include <algorithm>

namespace zorvel {

namespace {

bool contains(const TRect& r, TPoint p)
{
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

int snapTo(int value, int step)
{
    if (step <= 0) return value;
    return static_cast<int>(RoundHalfUp(double(value) / step) * step);
}

// Moves the pair so that the first lies at 0 or the second at `limit`, keeping their distance.
void keepPairInside(int& first, int& second, int limit)
{
    if (first < 0) {
        second -= first;
        first = 0;
    } else if (second > limit) {
        first -= second - limit;
        second = limit;
    }
}

} // namespace

// ---- TZVElement ----

TZVElement::TZVElement(TZVCustomLab& owner, std::uint8_t handleKind)
    : m_owner(&owner), m_handleKind(handleKind)
{
}

TZVElement::~TZVElement()
{
    if (m_owner) m_owner->takeOffList(this);
}

void TZVElement::NameElement(const QString& stem)
{
    // An element made by the stream reader takes the name it reads next; naming it first
    // would make reading a design quadratic in its element count.
    if (m_owner->Loading())
        return;
    m_id = m_owner->NewId(stem, ElementKind());
}

int TZVElement::ToModel(float value) const
{
    return m_owner->ToModel(value);
}

float TZVElement::FromModel(int value) const
{
    return m_owner->FromModel(value);
}

int TZVElement::LabelWidth() const
{
    return m_owner->Measure().Width();
}

int TZVElement::LabelHeight() const
{
    return m_owner->Measure().Height();
}

float TZVElement::GetX1() const
{
    return FromModel(m_x1);
}
float TZVElement::GetY1() const
{
    return FromModel(m_y1);
}
float TZVElement::GetX2() const
{
    return FromModel(m_x2);
}
float TZVElement::GetY2() const
{
    return FromModel(m_y2);
}
float TZVElement::GetPenWidth() const
{
    return FromModel(m_penWidth);
}
float TZVElement::GetPaddingX() const
{
    return FromModel(m_paddingX);
}
float TZVElement::GetPaddingY() const
{
    return FromModel(m_paddingY);
}
float TZVElement::GetBorderRadio() const
{
    return FromModel(m_borderRadio);
}

void TZVElement::Notify(const char* name, bool coordinates)
{
    const bool selected = IsSelected();
    int kind = selected ? ckSelection : ckContent;
    if (coordinates) kind = selected ? ckSelectionCoordinates : ckContentCoordinates;
    m_owner->NotifyChange(kind, 0, QString::fromLatin1(name));
}

void TZVElement::SetModified()
{
    m_owner->SetModified(true);
}

void TZVElement::Changed(const char* name, bool coordinates)
{
    Notify(name, coordinates);
    SetModified();
}

// Coordinates and the pen notify even when unchanged: the editor uses the call to redraw handles.
void TZVElement::SetX1(float value)
{
    m_x1 = ToModel(value);
    Changed("X1", true);
}

void TZVElement::SetY1(float value)
{
    m_y1 = ToModel(value);
    Changed("Y1", true);
}

void TZVElement::SetX2(float value)
{
    m_x2 = ToModel(value);
    Changed("X2", true);
}

void TZVElement::SetY2(float value)
{
    m_y2 = ToModel(value);
    Changed("Y2", true);
}

void TZVElement::SetPenWidth(float value)
{
    m_penWidth = ToModel(value);
    Changed("PenWidth");
}

// Border geometry is invisible without a border, so only the modified flag records the change.
void TZVElement::SetPaddingX(float value)
{
    m_paddingX = std::max(0, ToModel(value));
    if (m_showBorder) Notify("PaddingX");
    SetModified();
}

void TZVElement::SetPaddingY(float value)
{
    m_paddingY = std::max(0, ToModel(value));
    if (m_showBorder) Notify("PaddingY");
    SetModified();
}

void TZVElement::SetBorderRadio(float value)
{
    m_borderRadio = ToModel(value);
    if (m_showBorder) Notify("BorderRadio");
    SetModified();
}

void TZVElement::Normalize()
{
    if (m_x2 < m_x1) std::swap(m_x1, m_x2);
    if (m_y2 < m_y1) std::swap(m_y1, m_y2);
}

int TZVElement::SnapX(int x) const
{
    const TZVEditorLink* editor = m_owner->Editor();
    if (!editor || editor->Snap() != snGrid) return x;
    return snapTo(x, editor->GridIncX());
}

int TZVElement::SnapY(int y) const
{
    const TZVEditorLink* editor = m_owner->Editor();
    if (!editor || editor->Snap() != snGrid) return y;
    return snapTo(y, editor->GridIncY());
}

int TZVElement::DeviceToModelX(int x) const
{
    const TZVEditorLink* editor = m_owner->Editor();
    return editor ? MulDiv(x, LabelWidth(), editor->SurfaceWidth()) : x;
}

int TZVElement::DeviceToModelY(int y) const
{
    const TZVEditorLink* editor = m_owner->Editor();
    return editor ? MulDiv(y, LabelHeight(), editor->SurfaceHeight()) : y;
}

int TZVElement::ModelToDeviceX(int x) const
{
    const TZVEditorLink* editor = m_owner->Editor();
    return editor ? MulDiv(x, editor->SurfaceWidth(), LabelWidth()) : x;
}

int TZVElement::ModelToDeviceY(int y) const
{
    const TZVEditorLink* editor = m_owner->Editor();
    return editor ? MulDiv(y, editor->SurfaceHeight(), LabelHeight()) : y;
}

void TZVElement::SetScreenRect(const TRect& value)
{
    if (!StoreIfChanged(m_screenRect, value)) return;
    ScreenToModel();
    ClearAnchoring();
    SetModified();
}

void TZVElement::ScreenToModel()
{
    const TZVEditorLink* editor = m_owner->Editor();
    if (!editor) return;
    const int width = editor->SurfaceWidth();
    const int height = editor->SurfaceHeight();
    m_x1 = SnapX(DeviceToModelX(Clamp(m_screenRect.Left, 0, width)));
    m_y1 = SnapY(DeviceToModelY(Clamp(m_screenRect.Top, 0, height)));
    m_x2 = SnapX(DeviceToModelX(Clamp(m_screenRect.Right, 0, width)));
    m_y2 = SnapY(DeviceToModelY(Clamp(m_screenRect.Bottom, 0, height)));
}

void TZVElement::SetStartPoint(int x, int y)
{
    m_x1 = Clamp(SnapX(x), 0, LabelWidth());
    m_y1 = Clamp(SnapY(y), 0, LabelHeight());
    SetModified();
}

void TZVElement::SetEndPoint(int x, int y)
{
    m_x2 = Clamp(SnapX(x), 0, LabelWidth());
    m_y2 = Clamp(SnapY(y), 0, LabelHeight());
    SetModified();
}

void TZVElement::PlaceAnchor(int L, int T, int R, int B)
{
    m_x1 = L;
    m_y1 = T;
    m_x2 = R;
    m_y2 = B;
}

void TZVElement::PlaceCornerByAngle(int L, int T, int R, int B)
{
    switch (m_angle) {
    case 90:
        m_x1 = L;
        m_y1 = B;
        break;
    case 180:
        m_x1 = R;
        m_y1 = B;
        break;
    case 270:
        m_x1 = R;
        m_y1 = T;
        break;
    default:
        m_x1 = L;
        m_y1 = T;
        break;
    }
}

void TZVElement::PlaceFromScreenRect(TRect rect, bool keepInside, bool snap)
{
    const TZVEditorLink* editor = m_owner->Editor();
    if (!editor) return;
    if (keepInside) {
        // Shifting only, so a box dragged partly out lands flush with the edge at its own size.
        keepPairInside(rect.Left, rect.Right, editor->SurfaceWidth());
        keepPairInside(rect.Top, rect.Bottom, editor->SurfaceHeight());
    }
    PlaceAnchor(DeviceToModelX(rect.Left), DeviceToModelY(rect.Top), DeviceToModelX(rect.Right),
                DeviceToModelY(rect.Bottom));
    if (snap) {
        m_x1 = SnapX(m_x1);
        m_x2 = SnapX(m_x2);
        m_y1 = SnapY(m_y1);
        m_y2 = SnapY(m_y2);
    }
    ClearAnchoring();
    AfterPlacement();
    SetModified();
}

void TZVElement::MoveByStep(int dx, int dy)
{
    if (dx != 0) {
        m_x1 = SnapX(m_x1 + dx);
        m_x2 = SnapX(m_x2 + dx);
        keepPairInside(m_x1, m_x2, LabelWidth());
        ClearAnchoring();
    }
    if (dy != 0) {
        m_y1 = SnapY(m_y1 + dy);
        m_y2 = SnapY(m_y2 + dy);
        keepPairInside(m_y1, m_y2, LabelHeight());
        ClearAnchoring();
    }
    AfterPlacement();
    SetModified();
}

void TZVElement::MoveByFloat(float dx, float dy)
{
    MoveBy(ToModel(dx), ToModel(dy));
}

void TZVElement::MoveBy(int dx, int dy)
{
    m_x1 += dx;
    m_x2 += dx;
    m_y1 += dy;
    m_y2 += dy;
    SetModified();
}

void TZVElement::AlignToEdge(int edge, int target, bool refresh)
{
    if (edge < 0 || edge > 7) return;
    const int side = edge % 4; // left, top, right, bottom
    const bool horizontal = side % 2 == 0;
    const TZVBackSurf& back = m_owner->BackSurf();
    const int line = edge < 4 ? (horizontal ? back.GuideX() : back.GuideY()) : target;
    const int edges[] = {m_modelRect.Left, m_modelRect.Top, m_modelRect.Right, m_modelRect.Bottom};
    const int shift = line - edges[side];
    TRect r = m_modelRect;
    if (horizontal) {
        r.Left += shift;
        r.Right += shift;
    } else {
        r.Top += shift;
        r.Bottom += shift;
    }
    PlaceAnchor(r.Left, r.Top, r.Right, r.Bottom);
    m_modelRect = r;
    if (shift < 0) ClearAnchoring();
    AfterPlacement();
    SetModified();
    TZVEditorLink* editor = m_owner->Editor();
    if (refresh && editor) {
        editor->SetSelectionDirty();
        if (editor->PaintEnabled()) editor->Refresh(true);
    }
}

bool TZVElement::HitTest(TPoint point) const
{
    if (m_locked) {
        const TRect marker{m_screenRect.Left, m_screenRect.Top, m_screenRect.Left + kLockMarkerPixels,
                           m_screenRect.Top + kLockMarkerPixels};
        return contains(marker, point);
    }
    return contains(m_screenRect, point);
}

void TZVElement::VisitFields(TZVFieldVisitor& visitor)
{
    const std::int32_t version = visitor.Version();
    visitor.Color("Color", m_color);
    visitor.Color("BackColor", m_backColor);
    visitor.Color("BorderColor", m_borderColor);
    visitor.U8("Reserved", m_reserved);
    visitor.Bool("ShowBorder", m_showBorder);
    visitor.Bool("Transparent", m_transparent);
    visitor.Bool("Print", m_print);
    visitor.I32("PenWidth", m_penWidth);
    visitor.I32("X1", m_x1);
    visitor.I32("Y1", m_y1);
    visitor.I32("X2", m_x2);
    visitor.I32("Y2", m_y2);
    visitor.I32("Angle", m_angle);
    visitor.I32("Separation", m_separation);
    if (version > 19) {
        visitor.I32("AnchorMargin", m_anchorMargin);
        visitor.U8("AnchorPos", m_anchorPos);
    }
    if (version > 2299) {
        visitor.I32("PaddingX", m_paddingX);
        visitor.I32("PaddingY", m_paddingY);
        visitor.I32("BorderRadio", m_borderRadio);
    }
    visitor.AStr("ID", m_id);
    // Layouts before 20 counted lengths in tenths of a millimetre.
    if (visitor.Reading() && version < 20) {
        for (int* length : {&m_penWidth, &m_x1, &m_y1, &m_x2, &m_y2, &m_separation})
            ScaleLegacyLength(*length);
    }
}

// ---- TZVBase1D ----

TZVBase1D::TZVBase1D(TZVCustomLab& owner, std::uint8_t handleKind) : TZVElement(owner, handleKind)
{
    owner.AddElement(this, false);
}

// ---- TZVData ----

QString TZVData::FieldName() const
{
    if (!m_data || m_boundField.isEmpty()) return {};
    return m_owner->LabelOfFieldName(m_boundField);
}

// A name the label cannot resolve now (no data access, a closed data set, no such label) is kept
// as given: the bound-field check resolves or refuses it when the data opens.
void TZVData::SetFieldName(const QString& value)
{
    if (value.isEmpty()) return;
    const QString field = m_owner->FieldNameOfLabel(value);
    m_boundField = field.isEmpty() ? value : field;
    Changed("FieldName");
}

float TZVData::GetFontHeight() const
{
    return FromModel(m_fontHeight);
}

void TZVData::SetFontHeight(float value)
{
    m_fontHeight = ToModel(value);
    Changed("FontHeight");
}

void TZVData::VisitFields(TZVFieldVisitor& visitor)
{
    TZVBaseEx1D::VisitFields(visitor);
    const std::int32_t version = visitor.Version();
    visitor.AStr("FontName", m_fontName);
    visitor.AStr("BoundField", m_boundField);
    visitor.I32("FontHeight", m_fontHeight);
    visitor.Bool("Data", m_data);
    if (version > 18) visitor.U8("DataReserved", m_dataReserved);
    if (visitor.Reading()) {
        if (version < 20) ScaleLegacyLength(m_fontHeight);
        // A design read as a template keeps its layout but not its data binding.
        if (m_owner->LoadMode() == 3) m_data = false;
    }
}

} // namespace zorvel
