#pragma once
// How much one readable notification of the UDP socket may do. A sender can
// flood the port far faster than pings can be painted; draining it in one
// go would hold the event loop (the windows, the timers, a signal to end)
// for as long as the flood lasts. So each notification hands on at most a
// number of datagrams within a time budget and then lets the event loop run
// before the next batch. A burst, or one slow ping, only defers what waits.
// When the previous batch already left datagrams waiting, the sender is
// outrunning the painting: what is still waiting once this batch's budget
// is spent is thrown away unseen (the station stays current rather than
// ever later), up to a bounded number of reads.
//
// Every batch reads at least the first waiting datagram, whatever the
// budget: the socket announces waiting datagrams again only after one was
// read, so a batch that read nothing would leave the port deaf for good.
//
// Times are microseconds on any steady clock. Plain data, no sockets.

#include <cstdint>

namespace velmaris {

struct DatagramBudget {
    int handLimit = 64; // datagrams handed on per notification
    std::int64_t timeLimitUs = 4000; // time they may take
    int readLimit = 1024; // datagrams read in all (handed on or dropped)
};

class DatagramBatch {
public:
    enum class Step {
        HandOn, // read it and hand it on
        Drop, // read it and throw it away
        Stop, // leave it (and the rest) for the next batch
    };

    // `behind`: the previous batch ended with datagrams still waiting.
    DatagramBatch(const DatagramBudget& budget, std::int64_t startUs, bool behind)
        : budget_(budget)
        , startUs_(startUs)
        , behind_(behind)
    { }

    // What to do with the next waiting datagram, at `nowUs`.
    Step Next(std::int64_t nowUs);

    int HandedOn() const { return handedOn_; }
    int Dropped() const { return dropped_; }

private:
    DatagramBudget budget_;
    std::int64_t startUs_;
    bool behind_;
    int handedOn_ = 0;
    int dropped_ = 0;
    bool spent_ = false; // the hand-on budget is used up: the rest is dropped or left
};

} // namespace velmaris
