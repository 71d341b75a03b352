#include "links/DatagramBatch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmaris {
namespace {

using Step = DatagramBatch::Step;

// Datagrams waiting at the given times (µs after the notification) get
// these steps from one batch; `behind`: the batch before left some waiting.
struct BatchCase {
    const char* name;
    DatagramBudget budget;
    bool behind;
    std::vector<std::int64_t> times;
    std::vector<Step> steps;
};

class DatagramBatchTest : public ::testing::TestWithParam<BatchCase> { };

TEST_P(DatagramBatchTest, HandsOnWithinTheBudgetThenDefersOrDropsABacklog)
{
    const BatchCase& c = GetParam();
    DatagramBatch batch(c.budget, 1'000'000, c.behind);
    std::vector<Step> got;
    int handed = 0, dropped = 0;
    for (std::int64_t t : c.times) {
        const Step step = batch.Next(1'000'000 + t);
        got.push_back(step);
        if (step == Step::Stop)
            break;
        (step == Step::HandOn ? handed : dropped)++;
    }
    EXPECT_EQ(got, c.steps);
    EXPECT_EQ(batch.HandedOn(), handed);
    EXPECT_EQ(batch.Dropped(), dropped);
}

constexpr Step H = Step::HandOn, D = Step::Drop, S = Step::Stop;

INSTANTIATE_TEST_SUITE_P(DatagramBatch, DatagramBatchTest,
    ::testing::Values(BatchCase {"AFewDatagramsAllHandedOn", {4, 4000, 16}, false, {0, 10, 20}, {H, H, H}},
        // A burst, or one slow ping, defers the rest to the next batch.
        BatchCase {"CountLimitDefersTheRest", {2, 4000, 16}, false, {0, 10, 20}, {H, H, S}},
        BatchCase {"TimeBudgetDefersTheRest", {64, 4000, 16}, false, {0, 3999, 4000}, {H, H, S}},
        // The first datagram is always read: the socket would not announce the rest again.
        BatchCase {"NoTimeBudgetStillReadsTheFirst", {64, 0, 16}, false, {0, 1}, {H, S}},
        BatchCase {"NoBudgetAtAllStillReadsTheFirst", {0, 0, 0}, true, {0, 1}, {H, S}},
        // A backlog that outlasted the batch before: the rest is dropped.
        BatchCase {"BehindCountLimitThenDropped", {2, 4000, 16}, true, {0, 10, 20, 30}, {H, H, D, D}},
        BatchCase {"BehindTimeBudgetThenDropped", {64, 4000, 16}, true, {0, 3999, 4000, 4100}, {H, H, D, D}},
        BatchCase {"BehindSpentBudgetStaysSpent", {64, 4000, 16}, true, {0, 5000, 10}, {H, D, D}},
        BatchCase {"BehindWithinBudgetHandsOn", {4, 4000, 16}, true, {0, 10}, {H, H}},
        BatchCase {"ReadLimitStopsTheBatch", {2, 4000, 3}, true, {0, 1, 2, 3, 4}, {H, H, D, S}},
        BatchCase {"ReadLimitBeforeBudget", {8, 4000, 2}, false, {0, 1, 2}, {H, H, S}}),
    [](const ::testing::TestParamInfo<BatchCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace velmaris
