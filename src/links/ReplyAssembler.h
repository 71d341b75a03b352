#pragma once
// TCP is a byte stream: the K52L head's 513-byte reply may reach the station
// in several segments, and a segment may carry the start of the next reply.
// The assembler collects the bytes of one reply across deliveries.
//
// When a partial reply had to be dropped (the watchdog gave up on it), its
// late tail may still come, ahead of the next whole reply. The assembler then
// re-synchronises on a reply header: it skips the tail still due when a
// plausible header follows it, takes a plausible header at once when no tail
// came, and otherwise hunts byte by byte past the tail for the next
// plausible header. So a late tail never spoils the reply after it, and a
// tail cut short or junk costs at most the one reply it overlaps.
//
// User-interface thread only. Never holds more than one reply's worth of
// bytes; bytes past a whole reply stay with the caller until the reply has
// been taken.

#include "links/Links.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace velmaris {

inline constexpr std::size_t kReplyHeaderBytes = 12;

// Whether `header` can start a reply: the kind letters 'IMX', 'IGX' or 'IPX'
// (upper case) and a data count (bytes 10 and 11) no larger than that kind's
// echo count (250, 500, 0).
bool PlausibleReplyHeader(std::span<const std::uint8_t, kReplyHeaderBytes> header);

class ReplyAssembler {
public:
    // Takes bytes until the reply is whole (or `bytes` is used up) and
    // returns how many it took; takes nothing while a whole reply waits.
    // While re-synchronising, the bytes it skips count as taken.
    std::size_t Feed(std::span<const std::uint8_t> bytes);

    bool Complete() const { return !syncing_ && filled_ == kReplyBufferSize; }
    // Bytes held: of the reply being collected, or while re-synchronising.
    std::size_t Pending() const { return filled_; }
    // The whole reply (valid while Complete()).
    std::span<const std::uint8_t, kReplyBufferSize> Reply() const { return buffer_; }

    // Drops whatever was collected and any re-synchronisation: after a
    // reply was taken, and when the connection closed or restarted.
    void Clear()
    {
        filled_ = 0;
        syncing_ = false;
    }
    // The watchdog gave up on a partial reply: drops it and re-synchronises
    // on the next reply header (the tail still due, 513 minus the bytes
    // held, is expected first). Nothing held: nothing to do.
    void DropPartial();

    bool Resynchronising() const { return syncing_; }
    // Bytes skipped while re-synchronising, since construction.
    std::uint64_t SkippedBytes() const { return skipped_; }

private:
    void Resynchronise();
    void KeepFrom(std::size_t start);
    bool HeaderAt(std::size_t at) const;

    std::array<std::uint8_t, kReplyBufferSize> buffer_ {};
    std::size_t filled_ = 0;
    bool syncing_ = false;
    bool hunting_ = false; // the tail rule failed: any plausible header will do
    std::size_t tailDue_ = 0; // bytes of the dropped reply still expected
    std::size_t huntFrom_ = 0; // first offset not yet tried as a header
    std::size_t skipFirst_ = 0; // tail bytes still to skip unseen
    bool tryStart_ = false; // a header where the tail should begin is taken too
    std::uint64_t skipped_ = 0;
};

} // namespace velmaris
