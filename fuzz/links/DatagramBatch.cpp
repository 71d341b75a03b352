// Drives the UDP listener's batches over a modelled receive queue: the first
// three bytes give the budget (datagrams handed on, time, reads); the bytes
// after them say, in turn, how many datagrams arrive before a notification
// and how long each one handed on takes to paint. Whatever the budget and the pace, every
// notification reads at least one datagram (a batch that reads none leaves
// the port deaf), nothing is handed on past the budget or after the first
// drop, only a backlog is dropped, the counts add up, and once datagrams stop
// coming the queue empties.
#include "links/DatagramBatch.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size)
        : data_(data)
        , size_(size)
    { }
    bool More() const { return at_ < size_; }
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

void Check(bool holds)
{
    if (!holds)
        __builtin_trap();
}

// One notification over `waiting` datagrams; returns how many it read.
int RunBatch(const velmaris::DatagramBudget& budget, bool behind, int waiting, std::int64_t& nowUs, Input& in)
{
    using velmaris::DatagramBatch;
    using Step = DatagramBatch::Step;
    const std::int64_t startUs = nowUs;
    DatagramBatch batch(budget, startUs, behind);
    int handed = 0, dropped = 0;
    while (handed + dropped < waiting) {
        const Step step = batch.Next(nowUs);
        const bool first = handed + dropped == 0;
        if (step == Step::Stop) {
            Check(!first);
            break;
        }
        if (step == Step::HandOn) {
            Check(dropped == 0);
            Check(first || (handed < budget.handLimit && nowUs - startUs < budget.timeLimitUs));
            ++handed;
            nowUs += (in.Byte() % 16) * 400; // the ping took that long to paint
        } else {
            Check(behind);
            ++dropped;
        }
    }
    Check(batch.HandedOn() == handed && batch.Dropped() == dropped);
    Check(handed + dropped <= std::max(budget.readLimit, 1));
    Check(handed <= std::max(budget.handLimit, 1));
    return handed + dropped;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Input in(data, size);
    velmaris::DatagramBudget budget;
    budget.handLimit = in.Byte() % 80;
    budget.timeLimitUs = static_cast<std::int64_t>(in.Byte()) * 40;
    budget.readLimit = in.Byte() * 8;
    std::int64_t nowUs = 1'000'000;
    int waiting = 0;
    bool behind = false;
    const auto notify = [&] {
        const int read = RunBatch(budget, behind, waiting, nowUs, in);
        waiting -= read;
        behind = waiting > 0;
    };
    while (in.More()) {
        waiting += in.Byte() % 200; // arrived while the event loop ran
        nowUs += 100;
        if (waiting > 0)
            notify(); // the socket announces waiting datagrams
    }
    // No more datagrams come: the queue empties, a batch at a time.
    for (int batches = 0; waiting > 0; ++batches) {
        Check(batches < 1'000'000);
        notify();
    }
    return 0;
}
