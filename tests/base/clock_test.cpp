#include "base/clock.h"
#include "base/read_only_wait.h"
#include "support/manual_clock.h"
#include "support/temp_program_folder.h"

#include <gtest/gtest.h>

#include <QFile>

#include <future>

using namespace zelvano;

TEST(Clock, ASleepEndsAtItsTimeOrAtOnceWhenStopped) {
    const Clock& clock = systemClock();
    const Clock::TimePoint deadline = clock.now() + std::chrono::milliseconds(20);
    EXPECT_TRUE(clock.sleepUntil(deadline));
    EXPECT_GE(clock.now(), deadline);

    std::stop_source stop;
    auto sleeper =
        std::async(std::launch::async, [&] { return clock.sleepFor(std::chrono::hours(1), stop.get_token()); });
    stop.request_stop();
    ASSERT_EQ(sleeper.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_FALSE(sleeper.get());
}

// One budget of ten 5 ms waits serves every file of one operation; a writable file costs none.
TEST(ReadOnlyWait, TenWaitsInAllThenTheFileIsLeftAlone) {
    test::TempProgramFolder folder;
    folder.write(QStringLiteral("a"), "a");
    folder.write(QStringLiteral("b"), "b");
    folder.write(QStringLiteral("writable"), "w");
    for (const char* name : {"a", "b"})
        QFile::setPermissions(folder.file(QLatin1String(name)), QFileDevice::ReadOwner);

    test::ManualClock clock;
    WaitBudget budget(clock);
    EXPECT_TRUE(budget.waitWhileReadOnly(folder.file(QStringLiteral("writable"))));
    EXPECT_TRUE(budget.waitWhileReadOnly(folder.file(QStringLiteral("missing"))));
    EXPECT_EQ(clock.sleeps(), 0);
    EXPECT_FALSE(budget.waitWhileReadOnly(folder.file(QStringLiteral("a"))));
    EXPECT_EQ(clock.sleeps(), 10);
    EXPECT_EQ(clock.now().time_since_epoch(), std::chrono::milliseconds(50));
    EXPECT_FALSE(budget.waitWhileReadOnly(folder.file(QStringLiteral("b")))); // the budget is spent
    EXPECT_EQ(clock.sleeps(), 10);
}
