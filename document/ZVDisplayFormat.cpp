// Numeric and date-time display formats with fixed separators and English names.
#include "document/ZVDisplayFormat.h"

#include "foundation/ZVDataSet.h"

#include <QStringList>

#include <array>
#include <cmath>
#include <cstdlib>

namespace zorvel {
namespace {

// A magnitude as decimal digits: the value is 0.d1d2d3... x 10^pointPos, i.e. pointPos digits
// stand before the decimal point. Digits carry no leading or trailing zeros; zero has none.
struct TDecimal
{
    QString digits;
    int pointPos = 0;

    bool isZero() const { return digits.isEmpty(); }
};

void trimZeros(TDecimal& d)
{
    qsizetype lead = 0;
    while (lead < d.digits.size() && d.digits[lead] == u'0')
        ++lead;
    d.digits.remove(0, lead);
    d.pointPos -= static_cast<int>(lead);
    qsizetype end = d.digits.size();
    while (end > 0 && d.digits[end - 1] == u'0')
        --end;
    d.digits.truncate(end);
    if (d.digits.isEmpty()) d.pointPos = 0;
}

// 15 significant digits, as many as a double keeps reliably; beyond that rounding noise shows.
TDecimal decimalOf(double magnitude)
{
    TDecimal d;
    if (magnitude == 0) return d;
    const QString e = QString::number(magnitude, 'e', 14);
    const qsizetype ePos = e.indexOf(u'e');
    d.digits = e.left(ePos);
    d.digits.remove(u'.');
    d.pointPos = e.mid(ePos + 1).toInt() + 1;
    trimZeros(d);
    return d;
}

TDecimal decimalOf(quint64 magnitude)
{
    TDecimal d;
    d.digits = QString::number(magnitude);
    d.pointPos = static_cast<int>(d.digits.size());
    trimZeros(d);
    return d;
}

// Keeps the first `keep` digits, rounding half away from zero.
void roundDigits(TDecimal& d, int keep)
{
    if (keep >= d.digits.size()) return;
    if (keep < 0) {
        d = {};
        return;
    }
    const bool up = d.digits[keep] >= u'5';
    d.digits.truncate(keep);
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[i] == u'9')
            d.digits[i--] = u'0';
        if (i < 0) {
            d.digits.prepend(u'1');
            ++d.pointPos;
        } else {
            d.digits[i] = QChar(d.digits[i].unicode() + 1);
        }
    }
    trimZeros(d);
}

bool isQuote(QChar c)
{
    return c == u'"' || c == u'\'';
}

// Index of the quote closing the one at `open`, or the end of the text.
qsizetype closingQuote(const QString& text, qsizetype open)
{
    const qsizetype close = text.indexOf(text[open], open + 1);
    return close < 0 ? text.size() : close;
}

bool exponentAt(const QString& text, qsizetype i)
{
    return (text[i] == u'E' || text[i] == u'e') && i + 1 < text.size() &&
           (text[i + 1] == u'+' || text[i + 1] == u'-');
}

QStringList splitSections(const QString& format)
{
    QStringList sections;
    QString current;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (isQuote(format[i])) {
            const qsizetype close = closingQuote(format, i);
            current += format.mid(i, close - i + 1);
            i = close;
        } else if (format[i] == u';') {
            sections.append(current);
            current.clear();
        } else {
            current += format[i];
        }
    }
    sections.append(current);
    return sections;
}

struct TSection
{
    QString text;
    int intPlaceholders = 0;
    int requiredInt = 0; // placeholders from the first '0' before the point
    int minDecimals = 0;
    int maxDecimals = 0;
    bool grouping = false;
    bool scientific = false;
};

