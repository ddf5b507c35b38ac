// Filter texts: evaluation over one record, precedence, the NULL rule, coercion, errors with positions, nesting.
#include "dataset_test_support.h"

#include "foundation/ZVFilterExpr.h"

#include <QDateTime>

#include <gtest/gtest.h>

namespace zorvel {
namespace {

using test::ExpectZvError;

// One record: NAME O'Brien, PRICE 12.5, QTY 3, CE true, DAY 2024-03-01, NOTE null, CODE "007",
// AT 2024-03-01 10:30, OPENS 08:15.
struct TRecord
{
    struct TField
    {
        const char* Name;
        TZVFieldKind Kind;
        QVariant Value;
    };
    std::vector<TField> Fields = {
        {"NAME", fkString, QString("O'Brien")},
        {"PRICE", fkFloat, 12.5},
        {"QTY", fkInteger, QVariant::fromValue<qlonglong>(3)},
        {"CE", fkBoolean, true},
        {"DAY", fkDate, QDate(2024, 3, 1)},
        {"NOTE", fkString, QVariant()},
        {"CODE", fkString, QString("007")},
        {"AT", fkDateTime, QDateTime(QDate(2024, 3, 1), QTime(10, 30), Qt::UTC)},
        {"OPENS", fkTime, QTime(8, 15)},
    };

    TZVFilterExpr::TResolver Resolver() const
    {
        return [this](const QString& name) -> std::optional<TZVFilterExpr::TFieldRef> {
            for (size_t i = 0; i < Fields.size(); ++i)
                if (name.compare(QLatin1String(Fields[i].Name), Qt::CaseInsensitive) == 0)
                    return TZVFilterExpr::TFieldRef{static_cast<int>(i), Fields[i].Kind};
            return std::nullopt;
        };
    }

    bool Matches(const QString& text) const
    {
        TZVFilterExpr filter(text);
        filter.Bind(Resolver());
        return filter.Matches([this](int index) { return Fields[static_cast<size_t>(index)].Value; });
    }
};

struct TCase
{
    const char* Filter;
    bool Expected;
};

void ExpectMatches(const std::vector<TCase>& cases)
{
    const TRecord record;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Filter);
        try {
            EXPECT_EQ(record.Matches(c.Filter), c.Expected);
        } catch (const EZvError& e) {
            ADD_FAILURE() << e.message().toStdString();
        }
    }
}

TEST(FilterExpr, ComparesFieldsAndLiterals)
{
    ExpectMatches({
        {"([PRICE] >= 10) AND ([NAME] = 'O''Brien')", true},
        {"[PRICE] > 12.5", false},
        {"price >= 12.5", true},
        {"10 < [PRICE]", true},
        {"[PRICE] <= 1.25e1", true},
        {"[PRICE] > -1", true},
        {"[QTY] >= -3", true},
        {"[QTY] <> 3", false},
        {"[QTY] = 3.0", true},
        {"[NAME] >= 'O'", true},
        {"[NAME] > 'a'", false}, // ordinal and case-sensitive: 'O' sorts before 'a'
        {"[NAME] = 'o''brien'", false},
        {"[PRICE] = [PRICE]", true},
        {"[QTY] < [PRICE]", true},
        {"   ", true},
    });
}

TEST(FilterExpr, CoercesBetweenKinds)
{
    ExpectMatches({
        {"[QTY] = '3'", true},        // a text that reads as a number
        {"[CODE] = 7", true},         // ... either way round
        {"[CODE] = '7'", false},      // two texts compare as texts
        {"[NAME] > 5", true},         // not a number: compared as printed text
        {"[CE]", true},               // a boolean field alone
        {"NOT [CE]", false},
        {"[CE] = 'true'", true},
        {"[CE] = 1", true},
        {"[CE] = FALSE", false},
        {"[CE] = 'yes'", false},      // not a boolean text: "True" <> "yes"
        {"[DAY] = '2024-03-01'", true},
        {"[DAY] < '2024-03-02'", true},
        {"'2023-12-31' < [DAY]", true},
        {"[DAY] = '2024-03-01 17:00'", true}, // compared at the field's precision
        {"[AT] > '2024-03-01'", true},
        {"[AT] = '2024-03-01 10:30'", true},
        {"[AT] < '2024-03-01T10:30:01'", true},
        {"[AT] >= [DAY]", true},
        {"[OPENS] < '09:00'", true},
        {"[OPENS] = '08:15:00'", true},
    });
}

