// The values tests/designer/forms/ZorvelForm.ui sets, checked on a form however it was built.
#pragma once

#include "document/ZVCustomLab.h"
#include "editor/ZVEditor.h"
#include "inspector/ZVInspector.h"

#include <QColor>
#include <QWidget>

#include <gtest/gtest.h>

namespace zorvel::test {

inline void expectZorvelFormValues(QWidget* form)
{
    ASSERT_NE(form, nullptr);
    auto* editor = form->findChild<TZVEditor*>(QStringLiteral("editor"));
    auto* inspector = form->findChild<TZVInspector*>(QStringLiteral("inspector"));
    ASSERT_NE(editor, nullptr);
    ASSERT_NE(inspector, nullptr);

    EXPECT_EQ(editor->Zoom(), zm200);
    EXPECT_EQ(editor->DrawTool(), dwText);
    EXPECT_EQ(editor->Snap(), snGrid);
    EXPECT_EQ(editor->LineMove(), lmOrto);
    EXPECT_EQ(editor->SelColor(), 0xff0000u);
    // Untouched settings keep their defaults.
    EXPECT_TRUE(editor->AllowEdit());
    EXPECT_EQ(editor->SelMultiColor(), 0x808080u);

    // The editor shows the form's own label.
    TZVLab* label = form->findChild<TZVLab*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(editor->Zorvel(), label);

    EXPECT_EQ(inspector->Language(), zvSpanish);
    EXPECT_EQ(inspector->NamesColor(), QColor(200, 0, 0));
    EXPECT_EQ(inspector->NameAlign(), TZVInspector::naRight);
    EXPECT_EQ(inspector->InspectMode(), imClick);
    EXPECT_FALSE(inspector->ShowUnicodeEditor());
    EXPECT_EQ(inspector->IniTranslate(), "captions-es.ini");
    EXPECT_EQ(inspector->ValuesColor(), QColor(Qt::black));
}

// SplitPos is set while the form is still hidden, before the inspector's viewport has its size.
inline void expectZorvelFormSplitPos(QWidget* form)
{
    ASSERT_NE(form, nullptr);
    auto* inspector = form->findChild<TZVInspector*>(QStringLiteral("inspector"));
    ASSERT_NE(inspector, nullptr);
    EXPECT_EQ(inspector->SplitPos(), 80);
    form->show();
    EXPECT_EQ(inspector->SplitPos(), 80);
}

} // namespace zorvel::test
