#include "base/side_thread.h"

#include <gtest/gtest.h>

#include <thread>

using namespace zelvano;

// Piece after piece runs on a thread other than the caller's, each finished when wait() returns; two
// threads have side threads of their own.
TEST(SideThread, RunsEachPieceBesideItsOwner) {
    auto exercise = [] {
        SideThread& side = SideThread::ofThisThread();
        EXPECT_EQ(&side, &SideThread::ofThisThread());
        const std::thread::id owner = std::this_thread::get_id();
        int done = 0;
        bool elsewhere = true;
        for (int i = 0; i < 2000; ++i) {
            side.start([&] {
                elsewhere = elsewhere && std::this_thread::get_id() != owner;
                ++done;
            });
            side.wait();
            ASSERT_EQ(done, i + 1);
        }
        EXPECT_TRUE(elsewhere);
    };
    std::thread other(exercise);
    exercise();
    other.join();
}