TEST(FilterExpr, NullComparesFalseExceptNotEqual)
{
    ExpectMatches({
        {"[NOTE] = 'x'", false},
        {"[NOTE] <> 'x'", true},
        {"'x' <> [NOTE]", true},
        {"[NOTE] < 'x'", false},
        {"[NOTE] >= 'x'", false},
        {"[NOTE] <> [NOTE]", false}, // both null
        {"[NOTE] = [NOTE]", false},
        {"NOT ([NOTE] = 'x')", true},
        {"[NOTE] = NULL", true},
        {"[NOTE] <> NULL", false},
        {"[NAME] = NULL", false},
        {"[NAME] <> null", true},
        {"[NOTE]", false}, // a null predicate does not hold
        {"NOT [NOTE]", true},
    });
}

TEST(FilterExpr, NotBindsTighterThanAndThanOr)
{
    ExpectMatches({
        {"TRUE OR TRUE AND FALSE", true},   // TRUE OR (TRUE AND FALSE)
        {"(TRUE OR TRUE) AND FALSE", false},
        {"FALSE AND FALSE OR TRUE", true},  // (FALSE AND FALSE) OR TRUE
        {"FALSE AND (FALSE OR TRUE)", false},
        {"NOT FALSE AND FALSE", false},     // (NOT FALSE) AND FALSE
        {"NOT (FALSE AND FALSE)", true},
        {"NOT TRUE OR TRUE", true},         // (NOT TRUE) OR TRUE
        {"NOT NOT [CE]", true},
        {"not [ce] Or [qty] = 3 aNd [price] > 12", true},
        {"[QTY] = 1 OR [QTY] = 2 OR [QTY] = 3", true},
        {"[QTY] = 3 AND [PRICE] = 12.5 AND [NAME] = 'x'", false},
    });
}

TEST(FilterExpr, SyntaxErrorsNameWhatAndWhere)
{
    struct TError
    {
        const char* Filter;
        const char* Message;
    } const cases[] = {
        {"[PRICE] >", "INVALID FILTER : EXPECTED OPERAND AT 10"},
        {"[PRICE] >= 10 AND", "INVALID FILTER : EXPECTED OPERAND AT 18"},
        {"AND [CE]", "INVALID FILTER : EXPECTED OPERAND AT 1"},
        {")", "INVALID FILTER : EXPECTED OPERAND AT 1"},
        {"([PRICE] >= 10", "INVALID FILTER : EXPECTED ')' AT 15"},
        {"[PRICE] = 1)", "INVALID FILTER : UNEXPECTED ')' AT 12"},
        {"[PRICE] = 1 [QTY] = 2", "INVALID FILTER : UNEXPECTED '[QTY]' AT 13"},
        {"[NAME] = 'abc", "INVALID FILTER : UNTERMINATED STRING AT 10"},
        {"[NAME] = 'it''s", "INVALID FILTER : UNTERMINATED STRING AT 10"},
        {"[NAME = 'x'", "INVALID FILTER : UNTERMINATED FIELD NAME AT 1"},
        {"[ ] = 1", "INVALID FILTER : EMPTY FIELD NAME AT 1"},
        {"[PRICE] # 3", "INVALID FILTER : UNEXPECTED CHARACTER '#' AT 9"},
        {"[NAME] = \"x\"", "INVALID FILTER : UNEXPECTED CHARACTER '\"' AT 10"},
        {"[PRICE] 3", "INVALID FILTER : UNEXPECTED '3' AT 9"},
        {"'abc'", "INVALID FILTER : EXPECTED COMPARISON OPERATOR AT 6"},
        {"[PRICE] = 1.", "INVALID FILTER : INVALID NUMBER AT 11"},
        {"[PRICE] = 1e", "INVALID FILTER : INVALID NUMBER AT 11"},
        {"[PRICE] = -'a'", "INVALID FILTER : EXPECTED NUMBER AT 12"},
        {"[NOTE] < NULL", "INVALID FILTER : NULL NEEDS = OR <> AT 8"},
        {"[PRICE] == 3", "INVALID FILTER : EXPECTED OPERAND AT 10"},
    };
    for (const TError& c : cases) {
        SCOPED_TRACE(c.Filter);
        ExpectZvError([&] { TZVFilterExpr filter(c.Filter); }, c.Message);
    }
}

