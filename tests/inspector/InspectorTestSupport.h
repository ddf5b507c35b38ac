// Shared set-up for the inspector's widget tests: a label, an editor and an inspector on a form
// shown off screen, and an element kind that publishes the property kinds no real element has.
#pragma once

#include "document/ZVCustomLab.h"
#include "editor/ZVEditor.h"
#include "document/ZVElement.h"
#include "document/ZVElementRegistry.h"
#include "inspector/ZVInspector.h"
#include "tests/support/TestApplication.h"
#include "tests/support/QStringPrinter.h"

#include <QApplication>
#include <QLocale>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace zorvel::test {

// Publishes a count, a ratio, a plain integer, the two strings that open dialogs and a type the
// inspector does not list.
class TestGauge : public TZVBase1D
{
    Q_OBJECT
    Q_PROPERTY(int RowCount READ RowCount WRITE SetRowCount)
    Q_PROPERTY(float Ratio READ Ratio WRITE SetRatio)
    Q_PROPERTY(int Level READ Level WRITE SetLevel)
    Q_PROPERTY(QString Code READ Code WRITE SetCode)
    Q_PROPERTY(QString EditPoly READ EditPoly)
    Q_PROPERTY(QPointF Spot READ Spot)

public:
    explicit TestGauge(TZVCustomLab& owner)
        : TZVBase1D(owner, 3)
    {
    }

    std::uint8_t ElementKind() const override { return 99; }

    int RowCount() const { return m_rowCount; }
    void SetRowCount(int value) { m_rowCount = value; }
    float Ratio() const { return m_ratio; }
    void SetRatio(float value) { m_ratio = value; }
    int Level() const { return m_level; }
    void SetLevel(int value) { m_level = value; }
    QString Code() const { return m_code; }
    void SetCode(const QString& value) { m_code = value; }
    QString EditPoly() const { return {}; }
    QPointF Spot() const { return {}; }

protected:
    void PaintElement(TZVCanvas&, TPoint, int, bool) override {}

private:
    int m_rowCount = 3;
    float m_ratio = 2.5f;
    int m_level = 7;
    QString m_code = QStringLiteral("c");
};

// The inspector's client area is 8 rows of 26 pixels high, without a border.
class InspectorFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ensureApplication<QApplication>();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        form = std::make_unique<QWidget>();
        form->resize(900, 600);
        label = new TZVLab(form.get());
        editor = new TZVEditor(form.get());
        editor->setGeometry(0, 0, 600, 600);
        inspector = new TZVInspector(form.get());
        inspector->SetBorderStyle(TZVCustomInspector::bsNone);
        inspector->setGeometry(600, 0, 260, 8 * 26);
        QFont font = inspector->font();
        font.setPointSize(8);
        inspector->setFont(font);
        editor->SetInspector(inspector);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    void TearDown() override
    {
        form.reset();
        QLocale::setDefault(QLocale::c());
    }

    template <typename Element = TZVElement>
    Element* add(int kind)
    {
        return static_cast<Element*>(label->CreateElement(kind));
    }

    // The selection becomes `elements`, and the inspector lists them.
    void select(std::initializer_list<TZVElement*> elements)
    {
        editor->ClearSelection();
        for (TZVElement* element : elements)
            editor->AddToSelection(element);
        inspector->UpdateSelection();
    }

    int row(const char* name) const
    {
        const int index = inspector->FindRow(QString::fromLatin1(name));
        EXPECT_GE(index, 0) << name;
        return index;
    }
    const TZvProp& prop(const char* name) const { return inspector->Rows()[row(name)]; }

    // Brings row `index` into view by the keyboard, so that its cells are on the screen.
    void reveal(int index)
    {
        while (inspector->ItemIndex() != index) {
            const int before = inspector->ItemIndex();
            QTest::keyClick(inspector, index > before ? Qt::Key_Down : Qt::Key_Up);
            if (inspector->ItemIndex() == before) break;
        }
    }

    QPoint valuePoint(int index) const { return inspector->ValueCell(index).center(); }
    QPoint namePoint(int index) const { return inspector->NameCell(index).center(); }
    QWidget* surface() const { return inspector->viewport(); }

    void click(QPoint p) { QTest::mouseClick(surface(), Qt::LeftButton, {}, p); }
    // A click followed by the double click the platform makes of the second press.
    void doubleClick(QPoint p)
    {
        QTest::mouseClick(surface(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(surface(), Qt::LeftButton, {}, p);
    }

    std::unique_ptr<QWidget> form;
    TZVLab* label = nullptr;
    TZVEditor* editor = nullptr;
    TZVInspector* inspector = nullptr;
};

} // namespace zorvel::test
