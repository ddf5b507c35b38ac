// Bar code element: setters and side effects, factor clamping, symbol size, the record's layout rules.
#include "ElementTestSupport.h"
#include "elements/ZVBarCode.h"

#include <algorithm>
#include <functional>

using namespace zorvel;
using namespace zorvel::test;

namespace {

const std::vector<std::string> kBarcodePartNames{"BarCode",   "CodeType",   "BarWidth",   "BHeight",
                                                 "Distance",  "FontHeight", "ShowNumber", "LeftMargin",
                                                 "TopMargin", "Checksum",   "Factor",     "BarReserved"};

// Puts values into a bar code the way a stream does: raw, without setters.
void Feed(TZVBarCode& barcode, std::map<std::string, std::int64_t> numbers)
{
    RecordingVisitor reader(kStreamVersion, true);
    reader.numbers = std::move(numbers);
    barcode.VisitFields(reader);
}

} // namespace

TEST_F(ElementTest, NewBarcodeIsACode39WithFactorThree)
{
    TZVBarCode barcode(label);
    EXPECT_EQ(barcode.ID(), "Barcode1");
    EXPECT_EQ(barcode.BarCode(), "88888");
    EXPECT_EQ(barcode.CodeType(), CODE39);
    EXPECT_FLOAT_EQ(barcode.GetFactor(), 3.0f);
    EXPECT_EQ(barcode.BarWidth(), 30);
    EXPECT_EQ(barcode.BHeight(), 1000);
    EXPECT_EQ(barcode.FontHeight(), 300);
    EXPECT_EQ(barcode.FontName(), "Arial");
    EXPECT_EQ(barcode.LeftMargin(), 300);
    EXPECT_EQ(barcode.TopMargin(), 0);
    EXPECT_EQ(barcode.Distance(), 0);
    EXPECT_TRUE(barcode.ShowNumber());
    EXPECT_FALSE(barcode.Checksum());
    EXPECT_EQ(barcode.BarReserved(), 1);
}

TEST_F(ElementTest, FactorGetterClampsAndKeepsTheClampedValue)
{
    struct Case
    {
        TZVBar type;
        int stored;
        float read;
    };
    const Case cases[] = {
        {EAN13, 600, 3.0f},  {EAN13, 150, 2.0f},   {EAN8, 250, 2.5f},    {UPCA, 100, 2.0f},
        {CODE39, 320, 3.0f}, {CODE39, 250, 2.5f},  {EAN128A, 600, 6.0f}, {EAN128B, 700, 6.0f},
        {EAN128C, 50, 1.0f}, {EAN128C, 150, 1.5f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << int(c.type) << " stored " << c.stored);
        TZVBarCode barcode(label);
        Feed(barcode, {{"CodeType", c.type}, {"Factor", c.stored}});
        EXPECT_EQ(barcode.ClampedFactor(), int(c.read * 100 + 0.5f));
        EXPECT_EQ(barcode.Factor(), c.stored) << "only reading the property clamps";
        Forget();
        EXPECT_FLOAT_EQ(barcode.GetFactor(), c.read);
        EXPECT_EQ(barcode.Factor(), int(c.read * 100 + 0.5f));
        EXPECT_EQ(barcode.property("Factor").toFloat(), c.read);
        EXPECT_FALSE(label.Modified());
    }
}