TEST(FilterExpr, BindingChecksFieldsAndDateTexts)
{
    struct TError
    {
        const char* Filter;
        const char* Message;
    } const cases[] = {
        {"[COLOUR] = 'red'", "INVALID FIELD NAME :COLOUR"},
        {"[CE] OR missing", "INVALID FIELD NAME :missing"},
        {"[DAY] = '2024-13-01'", "INVALID FILTER : INVALID DATE '2024-13-01' AT 9"},
        {"'01/03/2024' = [DAY]", "INVALID FILTER : INVALID DATE '01/03/2024' AT 1"},
        {"[AT] > 'today'", "INVALID FILTER : INVALID DATE 'today' AT 8"},
        {"[OPENS] < '25:00'", "INVALID FILTER : INVALID TIME '25:00' AT 11"},
    };
    const TRecord record;
    for (const TError& c : cases) {
        SCOPED_TRACE(c.Filter);
        TZVFilterExpr filter(c.Filter);
        ExpectZvError([&] { filter.Bind(record.Resolver()); }, c.Message);
    }
}

TEST(FilterExpr, ListsFieldNamesInWrittenOrderAndRebinds)
{
    TZVFilterExpr filter("[b] = 1 OR ([A] = 2 AND B > 3) OR NOT [c]");
    EXPECT_EQ(filter.FieldNames(), (QStringList{"b", "A", "c"}));

    // The same filter over another field layout.
    TZVFilterExpr price("[PRICE] > 10");
    price.Bind([](const QString&) { return TZVFilterExpr::TFieldRef{0, fkFloat}; });
    EXPECT_TRUE(price.Matches([](int) { return QVariant(11.0); }));
    price.Bind([](const QString&) { return TZVFilterExpr::TFieldRef{1, fkFloat}; });
    EXPECT_FALSE(price.Matches([](int index) { return index == 1 ? QVariant(9.0) : QVariant(11.0); }));
}

TEST(FilterExpr, NestingIsLimitedWithoutExhaustingTheStack)
{
    const auto nested = [](int depth) {
        return QString(depth, u'(') + QStringLiteral("[CE]") + QString(depth, u')');
    };
    const TRecord record;
    EXPECT_TRUE(record.Matches(nested(kMaxFilterDepth)));
    ExpectZvError([&] { TZVFilterExpr filter(nested(kMaxFilterDepth + 1)); },
                  QString("INVALID FILTER : NESTING TOO DEEP AT %1").arg(kMaxFilterDepth + 1));
    ExpectZvError([&] { TZVFilterExpr filter(QString(1000000, u'(')); },
                  QString("INVALID FILTER : NESTING TOO DEEP AT %1").arg(kMaxFilterDepth + 1));

    // Each NOT is a level too; the 201st starts at 1 + 200 * 4.
    ExpectZvError([&] { TZVFilterExpr filter(QString("NOT ").repeated(kMaxFilterDepth + 1) + "[CE]"); },
                  "INVALID FILTER : NESTING TOO DEEP AT 801");

    // Long chains of AND and OR are flat, not deep.
    QString chain = QStringLiteral("[CE]");
    for (int i = 0; i < 100000; ++i)
        chain += i % 2 ? QStringLiteral(" AND [QTY] = 3") : QStringLiteral(" OR [NOTE] = 'x'");
    EXPECT_TRUE(record.Matches(chain));
}

TEST(CompareValues, OrdersMixedValuesAndRefusesNulls)
{
    struct TCompare
    {
        const char* Name;
        QVariant A;
        QVariant B;
        std::optional<int> Order;
    } const cases[] = {
        {"null left", QVariant(), 1, std::nullopt},
        {"typed null", QVariant(QMetaType(QMetaType::QString)), "x", std::nullopt},
        {"large integers stay exact", QVariant::fromValue<qlonglong>(9007199254740993LL),
         QVariant::fromValue<qlonglong>(9007199254740992LL), 1},
        {"int and double", 2, 2.0, 0},
        {"date and date-time at midnight", QDate(2024, 3, 1), QDateTime(QDate(2024, 3, 1), QTime(0, 0)), 0},
        {"local and UTC wall clock", QDateTime(QDate(2024, 3, 1), QTime(9, 0), Qt::LocalTime),
         QDateTime(QDate(2024, 3, 1), QTime(9, 0), Qt::UTC), 0},
        {"bytes", QByteArray("ab"), QByteArray("b"), -1},
        {"empty text is not null", QString(""), QString("a"), -1},
    };
    for (const TCompare& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(CompareValues(c.A, c.B), c.Order);
    }
}

} // namespace
} // namespace zorvel
