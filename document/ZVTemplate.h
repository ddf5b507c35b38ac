// Templates: an element's content built from fields, counters, the job's date and the run's numbers.
#pragma once

#include "zorvel_core_export.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace zorvel {

/// What a template's placeholders are filled from while a label is painted: the print run (or the
/// designer showing a record) provides it.
class ZORVEL_CORE_EXPORT TZVTemplateValues
{
public:
    virtual ~TZVTemplateValues() = default;
    /// The current record's field `name` (any case) in the display format `format` (empty: as
    /// stored). Raises EZvError "INVALID FIELD NAME :" + name for a field the data lacks.
    virtual QString Field(const QString& name, const QString& format) const = 0;
    /// The counter `name` (any case) as printed on this label; raises "UNKNOWN COUNTER : " + name.
    virtual QString Counter(const QString& name) const = 0;
    /// The job's start, the same for every label of a run.
    virtual QDateTime JobStart() const = 0;
    /// Numbers of the run, 1-based: the page, the label in the run, the record in its data set and
    /// the copy of that record.
    /// @{
    virtual std::int64_t Page() const = 0;
    virtual std::int64_t Label() const = 0;
    virtual std::int64_t Record() const = 0;
    virtual std::int64_t Copy() const = 0;
    /// @}
    /// The answer given to the question element with the ID (any case); empty when none.
    virtual QString Answer(const QString& id) const = 0;
};

/// One piece of a parsed template.
struct TZVTemplatePart
{
    /// What the part stands for.
    enum Kind : std::uint8_t { Literal, Field, Counter, Date, Time, Page, Label, Record, Copy, Answer };
    Kind PartKind = Literal; ///< literal text or one of the placeholders
    QString Text;   ///< the literal, the field, counter or question ID
    QString Format; ///< the display or date format after ':'; empty for the default
    int Offset = 0; ///< dates: the offset in OffsetUnit
    char OffsetUnit = 'd'; ///< dates: 'd' days, 'w' weeks, 'm' months, 'y' years
    bool Gs1Check = false; ///< the value gets its GS1 mod-10 check digit appended
};

/// A parsed template. Placeholders: {FIELD}, {FIELD:FORMAT}, {FIELD:gs1check}, {\#NAME} (a counter),
/// {DATE}, {DATE+30d}, {DATE-1m:dd.MM.yyyy}, {TIME:HH:mm}, {PAGE}, {LABEL}, {RECORD}, {COPY},
/// {ANSWER:ID}; {{ and }} are literal braces.
class ZORVEL_CORE_EXPORT TZVTemplate
{
public:
    TZVTemplate() = default;
    /// Parses `text`; raises EZvError with Problem's message when it is refused.
    explicit TZVTemplate(const QString& text);

    /// Why `text` is refused ("INVALID TEMPLATE AT 7 : ..."), empty when it is a template.
    static QString Problem(const QString& text);

    bool IsEmpty() const { return m_text.isEmpty(); } ///< an empty template fills nothing
    const QString& Text() const { return m_text; } ///< the template as written
    const std::vector<TZVTemplatePart>& Parts() const { return m_parts; } ///< literals and placeholders in order

    /// The template with its placeholders replaced.
    QString Expand(const TZVTemplateValues& values) const;
    /// The fields and the counters it names, each once, as written.
    /// @{
    QStringList FieldNames() const;
    QStringList CounterNames() const;
    /// @}

private:
    QString m_text;
    std::vector<TZVTemplatePart> m_parts;
};

/// `digits` with the GS1 mod-10 check digit appended; raises EZvError
/// "GS1 CHECK DIGIT NEEDS DIGITS : " + digits for anything but 1 to 17 digits.
ZORVEL_CORE_EXPORT QString AppendGs1CheckDigit(const QString& digits);

} // namespace zorvel
