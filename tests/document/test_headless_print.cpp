// A service on a plain QCoreApplication that prints: refused in words instead of ended by Qt.
#include "../support/TestApplication.h"
#include "document/ZVCustomLab.h"
#include "elements/ZVTextElements.h"
#include "foundation/ZVError.h"
#include "platform/ZVPdfPrinter.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace zorvel;

TEST(HeadlessPrint, ACoreApplicationIsToldItNeedsAGuiApplication)
{
    test::ensureApplication<QCoreApplication>();
    QTemporaryDir dir;
    TZVLab label;
    (new TZVText(label))->SetText("Hello");
    TZVPdfPrinter pdf(dir.filePath("run.pdf"));
    const std::function<void()> paints[] = {[&] { label.Print(pdf); }, [&] { label.PreparePreview(); }};
    for (const auto& paint : paints) {
        try {
            paint();
            ADD_FAILURE() << "painted";
        } catch (const EZvError& e) {
            EXPECT_EQ(e.message(), "PRINTING NEEDS A QGUIAPPLICATION (E.G. ON THE OFFSCREEN PLATFORM)");
        }
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("run.pdf")));
    // Setting a run up paints nothing.
    EXPECT_TRUE(label.PrintEx(pdf, 1, true));
}
