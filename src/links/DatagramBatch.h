#pragma once
// How much one readable notification of the UDP socket may do. A sender can
// flood the port far faster than pings can be painted; draining it in one
// go would hold the event loop (the windows, the timers, a signal to end)
// for as long as the flood lasts. So each notification hands on at most a
// number of datagrams within a time budget, throws away unseen what is
// still waiting after that (the station stays current rather than ever
// later) and stops after a bounded number of reads; the socket then lets
// the event loop run before the next batch.
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

    DatagramBatch(const DatagramBudget& budget, std::int64_t startUs)
        : budget_(budget)
        , startUs_(startUs)
    { }

    // What to do with the next waiting datagram, at `nowUs`.
    Step Next(std::int64_t nowUs);

    int HandedOn() const { return handedOn_; }
    int Dropped() const { return dropped_; }

private:
    DatagramBudget budget_;
    std::int64_t startUs_;
    int handedOn_ = 0;
    int dropped_ = 0;
    bool spent_ = false; // the hand-on budget is used up: the rest is dropped
};

} // namespace velmaris