TSection parseSection(const QString& text)
{
    TSection s;
    s.text = text;
    bool beforePoint = true;
    int firstZero = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isQuote(c)) {
            i = closingQuote(text, i);
        } else if (c == u'0' || c == u'#') {
            if (beforePoint) {
                if (c == u'0' && firstZero < 0) firstZero = s.intPlaceholders;
                ++s.intPlaceholders;
            } else {
                ++s.maxDecimals;
                if (c == u'0') s.minDecimals = s.maxDecimals;
            }
        } else if (c == u'.' && beforePoint) {
            beforePoint = false;
        } else if (c == u',' && beforePoint) {
            s.grouping = true;
        } else if (exponentAt(text, i)) {
            s.scientific = true;
            break;
        }
    }
    s.requiredInt = firstZero < 0 ? 0 : s.intPlaceholders - firstZero;
    return s;
}

// Rounds `d` for the section; for scientific sections it becomes the mantissa and `exponent` is set.
void roundForSection(const TSection& s, TDecimal& d, int& exponent)
{
    exponent = 0;
    if (!s.scientific) {
        roundDigits(d, d.pointPos + s.maxDecimals);
        return;
    }
    if (d.isZero()) return;
    roundDigits(d, s.intPlaceholders + s.maxDecimals);
    exponent = d.pointPos - s.intPlaceholders;
    d.pointPos = s.intPlaceholders;
}

QString render(const TSection& s, const TDecimal& d, int exponent)
{
    QString intDigits;
    if (d.pointPos > 0) {
        intDigits = d.digits.left(d.pointPos);
        if (d.pointPos > d.digits.size()) intDigits += QString(d.pointPos - d.digits.size(), u'0');
    }
    if (intDigits.size() < s.requiredInt) intDigits.prepend(QString(s.requiredInt - intDigits.size(), u'0'));
    QString frac =
        d.pointPos < 0 ? QString(-d.pointPos, u'0') + d.digits : d.digits.mid(std::max(d.pointPos, 0));
    if (frac.size() < s.minDecimals) frac += QString(s.minDecimals - frac.size(), u'0');

    const QString& text = s.text;
    const int len = static_cast<int>(intDigits.size());
    const int places = s.intPlaceholders;
    QString out;
    auto emitInt = [&](int index) {
        out += intDigits[index];
        const int remaining = len - index - 1;
        if (s.grouping && remaining > 0 && remaining % 3 == 0) out += u',';
    };
    int intIndex = 0;
    int fracIndex = 0;
    bool beforePoint = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isQuote(c)) {
            const qsizetype close = closingQuote(text, i);
            out += text.mid(i + 1, close - i - 1);
            i = close;
        } else if (c == u'0' || c == u'#') {
            if (beforePoint) {
                // Digits beyond the placeholders all go where the first placeholder stands.
                if (intIndex == 0)
                    for (int j = 0; j < len - places; ++j)
                        emitInt(j);
                const int index = len - places + intIndex;
                if (index >= 0) emitInt(index);
                ++intIndex;
            } else {
                if (fracIndex < frac.size()) out += frac[fracIndex];
                ++fracIndex;
            }
        } else if (c == u'.' && beforePoint) {
            beforePoint = false;
            if (places == 0)
                for (int j = 0; j < len; ++j)
                    emitInt(j);
            if (!frac.isEmpty()) out += u'.';
        } else if (c == u',' && beforePoint) {
            // Only switches grouping on.
        } else if (s.scientific && exponentAt(text, i)) {
            const bool alwaysSign = text[i + 1] == u'+';
            out += c;
            if (exponent < 0)
                out += u'-';
            else if (alwaysSign)
                out += u'+';
            qsizetype k = i + 2;
            while (k < text.size() && text[k] == u'0')
                ++k;
            const int minDigits = static_cast<int>(k - i - 2);
            out += QString::number(std::abs(exponent)).rightJustified(minDigits, u'0');
            i = k - 1;
        } else {
            out += c;
        }
    }
    return out;
}

