#include "support/silent_server.h"
#include "tiles/fetch_fixture.h"
#include "view/view_session.h"

#include <QDir>

#include <sched.h>
#include <sys/resource.h>

using namespace zelvano;
using namespace zelvano::test;

namespace {

struct ThreadPriority {
    int policy = -1;
    int nice = 0;
};

// The scheduling of every thread of this process.
std::vector<ThreadPriority> threadPriorities() {
    std::vector<ThreadPriority> threads;
    for (const QString& task : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const pid_t tid = task.toInt();
        errno = 0;
        const int nice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(tid));
        if (errno != 0) continue; // ended meanwhile
        threads.push_back({::sched_getscheduler(tid), nice});
    }
    return threads;
}

} // namespace

class LoaderPriorityTest : public FetchFixture {};

// A loader runs below the UI thread as an ordinary thread with a higher nice value, never in the idle
// class, which two busy processes on a two-core machine starve for tens of seconds.
TEST_F(LoaderPriorityTest, ALoaderIsNicedNotIdle) {
    SilentServer silent;
    settings.templates.satellite = silent.base() + QStringLiteral("/kh?t=t");
    refreshContext();
    ViewSession session(languageTable);
    DrawPassInput input;
    input.centre = {{45.25, -20.5}, 10};
    input.size = QSize(256, 256);
    input.options = drawingPass();
    session.refresh(input, context.settings);
    ASSERT_TRUE(silent.waitForConnections(1, 20000)); // the loader runs, in its transfer
    int loaders = 0;
    for (const ThreadPriority& t : threadPriorities()) {
        EXPECT_NE(t.policy, SCHED_IDLE);
        loaders += t.policy == SCHED_OTHER && t.nice == kLoaderNice;
    }
    EXPECT_EQ(loaders, 1);
    EXPECT_EQ(::getpriority(PRIO_PROCESS, 0), 0); // the thread of the window keeps its own
    session.stopAll();
    EXPECT_TRUE(session.waitForLoaders(std::chrono::seconds(20)));
}
