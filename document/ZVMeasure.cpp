// Label and sheet geometry with the limits its setters apply.
#include "document/ZVMeasure.h"

#include "document/ZVCustomLab.h"
#include "document/ZVEditorLink.h"
#include "document/ZVFieldVisitor.h"
#include "document/ZVStreamVisitors.h"
#include "foundation/ZVUtils.h"

#include <algorithm>

namespace zorvel {
namespace {

// The smallest label side and paper side: 5 mm.
constexpr int kMinLength = 500;

} // namespace

TZVMeasure::TZVMeasure(TZVCustomLab& owner) : m_owner(owner) {}

float TZVMeasure::GetWidth() const
{
    return m_owner.FromModel(m_width);
}
float TZVMeasure::GetHeight() const
{
    return m_owner.FromModel(m_height);
}
float TZVMeasure::GetInnerCircle() const
{
    return m_owner.FromModel(m_innerCircle);
}
float TZVMeasure::GetMarLeft() const
{
    return m_owner.FromModel(m_marLeft);
}
float TZVMeasure::GetMarTop() const
{
    return m_owner.FromModel(m_marTop);
}
float TZVMeasure::GetDiHor() const
{
    return m_owner.FromModel(m_diHor);
}
float TZVMeasure::GetDiVer() const
{
    return m_owner.FromModel(m_diVer);
}
float TZVMeasure::GetPaperWidth() const
{
    return m_owner.FromModel(m_paperWidth);
}
float TZVMeasure::GetPaperHeight() const
{
    return m_owner.FromModel(m_paperHeight);
}

void TZVMeasure::SetNuHor(int value)
{
    m_nuHor = std::max(value, 1);
    // The first row of a print run must stay on the sheet, or the first page prints empty.
    TZVPrintInfo& info = m_owner.PrintInfo();
    info.SetFirstRow(info.FirstRow());
    m_owner.SetModified(true);
}

void TZVMeasure::SetNuVer(int value)
{
    m_nuVer = std::max(value, 1);
    TZVPrintInfo& info = m_owner.PrintInfo();
    info.SetFirstCol(info.FirstCol());
    m_owner.SetModified(true);
}

void TZVMeasure::sizeChanged(int kind, const char* name)
{
    if (TZVEditorLink* editor = m_owner.Editor()) editor->RecalcSize();
    m_owner.NotifyChange(kind, 0, QString::fromLatin1(name));
    m_owner.SetModified(true);
}

void TZVMeasure::SetWidth(float value)
{
    m_width = std::max(m_owner.ToModel(value), kMinLength);
    if (m_labelType == ltCircle) m_height = m_width;
    sizeChanged(ckAll, "Width");
}

void TZVMeasure::SetHeight(float value)
{
    m_height = std::max(m_owner.ToModel(value), kMinLength);
    if (m_labelType == ltCircle) m_width = m_height;
    sizeChanged(ckAll, "Height");
}

void TZVMeasure::SetInnerCircle(float value)
{
    m_innerCircle = std::clamp(m_owner.ToModel(value), 0, m_width);
    if (m_labelType == ltCircle) m_owner.NotifyChange(ckBackground, 0, QStringLiteral("InnerCircle"));
    m_owner.SetModified(true);
}

void TZVMeasure::setMargin(int& field, std::optional<float>& raw, float value)
{
    if (m_owner.Loading()) {
        raw = value;
        return;
    }
    field = std::max(m_owner.ToModel(value), 0);
    m_owner.SetModified(true);
}

void TZVMeasure::SetMarLeft(float value)
{
    setMargin(m_marLeft, m_rawMarLeft, value);
}
void TZVMeasure::SetMarTop(float value)
{
    setMargin(m_marTop, m_rawMarTop, value);
}
void TZVMeasure::SetDiHor(float value)
{
    setMargin(m_diHor, m_rawDiHor, value);
}
void TZVMeasure::SetDiVer(float value)
{
    setMargin(m_diVer, m_rawDiVer, value);
}

void TZVMeasure::SetPaperWidth(float value)
{
    m_paperWidth = std::max(m_owner.ToModel(value), kMinLength);
    m_owner.SetModified(true);
}

void TZVMeasure::SetPaperHeight(float value)
{
    m_paperHeight = std::max(m_owner.ToModel(value), kMinLength);
    m_owner.SetModified(true);
}

void TZVMeasure::SetPaperName(const QString& value)
{
    if (value == m_paperName) return;
    m_paperName = value;
    m_owner.SetModified(true);
}

void TZVMeasure::SetLabelName(const QString& value)
{
    if (value == m_labelName) return;
    m_labelName = value;
    m_owner.SetModified(true);
}

void TZVMeasure::SetLabelType(TZorvelType value)
{
    if (value == m_labelType) return;
    m_labelType = value;
    TZVBackSurf& back = m_owner.BackSurf();
    const TZVBackStyle style = back.Style();
    if (value == ltCircle) {
        m_height = m_width;
        if (style == biGradHor || style == biGradVer) back.SetStyle(biNone);
    } else {
        m_innerCircle = 0;
        if (style == biGraCircle || style == biHalf1 || style == biHalf2 || style == biQuarter)
            back.SetStyle(biNone);
    }
    sizeChanged(ckBackground, "LabelType");
}

void TZVMeasure::SetAutoLength(bool value)
{
    if (value == m_autoLength) return;
    m_autoLength = value;
    m_owner.NotifyChange(ckAll, 0, QStringLiteral("AutoLength"));
    m_owner.SetModified(true);
}

void TZVMeasure::SetPaper(float widthMm, float heightMm, int paperCode)
{
    m_paperWidth = zorvel::ToModel(widthMm, unMM);
    m_paperHeight = zorvel::ToModel(heightMm, unMM);
    m_owner.PrintInfo().PaperCode = static_cast<std::int16_t>(paperCode);
    m_owner.SetModified(true);
}

void TZVMeasure::Assign(const TZVMeasure& other)
{
    m_nuHor = other.m_nuHor;
    m_nuVer = other.m_nuVer;
    m_width = other.m_width;
    m_height = other.m_height;
    m_innerCircle = other.m_innerCircle;
    m_marLeft = other.m_marLeft;
    m_marTop = other.m_marTop;
    m_diHor = other.m_diHor;
    m_diVer = other.m_diVer;
    m_paperWidth = other.m_paperWidth;
    m_paperHeight = other.m_paperHeight;
    m_paperName = other.m_paperName;
    m_labelName = other.m_labelName;
    m_labelType = other.m_labelType;
    m_autoLength = other.m_autoLength;
}

void TZVMeasure::ApplyLoadedValues()
{
    const auto apply = [this](std::optional<float>& raw, void (TZVMeasure::*setter)(float)) {
        if (raw) {
            const float value = *raw;
            raw.reset();
            (this->*setter)(value);
        }
    };
    apply(m_rawMarLeft, &TZVMeasure::SetMarLeft);
    apply(m_rawMarTop, &TZVMeasure::SetMarTop);
    apply(m_rawDiHor, &TZVMeasure::SetDiHor);
    apply(m_rawDiVer, &TZVMeasure::SetDiVer);
}

void TZVMeasure::VisitFields(TZVFieldVisitor& visitor)
{
    visitor.I32("Width", m_width);
    visitor.I32("Height", m_height);
    visitor.I32("MarLeft", m_marLeft);
    visitor.I32("MarTop", m_marTop);
    visitor.I32("DiHor", m_diHor);
    visitor.I32("DiVer", m_diVer);
    visitor.I32("NuHor", m_nuHor);
    visitor.I32("NuVer", m_nuVer);
    visitor.I32("PaperWidth", m_paperWidth);
    visitor.I32("PaperHeight", m_paperHeight);
    visitor.I32("InnerCircle", m_innerCircle);
    visitor.Enum("LabelType", m_labelType);
    // Older layouts have fixed lengths only.
    if (visitor.Version() >= kAutoLengthVersion)
        visitor.Bool("AutoLength", m_autoLength);
    else if (visitor.Reading())
        m_autoLength = false;
}

} // namespace zorvel
