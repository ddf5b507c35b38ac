// Lines and rectangles: normalisation, placement, hit tests, their setters and records.
#include "ElementTestSupport.h"
#include "elements/ZVLineRect.h"

#include <limits>

using namespace zorvel;
using namespace zorvel::test;

namespace {

struct LineState
{
    int x1, y1, x2, y2;
    int orientation;
    friend bool operator==(const LineState&, const LineState&) = default;
    friend void PrintTo(const LineState& s, std::ostream* os)
    {
        *os << "(" << s.x1 << ", " << s.y1 << ")-(" << s.x2 << ", " << s.y2 << ") o" << s.orientation;
    }
};

LineState StateOf(const TZVLine& line)
{
    return {line.X1(), line.Y1(), line.X2(), line.Y2(), line.LineOrientation()};
}

void Draw(TZVLine& line, TPoint start, TPoint end)
{
    line.SetStartPoint(start.X, start.Y);
    line.SetEndPoint(end.X, end.Y);
}

} // namespace

TEST(Line, NewLineIsNotDrawnUntilBothEndsAreSet)
{
    TZVLab label;
    TZVLine line(label);
    EXPECT_EQ(StateOf(line), (LineState{-1, 0, -1, 0, 0}));
    line.SetStartPoint(2000, 1500);
    EXPECT_EQ(StateOf(line), (LineState{2000, 1500, -1, 0, 0})) << "normalising waits for the end point";
    line.SetEndPoint(1000, 500);
    EXPECT_EQ(StateOf(line), (LineState{1000, 500, 2000, 1500, TZVLine::loFalling}));
}

TEST(Line, EndPointsAreOrderedAndOrientationFollows)
{
    struct Case
    {
        const char* name;
        TPoint start;
        TPoint end;
        LineState expected;
    };
    const Case cases[] = {
        {"falling drawn forwards", {1000, 500}, {2000, 1500}, {1000, 500, 2000, 1500, TZVLine::loFalling}},
        {"falling drawn backwards", {2000, 1500}, {1000, 500}, {1000, 500, 2000, 1500, TZVLine::loFalling}},
        {"rising drawn forwards", {1000, 1500}, {2000, 500}, {1000, 1500, 2000, 500, TZVLine::loRising}},
        {"rising drawn backwards", {2000, 500}, {1000, 1500}, {1000, 1500, 2000, 500, TZVLine::loRising}},
        {"horizontal drawn backwards",
         {2000, 800},
         {1000, 800},
         {1000, 800, 2000, 800, TZVLine::loHorizontal}},
        {"vertical drawn upwards", {1000, 2000}, {1000, 500}, {1000, 500, 1000, 2000, TZVLine::loVertical}},
        {"vertical drawn downwards", {1000, 500}, {1000, 2000}, {1000, 500, 1000, 2000, TZVLine::loVertical}},
    };
    TZVLab label;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLine line(label);
        Draw(line, c.start, c.end);
        EXPECT_EQ(StateOf(line), c.expected);
    }
}

TEST(Line, PropertySettersNormaliseToo)
{
    TZVLab label;
    TZVLine line(label);
    Draw(line, {1000, 500}, {2000, 1500});
    line.SetX1(25.0f);
    EXPECT_EQ(StateOf(line), (LineState{2000, 1500, 2500, 500, TZVLine::loRising}));
    line.SetY2(15.0f);
    EXPECT_EQ(StateOf(line), (LineState{2000, 1500, 2500, 1500, TZVLine::loHorizontal}));
    line.SetX2(20.0f);
    line.SetY2(5.0f);
    EXPECT_EQ(StateOf(line), (LineState{2000, 500, 2000, 1500, TZVLine::loVertical}));
}

