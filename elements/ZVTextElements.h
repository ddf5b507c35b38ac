// Single-line text elements: plain text, compound text with prefix and suffix, and question text.
#pragma once

#include "document/ZVElement.h"
#include "document/ZVQuestion.h"
#include "elements/ZVElementTemplate.h"

#include <optional>

namespace zorvel {

/// The point of `box` that is the anchor of a text aligned by `align` and turned by `angle`
/// (the text's own frame turned with it); nullopt unless `angle` is a quarter turn.
ZORVEL_CORE_EXPORT std::optional<TPoint> TextAnchorInBox(const TRect& box, TTextAlign align, int angle);

/// Content, display format, font style, character spacing and drop shadow; also the paragraph's base.
class ZORVEL_CORE_EXPORT TZVDataText : public TZVData
{
    Q_OBJECT
    Q_PROPERTY(float FontHeight READ GetFontHeight WRITE SetFontHeight)
    Q_PROPERTY(QString FontName READ FontName WRITE SetFontName)
    Q_PROPERTY(float Separation READ GetSeparation WRITE SetSeparation)
    Q_PROPERTY(bool Bold READ Bold WRITE SetBold)
    Q_PROPERTY(bool Underline READ Underline WRITE SetUnderline)
    Q_PROPERTY(bool Italic READ Italic WRITE SetItalic)

public:
    /// The fixed content, shown unless Data is on.
    /// @{
    const QString& Text() const { return m_text; }
    void SetText(const QString& value) { setField(m_text, value, "Text"); }
    /// @}
    /// Display format of field values (see FormatFloat and FormatDateTime); empty prints them as they are.
    /// @{
    const QString& DisplayFormat() const { return m_displayFormat; }
    /// Formats only field values, which the editor never shows, so the editor is not told.
    void SetDisplayFormat(const QString& value)
    {
        if (StoreIfChanged(m_displayFormat, value)) SetModified();
    }
    /// @}
    /// The template whose expansion is the content on a label while it is not empty (instead of
    /// Text and of the bound field); the setter raises EZvError for a malformed one (see
    /// TZVTemplate::Problem) and keeps the old one.
    /// @{
    const QString& Template() const { return m_template.Text(); }
    void SetTemplate(const QString& value);
    /// @}
    /// Which point of the text sits at the anchor (X1, Y1).
    /// @{
    TTextAlign TextAlign() const { return static_cast<TTextAlign>(m_textAlign); }
    void SetTextAlign(TTextAlign value);
    /// @}

    /// Font style flags and the drop shadow switch.
    /// @{
    bool Bold() const { return m_bold; }
    bool Italic() const { return m_italic; }
    bool Underline() const { return m_underline; }
    bool Shadow() const { return m_shadow; }
    void SetBold(bool value) { setField(m_bold, value, "Bold"); }
    void SetItalic(bool value) { setField(m_italic, value, "Italic"); }
    void SetUnderline(bool value) { setField(m_underline, value, "Underline"); }
    void SetShadow(bool value) { setField(m_shadow, value, "Shadow"); }
    /// @}
    /// Colour of the drop shadow.
    /// @{
    TZVColor ShadowColor() const { return m_shadowColor; }
    void SetShadowColor(TZVColor value) { setField(m_shadowColor, value, "ShadowColor"); }
    /// @}

    /// Shadow offset: model units, published in the label's unit.
    /// @{
    int GapX() const { return m_gapX; }
    int GapY() const { return m_gapY; }
    float GetGapX() const { return FromModel(m_gapX); }
    float GetGapY() const { return FromModel(m_gapY); }
    void SetGapX(float value);
    void SetGapY(float value);
    /// @}

    /// Character spacing, published in millimetres whatever the label's unit.
    /// @{
    float GetSeparation() const;
    void SetSeparation(float millimetres);
    /// @}

    /// The box of the last placement, model units, before the text is turned about its anchor.
    /// @{
    int BoxLeft() const { return m_boxLeft; }
    int BoxTop() const { return m_boxTop; }
    int BoxWidth() const { return m_boxWidth; }
    int BoxHeight() const { return m_boxHeight; }
    /// @}
    /// Places the box of a text measured `textWidth` x `textHeight` at the anchor: grows it by the
    /// shadow and the border, sets BoxLeft/BoxTop/BoxWidth/BoxHeight and the far corner X2/Y2.
    void PlaceBox(int textWidth, int textHeight);
    /// The anchor moves onto the point of the box that TextAlign and Angle name.
    void PlaceAnchor(int L, int T, int R, int B) override;

