#include "support/silent_server.h"
#include "tiles/fetch_fixture.h"

#include <chrono>
#include <cstdio>
#include <future>

using namespace zelvano;
using namespace zelvano::test;

namespace {

// A stop requested once the server took the connection; how long the transfer took to end after it.
template <class Transfer> std::chrono::microseconds stopWhileWaiting(const SilentServer& server, Transfer transfer) {
    std::stop_source stop;
    auto running = std::async(std::launch::async, transfer, stop.get_token());
    EXPECT_TRUE(server.waitForConnections(1, 20000));
    const auto asked = std::chrono::steady_clock::now();
    stop.request_stop();
    EXPECT_EQ(running.wait_for(std::chrono::seconds(20)), std::future_status::ready); // the timeout is 60 s
    const auto latency =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - asked);
    running.get();
    return latency;
}

} // namespace

// A server that never answers: the stop ends the transfer long before its own 60 s timeout.
TEST(HttpClient, AStopEndsATransferThatHangs) {
    SilentServer server;
    HttpResult result;
    const auto latency = stopWhileWaiting(server, [&](std::stop_token stop) {
        result = httpGet(server.base() + QStringLiteral("/kh?t=tq"), {}, {10'000, 60'000, 100000}, stop);
        closeThreadConnections();
    });
    EXPECT_EQ(result.failure, HttpFailure::Stopped);
    EXPECT_FALSE(result.ok);
    std::printf("stop latency of a hanging transfer: %lld µs\n", static_cast<long long>(latency.count()));
}

class FetchStopTest : public FetchFixture {};

// In job mode the stopped tile is neither an error to count nor a line in the log, and nothing is stored.
TEST_F(FetchStopTest, AStoppedFetchCountsNothingAndStoresNothing) {
    SilentServer silent;
    settings.templates.satellite = silent.base() + QStringLiteral("/kh?t=t");
    settings.limits.totalTimeoutMs = 60'000;
    refreshContext();
    jtype r = record(5, 30, 40);
    FetchOutcome outcome;
    stopWhileWaiting(silent, [&](std::stop_token stop) {
        outcome = FetchTile(r, jobOptions(), context, &job, stop);
        closeThreadConnections();
    });
    EXPECT_EQ(outcome.error, FetchError::Stopped);
    EXPECT_FALSE(outcome.usable);
    EXPECT_FALSE(outcome.redraw);
    counters.count(outcome);
    EXPECT_EQ(std::tie(counters.writeErrors, counters.fetchErrors, counters.badFileErrors), std::make_tuple(0, 0, 0));
    EXPECT_TRUE(job.log.isEmpty());
    EXPECT_FALSE(QFile::exists(r.satPath));
}
