// The symbol element: defaults, its setters, placement and its persisted fields.
#include "elements/ZVSymbol.h"

#include "document/ZVFieldVisitor.h"

namespace zorvel {

TZVSymbol::TZVSymbol(TZVCustomLab& owner) : TZVData(owner, 0)
{
    NameElement(QStringLiteral("Symbol"));
}

// Notifies on every call: the symbol dialog sets the character it shows even when unchanged.
void TZVSymbol::SetCharacter(QChar value)
{
    m_symbolAlt = 0;
    m_character = value;
    m_symbolPage = value.unicode() / kCharactersPerPage;
    Changed("Symbol");
}

void TZVSymbol::SetBold(bool value)
{
    if (value == m_bold) return;
    m_bold = value;
    Changed("Bold");
}

void TZVSymbol::PlaceAnchor(int L, int T, int R, int B)
{
    PlaceCornerByAngle(L, T, R, B);
}

void TZVSymbol::VisitFields(TZVFieldVisitor& visitor)
{
    TZVData::VisitFields(visitor);
    const std::int32_t version = visitor.Version();
    if (version <= 20) visitor.U8("LegacyCharacter", m_legacyCharacter);
    if (version > 18) {
        std::uint16_t code = m_character.unicode();
        visitor.U16("Character", code);
        m_character = QChar(code);
    }
    visitor.Bool("Bold", m_bold);
    if (version > 18) {
        visitor.I32("SymbolPage", m_symbolPage);
        visitor.I32("SymbolReserved", m_symbolReserved);
    }
    if (version >= 20) visitor.I32("SymbolAlt", m_symbolAlt);
    // The one-byte character of old layouts is a code of the symbol font, not a code page
    // character, so its ordinal is kept as the character code.
    if (visitor.Reading() && version <= 20) m_character = QChar(char16_t(m_legacyCharacter));
}

} // namespace zorvel