    void SetData(bool value) override;
    void SetFieldName(const QString& value) override;
    void SetScreenRect(const TRect& value) override;
    void VisitFields(TZVFieldVisitor& visitor) override;
    std::int32_t StreamVersionNeeded() const override;
    /// The template, whose fields come from the master.
    void VisitTemplates(const std::function<void(const TZVTemplate&, bool)>& visit) const override;
    /// Refuses a malformed Template with TZVTemplate::Problem's message.
    QString PropertyRefusal(const QString& name, const QVariant& value) const override;

protected:
    /// See TZVElement's constructor for `handleKind`; joins `owner`'s list.
    TZVDataText(TZVCustomLab& owner, std::uint8_t handleKind);

    /// The content on `target`: the template's (see TZVElementTemplate::Content), else with
    /// `data` the bound field's value in `format`, else Text.
    QString content(int target, bool data, const QString& format) const;

    /// The text font (colour Color, escapement by Angle) and spacing, aligned left-top, made current.
    void SelectTextFont(TZVCanvas& canvas, TZVColor color) const;
    /// The bound field's value in the current record with `format`; nullopt when no field is bound.
    std::optional<QString> BoundValue(const QString& format) const;

    /// The design shows the bound field's name instead of the content; `name` is what the editor hears.
    void ShowBoundField(const char* name);

    /// State behind the accessors of the same names (lengths in model units).
    /// @{
    QString m_text = QStringLiteral("text");
    QString m_displayFormat;
    TZVElementTemplate m_template;
    int m_boxWidth = 0;
    int m_boxHeight = 0;
    int m_boxLeft = 0;
    int m_boxTop = 0;
    int m_gapX = 50;
    int m_gapY = 50;
    TZVColor m_shadowColor = 0x808080;
    bool m_bold = false;
    bool m_italic = false;
    bool m_underline = false;
    bool m_shadow = false;
    /// @}
};

/// Publishes the content, the anchor alignment, the rotation and the drop shadow of single-line texts.
class ZORVEL_CORE_EXPORT TZVShadowDataText : public TZVDataText
{
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(QString DisplayFormat READ DisplayFormat WRITE SetDisplayFormat)
    Q_PROPERTY(QString Template READ Template WRITE SetTemplate)
    Q_PROPERTY(zorvel::TTextAlign TextAlign READ TextAlign WRITE SetTextAlign)
    Q_PROPERTY(int Angle READ Angle WRITE SetAngle)
    Q_PROPERTY(float GapX READ GetGapX WRITE SetGapX)
    Q_PROPERTY(float GapY READ GetGapY WRITE SetGapY)
    Q_PROPERTY(bool Shadow READ Shadow WRITE SetShadow)
    Q_PROPERTY(quint32 ShadowColor READ ShadowColor WRITE SetShadowColor)

public:
    /// The line's box follows its text.
    bool CornerMeasuredByPaint() const override { return true; }

protected:
    /// Constructors of TZVDataText.
    using TZVDataText::TZVDataText;

