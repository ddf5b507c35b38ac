// Helpers shared by the data-set tests: a Qt application for the SQL drivers, error checks, files.
#pragma once

#include "foundation/ZVDataSet.h"
#include "foundation/ZVError.h"
#include "tests/support/QStringPrinter.h"

#include <QCoreApplication>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace zorvel {
inline void PrintTo(TZVFieldKind kind, std::ostream* os)
{
    *os << "kind " << int(kind);
}
} // namespace zorvel

namespace zorvel::test {

// Some Qt SQL drivers need an application object; the executables start at gtest's main.
class QtApplicationEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        if (QCoreApplication::instance())
            return;
        static int argc = 1;
        static char name[] = "test_platform_dataset";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QCoreApplication>(argc, argv);
    }
    // Before static destruction, while Qt's globals still exist.
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QCoreApplication> m_app;
};

inline ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

template <typename F>
void ExpectZvError(F&& action, const QString& message)
{
    try {
        action();
        ADD_FAILURE() << "no error; expected \"" << message.toStdString() << '"';
    } catch (const EZvError& e) {
        EXPECT_EQ(e.message().toStdString(), message.toStdString());
    }
}

inline void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

} // namespace zorvel::test
