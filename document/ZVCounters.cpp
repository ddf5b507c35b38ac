// Counters: checking, writing a value in the counter's alphabet, and where a run starts and ends.
#include "document/ZVCounters.h"

#include "document/ZVFieldVisitor.h"

#include <QSet>

#include <limits>

namespace zorvel {
namespace {

constexpr std::int32_t kMaxDigits = 64;

std::int64_t saturatedSum(std::int64_t start, std::int64_t step, std::int64_t steps)
{
    std::int64_t advance = 0;
    std::int64_t sum = 0;
    if (__builtin_mul_overflow(step, steps, &advance) || __builtin_add_overflow(start, advance, &sum))
        return (step < 0) != (steps < 0) ? std::numeric_limits<std::int64_t>::min()
                                         : std::numeric_limits<std::int64_t>::max();
    return sum;
}

} // namespace

void TZVCounter::VisitFields(TZVFieldVisitor& visitor)
{
    visitor.WStr("Name", Name);
    visitor.I64("Start", Start);
    visitor.I64("Step", Step);
    visitor.I32("Digits", Digits);
    visitor.WStr("Alphabet", Alphabet);
    visitor.U8("Per", Per);
    visitor.U8("Reset", Reset);
    QString day = Date.toString(Qt::ISODate);
    visitor.WStr("Date", day);
    if (visitor.Reading()) Date = QDate::fromString(day, Qt::ISODate);
}

QString CounterProblem(const TZVCounter& counter)
{
    const QString name = counter.Name;
    if (name.isEmpty() || name.trimmed() != name || name.contains(u'{') || name.contains(u'}') ||
        name.contains(u':'))
        return QStringLiteral("INVALID COUNTER NAME : ") + name;
    if (counter.Alphabet.size() < 2) return QStringLiteral("COUNTER ALPHABET NEEDS TWO CHARACTERS : ") + name;
    QSet<QChar> seen;
    for (const QChar c : counter.Alphabet) {
        // '-' marks negative values.
        if (c == u'-' || seen.contains(c)) return QStringLiteral("INVALID COUNTER ALPHABET : ") + name;
        seen.insert(c);
    }
    if (counter.Digits < 0 || counter.Digits > kMaxDigits) return QStringLiteral("INVALID COUNTER DIGITS : ") + name;
    if (counter.Per > cpPage) return QStringLiteral("INVALID COUNTER PER : ") + name;
    if (counter.Reset > crDaily) return QStringLiteral("INVALID COUNTER RESET : ") + name;
    return {};
}

QString CountersProblem(const QList<TZVCounter>& counters)
{
    QSet<QString> names;
    for (const TZVCounter& counter : counters) {
        if (QString problem = CounterProblem(counter); !problem.isEmpty()) return problem;
        if (names.contains(counter.Name.toUpper())) return QStringLiteral("COUNTER NAME USED TWICE : ") + counter.Name;
        names.insert(counter.Name.toUpper());
    }
    return {};
}

QString FormatCounter(const TZVCounter& counter, std::int64_t value)
{
    const QString& alphabet = counter.Alphabet;
    const auto base = static_cast<std::uint64_t>(alphabet.size());
    // The magnitude as unsigned: the lowest value has no positive twin.
    std::uint64_t rest = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    QString digits;
    do {
        digits.prepend(alphabet[static_cast<qsizetype>(rest % base)]);
        rest /= base;
    } while (rest != 0);
    if (digits.size() < counter.Digits) digits.prepend(QString(counter.Digits - digits.size(), alphabet[0]));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

std::int64_t CounterValue(const TZVCounter& counter, std::int64_t runStart, std::int64_t steps)
{
    return saturatedSum(runStart, counter.Step, steps);
}

std::int64_t CounterRunStart(const TZVCounter& counter, QDate jobDate)
{
    if (counter.Reset == crDaily && counter.Date != jobDate) return 1;
    return counter.Start;
}

TZVCounter CounterAfterRun(const TZVCounter& counter, std::int64_t runStart, std::int64_t steps, QDate jobDate)
{
    if (counter.Reset == crEveryRun) return counter;
    TZVCounter after = counter;
    after.Start = CounterValue(counter, runStart, steps);
    after.Date = jobDate;
    return after;
}

} // namespace zorvel