    /// Measures `text`, places the box at the anchor and draws border, shadow and text.
    void PaintLine(TZVCanvas& canvas, TPoint offset, int target, const QString& text);
};

/// A single line of fixed text or of a field value.
class ZORVEL_CORE_EXPORT TZVText : public TZVShadowDataText
{
    Q_OBJECT
    Q_PROPERTY(QString ID READ ID WRITE SetID)
    Q_PROPERTY(bool ShowBorder READ ShowBorder WRITE SetShowBorder)
    Q_PROPERTY(quint32 BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(float BorderRadio READ GetBorderRadio WRITE SetBorderRadio)
    Q_PROPERTY(float PenWidth READ GetPenWidth WRITE SetPenWidth)
    Q_PROPERTY(float PaddingX READ GetPaddingX WRITE SetPaddingX)
    Q_PROPERTY(float PaddingY READ GetPaddingY WRITE SetPaddingY)

public:
    /// A new text of `owner`, which lists and owns it.
    explicit TZVText(TZVCustomLab& owner);

    std::uint8_t ElementKind() const override { return ekText; }
    /// The line printed, after the label's OnPrintText.
    std::optional<QString> PrintedContent() override;

protected:
    void PaintElement(TZVCanvas& canvas, TPoint offset, int target, bool data) override;
    bool SilencedWithoutPrinterOutput() const override { return true; }

private:
    QString line(int target, bool data);
};

/// A value framed by a fixed prefix and suffix.
class ZORVEL_CORE_EXPORT TZVAddText : public TZVShadowDataText
{
    Q_OBJECT
    Q_PROPERTY(QString ID READ ID WRITE SetID)
    Q_PROPERTY(QString Before READ Before WRITE SetBefore)
    Q_PROPERTY(QString After READ After WRITE SetAfter)
    Q_PROPERTY(bool ShowBorder READ ShowBorder WRITE SetShowBorder)
    Q_PROPERTY(quint32 BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(float BorderRadio READ GetBorderRadio WRITE SetBorderRadio)
    Q_PROPERTY(float PenWidth READ GetPenWidth WRITE SetPenWidth)
    Q_PROPERTY(float PaddingX READ GetPaddingX WRITE SetPaddingX)
    Q_PROPERTY(float PaddingY READ GetPaddingY WRITE SetPaddingY)

public:
    /// A new compound text of `owner`, which lists and owns it.
    explicit TZVAddText(TZVCustomLab& owner);

    std::uint8_t ElementKind() const override { return ekAddText; }

    /// Fixed text printed before and after the value.
    /// @{
    const QString& Before() const { return m_before; }
    const QString& After() const { return m_after; }
    void SetBefore(const QString& value) { setField(m_before, value, "Before"); }
    void SetAfter(const QString& value) { setField(m_after, value, "After"); }
    /// @}

    void VisitFields(TZVFieldVisitor& visitor) override;
    /// Before, the value (or the template's expansion) and After.
    std::optional<QString> PrintedContent() override;

protected:
    void PaintElement(TZVCanvas& canvas, TPoint offset, int target, bool data) override;

private:
    QString line(int target, bool data) const;

    QString m_before = QStringLiteral("Pre");
    QString m_after = QStringLiteral("Post");
};

/// A text whose content the operator gives when a print run starts.
class ZORVEL_CORE_EXPORT TZVAskText : public TZVShadowDataText, public TZVQuestion
{
    Q_OBJECT
    Q_PROPERTY(QString ID READ ID WRITE SetID)
    Q_PROPERTY(QString Question READ Question WRITE SetQuestion)
    Q_PROPERTY(QString Answer READ Answer WRITE SetAnswer)
    Q_PROPERTY(bool ShowBorder READ ShowBorder WRITE SetShowBorder)
    Q_PROPERTY(quint32 BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(float BorderRadio READ GetBorderRadio WRITE SetBorderRadio)
    Q_PROPERTY(float PenWidth READ GetPenWidth WRITE SetPenWidth)
    Q_PROPERTY(float PaddingX READ GetPaddingX WRITE SetPaddingX)
    Q_PROPERTY(float PaddingY READ GetPaddingY WRITE SetPaddingY)

public:
    /// A new question text of `owner`, which lists and owns it.
    explicit TZVAskText(TZVCustomLab& owner);

    std::uint8_t ElementKind() const override { return ekAskText; }

    /// The question asked before a print run.
    const QString& Question() const override { return m_question; }
    /// The answer printed; the question's asker or OnAskText sets it.
    const QString& Answer() const override { return m_answer; }
    /// Sets the question; the editor is told.
    void SetQuestion(const QString& value) { setField(m_question, value, "Question"); }
    /// Not shown before printing, so the editor is not told.
    void SetAnswer(const QString& value) override
    {
        if (StoreIfChanged(m_answer, value)) SetModified();
    }
    TZVQuestion* AsQuestion() override { return this; }

    void VisitFields(TZVFieldVisitor& visitor) override;
    /// The answer (or the template's expansion).
    std::optional<QString> PrintedContent() override;

protected:
    void PaintElement(TZVCanvas& canvas, TPoint offset, int target, bool data) override;

private:
    QString shown(int target) const;

    QString m_question = QStringLiteral("Question");
    QString m_answer = QStringLiteral("Answer");
};

} // namespace zorvel
