// The frame counter against the real clock: silent within a second, and at each change of the
// second the number of calls in the second before, less the call that opened it.
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/game/map/map_fixture.h"

namespace {

class MapFrameRateTest : public MapEngineTest {};

TEST_F(MapFrameRateTest, ReportsTheCallsOfEachSecondOnceTheSecondIsOver) {
    std::vector<std::string> results;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(2300);
    while (std::chrono::steady_clock::now() < end) {
        results.emplace_back(Map_FrameRate());
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    // The first call reports 0, unless it falls in second 0 of a minute (the counter's start).
    EXPECT_TRUE(results[0] == "0" || results[0] == "") << results[0];
    std::vector<size_t> reports;
    for (size_t i = 0; i < results.size(); ++i)
        if (!results[i].empty()) reports.push_back(i);
    // 2.3 seconds hold at least two changes of the second, a second of calls apart.
    ASSERT_GE(reports.size(), 2u);
    EXPECT_GT(reports.back() - reports[reports.size() - 2], 1u);
    for (size_t k = 1; k < reports.size(); ++k) {
        const size_t opened = reports[k - 1], now = reports[k];
        EXPECT_EQ(results[now], std::to_string(now - opened - 1)) << now;
    }
}

}  // namespace
