// Rectangle, rotation and anchored-box helpers.
#include "foundation/ZVUtils.h"

#include <gtest/gtest.h>

#include <limits>

using namespace zorvel;

namespace zorvel {
void PrintTo(const TRect& r, std::ostream* os)
{
    *os << "{" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << "}";
}
void PrintTo(const TPoint& p, std::ostream* os)
{
    *os << "(" << p.X << ", " << p.Y << ")";
}
} // namespace zorvel

TEST(Rect, NormalizeReportsSwaps)
{
    TRect r{200, 300, 100, 100};
    bool changed = false;
    NormalizeRectChanged(r, changed);
    EXPECT_EQ(r, (TRect{100, 100, 200, 300}));
    EXPECT_TRUE(changed);
    NormalizeRectChanged(r, changed);
    EXPECT_FALSE(changed);

    TRect onlyVertical{1, 9, 5, 2};
    NormalizeRect(onlyVertical);
    EXPECT_EQ(onlyVertical, (TRect{1, 2, 5, 9}));
}

TEST(Rect, FitRect)
{
    struct Case
    {
        const char* name;
        TRect in;
        TRect expected;
    };
    // Bounds of every case: minLeft 0, minTop 0, maxBottom 1000, maxRight 1000.
    const Case cases[] = {
        {"small inside is widened to 8 x 8", {100, 100, 103, 103}, {100, 100, 108, 108}},
        {"reversed is normalised", {200, 300, 100, 100}, {100, 100, 200, 300}},
        {"past the right edge moves left", {950, 100, 1050, 150}, {900, 100, 1000, 150}},
        {"past the bottom moves up", {10, 980, 20, 1020}, {10, 960, 20, 1000}},
        {"left of the minimum moves right", {-30, 10, 20, 30}, {0, 10, 50, 30}},
        {"above the minimum moves down", {10, -5, 20, 30}, {10, 0, 20, 35}},
        {"larger than the bounds: minimum edges win", {-10, -10, 2000, 2000}, {0, 0, 2010, 2010}},
        // A move keeps the size measured before widening.
        {"widened at the edge keeps its old width", {998, 10, 1001, 13}, {997, 10, 1000, 18}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TRect r = c.in;
        FitRect(r, 0, 0, 1000, 1000);
        EXPECT_EQ(r, c.expected);
    }
}

TEST(Rect, InsideMoveAndSides)
{
    const TRect outer{0, 0, 100, 50};
    EXPECT_TRUE(RectInside({0, 0, 100, 50}, outer));
    EXPECT_TRUE(RectInside({10, 10, 20, 20}, outer));
    EXPECT_FALSE(RectInside({10, 10, 101, 20}, outer));
    EXPECT_FALSE(RectInside({-1, 10, 20, 20}, outer));

    TRect r{10, 20, 40, 70};
    MoveRectTo(r, -5, 3);
    EXPECT_EQ(r, (TRect{-5, 3, 25, 53}));
    SetLeft(r, 1);
    SetTop(r, 2);
    SetRight(r, 3);
    SetBottom(r, 4);
    EXPECT_EQ(r, (TRect{1, 2, 3, 4}));
}

TEST(Rotation, RotatePointTableTruncatesEachProduct)
{
    struct Case
    {
        int angle;
        TPoint in;
        TPoint expected;
    };
    // Centre (100, 100). Expected values worked out by hand from the rotation table.
    const Case cases[] = {
        {0, {110, 120}, {110, 120}},
        {30, {110, 120}, {98, 122}},   // 100 + 8 - 10, 100 + 5 + 17
        {45, {110, 120}, {93, 121}},   // 100 + 7 - 14, 100 + 7 + 14
        {90, {110, 120}, {120, 90}},
        {120, {110, 120}, {78, 98}},   // 100 - 5 - 17, 100 + 8 - 10
        {180, {110, 120}, {90, 80}},
        {270, {110, 120}, {80, 110}},
        {30, {93, 100}, {94, 97}},     // toward zero: -6.06 -> -6, -3.5 -> -3
        {60, {110, 120}, {110, 120}},  // unknown angles leave the point alone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        TPoint p = c.in;
        RotatePoint(p, {100, 100}, c.angle);
        EXPECT_EQ(p, c.expected);
    }
}

TEST(Rotation, PointsFarApartTurnInto64BitsAndSaturate)
{
    struct Case
    {
        int angle;
        TPoint in;
        TPoint centre;
        TPoint expected;
    };
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    constexpr int kFar = 2000000000;
    // Unsaturated: (-2147483667, 2147483668); y -4e9; y 4e9; y -2e9 + 2 x 2828427124.
    const Case cases[] = {
        {180, {kMax, kMin}, {-10, 10}, {kMin, kMax}},
        {90, {kFar, 0}, {-kFar, 0}, {-kFar, kMin}},
        {270, {kFar, 0}, {-kFar, 0}, {-kFar, kMax}},
        {45, {kFar, kFar}, {-kFar, -kFar}, {-kFar, kMax}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        TPoint p = c.in;
        RotatePoint(p, c.centre, c.angle);
        EXPECT_EQ(p, c.expected);
    }
}

TEST(Rotation, QuarterTurnsOfARectangleAreUndoneByTheOppositeTurn)
{
    const TRect original{110, 120, 150, 130};
    TRect r = original;
    RotateRectQuarter(r, {100, 100}, 90);
    EXPECT_EQ(r, (TRect{120, 90, 130, 50}));
    RotateRectQuarter(r, {100, 100}, 270);
    EXPECT_EQ(r, original);

    RotateRectQuarter(r, {100, 100}, 180);
    EXPECT_EQ(r, (TRect{90, 80, 50, 70}));

    r = original;
    RotateRectQuarter(r, {100, 100}, 0);
    EXPECT_EQ(r, original);
    RotateRectQuarter(r, {100, 100}, 45);
    EXPECT_EQ(r, original);
}

TEST(Rotation, AnchoredBoxCoversEveryAnchorAndQuarterTurn)
{
    // X = 1000, Y = 2000, H = 300, W = 501 (so W / 2 = 250, truncated).
    constexpr int X = 1000, Y = 2000, H = 300, W = 501, w = 250;
    struct Case
    {
        int anchor;
        int angle;
        TRect expected;
    };
    const Case cases[] = {
        {taLeBo, 0, {X, Y - H, X + W, Y}},
        {taLeBo, 90, {X - H, Y - W, X, Y}},
        {taLeBo, 180, {X - W, Y, X, Y + H}},
        {taLeBo, 270, {X, Y, X + H, Y + W}},
        {taCeBo, 0, {X - w, Y - H, X + w, Y}},
        {taCeBo, 90, {X - H, Y - w, X, Y + w}},
        {taCeBo, 180, {X - w, Y, X + w, Y + H}},
        {taCeBo, 270, {X, Y - w, X + H, Y + w}},
        {taRiBo, 0, {X - W, Y - H, X, Y}},
        {taRiBo, 90, {X - H, Y, X, Y + W}},
        {taRiBo, 180, {X, Y, X + W, Y + H}},
        {taRiBo, 270, {X, Y - W, X + H, Y}},
        {taLeTo, 0, {X, Y, X + W, Y + H}},
        {taLeTo, 90, {X, Y - W, X + H, Y}},
        {taLeTo, 180, {X - W, Y - H, X, Y}},
        {taLeTo, 270, {X - H, Y, X, Y + W}},
        {taCeTo, 0, {X - w, Y, X + w, Y + H}},
        {taCeTo, 90, {X, Y - w, X + H, Y + w}},
        {taCeTo, 180, {X - w, Y - H, X + w, Y}},
        {taCeTo, 270, {X - H, Y - w, X, Y + w}},
        {taRiTo, 0, {X - W, Y, X, Y + H}},
        {taRiTo, 90, {X, Y, X + H, Y + W}},
        {taRiTo, 180, {X, Y - H, X + W, Y}},
        {taRiTo, 270, {X - H, Y - W, X, Y}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "anchor " << c.anchor << " angle " << c.angle);
        TRect r{-1, -1, -1, -1};
        AnchoredBox(r, c.angle, X, Y, c.anchor, H, W);
        EXPECT_EQ(r, c.expected);
    }
}

TEST(Rotation, AnchoredBoxLeavesTheRectangleForUnknownAnchorsAndAngles)
{
    const TRect untouched{1, 2, 3, 4};
    TRect r = untouched;
    AnchoredBox(r, 45, 10, 10, taLeBo, 5, 5);
    EXPECT_EQ(r, untouched);
    AnchoredBox(r, 0, 10, 10, taCeCe, 5, 5);
    EXPECT_EQ(r, untouched);
    AnchoredBox(r, 0, 10, 10, -1, 5, 5);
    EXPECT_EQ(r, untouched);
}
