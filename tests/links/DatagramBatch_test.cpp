#include "links/DatagramBatch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmaris {
namespace {

using Step = DatagramBatch::Step;

// Datagrams waiting at the given times (µs after the notification) get
// these steps from one batch.
struct BatchCase {
    const char* name;
    DatagramBudget budget;
    std::vector<std::int64_t> times;
    std::vector<Step> steps;
};

class DatagramBatchTest : public ::testing::TestWithParam<BatchCase> { };

TEST_P(DatagramBatchTest, HandsOnWithinTheBudgetDropsTheRestStopsAtTheReadLimit)
{
    const BatchCase& c = GetParam();
    DatagramBatch batch(c.budget, 1'000'000);
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
    ::testing::Values(BatchCase {"AFewDatagramsAllHandedOn", {4, 4000, 16}, {0, 10, 20}, {H, H, H}},
        BatchCase {"CountLimitThenDropped", {2, 4000, 16}, {0, 10, 20, 30}, {H, H, D, D}},
        BatchCase {"TimeBudgetThenDropped", {64, 4000, 16}, {0, 3999, 4000, 4100}, {H, H, D, D}},
        BatchCase {"SpentBudgetStaysSpent", {64, 4000, 16}, {0, 5000, 10}, {H, D, D}},
        BatchCase {"NoTimeBudgetDropsEverything", {64, 0, 16}, {0}, {D}},
        BatchCase {"ReadLimitStopsTheBatch", {2, 4000, 3}, {0, 1, 2, 3, 4}, {H, H, D, S}}),
    [](const ::testing::TestParamInfo<BatchCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace velmaris
