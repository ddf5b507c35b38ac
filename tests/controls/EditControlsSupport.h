// A shown, active window with the control under test and a second box to move the focus to.
#pragma once

#include "tests/support/TestApplication.h"
#include "tests/support/QStringPrinter.h"

#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>
#include <memory>
#include <ostream>

namespace zorvel::test {

template <typename Control>
class ControlForm
{
public:
    explicit ControlForm(const QLocale& locale = QLocale::c())
    {
        ensureApplication<QApplication>();
        window = std::make_unique<QWidget>();
        window->setLocale(locale);
        auto* layout = new QVBoxLayout(window.get());
        control = new Control(window.get());
        other = new QLineEdit(window.get());
        layout->addWidget(control);
        layout->addWidget(other);
        window->show();
        window->activateWindow();
        active = QTest::qWaitForWindowActive(window.get());
        // The window hands its first focus to the control; tests enter it from outside.
        other->setFocus(Qt::OtherFocusReason);
    }

    // Gives the control the focus as the Tab key would.
    void enter() { control->setFocus(Qt::TabFocusReason); }
    void leave() { other->setFocus(Qt::TabFocusReason); }

    std::unique_ptr<QWidget> window;
    Control* control = nullptr;
    QLineEdit* other = nullptr;
    bool active = false;
};

// Types any Unicode text; QTest::keyClicks only knows Latin-1.
inline void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
}

inline QLocale unitedStates()
{
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

inline QLocale germany()
{
    return QLocale(QLocale::German, QLocale::Germany);
}

} // namespace zorvel::test
