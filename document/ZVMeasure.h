// Label and sheet geometry, and the page title.
#pragma once

#include "foundation/ZVTypes.h"
#include "zorvel_core_export.h"

#include <QObject>
#include <QString>

#include <optional>

namespace zorvel {

class TZVCustomLab;

/// Sheet geometry: NuHor rows of NuVer labels. Lengths are model units; the published float
/// properties show them in the label's unit.
class ZORVEL_CORE_EXPORT TZVMeasure : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int NuHor READ NuHor WRITE SetNuHor)
    Q_PROPERTY(int NuVer READ NuVer WRITE SetNuVer)
    Q_PROPERTY(float Width READ GetWidth WRITE SetWidth)
    Q_PROPERTY(float Height READ GetHeight WRITE SetHeight)
    Q_PROPERTY(float InnerCircle READ GetInnerCircle WRITE SetInnerCircle)
    Q_PROPERTY(float MarLeft READ GetMarLeft WRITE SetMarLeft)
    Q_PROPERTY(float MarTop READ GetMarTop WRITE SetMarTop)
    Q_PROPERTY(float DiHor READ GetDiHor WRITE SetDiHor)
    Q_PROPERTY(float DiVer READ GetDiVer WRITE SetDiVer)
    Q_PROPERTY(float PaperWidth READ GetPaperWidth WRITE SetPaperWidth)
    Q_PROPERTY(float PaperHeight READ GetPaperHeight WRITE SetPaperHeight)
    Q_PROPERTY(QString PaperName READ PaperName WRITE SetPaperName)
    Q_PROPERTY(QString LabelName READ LabelName WRITE SetLabelName)
    Q_PROPERTY(zorvel::TZorvelType LabelType READ LabelType WRITE SetLabelType)
    Q_PROPERTY(bool AutoLength READ AutoLength WRITE SetAutoLength)

public:
    /// The sheet settings of `owner` (not owned; the label owns this object).
    explicit TZVMeasure(TZVCustomLab& owner);

    /// Rows of labels on a sheet, at least 1.
    int NuHor() const { return m_nuHor; }
    /// Labels in each row, at least 1.
    int NuVer() const { return m_nuVer; }
    /// Label size, model units; equal for round labels.
    /// @{
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    /// @}
    int InnerCircle() const { return m_innerCircle; } ///< radius of a round label's hole, model units
    /// Left and top margin of the sheet to the first label, model units.
    /// @{
    int MarLeft() const { return m_marLeft; }
    int MarTop() const { return m_marTop; }
    /// @}
    /// Horizontal and vertical gap between neighbouring labels, model units.
    /// @{
    int DiHor() const { return m_diHor; }
    int DiVer() const { return m_diVer; }
    /// @}
    /// Paper size, model units.
    /// @{
    int PaperWidth() const { return m_paperWidth; }
    int PaperHeight() const { return m_paperHeight; }
    /// @}
    const QString& PaperName() const { return m_paperName; } ///< name of the paper size in the paper table
    const QString& LabelName() const { return m_labelName; } ///< name of the label definition
    TZorvelType LabelType() const { return m_labelType; } ///< rectangular or round
    /// Roll labels as long as their content: each printed label runs from its top to the bottom of
    /// its lowest printed element plus the space above its highest one, at least 5 mm and at most
    /// Height. Only a roll design (one row of one label) has it; on a sheet it has no effect.
    bool AutoLength() const { return m_autoLength; }
    /// True when the design is a roll (one row, one column) and AutoLength is on.
    bool AutoLengthApplies() const { return m_autoLength && m_nuHor == 1 && m_nuVer == 1; }

    /// The lengths above in the label's unit.
    /// @{
    float GetWidth() const;
    float GetHeight() const;
    float GetInnerCircle() const;
    float GetMarLeft() const;
    float GetMarTop() const;
    float GetDiHor() const;
    float GetDiVer() const;
    float GetPaperWidth() const;
    float GetPaperHeight() const;
    /// @}

    /// Setters of the published properties: lengths in the label's unit, at least 5 mm for sizes;
    /// setting one side of a round label sets the other; each marks the label modified.
    /// @{
    void SetNuHor(int value);
    void SetNuVer(int value);
    void SetWidth(float value);
    void SetHeight(float value);
    void SetInnerCircle(float value);
    void SetMarLeft(float value);
    void SetMarTop(float value);
    void SetDiHor(float value);
    void SetDiVer(float value);
    void SetPaperWidth(float value);
    void SetPaperHeight(float value);
    void SetPaperName(const QString& value);
    void SetLabelName(const QString& value);
    void SetLabelType(TZorvelType value);
    void SetAutoLength(bool value);
    /// @}
    /// Paper from a paper-table entry, in millimetres, without the lower limit; the code goes to PrintInfo.
    void SetPaper(float widthMm, float heightMm, int paperCode);

    /// Copies every setting (owned sub-objects are replaced by copying, never by reference).
    void Assign(const TZVMeasure& other);
    /// Applies the margins and gaps kept raw while the label was loading.
    void ApplyLoadedValues();
    /// The sheet fields of the stream header (width to label type), stored without the setters' limits.
    void VisitFields(class TZVFieldVisitor& visitor);

private:
    // A length setter's tail: surface size for the label's size, then notify and Modified.
    void sizeChanged(int kind, const char* name);
    void setMargin(int& field, std::optional<float>& raw, float value);

    TZVCustomLab& m_owner;
    int m_nuHor = 7;
    int m_nuVer = 3;
    int m_width = 6000;
    int m_height = 3500;
    int m_innerCircle = 0;
    int m_marLeft = 500;
    int m_marTop = 1000;
    int m_diHor = 400;
    int m_diVer = 400;
    int m_paperWidth = 21000;
    int m_paperHeight = 29700;
    QString m_paperName = QStringLiteral("A4");
    QString m_labelName = QStringLiteral("My Label");
    TZorvelType m_labelType = ltRect;
    bool m_autoLength = false;
    // Raw floats of MarLeft, MarTop, DiHor, DiVer given while loading (the unit may follow).
    std::optional<float> m_rawMarLeft;
    std::optional<float> m_rawMarTop;
    std::optional<float> m_rawDiHor;
    std::optional<float> m_rawDiVer;
};

/// The title printed on each page; set from the stream or in code.
struct TZVTitle
{
    /// Position of the title on the page, model units.
    /// @{
    int X = 0;
    int Y = 0;
    /// @}
    int FontHeight = 500; ///< model units
    QString FontName = QStringLiteral("Arial"); ///< font family
    QString Text = QStringLiteral("Title"); ///< the title's text
    bool PrintTitle = false; ///< whether pages carry the title
    TZVColor Color = 0; ///< text colour
};

} // namespace zorvel
