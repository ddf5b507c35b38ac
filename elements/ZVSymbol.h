// The symbol element: one character of a (symbol) font, optionally framed.
#pragma once

#include "document/ZVElement.h"

#include <QChar>

namespace zorvel {

/// One character of a symbol font, optionally framed; with Data on, the bound field decides whether
/// the mark is drawn (an integer 1 or true).
class ZORVEL_CORE_EXPORT TZVSymbol : public TZVData
{
    Q_OBJECT
    Q_PROPERTY(QString ID READ ID WRITE SetID)
    Q_PROPERTY(float FontHeight READ GetFontHeight WRITE SetFontHeight)
    Q_PROPERTY(QString FontName READ FontName WRITE SetFontName)
    Q_PROPERTY(QChar Character READ Character WRITE SetCharacter)
    Q_PROPERTY(bool Bold READ Bold WRITE SetBold)
    Q_PROPERTY(int Angle READ Angle WRITE SetAngle)
    Q_PROPERTY(bool ShowBorder READ ShowBorder WRITE SetShowBorder)
    Q_PROPERTY(quint32 BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(float BorderRadio READ GetBorderRadio WRITE SetBorderRadio)
    Q_PROPERTY(float PenWidth READ GetPenWidth WRITE SetPenWidth)
    Q_PROPERTY(float PaddingX READ GetPaddingX WRITE SetPaddingX)
    Q_PROPERTY(float PaddingY READ GetPaddingY WRITE SetPaddingY)

public:
    /// The symbol dialog shows a font's characters in pages of this many.
    static constexpr int kCharactersPerPage = 240;

    /// A new symbol element of `owner`, which lists and owns it.
    explicit TZVSymbol(TZVCustomLab& owner);

    std::uint8_t ElementKind() const override { return ekSymbol; }

    /// The character drawn.
    QChar Character() const { return m_character; }
    /// Also moves SymbolPage to the character's page and clears SymbolAlt.
    void SetCharacter(QChar value);
    /// Whether the character is drawn bold.
    /// @{
    bool Bold() const { return m_bold; }
    void SetBold(bool value) { setField(m_bold, value, "Bold"); }
    /// @}
    /// The symbol dialog's page, put back with the character when the dialog is cancelled.
    /// @{
    int SymbolPage() const { return m_symbolPage; }
    void SetSymbolPage(int value) { m_symbolPage = value; }
    /// @}
    /// 0 draws the character; another value draws the alternative mark in a FontHeight square.
    int SymbolAlt() const { return m_symbolAlt; }
    int SymbolReserved() const { return m_symbolReserved; } ///< stored with the element, otherwise unused
    /// The character as older layouts stored it, one byte.
    std::uint8_t LegacyCharacter() const { return m_legacyCharacter; }

    void PlaceAnchor(int L, int T, int R, int B) override;
    void VisitFields(TZVFieldVisitor& visitor) override;
    bool CornerMeasuredByPaint() const override { return true; }

protected:
    void PaintElement(TZVCanvas& canvas, TPoint offset, int target, bool data) override;

private:
    // Whether the bound field of the current record asks for the mark: an integer 1 or true.
    bool fieldSetsMark() const;

    std::uint8_t m_legacyCharacter = 128;
    QChar m_character = QChar(u'$');
    std::int32_t m_symbolAlt = 0;
    std::int32_t m_symbolPage = 0;
    std::int32_t m_symbolReserved = 0;
    bool m_bold = false;
};

} // namespace zorvel
