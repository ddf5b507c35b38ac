// Waiting on a condition inside a GoogleTest body.
#pragma once

#include <QTest>

namespace zorvel::test {

// Generous for a loaded machine; a condition that already holds costs nothing.
inline constexpr int kWaitMs = 5000;

// Runs the event loop until `condition` holds or `timeoutMs` passes and says whether it held.
// The QTRY_* and QVERIFY macros only `return` on failure, which GoogleTest counts as a pass:
// use ASSERT_TRUE(waitFor(...)) or EXPECT_TRUE(waitFor(...)) instead.
template <typename Condition>
[[nodiscard]] bool waitFor(Condition condition, int timeoutMs = kWaitMs)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

} // namespace zorvel::test