TEST_F(ElementTest, ChangingTheSymbologySetsTheFactor)
{
    struct Case
    {
        const char* name;
        TZVBar from;
        TZVBar to;
        int factorBefore;
        int factorAfter;
        bool heard;
    };
    const Case cases[] = {
        {"Code 39 to EAN-13", CODE39, EAN13, 300, 200, true},
        {"EAN-8 to GS1-128 C", EAN8, EAN128C, 250, 200, true},
        {"EAN-13 back to Code 39 keeps the factor", EAN13, CODE39, 250, 250, true},
        {"unchanged type", EAN13, EAN13, 250, 250, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVBarCode barcode(label);
        Feed(barcode, {{"CodeType", c.from}, {"Factor", c.factorBefore}});
        Forget();
        barcode.SetCodeType(c.to);
        EXPECT_EQ(barcode.CodeType(), c.to);
        EXPECT_EQ(barcode.Factor(), c.factorAfter);
        EXPECT_EQ(label.Modified(), c.heard);
        if (c.heard) {
            EXPECT_EQ(editor.LastRefreshedName(), "CodeType");
            EXPECT_EQ(editor.refreshedProperties, QStringList{"Factor"});
        } else {
            EXPECT_TRUE(editor.refreshes.empty());
            EXPECT_TRUE(editor.refreshedProperties.isEmpty());
        }
    }
}

TEST_F(ElementTest, BarcodeSettersFollowTheirNotificationRules)
{
    struct Case
    {
        const char* name;
        std::function<void(TZVBarCode&)> act;
        const char* refreshed; // null: the editor hears nothing
        bool modified;
    };
    const Case cases[] = {
        {"Factor", [](TZVBarCode& b) { b.SetFactor(2.5f); }, "Factor", true},
        {"unchanged Factor", [](TZVBarCode& b) { b.SetFactor(3.0f); }, nullptr, false},
        {"Factor rounds halves up", [](TZVBarCode& b) { b.SetFactor(2.125f); }, "Factor", true},
        {"unchanged BarWidth still notifies", [](TZVBarCode& b) { b.SetBarWidth(0.3f); }, "BarWidth", true},
        {"unchanged BHeight still notifies", [](TZVBarCode& b) { b.SetBHeight(10); }, "BHeight", true},
        {"LeftMargin", [](TZVBarCode& b) { b.SetLeftMargin(2); }, "LeftMargin", true},
        {"TopMargin", [](TZVBarCode& b) { b.SetTopMargin(1); }, "TopMargin", true},
        {"Distance with the number shown", [](TZVBarCode& b) { b.SetDistance(0.2f); }, "Distance", true},
        {"Distance without the number is not shown",
         [](TZVBarCode& b) {
             b.SetShowNumber(false);
             b.SetDistance(0.2f);
         },
         "ShowNumber", true},
        {"BarCode", [](TZVBarCode& b) { b.SetBarCode("123"); }, "BarCode", true},
        {"unchanged BarCode", [](TZVBarCode& b) { b.SetBarCode("88888"); }, nullptr, false},
        {"ShowNumber", [](TZVBarCode& b) { b.SetShowNumber(false); }, "ShowNumber", true},
        {"Checksum", [](TZVBarCode& b) { b.SetChecksum(true); }, "Checksum", true},
        {"unchanged Checksum", [](TZVBarCode& b) { b.SetChecksum(false); }, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVBarCode barcode(label);
        Forget();
        c.act(barcode);
        if (c.refreshed) {
            ASSERT_FALSE(editor.refreshes.empty());
            EXPECT_EQ(editor.LastRefreshedName(), c.refreshed);
        } else {
            EXPECT_TRUE(editor.refreshes.empty());
        }
        EXPECT_EQ(label.Modified(), c.modified);
    }

    TZVBarCode barcode(label);
    barcode.SetFactor(2.125f);
    EXPECT_EQ(barcode.Factor(), 213) << "212.5 rounds half up, not to the even neighbour";
}

TEST_F(ElementTest, ModuleLengthsAreMillimetresWhateverTheUnit)
{
    for (const TZVUnits units : {unMM, unINCH, unCM}) {
        SCOPED_TRACE(int(units));
        label.SetUnits(units);
        TZVBarCode barcode(label);
        barcode.SetBarWidth(0.33f);
        barcode.SetDistance(0.5f);
        EXPECT_EQ(barcode.BarWidth(), 33);
        EXPECT_EQ(barcode.Distance(), 50);
        EXPECT_FLOAT_EQ(barcode.GetBarWidth(), 0.33f);
        EXPECT_FLOAT_EQ(barcode.GetDistance(), 0.5f);
    }
    label.SetUnits(unCM);
    TZVBarCode barcode(label);
    barcode.SetBHeight(1.5f);
    barcode.SetLeftMargin(0.2f);
    EXPECT_EQ(barcode.BHeight(), 1500) << "the other lengths follow the label's unit";
    EXPECT_EQ(barcode.LeftMargin(), 200);
}

TEST_F(ElementTest, SymbolSizeFollowsModulesMarginsAndNumber)
{
    TZVBarCode barcode(label);
    Feed(barcode, {{"CodeType", EAN13}, {"Factor", 200}});
    // An EAN-13 symbol is 95 modules wide (GS1 General Specifications); at ratio 2.0 every
    // width class is a whole number of narrow modules, so 95 x 0.3 mm plus two 3 mm quiet zones.
    EXPECT_EQ(barcode.SymbolWidth("5901234123457"), 95 * 30 + 2 * 300);
    EXPECT_EQ(barcode.SymbolHeight(), 1000 + 300);
    barcode.SetTopMargin(2);
    barcode.SetShowNumber(false);
    EXPECT_EQ(barcode.SymbolHeight(), 1000 + 200) << "no number: the height loses the font height";
}

TEST_F(ElementTest, BarcodePlacedFromADraggedBoxMovesTheTurnedCorner)
{
    struct Case
    {
        int angle;
        TPoint anchor;
    };
    // Box (100, 100)-(300, 200) in model units.
    const Case cases[] = {{0, {100, 100}}, {90, {100, 200}}, {180, {300, 200}}, {270, {300, 100}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        TZVBarCode barcode(label);
        barcode.SetAngle(c.angle);
        barcode.PlaceFromScreenRect({10, 10, 30, 20}, false, false);
        EXPECT_EQ((TPoint{barcode.X1(), barcode.Y1()}), c.anchor);
    }
}

TEST(BarcodeRecord, FieldsAreVisitedInStreamOrderPerLayout)
{
    struct Case
    {
        std::int32_t version;
        std::vector<std::string> absent;
    };
    const Case cases[] = {
        {kStreamVersion, {}},
        {20, {}},
        {19, {"Checksum", "Factor", "BarReserved"}},
        {18, {"Checksum", "Factor", "BarReserved"}},
        {17, {"BHeight", "Checksum", "Factor", "BarReserved"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        TZVLab label;
        TZVBarCode barcode(label);
        RecordingVisitor reader(c.version, true);
        barcode.VisitFields(reader);
        std::vector<std::string> part;
        for (const std::string& name : kBarcodePartNames)
            if (std::find(c.absent.begin(), c.absent.end(), name) == c.absent.end()) part.push_back(name);
        EXPECT_EQ(reader.names, Joined(Joined(BaseFieldNames(c.version), DataFieldNames(c.version)), part));
    }
}

TEST(BarcodeRecord, OlderLayoutsAreScaledAndTranslated)
{
    struct Case
    {
        const char* name;
        std::int32_t version;
        int storedType;
        TZVBar type;
        int factor;
        int bHeight;
        int scale;
    };
    const std::map<std::string, std::int64_t> stored{{"BarWidth", 3},    {"BHeight", 120},   {"Distance", 2},
                                                     {"FontHeight", 25}, {"LeftMargin", 30}, {"TopMargin", 4},
                                                     {"Factor", 250},    {"Checksum", 1}};
    const Case cases[] = {
        {"current layout keeps Code 39", kStreamVersion, CODE39, CODE39, 250, 120, 1},
        {"version 19 reads Code 39 as GS1-128 A", 19, CODE39, EAN128A, 200, 1200, 10},
        {"version 19 EAN-13 gets ratio 2", 19, EAN13, EAN13, 200, 1200, 10},
        {"version 19 UPC-A gets ratio 2", 19, UPCA, UPCA, 200, 1200, 10},
        {"version 19 GS1-128 B gets ratio 2", 19, EAN128B, EAN128B, 200, 1200, 10},
        {"version 19 GS1-128 C keeps the default ratio", 19, EAN128C, EAN128C, 300, 1200, 10},
        // A missing bar height is already the model-unit default and is not scaled.
        {"version 17 has no bar height", 17, EAN8, EAN8, 200, 1000, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLab label;
        TZVBarCode barcode(label);
        RecordingVisitor reader(c.version, true);
        reader.numbers = stored;
        reader.numbers["CodeType"] = c.storedType;
        barcode.VisitFields(reader);
        EXPECT_EQ(barcode.CodeType(), c.type);
        EXPECT_EQ(barcode.Factor(), c.factor);
        EXPECT_EQ(barcode.BHeight(), c.bHeight);
        EXPECT_EQ(barcode.BarWidth(), 3 * c.scale);
        EXPECT_EQ(barcode.Distance(), 2 * c.scale);
        EXPECT_EQ(barcode.FontHeight(), 25 * c.scale) << "visited twice, scaled once";
        EXPECT_EQ(barcode.LeftMargin(), 30 * c.scale);
        EXPECT_EQ(barcode.TopMargin(), 4 * c.scale);
        EXPECT_EQ(barcode.Checksum(), c.scale == 1) << "older layouts carry no checksum flag";
    }
}

TEST(BarcodeRecord, ScalingADamagedLengthSaturates)
{
    TZVLab label;
    TZVBarCode barcode(label);
    RecordingVisitor reader(19, true);
    reader.numbers = {{"BarWidth", 0x7FFFFFFF}, {"LeftMargin", -0x7FFFFFFF}};
    barcode.VisitFields(reader);
    EXPECT_EQ(barcode.BarWidth(), 0x7FFFFFFF);
    EXPECT_EQ(barcode.LeftMargin(), -0x7FFFFFFF - 1);
}

TEST(BarcodeProperties, PublishedInIndexOrder)
{
    EXPECT_EQ(PublishedNames(TZVBarCode::staticMetaObject),
              (std::vector<std::string>{"X1",          "Y1",         "Color",    "Print",      "BackColor",
                                        "Transparent", "FieldName",  "Data",     "ID",         "Angle",
                                        "BarWidth",    "Factor",     "Distance", "BHeight",    "LeftMargin",
                                        "TopMargin",   "ShowNumber", "Checksum", "FontHeight", "FontName",
                                        "BarCode",     "Template",   "CodeType", "EccLevel",   "SymbolSize",
                                        "Rectangular", "Columns",    "QuietZone"}));
    const QMetaObject& meta = TZVBarCode::staticMetaObject;
    const QMetaProperty type = meta.property(meta.indexOfProperty("CodeType"));
    ASSERT_TRUE(type.isEnumType());
    EXPECT_STREQ(type.enumerator().name(), "TZVBar");

    TZVLab label;
    TZVBarCode barcode(label);
    EXPECT_TRUE(barcode.setProperty("CodeType", QVariant::fromValue(EAN8)));
    EXPECT_EQ(barcode.CodeType(), EAN8);
    EXPECT_FLOAT_EQ(barcode.property("Factor").toFloat(), 2.0f);
}