TEST_F(ElementTest, LinePlacedFromADraggedBoxKeepsItsDirection)
{
    struct Case
    {
        const char* name;
        float penMm;
        TPoint start;
        TPoint end;
        TRect dragged; // device pixels, 10 model units each
        LineState expected;
    };
    const Case cases[] = {
        // Half of 1 mm, not half the pen, for pens thinner than 1 mm.
        {"thin vertical",
         0.1f,
         {1000, 500},
         {1000, 2000},
         {200, 100, 210, 300},
         {2050, 1000, 2050, 3000, TZVLine::loVertical}},
        {"thin horizontal",
         0.1f,
         {500, 1000},
         {2000, 1000},
         {100, 200, 300, 210},
         {1000, 2050, 3000, 2050, TZVLine::loHorizontal}},
        {"thick vertical",
         3.0f,
         {1000, 500},
         {1000, 2000},
         {200, 100, 230, 300},
         {2150, 1000, 2150, 3000, TZVLine::loVertical}},
        {"rising",
         0.1f,
         {1000, 1500},
         {2000, 500},
         {100, 100, 200, 200},
         {1000, 2000, 2000, 1000, TZVLine::loRising}},
        {"falling",
         0.1f,
         {1000, 500},
         {2000, 1500},
         {100, 100, 200, 200},
         {1000, 1000, 2000, 2000, TZVLine::loFalling}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLine line(label);
        line.SetPenWidth(c.penMm);
        Draw(line, c.start, c.end);
        line.PlaceFromScreenRect(c.dragged, true, false);
        EXPECT_EQ(StateOf(line), c.expected);
    }
}

TEST_F(ElementTest, SnappingAFlatDiagonalKeepsTheOrientationTrue)
{
    TZVLine line(label);
    Draw(line, {1000, 1100}, {2000, 900});
    ASSERT_EQ(line.LineOrientation(), TZVLine::loRising);
    editor.snap = snGrid;
    editor.gridIncX = editor.gridIncY = 500;
    // Both ends snap to y 1000: the line is horizontal now, and must say so.
    line.PlaceFromScreenRect({100, 90, 200, 110}, true, true);
    EXPECT_EQ(StateOf(line), (LineState{1000, 1000, 2000, 1000, TZVLine::loHorizontal}));
}

TEST(Line, SelectionBoxIsAtLeastOneMillimetreAcross)
{
    struct Case
    {
        const char* name;
        float penMm;
        TPoint start;
        TPoint end;
        TRect expected;
    };
    const Case cases[] = {
        {"thin vertical", 0.1f, {1000, 500}, {1000, 2000}, {950, 500, 1050, 2000}},
        {"thin horizontal", 0.1f, {500, 1000}, {2000, 1000}, {500, 950, 2000, 1050}},
        {"thick vertical", 3.0f, {1000, 500}, {1000, 2000}, {850, 500, 1150, 2000}},
        {"rising", 0.1f, {1000, 1500}, {2000, 500}, {1000, 500, 2000, 1500}},
        {"falling", 0.1f, {1000, 500}, {2000, 1500}, {1000, 500, 2000, 1500}},
        // Stored ends and pens near the int limits: the band saturates instead of wrapping.
        {"huge pen at the right edge", 2.0e7f, {2000000000, 0}, {2000000000, 100},
         {1000000000, 0, std::numeric_limits<int>::max(), 100}},
        {"at the top edge", 0.1f, {0, -2147483600}, {100, -2147483600},
         {0, std::numeric_limits<int>::min(), 100, -2147483550}},
    };
    TZVLab label;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLine line(label);
        line.SetPenWidth(c.penMm);
        // Read as stored: drawing would keep the ends on the label.
        RecordingVisitor reader(kStreamVersion, true);
        reader.numbers = {{"X1", c.start.X}, {"Y1", c.start.Y}, {"X2", c.end.X}, {"Y2", c.end.Y}};
        line.VisitFields(reader);
        EXPECT_EQ(line.SelectionBox(), c.expected);
    }
}