QString formatDecimal(const QString& format, const TDecimal& magnitude, bool negative)
{
    const QStringList sections = splitSections(format);
    const bool hasNegative = sections.size() > 1 && !sections[1].isEmpty();
    const bool hasZero = sections.size() > 2 && !sections[2].isEmpty();
    const bool useNegative = negative && hasNegative;

    TSection section = parseSection(sections[useNegative ? 1 : 0]);
    TDecimal d = magnitude;
    int exponent = 0;
    roundForSection(section, d, exponent);
    if (d.isZero()) {
        // Zero after rounding: no sign, and the zero section when there is one.
        const TSection zero = parseSection(sections[hasZero ? 2 : 0]);
        return render(zero, TDecimal{}, 0);
    }
    QString out = render(section, d, exponent);
    if (negative && !useNegative) out.prepend(u'-');
    return out;
}

constexpr std::array<const char*, 12> kMonthNames = {"January",   "February", "March",    "April",
                                                     "May",       "June",     "July",     "August",
                                                     "September", "October",  "November", "December"};
constexpr std::array<const char*, 7> kDayNames = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                                  "Friday", "Saturday", "Sunday"};

QString monthName(int month, bool full)
{
    const QString name = QString::fromLatin1(kMonthNames[static_cast<std::size_t>(month - 1)]);
    return full ? name : name.left(3);
}

QString dayName(int dayOfWeek, bool full)
{
    const QString name = QString::fromLatin1(kDayNames[static_cast<std::size_t>(dayOfWeek - 1)]);
    return full ? name : name.left(3);
}

QString twoDigits(int n)
{
    return QString::number(n).rightJustified(2, u'0');
}

// The picture with its quoted parts removed, in lower case.
QString unquotedLower(const QString& format)
{
    QString plain;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (isQuote(format[i]))
            i = closingQuote(format, i);
        else
            plain += format[i].toLower();
    }
    return plain;
}

bool startsWithNoCase(const QString& text, qsizetype at, QLatin1StringView token)
{
    return QStringView(text).mid(at, token.size()).compare(token, Qt::CaseInsensitive) == 0;
}

} // namespace

QString FormatFloat(const QString& format, double value)
{
    if (std::isnan(value)) return QStringLiteral("NAN");
    if (std::isinf(value)) return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (format.isEmpty()) return ValueText(QVariant(value), fkFloat);
    return formatDecimal(format, decimalOf(std::fabs(value)), value < 0);
}

QString FormatInteger(const QString& format, qint64 value)
{
    if (format.isEmpty()) return QString::number(value);
    // The magnitude of the smallest value does not fit in qint64.
    const quint64 magnitude =
        value < 0 ? quint64(0) - static_cast<quint64>(value) : static_cast<quint64>(value);
    return formatDecimal(format, decimalOf(magnitude), value < 0);
}

