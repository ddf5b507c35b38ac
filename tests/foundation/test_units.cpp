// Unit conversions, rounding and the small numeric, colour and text helpers.
#include "foundation/ZVUtils.h"

#include <gtest/gtest.h>

#include <limits>

using namespace zorvel;

TEST(Units, ToModelRoundsTiesToEven)
{
    struct Case
    {
        const char* name;
        TZVUnits units;
        double value;
        int expected;
    };
    const Case cases[] = {
        {"one inch", unINCH, 1.0, 2540},
        {"half inch", unINCH, 0.5, 1270},
        {"mm tie down to even", unMM, 0.125, 12},
        {"mm tie up to even", unMM, 0.375, 38},
        {"negative mm tie", unMM, -0.125, -12},
        {"A4 width", unMM, 210.0, 21000},
        {"cm", unCM, 2.5, 2500},
        {"cm tie", unCM, 0.0125, 12},
        {"single-precision input keeps its decimal", unMM, double(1.23f), 123},
        {"finer than the model unit is lost", unMM, 0.004, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ToModel(c.value, c.units), c.expected);
    }
}

TEST(Units, ToModelSaturatesInsteadOfWrapping)
{
    EXPECT_EQ(ToModel(1e20, unMM), std::numeric_limits<int>::max());
    EXPECT_EQ(ToModel(-1e20, unINCH), std::numeric_limits<int>::min());
    EXPECT_EQ(ToModel(std::numeric_limits<double>::quiet_NaN(), unMM), 0);
}

TEST(Units, FromModel)
{
    EXPECT_FLOAT_EQ(FromModel(2540, unINCH), 1.0f);
    EXPECT_FLOAT_EQ(FromModel(12, unMM), 0.12f);
    EXPECT_FLOAT_EQ(FromModel(2500, unCM), 2.5f);
    EXPECT_FLOAT_EQ(FromModel(-150, unMM), -1.5f);
    EXPECT_EQ(FromModel(2540, static_cast<TZVUnits>(7)), 0.0f);
}

TEST(Units, FixedMillimetres)
{
    EXPECT_EQ(MmToModel(0.33), 33);
    EXPECT_EQ(MmToModel(0.125), 12);
    EXPECT_EQ(MmToModel(3.0e8), 30000000000LL); // beyond 32 bits before narrowing
    EXPECT_FLOAT_EQ(ModelToMm(33), 0.33f);
}

TEST(Units, PixelsToModelRoundsHalfUp)
{
    EXPECT_EQ(PixelsToModel(300, 300), 2540);
    EXPECT_EQ(PixelsToModel(1, 96), 26);  // 26.458
    EXPECT_EQ(PixelsToModel(3, 96), 79);  // 79.375
    EXPECT_EQ(PixelsToModel(6, 96), 159); // 158.75
    EXPECT_EQ(PixelsToModel(5, 0), 0);
}

TEST(Numeric, RoundHalfUpTruncatesNegatives)
{
    const std::pair<double, std::int64_t> cases[] = {
        {2.5, 3}, {2.49, 2}, {0.5, 1}, {3.0, 3}, {-2.5, -2}, {-2.7, -2}, {-0.5, 0}, {-3.0, -3},
    };
    for (const auto& [x, expected] : cases) {
        SCOPED_TRACE(x);
        EXPECT_EQ(RoundHalfUp(x), expected);
    }
}

TEST(Numeric, FloorDivRoundsTowardsMinusInfinity)
{
    const long long cases[][3] = {{7, 2, 3}, {-7, 2, -4}, {7, -2, -4}, {-7, -2, 3}, {-6, 2, -3}, {0, 5, 0}};
    for (const auto& c : cases) EXPECT_EQ(FloorDiv(c[0], c[1]), c[2]) << c[0] << " / " << c[1];
}

TEST(Numeric, MulDivRoundsHalfAwayFromZeroOver64Bits)
{
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    struct Case
    {
        int a, b, c, expected;
    };
    const Case cases[] = {
        {10, 3, 4, 8}, // halves round away from zero, whatever the signs
        {-10, 3, 4, -8},
        {10, 3, -4, -8},
        {-10, 3, -4, 8},
        {7, 1, 3, 2},
        {-5, 1, 3, -2},
        {1, -255, 2, -128},
        {42, 7, 0, 42},                 // no divisor: a passes through
        {1000000001, 3, 2, 1500000002}, // product 3000000003
        {kMin, kMin, kMin, kMin},
        {2000000000, 2, 1, kMax}, // quotient saturates
        {-2000000000, 2, 1, kMin},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " * " << c.b << " / " << c.c);
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected);
    }
}

TEST(Numeric, ClampTestsTheUpperBoundFirst)
{
    EXPECT_EQ(Clamp(5, 10, 0), 0);
    EXPECT_EQ(Clamp(-5, 0, 10), 0);
    EXPECT_EQ(Clamp(15, 0, 10), 10);
    EXPECT_EQ(Clamp(7, 0, 10), 7);
}

TEST(Numeric, PointDistanceAndDigitSum)
{
    EXPECT_EQ(PointDistance({0, 0}, {3, 4}), 5);
    EXPECT_EQ(PointDistance({10, 10}, {11, 11}), 1);
    EXPECT_EQ(PointDistance({-100000, 0}, {100000, 0}), 200000);
    EXPECT_EQ(DigitSum(12345), 15);
    EXPECT_EQ(DigitSum(0), 0);
    EXPECT_EQ(DigitSum(-42), 0);
}

TEST(Colour, LuminanceWeighsRedGreenBlueFromTheLowByte)
{
    EXPECT_EQ(Luminance(0xFFFFFF), 255);
    EXPECT_EQ(Luminance(0x0000FF), 76);  // red
    EXPECT_EQ(Luminance(0x00FF00), 150); // green
    EXPECT_EQ(Luminance(0xFF0000), 27);  // blue
    EXPECT_EQ(Luminance(0xAB000000), 0); // the high byte is not a channel
}

TEST(Colour, ContrastColorSwitchesAt128)
{
    EXPECT_EQ(ContrastColor(0x808080), 0x000000u);
    EXPECT_EQ(ContrastColor(0x7F7F7F), 0xFFFFFFu);
    EXPECT_EQ(ContrastColor(0x0000FF), 0xFFFFFFu);
    EXPECT_EQ(ContrastColor(0x00FF00), 0x000000u);
}

TEST(Text, DigitsPaddingAndQuoting)
{
    EXPECT_TRUE(IsAllDigits(""));
    EXPECT_TRUE(IsAllDigits("0123456789"));
    EXPECT_FALSE(IsAllDigits("12a"));
    EXPECT_FALSE(IsAllDigits(" 1"));
    EXPECT_FALSE(IsAllDigits(QString::fromUtf8("\u0661\u0662"))); // Arabic-Indic digits are not digits here

    EXPECT_EQ(PadZeros("123", 7), "0000123");
    EXPECT_EQ(PadZeros("12345678", 7), "12345678");
    EXPECT_EQ(PadZeros("", 3), "000");

    EXPECT_EQ(QuoteSql("O'Brien"), "'O''Brien'");
    EXPECT_EQ(QuoteSql(""), "''");
    EXPECT_EQ(QuoteSql("''"), "''''''");
    EXPECT_EQ(CommaToPoint("1,5,6"), "1.5.6");
}
