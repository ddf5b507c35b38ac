// The bar code tool: new bar codes take the editor's symbology, whose kind the cursor shows.
#include "EditorTestSupport.h"

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

} // namespace
} // namespace zorvel::test
