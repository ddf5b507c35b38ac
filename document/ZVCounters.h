// The design's named counters: serial numbers that go on from one print run to the next.
#pragma once

#include "zorvel_core_export.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>

#include <cstdint>

namespace zorvel {

class TZVFieldVisitor;

/// What one step of a counter is.
enum TZVCounterPer : std::uint8_t {
    cpLabel = 0,  ///< every label
    cpRecord = 1, ///< every record: its copies share the value
    cpPage = 2,   ///< every page
};

/// When a counter starts again.
enum TZVCounterReset : std::uint8_t {
    crNever = 0,    ///< goes on from run to run
    crEveryRun = 1, ///< every run starts at Start and nothing is saved
    crDaily = 2,    ///< starts again at 1 on the first run of a new day
};

/// The alphabet of a new counter.
inline constexpr const char* kDecimalAlphabet = "0123456789";

/// One counter of a design. JSON keys: Name, Start, Step, Digits, Alphabet, Per, Reset, Date.
struct ZORVEL_CORE_EXPORT TZVCounter
{
    QString Name; ///< what templates call it: {#Name}
    std::int64_t Start = 1; ///< the next value to print
    std::int64_t Step = 1; ///< added at every step, may be negative
    std::int32_t Digits = 0; ///< padded to at least this many with the alphabet's first character
    QString Alphabet = QString::fromLatin1(kDecimalAlphabet); ///< its digits, lowest first
    std::uint8_t Per = cpLabel;    ///< TZVCounterPer
    std::uint8_t Reset = crNever;  ///< TZVCounterReset
    QDate Date; ///< the day Start was last saved (daily counters)

    /// Equal in every field.
    bool operator==(const TZVCounter&) const = default;

    /// The stream's and JSON's fields of one counter.
    void VisitFields(TZVFieldVisitor& visitor);
};

/// Why `counter` is refused (an empty name, an alphabet of fewer than two characters or with a
/// repeated one, digits outside 0..64, Per or Reset out of range), empty when it is sound.
ZORVEL_CORE_EXPORT QString CounterProblem(const TZVCounter& counter);
/// Problems of a whole list: CounterProblem of each, and a name used twice (any case).
ZORVEL_CORE_EXPORT QString CountersProblem(const QList<TZVCounter>& counters);

/// `value` written in the counter's alphabet, padded to Digits; never cut: a value that
/// outgrows the digits takes more. Negative values get a leading '-'.
ZORVEL_CORE_EXPORT QString FormatCounter(const TZVCounter& counter, std::int64_t value);

/// The value a run starting on `jobDate` begins with: Start, or 1 for a daily counter whose
/// Date is another day.
ZORVEL_CORE_EXPORT std::int64_t CounterRunStart(const TZVCounter& counter, QDate jobDate);

/// The value `steps` steps of the counter after `runStart`; saturates instead of overflowing.
ZORVEL_CORE_EXPORT std::int64_t CounterValue(const TZVCounter& counter, std::int64_t runStart, std::int64_t steps);

/// The counter after a completed run that began at `runStart` and used `steps` steps, dated
/// `jobDate`; a counter that resets every run stays as it is.
ZORVEL_CORE_EXPORT TZVCounter CounterAfterRun(const TZVCounter& counter, std::int64_t runStart,
                                              std::int64_t steps, QDate jobDate);

/// Where a design's counters are kept between runs: a design stored in a database takes the range
/// a run needs in one transaction, so two applications printing it at once never print the same
/// value (a cancelled run may leave a gap, never a duplicate).
class ZORVEL_CORE_EXPORT TZVCounterStore
{
public:
    virtual ~TZVCounterStore() = default;
    /// Reads the stored design's counters, stores each one as CounterAfterRun leaves it after
    /// `steps[name]` steps (missing names take none) on `jobDate`, and returns them as read: the
    /// values this run prints from. Raises EZvError when it cannot; nothing is printed then.
    virtual QList<TZVCounter> Reserve(const QHash<QString, std::int64_t>& steps, QDate jobDate) = 0;
};

} // namespace zorvel
