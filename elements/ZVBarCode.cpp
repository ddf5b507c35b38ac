// The bar code element: setters with their side effects, symbol size and the bar code record.
#include "elements/ZVBarCode.h"

#include "document/ZVCustomLab.h"
#include "document/ZVFieldVisitor.h"
#include "elements/ZVLegacyLength.h"
#include "foundation/ZVBarcode.h"
#include "foundation/ZVUtils.h"

#include <algorithm>
#include <limits>

namespace zorvel {
namespace {

int saturate(std::int64_t v)
{
    return static_cast<int>(
        std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Ratios x 100.
constexpr int kEanCode39MinFactor = 200;
constexpr int kEanCode39MaxFactor = 300;
constexpr int kMinFactor = 100;
constexpr int kMaxFactor = 600;
// Changing the symbology away from Code 39 starts from this ratio.
constexpr int kDefaultOtherFactor = 200;
// Layouts before this carry no bar height.
constexpr std::int32_t kFirstBHeightVersion = 18;
constexpr int kDefaultBHeight = 1000;

} // namespace

TZVBarCode::TZVBarCode(TZVCustomLab& owner) : TZVData(owner, 0)
{
    m_fontHeight = 300;
    NameElement(QStringLiteral("Barcode"));
}

int TZVBarCode::ClampedFactor() const
{
    int factor = m_factor;
    switch (m_codeType) {
    case EAN13:
    case EAN8:
    case UPCA:
    case CODE39:
        factor = Clamp(factor, kEanCode39MinFactor, kEanCode39MaxFactor);
        break;
    default:
        break;
    }
    return Clamp(factor, kMinFactor, kMaxFactor);
}

float TZVBarCode::GetFactor()
{
    m_factor = ClampedFactor();
    return static_cast<float>(m_factor / 100.0);
}

float TZVBarCode::GetBarWidth() const
{
    return ModelToMm(m_barWidth);
}

float TZVBarCode::GetDistance() const
{
    return ModelToMm(m_distance);
}

void TZVBarCode::SetBarWidth(float millimetres)
{
    m_barWidth = saturate(MmToModel(millimetres));
    Changed("BarWidth");
}

// The distance spaces the number's characters, so only a shown number changes the picture.
void TZVBarCode::SetDistance(float millimetres)
{
    m_distance = saturate(MmToModel(millimetres));
    if (m_showNumber) Notify("Distance");
    SetModified();
}

void TZVBarCode::SetBHeight(float value)
{
    m_bHeight = ToModel(value);
    Changed("BHeight");
}

void TZVBarCode::SetLeftMargin(float value)
{
    m_leftMargin = ToModel(value);
    Changed("LeftMargin");
}

void TZVBarCode::SetTopMargin(float value)
{
    m_topMargin = ToModel(value);
    Changed("TopMargin");
}

void TZVBarCode::SetFactor(float value)
{
    const int factor = saturate(RoundHalfUp(double(value) * 100));
    if (factor == m_factor) return;
    m_factor = factor;
    Changed("Factor");
}

void TZVBarCode::SetCodeType(TZVBar value)
{
    if (value == m_codeType) return;
    m_codeType = value;
    if (value != CODE39) m_factor = kDefaultOtherFactor;
    Notify("CodeType");
    Owner()->RefreshProperty(QStringLiteral("Factor"));
    SetModified();
}

void TZVBarCode::SetBarCode(const QString& value)
{
    if (value == m_barCode) return;
    m_barCode = value;
    Changed("BarCode");
}

void TZVBarCode::SetShowNumber(bool value)
{
    if (value == m_showNumber) return;
    m_showNumber = value;
    Changed("ShowNumber");
}

void TZVBarCode::SetChecksum(bool value)
{
    if (value == m_checksum) return;
    m_checksum = value;
    Changed("Checksum");
}

int TZVBarCode::SymbolWidth(const QString& content) const
{
    const TZVBarWidths widths = BarWidths(m_barWidth, ClampedFactor(), TZVHalfRound::AwayFromZero);
    std::int64_t total = 2 * std::int64_t(m_leftMargin);
    for (const QChar module : BarCodeModules(content, m_codeType, m_showNumber))
        total += widths.Of(module);
    return saturate(total);
}

int TZVBarCode::SymbolHeight() const
{
    return saturate(std::int64_t(m_bHeight) + m_topMargin + (m_showNumber ? m_fontHeight : 0));
}

void TZVBarCode::VisitFields(TZVFieldVisitor& visitor)
{
    TZVData::VisitFields(visitor);
    const std::int32_t version = visitor.Version();
    const bool reading = visitor.Reading();
    const bool legacy = version < kFirstModelUnitVersion;
    visitor.AStr("BarCode", m_barCode);
    visitor.Enum("CodeType", m_codeType);
    // Older layouts stored the first GS1-128 variant under this ordinal.
    if (reading && legacy && m_codeType == CODE39) m_codeType = EAN128A;
    visitor.I32("BarWidth", m_barWidth);
    const bool hasBHeight = version >= kFirstBHeightVersion;
    if (hasBHeight)
        visitor.I32("BHeight", m_bHeight);
    else if (reading)
        m_bHeight = kDefaultBHeight;
    visitor.I32("Distance", m_distance);
    // The data part's font height again: the height of the number.
    visitor.I32("FontHeight", m_fontHeight);
    visitor.Bool("ShowNumber", m_showNumber);
    visitor.I32("LeftMargin", m_leftMargin);
    visitor.I32("TopMargin", m_topMargin);
    if (!legacy) {
        visitor.Bool("Checksum", m_checksum);
        visitor.I32("Factor", m_factor);
        visitor.U8("BarReserved", m_barReserved);
        return;
    }
    if (!reading) return;
    ScaleLegacyLength(m_barWidth);
    // A missing bar height already is the model-unit default; scaling it would make 100 mm bars.
    if (hasBHeight) ScaleLegacyLength(m_bHeight);
    ScaleLegacyLength(m_distance);
    ScaleLegacyLength(m_fontHeight);
    ScaleLegacyLength(m_leftMargin);
    ScaleLegacyLength(m_topMargin);
    switch (m_codeType) {
    case EAN13:
    case EAN8:
    case UPCA:
    case EAN128A:
    case EAN128B:
        m_factor = kDefaultOtherFactor;
        break;
    default:
        break;
    }
}

} // namespace zorvel
