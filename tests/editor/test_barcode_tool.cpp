// The bar code tool: new bar codes take the editor's symbology, whose kind the cursor shows, and
// one whose content the symbology refuses says why under the pointer.
#include "EditorTestSupport.h"

#include "../support/QStringPrinter.h"

#include "editor/ZVCursors.h"
#include "elements/ZVBarCode.h"

namespace zorvel::test {
namespace {

using BarCodeTool = EditorFixture;

TEST_F(BarCodeTool, CursorAndNewBarCodesFollowTheSymbology)
{
    struct Case
    {
        TZVBar type;
        int cursor;
    };
    const Case cases[] = {
        {EAN13, crZvBarc}, {QRCODE, crZvQrCode}, {MICROQR, crZvQrCode}, {DATAMATRIX, crZvDataMatrix},
        {GS1DATAMATRIX, crZvDataMatrix}, {PDF417, crZvPdf}, {AZTEC, crZvBarc}, {GS1128, crZvBarc},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.type));
        editor->SetDrawTool(dwSelection);
        editor->SetBarCodeType(c.type);
        EXPECT_EQ(editor->CursorId(), crZvDefault) << "only the bar code tool shows it";
        editor->SetDrawTool(dwBarCode);
        EXPECT_EQ(editor->CursorId(), c.cursor);
        click(px(1000, 1000 + 500 * int(label->Elements().size())));
        ASSERT_FALSE(label->Elements().isEmpty());
        const auto* barCode = qobject_cast<const TZVBarCode*>(label->Elements().last());
        ASSERT_NE(barCode, nullptr);
        EXPECT_EQ(barCode->CodeType(), c.type);
    }
    // Changing the symbology while the tool is on changes the cursor at once.
    editor->SetBarCodeType(QRCODE);
    EXPECT_EQ(editor->CursorId(), crZvQrCode);
}

// A content the symbology refuses is drawn as a cross; the pointer over it says why.
TEST_F(BarCodeTool, ARefusedContentIsExplainedUnderThePointer)
{
    editor->SetBarCodeType(EAN13);
    editor->SetDrawTool(dwBarCode);
    click(px(1000, 1000));
    auto* barCode = qobject_cast<TZVBarCode*>(label->Elements().last());
    ASSERT_NE(barCode, nullptr);
    const QString refused = barCode->EncodingError();
    ASSERT_FALSE(refused.isEmpty()) << "the default content is no EAN-13";
    // The tool still on, then the new bar code selected under the selection tool.
    for (TZVDrawTool tool : {dwBarCode, dwSelection}) {
        SCOPED_TRACE(int(tool));
        editor->SetDrawTool(tool);
        QTest::mouseMove(surface(), px(5000, 3000));
        EXPECT_EQ(surface()->toolTip(), QString());
        QTest::mouseMove(surface(), centre(barCode));
        EXPECT_EQ(surface()->toolTip(), refused);
    }
    barCode->SetBarCode(QStringLiteral("5901234123457"));
    QTest::mouseMove(surface(), px(5000, 3000));
    QTest::mouseMove(surface(), centre(barCode));
    EXPECT_EQ(surface()->toolTip(), QString());
}

} // namespace
} // namespace zorvel::test
