// Display formats: numeric pictures, date-time pictures and dates held as floats.
#include "document/ZVDisplayFormat.h"

#include <gtest/gtest.h>
#include <limits>

using namespace zorvel;

// Expected texts follow the picture rules documented in ZVDisplayFormat.h, worked by hand.
TEST(DisplayFormat, FormatFloat)
{
    struct Case
    {
        const char* name;
        const char* format;
        double value;
        const char* expected;
    };
    const Case cases[] = {
        {"grouped with two decimals", "#,##0.00", 1234567.891, "1,234,567.89"},
        {"negative gets a leading minus", "#,##0.00", -1234.5, "-1,234.50"},
        {"three decimals", "0.000", 3.14159, "3.142"},
        {"zero keeps required digits", "0.000", 0, "0.000"},
        {"optional digit of zero", "#", 0, ""},
        {"optional digit rounds", "#", 42.6, "43"},
        {"percent is literal", "0%", 15, "15%"},
        {"percent with a decimal, half up", "0.0%", 7.25, "7.3%"},
        {"negative section used as written", "$#,##0.00;-$#,##0.00", -1234.5, "-$1,234.50"},
        {"negative section in brackets", "$#,##0.00;($#,##0.00)", -5, "($5.00)"},
        {"minus ahead of literals", "$#,##0.00", -5, "-$5.00"},
        {"positive with sections", "$#,##0.00;($#,##0.00)", 5, "$5.00"},
        {"zero section", "0.00;-0.00;\"zero\"", 0, "zero"},
        {"rounds into the zero section", "0.00;-0.00;\"zero\"", 0.001, "zero"},
        {"empty negative section falls back", "0.0;;\"none\"", -2.25, "-2.3"},
        {"no sign on a rounded zero", "0.00", -0.001, "0.00"},
        {"decimal ties round up", "0.00", 1.005, "1.01"},
        {"binary just below a tie", "0.00", 2.675, "2.68"},
        {"half away from zero", "0", 2.5, "3"},
        {"half away from zero, negative", "0", -2.5, "-3"},
        {"optional decimals dropped with the point", "0.##", 1, "1"},
        {"optional decimals kept", "0.##", 1.5, "1.5"},
        {"required then optional decimals", "0.0#", 1, "1.0"},
        {"padded integer", "000", 7, "007"},
        {"literal between digits", "00-00", 1234, "12-34"},
        {"carry into a new group", "#,##0", 999.5, "1,000"},
        {"digits beyond the placeholders", "0", 1e20, "100000000000000000000"},
        {"long grouping", "#,##0", 123456789012.0, "123,456,789,012"},
        {"quoted literal", "\"Total: \"0", 5, "Total: 5"},
        {"single-quoted literal", "'x'0", 5, "x5"},
        {"no integer placeholder", ".00", 0.5, ".50"},
        {"optional integer", "#.##", 0.5, ".5"},
        {"scientific", "0.00E+00", 1234.5, "1.23E+03"},
        {"scientific small", "0.00E+00", 0.000123, "1.23E-04"},
        {"scientific sign only when negative", "0.0E-0", 1234, "1.2E3"},
        {"scientific lower case", "0.0e-00", 0.05, "5.0e-02"},
        {"scientific zero", "0.00E+00", 0, "0.00E+00"},
        {"empty format is the plain value", "", 3.5, "3.5"},
        {"not a number", "0.00", std::numeric_limits<double>::quiet_NaN(), "NAN"},
        {"negative infinity", "0.00", -std::numeric_limits<double>::infinity(), "-INF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatFloat(QString::fromUtf8(c.format), c.value), QString::fromUtf8(c.expected));
    }
}

TEST(DisplayFormat, FormatIntegerIsExact)
{
    struct Case
    {
        const char* name;
        const char* format;
        qint64 value;
        const char* expected;
    };
    const Case cases[] = {
        {"smallest value", "#,##0", std::numeric_limits<qint64>::min(), "-9,223,372,036,854,775,808"},
        {"largest value", "0", std::numeric_limits<qint64>::max(), "9223372036854775807"},
        {"decimals added", "0.00", 42, "42.00"},
        {"padded negative", "000000", -42, "-000042"},
        {"negative section", "#,##0;(#,##0)", -1500, "(1,500)"},
        {"scientific", "0.0E+0", std::numeric_limits<qint64>::max(), "9.2E+18"},
        {"empty format", "", 7, "7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatInteger(QString::fromUtf8(c.format), c.value), QString::fromUtf8(c.expected));
    }
}

TEST(DisplayFormat, FormatDateTime)
{
    // A Tuesday afternoon.
    const QDateTime afternoon(QDate(2024, 3, 5), QTime(14, 7, 9, 45));
    const QDateTime midnight(QDate(2024, 12, 25), QTime(0, 0));
    struct Case
    {
        const char* name;
        const char* format;
        QDateTime value;
        const char* expected;
    };
    const Case cases[] = {
        {"day month year", "dd-mm-yyyy", afternoon, "05-03-2024"},
        {"short forms", "d/m/yy", afternoon, "5/3/24"},
        {"time with n for minutes", "hh:nn:ss", afternoon, "14:07:09"},
        {"m after an hour is minutes", "hh:mm", afternoon, "14:07"},
        {"upper-case letters", "DD.MM.YYYY", afternoon, "05.03.2024"},
        {"month names", "mmm mmmm", afternoon, "Mar March"},
        {"day names", "ddd dddd", afternoon, "Tue Tuesday"},
        {"am/pm in lower case", "h:mm am/pm", afternoon, "2:07 pm"},
        {"AM/PM in upper case", "h:mm AM/PM", afternoon, "2:07 PM"},
        {"a/p", "hh a/p", afternoon, "02 p"},
        {"ampm", "h ampm", afternoon, "2 PM"},
        {"midnight on a 12-hour clock", "h am/pm", midnight, "12 am"},
        {"quoted text", "yyyy-mm-dd\"T\"hh:nn", afternoon, "2024-03-05T14:07"},
        {"single-quoted text", "'Day' d", afternoon, "Day 5"},
        {"milliseconds", "ss.zzz", afternoon, "09.045"},
        {"short date", "ddddd", afternoon, "05/03/2024"},
        {"long date", "dddddd", afternoon, "Tuesday, 5 March 2024"},
        {"short and long time", "t|tt", afternoon, "14:07|14:07:09"},
        {"date and time", "c", afternoon, "05/03/2024 14:07:09"},
        {"date without a midnight time", "c", midnight, "25/12/2024"},
        {"invalid date-time", "dd", QDateTime(), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatDateTime(QString::fromUtf8(c.format), c.value), QString::fromUtf8(c.expected));
    }
}

TEST(DisplayFormat, DateTimeFromDays)
{
    struct Case
    {
        const char* name;
        double days;
        QDate date;
        QTime time;
    };
    const Case cases[] = {
        {"the base", 0, QDate(1899, 12, 30), QTime(0, 0)},
        {"a day in 2023 at noon", 45000.5, QDate(2023, 3, 15), QTime(12, 0)},
        {"before the base the time still runs forward", -1.25, QDate(1899, 12, 29), QTime(6, 0)},
        {"rounding into the next day", 1.9999999999, QDate(1900, 1, 1), QTime(0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QDateTime value = DateTimeFromDays(c.days);
        EXPECT_EQ(value.date(), c.date);
        EXPECT_EQ(value.time(), c.time);
    }
    EXPECT_FALSE(DateTimeFromDays(std::numeric_limits<double>::infinity()).isValid());
}
