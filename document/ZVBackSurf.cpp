// Background and frame settings: setters, style fallbacks, the background picture and the guides.
#include "document/ZVBackSurf.h"

#include "document/ZVCustomLab.h"
#include "document/ZVEditorLink.h"
#include "document/ZVFieldVisitor.h"
#include "foundation/ZVError.h"
#include "platform/ZVPicture.h"

#include <QFileInfo>

#include <algorithm>

namespace zorvel {

TZVBackSurf::TZVBackSurf(TZVCustomLab& owner) : m_owner(owner) {}

void TZVBackSurf::SetColor(TZVColor value)
{
    if (value == m_color) return;
    m_color = value;
    m_owner.NotifyChange(ckBackground, 0, QStringLiteral("Color"));
    m_owner.SetModified(true);
}

void TZVBackSurf::SetToColor(TZVColor value)
{
    if (value == m_toColor) return;
    m_toColor = value;
    m_owner.NotifyChange(ckBackground, 0, QStringLiteral("ToColor"));
    m_owner.SetModified(true);
}

void TZVBackSurf::SetStyle(TZVBackStyle value)
{
    if (value == m_style) return;
    m_style = value;
    if (m_owner.Loading()) return;
    const bool circle = m_owner.Measure().LabelType() == ltCircle;
    const bool fitsShape =
        circle ? m_style != biGradHor && m_style != biGradVer
               : m_style != biGraCircle && m_style != biHalf1 && m_style != biHalf2 && m_style != biQuarter;
    if ((m_style == biImage && m_fileImage.isEmpty()) || !fitsShape) m_style = biNone;
    m_owner.NotifyChange(ckBackground, 0, QStringLiteral("Style"));
    m_owner.SetModified(true);
}

void TZVBackSurf::SetFileImage(const QString& value)
{
    if (value == m_fileImage) return;
    loadPicture(value);
}

void TZVBackSurf::LoadPicture()
{
    loadPicture(QString(m_fileImage));
}

void TZVBackSurf::loadPicture(const QString& value)
{
    m_fileImage = value;
    m_picture = QImage();
    QString failure;
    if (!value.isEmpty()) {
        if (QFileInfo::exists(LocalPicturePath(value))) {
            try {
                m_picture = LoadPictureFile(value);
            } catch (const EZvError&) {
                failure = QString::fromLatin1(kInvalidImage) + value;
            }
        } else {
            m_fileImage.clear();
        }
    }
    // A design being read keeps the name of a picture it cannot show (the design stays whole and
    // is saved as it came); a picture chosen by hand that cannot be read is refused.
    const bool reading = m_owner.Loading();
    if (!failure.isEmpty() && !reading) m_fileImage.clear();
    // The background changed either way; the failure is reported once the state is consistent.
    m_backDirty = true;
    m_owner.NotifyChange(ckBackground, 0, QStringLiteral("FileImage"));
    m_owner.SetModified(true);
    if (failure.isEmpty()) return;
    if (!reading) throw EZvError(failure);
    fire(m_owner.OnMessage, &m_owner, failure);
}

void TZVBackSurf::SetShowAlign(bool value)
{
    if (value == m_showAlign) return;
    m_showAlign = value;
    if (m_owner.Loading()) return;
    if (TZVEditorLink* editor = m_owner.Editor()) editor->ShowGuideMarks(value);
    m_owner.NotifyChange(ckContent, 0, QStringLiteral("ShowAlign"));
    m_owner.SetModified(true);
}

void TZVBackSurf::SetAlignColor(TZVColor value)
{
    if (value == m_alignColor) return;
    m_alignColor = value;
    if (m_showAlign) m_owner.NotifyChange(ckContent, 0, QStringLiteral("AlignColor"));
    m_owner.SetModified(true);
}

void TZVBackSurf::SetPrint(bool value)
{
    if (value == m_print) return;
    m_print = value;
    m_owner.SetModified(true);
}

float TZVBackSurf::GetGuideX() const
{
    return m_owner.FromModel(m_guideX);
}
float TZVBackSurf::GetGuideY() const
{
    return m_owner.FromModel(m_guideY);
}

void TZVBackSurf::guideMoved(const char* name)
{
    TZVEditorLink* editor = m_owner.Editor();
    if (editor && !m_owner.Loading()) {
        if (m_guidesInSelection) {
            editor->SetSelectionDirty();
        } else {
            editor->SetContentDirty();
            editor->SetGuideMarks(m_guideX, m_guideY);
        }
        if (editor->PaintEnabled()) editor->Refresh(true, QString::fromLatin1(name));
    }
    // Guides are kept in the design, so moving one is a change to save.
    m_owner.SetModified(true);
}

void TZVBackSurf::SetGuideX(float value)
{
    const int guide = std::clamp(m_owner.ToModel(value), 0, m_owner.Measure().Width());
    if (guide == m_guideX) return;
    m_guideX = guide;
    guideMoved("GuideX");
}

void TZVBackSurf::SetGuideY(float value)
{
    const int guide = std::clamp(m_owner.ToModel(value), 0, m_owner.Measure().Height());
    if (guide == m_guideY) return;
    m_guideY = guide;
    guideMoved("GuideY");
}

void TZVBackSurf::SetGuidesDragging(int mode)
{
    TZVEditorLink* editor = m_owner.Editor();
    if (!editor || m_owner.Loading()) return;
    m_guidesInSelection = mode != 1;
    editor->SetContentDirty();
    editor->SetSelectionDirty();
    if (editor->PaintEnabled()) editor->Refresh(false);
}

void TZVBackSurf::Assign(const TZVBackSurf& other)
{
    m_showAlign = other.m_showAlign;
    m_alignColor = other.m_alignColor;
    m_print = other.m_print;
    m_color = other.m_color;
    m_toColor = other.m_toColor;
    m_style = other.m_style;
    m_fileImage = other.m_fileImage;
    m_picture = other.m_picture;
    m_guideX = other.m_guideX;
    m_guideY = other.m_guideY;
    m_backDirty = true;
}

void TZVBackSurf::VisitFields(TZVFieldVisitor& visitor, bool& showAlign)
{
    visitor.Color("Color", m_color);
    visitor.Color("ToColor", m_toColor);
    visitor.Color("AlignColor", m_alignColor);
    visitor.Enum("Style", m_style);
    visitor.I32("GuideX", m_guideX);
    visitor.I32("GuideY", m_guideY);
    visitor.Bool("ShowAlign", showAlign);
    visitor.Bool("Print", m_print);
}

TZVFrame::TZVFrame(TZVCustomLab& owner) : m_owner(owner) {}

float TZVFrame::GetDist1() const
{
    return m_owner.FromModel(m_dist1);
}
float TZVFrame::GetDist2() const
{
    return m_owner.FromModel(m_dist2);
}
float TZVFrame::GetPenWidth() const
{
    return m_owner.FromModel(m_penWidth);
}
float TZVFrame::GetRadio() const
{
    return m_owner.FromModel(m_radio);
}

void TZVFrame::changed(const char* name)
{
    m_owner.NotifyChange(ckContent, 0, QString::fromLatin1(name));
    m_owner.SetModified(true);
}

void TZVFrame::SetStyle(TZVFrameStyle value)
{
    if (value == m_style) return;
    m_style = value;
    changed("Style");
}

void TZVFrame::SetColor(TZVColor value)
{
    if (value == m_color) return;
    m_color = value;
    changed("Color");
}

void TZVFrame::SetDist1(float value)
{
    m_dist1 = m_owner.ToModel(value);
    changed("Dist1");
}

void TZVFrame::SetDist2(float value)
{
    m_dist2 = m_owner.ToModel(value);
    changed("Dist2");
}

void TZVFrame::SetPenWidth(float value)
{
    m_penWidth = m_owner.ToModel(value);
    changed("PenWidth");
}

void TZVFrame::SetRadio(float value)
{
    m_radio = m_owner.ToModel(value);
    changed("Radio");
}

void TZVFrame::Assign(const TZVFrame& other)
{
    m_style = other.m_style;
    m_dist1 = other.m_dist1;
    m_dist2 = other.m_dist2;
    m_penWidth = other.m_penWidth;
    m_radio = other.m_radio;
    m_color = other.m_color;
}

void TZVFrame::VisitFields(TZVFieldVisitor& visitor)
{
    visitor.Color("Color", m_color);
    visitor.I32("Dist1", m_dist1);
    visitor.I32("Dist2", m_dist2);
    visitor.I32("Radio", m_radio);
    visitor.Enum("Style", m_style);
    visitor.I32("PenWidth", m_penWidth);
}

} // namespace zorvel
