// The paper-type table of the label dialogs: size in millimetres, name and printer paper code.
#include "foundation/ZVStrings.h"

#include <array>

namespace zorvel {

namespace {

struct TPaperSource
{
    float Width;
    float Height;
    const char* FixedName; // nullptr: the name is a message text
    TZVMsg NameMessage;
    std::int32_t PaperCode;
};

constexpr TZVMsg kFixedName = TZVMsg::Count;

// Sizes as the printer driver knows them: row 8 is landscape and row 20 wider than high on purpose.
constexpr TPaperSource kPaperSource[kPaperTypeCount] = {
    /*  0 */ {210.0f, 297.0f, "A4", kFixedName, 9},
    /*  1 */ {139.7f, 215.9f, "STATEMENT", kFixedName, 6},
    /*  2 */ {184.15f, 266.7f, "EXECUTIVE", kFixedName, 7},
    /*  3 */ {215.9f, 279.4f, "LETTER", kFixedName, 1},
    /*  4 */ {215.9f, 355.6f, "LEGAL", kFixedName, 5},
    /*  5 */ {148.0f, 210.0f, "A5", kFixedName, 11},
    /*  6 */ {297.0f, 420.0f, "A3", kFixedName, 8},
    /*  7 */ {279.4f, 431.8f, "TABLOID", kFixedName, 3},
    /*  8 */ {431.8f, 279.4f, "LEDGER", kFixedName, 4},
    /*  9 */ {250.0f, 354.0f, "B4", kFixedName, 12},
    /* 10 */ {182.0f, 257.0f, "B5", kFixedName, 13},
    /* 11 */ {215.0f, 275.0f, "Quarto", kFixedName, 15},
    /* 12 */ {110.0f, 220.0f, nullptr, TZVMsg::EnvelopeDL, 27},
    /* 13 */ {162.0f, 229.0f, nullptr, TZVMsg::EnvelopeC5, 28},
    /* 14 */ {324.0f, 458.0f, nullptr, TZVMsg::EnvelopeC3, 29},
    /* 15 */ {229.0f, 324.0f, nullptr, TZVMsg::EnvelopeC4, 30},
    /* 16 */ {114.0f, 162.0f, nullptr, TZVMsg::EnvelopeC6, 31},
    /* 17 */ {114.0f, 229.0f, nullptr, TZVMsg::EnvelopeC65, 32},
    /* 18 */ {250.0f, 353.0f, nullptr, TZVMsg::EnvelopeB4, 33},
    /* 19 */ {176.0f, 250.0f, nullptr, TZVMsg::EnvelopeB5, 34},
    /* 20 */ {176.0f, 125.0f, nullptr, TZVMsg::EnvelopeB6, 35},
    /* 21 */ {110.0f, 230.0f, "Italy", kFixedName, 36},
    /* 22 */ {250.0f, 353.0f, "B4 (ISO)", kFixedName, 42},
    /* 23 */ {100.0f, 148.0f, "Japanese Postcard", kFixedName, 43},
    /* 24 */ {200.0f, 148.0f, "Japanese Doble", kFixedName, 82},
    /* 25 */ {220.0f, 220.0f, nullptr, TZVMsg::EnvelopeInvite, 47},
    /* 26 */ {200.0f, 200.0f, nullptr, TZVMsg::User, kUserPaperCode},
};

using TPaperTable = std::array<TPaperType, kPaperTypeCount>;

const TPaperTable& paperTable()
{
    static const TPaperTable table = [] {
        TPaperTable papers;
        for (int i = 0; i < kPaperTypeCount; ++i) {
            const TPaperSource& source = kPaperSource[i];
            papers[i] = {source.Width, source.Height,
                         source.FixedName ? QString::fromUtf8(source.FixedName)
                                          : MessageText(source.NameMessage),
                         source.PaperCode};
        }
        return papers;
    }();
    return table;
}

} // namespace

std::span<const TPaperType> PaperTypes() { return paperTable(); }

const TPaperType& PaperType(int index) { return paperTable().at(static_cast<std::size_t>(index)); }

} // namespace zorvel