TEST_F(ElementTest, LineIsHitWithinTwoPixels)
{
    struct Case
    {
        const char* name;
        TPoint start; // model units, 10 a pixel
        TPoint end;
        TPoint point; // device pixels
        bool hit;
    };
    const Case cases[] = {
        {"on a horizontal line", {1000, 1000}, {3000, 1000}, {200, 100}, true},
        {"two pixels below", {1000, 1000}, {3000, 1000}, {200, 102}, true},
        {"two pixels above", {1000, 1000}, {3000, 1000}, {200, 98}, true},
        {"three pixels below", {1000, 1000}, {3000, 1000}, {200, 103}, false},
        {"before the start", {1000, 1000}, {3000, 1000}, {99, 100}, false},
        {"at the end", {1000, 1000}, {3000, 1000}, {300, 100}, true},
        {"past the end", {1000, 1000}, {3000, 1000}, {301, 100}, false},
        {"beside a vertical line", {1000, 1000}, {1000, 3000}, {102, 200}, true},
        {"three pixels beside it", {1000, 1000}, {1000, 3000}, {103, 200}, false},
        {"above a vertical line", {1000, 1000}, {1000, 3000}, {100, 99}, false},
        {"below a vertical line", {1000, 1000}, {1000, 3000}, {100, 301}, false},
        {"on a diagonal", {1000, 1000}, {2000, 2000}, {150, 150}, true},
        {"two pixels off a diagonal", {1000, 1000}, {2000, 2000}, {152, 150}, true},
        {"three pixels off a diagonal", {1000, 1000}, {2000, 2000}, {153, 150}, false},
        {"on a rising line", {1000, 2000}, {3000, 1000}, {200, 150}, true},
        {"off a rising line", {1000, 2000}, {3000, 1000}, {200, 160}, false},
        {"a point-like line", {1000, 1000}, {1000, 1000}, {100, 100}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLine line(label);
        Draw(line, c.start, c.end);
        EXPECT_EQ(line.HitTest(c.point), c.hit);
    }
}

TEST(Line, ReadingARecordNormalises)
{
    TZVLab label;
    TZVLine line(label);
    RecordingVisitor reader(kStreamVersion, true);
    reader.numbers = {{"X1", 2000}, {"Y1", 0}, {"X2", 1000}, {"Y2", 500}};
    line.VisitFields(reader);
    EXPECT_EQ(StateOf(line), (LineState{1000, 500, 2000, 0, TZVLine::loRising}));
    EXPECT_EQ(reader.names, BaseFieldNames(kStreamVersion)) << "a line has no part of its own";
}

// ---- rectangles ----

TEST_F(ElementTest, RectangleRadiusAndEllipse)
{
    TZVRect rect(label);
    Forget();
    rect.SetRadio(2.0f);
    EXPECT_EQ(rect.Radio(), 200);
    EXPECT_EQ(editor.LastRefreshedName(), "Radius");
    EXPECT_TRUE(label.Modified());

    Forget();
    rect.SetRadio(2.0f);
    EXPECT_EQ(editor.refreshes.size(), 1u) << "notifies on every call";

    Forget();
    rect.SetEllipse(true);
    EXPECT_EQ(editor.LastRefreshedName(), "Circle");
    EXPECT_TRUE(label.Modified());
    Forget();
    rect.SetEllipse(true);
    EXPECT_TRUE(editor.refreshes.empty());

    // The radius means nothing to an ellipse: kept, but not shown and no edit.
    Forget();
    rect.SetRadio(3.0f);
    EXPECT_EQ(rect.Radio(), 300);
    EXPECT_TRUE(editor.refreshes.empty());
    EXPECT_FALSE(label.Modified());
}

TEST_F(ElementTest, RectangleHitTest)
{
    struct Case
    {
        const char* name;
        bool ellipse;
        bool transparent;
        float penMm;
        bool locked;
        TPoint point;
        bool hit;
    };
    // Screen rectangle (100, 100)-(300, 200), the box (1000, 1000)-(3000, 2000); a 1 mm pen is 10 pixels.
    const Case cases[] = {
        {"clear, no pen: inside", false, true, 0, false, {200, 150}, true},
        {"clear, 1 mm pen: centre", false, true, 1, false, {200, 150}, false},
        {"clear, 1 mm pen: on the left band", false, true, 1, false, {105, 150}, true},
        {"clear, 1 mm pen: inside the band", false, true, 1, false, {110, 150}, false},
        {"clear, 1 mm pen: on the right band", false, true, 1, false, {290, 150}, true},
        {"clear, 1 mm pen: just inside the right band", false, true, 1, false, {289, 150}, false},
        {"clear, thin pen: band at least 2 pixels", false, true, 0.1f, false, {101, 150}, true},
        {"clear, thin pen: third pixel", false, true, 0.1f, false, {102, 150}, false},
        {"filled: centre", false, false, 1, false, {200, 150}, true},
        {"outside", false, false, 1, false, {99, 150}, false},
        {"locked: centre", false, false, 1, true, {200, 150}, false},
        {"locked: marker", false, false, 1, true, {103, 103}, true},
        {"ellipse, no pen: centre", true, true, 0, false, {200, 150}, true},
        {"ellipse: corner outside the curve", true, false, 1, false, {102, 102}, false},
        {"ellipse, clear, 1 mm pen: centre", true, true, 1, false, {200, 150}, false},
        {"ellipse, clear, 1 mm pen: near the left end", true, true, 1, false, {102, 150}, true},
        {"ellipse, filled: centre", true, false, 1, false, {200, 150}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVRect rect(label);
        rect.SetScreenRect({100, 100, 300, 200});
        ASSERT_EQ((TRect{rect.X1(), rect.Y1(), rect.X2(), rect.Y2()}), (TRect{1000, 1000, 3000, 2000}));
        rect.SetEllipse(c.ellipse);
        rect.SetTransparent(c.transparent);
        rect.SetPenWidth(c.penMm);
        rect.SetLocked(c.locked);
        EXPECT_EQ(rect.HitTest(c.point), c.hit);
    }
}

TEST(Rectangle, RecordPartAndOldRadius)
{
    struct Case
    {
        std::int32_t version;
        int radio;
    };
    const Case cases[] = {{19, 150}, {20, 15}, {2700, 15}};
    TZVLab label;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        TZVRect rect(label);
        RecordingVisitor reader(c.version, true);
        reader.numbers = {{"Radio", 15}, {"Ellipse", 1}};
        rect.VisitFields(reader);
        EXPECT_EQ(reader.names, Joined(BaseFieldNames(c.version), {"Radio", "Ellipse"}));
        EXPECT_EQ(rect.Radio(), c.radio);
        EXPECT_TRUE(rect.Ellipse());
    }
}

TEST(PublishedProperties, LinesAndRectanglesInIndexOrder)
{
    struct Case
    {
        const char* name;
        const QMetaObject* meta;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"line", &TZVLine::staticMetaObject, {"X1", "Y1", "Color", "Print", "ID", "X2", "Y2", "PenWidth"}},
        {"rectangle",
         &TZVRect::staticMetaObject,
         {"X1", "Y1", "Color", "Print", "BackColor", "Transparent", "X2", "Y2", "ID", "Radio", "Ellipse",
          "Locked", "PenWidth"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PublishedNames(*c.meta), c.names);
    }
}

TEST_F(ElementTest, PropertiesAreReadAndWrittenByName)
{
    TZVRect rect(label);
    ASSERT_TRUE(rect.setProperty("X2", 12.5f));
    EXPECT_EQ(rect.X2(), 1250);
    ASSERT_TRUE(rect.setProperty("Radio", 1.0f));
    EXPECT_EQ(rect.Radio(), 100);
    ASSERT_TRUE(rect.setProperty("ID", QStringLiteral("Box")));
    EXPECT_EQ(rect.property("ID").toString(), "Box");
    EXPECT_FLOAT_EQ(rect.property("PenWidth").toFloat(), 0.1f);
}
