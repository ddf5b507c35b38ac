// Display formats of field values: numeric pictures ("#,##0.00") and date-time pictures ("dd-mm-yyyy").
#pragma once

#include "zorvel_core_export.h"

#include <QDateTime>
#include <QString>

namespace zorvel {

class TZVDataSet;

/// Numeric pictures, one to three sections separated by ';' (positive;negative;zero):
/// \verbatim
///   0      a digit, zero when there is none        #      a digit only when there is one
///   .      the decimal point (the first one)       ,      thousands grouping (anywhere before '.')
///   E+ E- e+ e-   scientific notation, followed by '0's giving the minimum exponent digits;
///          "+" always shows the exponent's sign, "-" only a negative one
///   "xx" 'xx'   literal text                        anything else, '%' included, is literal
/// \endverbatim
/// The separators are fixed, never the process locale: ',' groups thousands and '.' is the
/// decimal point. Values are taken to 15 significant digits and rounded half away from zero
/// (so 1.005 with "0.00" gives "1.01"). Without a negative section a '-' precedes the result;
/// with one it is used as written. A value that rounds to zero takes the zero section when
/// there is one, and never shows a sign. An empty negative or zero section falls back to the
/// positive one. Integer digits beyond the placeholders are all shown.
ZORVEL_CORE_EXPORT QString FormatFloat(const QString& format, double value);
/// The same for integers, exact over the whole 64-bit range.
ZORVEL_CORE_EXPORT QString FormatInteger(const QString& format, qint64 value);

/// Date-time pictures; letters match without regard to case:
/// \verbatim
///   d dd     day of month (dd with two digits)      ddd dddd   "Sun" / "Sunday"
///   ddddd    dd/mm/yyyy                             dddddd     "Sunday, 3 March 2024"
///   m mm     month, or minutes right after an hour token (separators between them allowed)
///   mmm mmmm "Mar" / "March"                        yy yyyy    year in two or four digits
///   h hh     hour (12-hour when the picture holds am/pm, a/p or ampm)
///   n nn     minutes                                s ss       seconds
///   z zzz    milliseconds                           t tt       hh:nn / hh:nn:ss
///   c        dd/mm/yyyy, then hh:nn:ss unless the time is midnight
///   am/pm    "am" or "pm" in the case written       a/p        "a" or "p" in the case written
///   ampm     "AM" or "PM"
///   "xx" 'xx' literal text; '/' and ':' are printed as they are, as is anything else.
/// \endverbatim
/// Month and day names are English. An invalid date-time gives an empty text.
ZORVEL_CORE_EXPORT QString FormatDateTime(const QString& format, const QDateTime& value);

/// A date-time held as a float: whole days since 1899-12-30, the time of day as the fraction
/// (for days before that base the fraction still counts forward from midnight).
ZORVEL_CORE_EXPORT QDateTime DateTimeFromDays(double days);

/// The current record's `fieldName` of `data` in the display `format` (a date-time picture when
/// `dateFormat`), empty when null; raises EZvError "INVALID FIELD NAME :" for an unknown field.
ZORVEL_CORE_EXPORT QString FieldDisplayText(const TZVDataSet& data, const QString& fieldName,
                                            const QString& format, bool dateFormat);

} // namespace zorvel
