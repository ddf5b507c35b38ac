// Filter texts of data sets: parser, field binding and evaluation over one record.
#pragma once

#include "foundation/ZVDataSet.h"
#include "zorvel_core_export.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

namespace zorvel {

/// Deepest nesting of parentheses and NOT a filter may use.
inline constexpr int kMaxFilterDepth = 200;
/// Prefix of every filter syntax error.
inline constexpr const char* kErrorInvalidFilter = "INVALID FILTER : ";

/// A parsed filter text of a data set: a record passes when the filter holds for it.
///
/// Grammar (keywords without regard to case):
/// \verbatim
///   filter     := [ or ]
///   or         := and { OR and }
///   and        := not { AND not }
///   not        := NOT not | primary
///   primary    := '(' or ')' | operand [ op operand ]
///   op         := '=' | '<>' | '<' | '>' | '<=' | '>='
///   operand    := '[' field name ']' | identifier | 'string' | ['-'] number | TRUE | FALSE | NULL
/// \endverbatim
/// Strings double their quotes ('O''Brien'); numbers use '.' ("12.5", "1e3"); identifiers are
/// letters, digits, '_', '.' and '$' starting with a letter or '_'. An operand alone must be a
/// field or TRUE/FALSE: it holds when the value is true. Nesting (parentheses and NOT) is
/// limited to kMaxFilterDepth levels.
///
/// Comparisons coerce: numbers with numbers; booleans with true/false/1/0; dates and times with
/// ISO texts (a date literal is '2024-03-01'); a number with a text that reads as a number;
/// anything else compares as printed text, case-sensitively. A text compared with a date or
/// time field must read as one, else binding raises.
///
/// NULL rule: a comparison with a null value is false, except '<>' which is true when exactly
/// one side is null. "= NULL" and "<> NULL" test for null and not null; NULL takes no other
/// operator. NOT negates the result, so NOT ([X] = 1) holds for a null X.
///
/// Errors raise EZvError "INVALID FILTER : <what> AT <position>" (1-based character position;
/// the text's length + 1 at its end). Binding raises "INVALID FIELD NAME :NAME".
class ZORVEL_CORE_EXPORT TZVFilterExpr
{
public:
    /// A field a filter names: its column in the record and its kind.
    struct TFieldRef
    {
        int Index = -1; ///< column index in the record
        TZVFieldKind Kind = fkUnknown; ///< how values of the field compare
    };
    /// Maps a field name to its column, or nullopt when there is no such field.
    using TResolver = std::function<std::optional<TFieldRef>(const QString& name)>;
    /// Gives the value of the bound column `index` for the record being tested.
    using TValues = std::function<QVariant(int index)>;

    /// Parses `text`; raises EZvError "INVALID FILTER : ..." for a syntax error.
    explicit TZVFilterExpr(const QString& text);
    ~TZVFilterExpr();
    /// Filters move but do not copy.
    /// @{
    TZVFilterExpr(TZVFilterExpr&&) noexcept;
    TZVFilterExpr& operator=(TZVFilterExpr&&) noexcept;
    /// @}

    /// The filter text as given.
    const QString& Text() const;
    /// True for a blank text, which every record passes.
    bool IsEmpty() const;
    /// In order of first appearance, as written.
    QStringList FieldNames() const;
    /// Resolves the field names to indexes; may be called again for another field layout.
    void Bind(const TResolver& resolve);
    /// Needs Bind when the filter names fields; `valueOf` gives a bound field's value.
    bool Matches(const TValues& valueOf) const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> m_impl;
};

/// Ordering of two values under the coercion rules above: negative, zero or positive; no value
/// when either is null.
ZORVEL_CORE_EXPORT std::optional<int> CompareValues(const QVariant& a, const QVariant& b);

} // namespace zorvel