QString FormatDateTime(const QString& format, const QDateTime& value)
{
    if (!value.isValid()) return {};
    const QDate date = value.date();
    const QTime time = value.time();
    const QString plain = unquotedLower(format);
    const bool twelveHour = plain.contains(QLatin1String("am/pm")) || plain.contains(QLatin1String("a/p")) ||
                            plain.contains(QLatin1String("ampm"));

    QString out;
    bool afterHour = false; // an 'm' right after an hour token means minutes
    qsizetype i = 0;
    const qsizetype n = format.size();
    auto run = [&](char16_t letter) {
        qsizetype k = i;
        while (k < n && format[k].toLower() == QChar(letter))
            ++k;
        return static_cast<int>(k - i);
    };
    while (i < n) {
        const QChar c = format[i];
        if (isQuote(c)) {
            const qsizetype close = closingQuote(format, i);
            out += format.mid(i + 1, close - i - 1);
            i = close + 1;
            continue;
        }
        if (!c.isLetter()) {
            out += c;
            ++i;
            continue;
        }
        int count = 1;
        bool hourToken = false;
        switch (c.toLower().unicode()) {
        case u'd':
            count = run(u'd');
            if (count == 1)
                out += QString::number(date.day());
            else if (count == 2)
                out += twoDigits(date.day());
            else if (count == 3 || count == 4)
                out += dayName(date.dayOfWeek(), count == 4);
            else if (count == 5)
                out += FormatDateTime(QStringLiteral("dd/mm/yyyy"), value);
            else
                out += FormatDateTime(QStringLiteral("dddd, d mmmm yyyy"), value);
            break;
        case u'm':
            count = run(u'm');
            if (afterHour && count <= 2)
                out += count == 1 ? QString::number(time.minute()) : twoDigits(time.minute());
            else if (count == 1)
                out += QString::number(date.month());
            else if (count == 2)
                out += twoDigits(date.month());
            else
                out += monthName(date.month(), count >= 4);
            break;
        case u'y':
            count = run(u'y');
            if (count <= 2)
                out += twoDigits(date.year() % 100);
            else
                out += QString::number(date.year()).rightJustified(4, u'0');
            break;
        case u'h': {
            count = run(u'h');
            int hour = time.hour();
            if (twelveHour) {
                hour %= 12;
                if (hour == 0) hour = 12;
            }
            out += count == 1 ? QString::number(hour) : twoDigits(hour);
            hourToken = true;
            break;
        }
        case u'n':
            count = run(u'n');
            out += count == 1 ? QString::number(time.minute()) : twoDigits(time.minute());
            break;
        case u's':
            count = run(u's');
            out += count == 1 ? QString::number(time.second()) : twoDigits(time.second());
            break;
        case u'z':
            count = run(u'z');
            out += count >= 3 ? QString::number(time.msec()).rightJustified(3, u'0')
                              : QString::number(time.msec());
            break;
        case u't':
            count = run(u't');
            out += FormatDateTime(count == 1 ? QStringLiteral("hh:nn") : QStringLiteral("hh:nn:ss"), value);
            break;
        case u'c':
            out += FormatDateTime(QStringLiteral("dd/mm/yyyy"), value);
            if (time.msecsSinceStartOfDay() != 0) out += FormatDateTime(QStringLiteral(" hh:nn:ss"), value);
            break;
        case u'a': {
            const bool morning = time.hour() < 12;
            if (startsWithNoCase(format, i, QLatin1String("am/pm"))) {
                out += morning ? format.mid(i, 2) : format.mid(i + 3, 2);
                count = 5;
            } else if (startsWithNoCase(format, i, QLatin1String("a/p"))) {
                out += morning ? format[i] : format[i + 2];
                count = 3;
            } else if (startsWithNoCase(format, i, QLatin1String("ampm"))) {
                out += morning ? QStringLiteral("AM") : QStringLiteral("PM");
                count = 4;
            } else {
                out += c;
            }
            break;
        }
        default:
            out += c;
            break;
        }
        afterHour = hourToken;
        i += count;
    }
    return out;
}

QDateTime DateTimeFromDays(double days)
{
    constexpr qint64 kMsPerDay = 86400000;
    if (!std::isfinite(days) || std::fabs(days) > 3.0e6) return {};
    const double whole = std::trunc(days);
    qint64 ms = std::llround(std::fabs(days - whole) * kMsPerDay);
    QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(whole));
    if (ms >= kMsPerDay) {
        date = date.addDays(1);
        ms = 0;
    }
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)), Qt::UTC);
}

} // namespace zorvel

namespace zorvel {

QString FieldDisplayText(const TZVDataSet& data, const QString& fieldName, const QString& format, bool dateFormat)
{
    const TZVField& field = data.FieldByName(fieldName);
    if (field.IsNull()) return {};
    if (format.isEmpty()) return field.AsWideString();
    if (dateFormat) return FormatDateTime(format, DateTimeFromDays(field.AsFloat()));
    const TZVFieldKind kind = field.Kind();
    if (IsIntegerKind(kind)) return FormatInteger(format, field.AsInteger());
    if (IsFloatKind(kind)) return FormatFloat(format, field.AsFloat());
    if (IsTemporalKind(kind)) return FormatDateTime(format, field.AsDateTime());
    return field.AsWideString();
}

} // namespace zorvel
