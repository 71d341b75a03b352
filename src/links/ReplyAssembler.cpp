#include "links/ReplyAssembler.h"

#include <algorithm>
#include <cstring>

namespace velmaris {

bool PlausibleReplyHeader(std::span<const std::uint8_t, kReplyHeaderBytes> header)
{
    if (header[0] != 'I' || header[2] != 'X')
        return false;
    int echoCount = 0;
    switch (header[1]) {
    case 'M':
        echoCount = 250;
        break;
    case 'G':
        echoCount = 500;
        break;
    case 'P':
        echoCount = 0;
        break;
    default:
        return false;
    }
    const int dataCount = header[11] * 128 + (header[10] & 0x7F);
    return dataCount <= echoCount;
}

std::size_t ReplyAssembler::Feed(std::span<const std::uint8_t> bytes)
{
    std::size_t taken = 0;
    while (taken < bytes.size() && !Complete()) {
        if (syncing_ && skipFirst_ > 0) {
            const std::size_t skip = std::min(skipFirst_, bytes.size() - taken);
            skipFirst_ -= skip;
            skipped_ += skip;
            taken += skip;
            continue;
        }
        // Before it decides, the tail rule needs the tail and one header.
        const std::size_t limit = syncing_ && !hunting_
            ? std::min(tailDue_ + kReplyHeaderBytes, kReplyBufferSize)
            : kReplyBufferSize;
        const std::size_t count = std::min(bytes.size() - taken, limit - filled_);
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(taken), count,
            buffer_.begin() + static_cast<std::ptrdiff_t>(filled_));
        filled_ += count;
        taken += count;
        if (syncing_ && filled_ == limit)
            Resynchronise();
    }
    return taken;
}

void ReplyAssembler::DropPartial()
{
    // Already re-synchronising: the stream still runs from the first drop,
    // so the tail expected and the bytes held stay as they are.
    if (filled_ == 0 || syncing_)
        return;
    tailDue_ = kReplyBufferSize - filled_;
    // A tail too long to hold with the header after it: its first bytes
    // are skipped unseen, and only the header after it is looked for.
    skipFirst_ = tailDue_ + kReplyHeaderBytes > kReplyBufferSize
        ? tailDue_ + kReplyHeaderBytes - kReplyBufferSize
        : 0;
    tailDue_ -= skipFirst_;
    tryStart_ = skipFirst_ == 0;
    filled_ = 0;
    syncing_ = true;
    hunting_ = false;
    huntFrom_ = 0;
}

bool ReplyAssembler::HeaderAt(std::size_t at) const
{
    return at + kReplyHeaderBytes <= filled_
        && PlausibleReplyHeader(
            std::span<const std::uint8_t, kReplyHeaderBytes>(buffer_.data() + at, kReplyHeaderBytes));
}

void ReplyAssembler::KeepFrom(std::size_t start)
{
    std::memmove(buffer_.data(), buffer_.data() + start, filled_ - start);
    filled_ -= start;
    skipped_ += start;
}

void ReplyAssembler::Resynchronise()
{
    if (!hunting_) {
        // The head sends in order: the rest of the dropped reply comes
        // first, so a header right after it is trusted before one at the
        // start (a header-like tail must not win). A header at the start
        // with no header after the tail means the tail never came.
        for (const std::size_t start : {tailDue_, std::size_t {0}}) {
            if ((start == tailDue_ || tryStart_) && HeaderAt(start)) {
                KeepFrom(start);
                syncing_ = false;
                return;
            }
        }
        // Junk after the tail, or a tail cut short: hunt on past the tail,
        // whose own bytes may look like a header.
        hunting_ = true;
        huntFrom_ = tailDue_ + 1;
    }
    for (std::size_t at = huntFrom_; at + kReplyHeaderBytes <= filled_; ++at) {
        if (HeaderAt(at)) {
            KeepFrom(at);
            syncing_ = false;
            hunting_ = false;
            return;
        }
    }
    // No header yet: keep the bytes that may still begin one.
    KeepFrom(filled_ - std::min(filled_, kReplyHeaderBytes - 1));
    huntFrom_ = 0;
}

} // namespace velmaris
