#include "web/WebViewers.h"

#include <algorithm>

namespace velmaris {

FrameRect Union(const FrameRect& a, const FrameRect& b)
{
    if (a.Empty())
        return b.Empty() ? FrameRect {} : b;
    if (b.Empty())
        return a;
    const int left = std::min(a.x, b.x);
    const int top = std::min(a.y, b.y);
    const int right = std::max(a.x + a.w, b.x + b.w);
    const int bottom = std::max(a.y + a.h, b.y + b.h);
    return {left, top, right - left, bottom - top};
}

int WebViewers::Admit(const FrameRect& whole)
{
    for (int id = 0; id < kMaxWebViewers; ++id) {
        Slot& slot = slots_[std::size_t(id)];
        if (!slot.used) {
            slot = Slot {true, whole, 0, true, true, 0};
            return id;
        }
    }
    return -1;
}

void WebViewers::Leave(int id)
{
    if (id >= 0 && id < kMaxWebViewers)
        slots_[std::size_t(id)] = Slot {};
}

int WebViewers::Count() const
{
    return int(std::count_if(slots_.begin(), slots_.end(), [](const Slot& s) { return s.used; }));
}

bool WebViewers::Active(int id) const
{
    return id >= 0 && id < kMaxWebViewers && slots_[std::size_t(id)].used;
}

void WebViewers::Changed(const FrameRect& rect, bool palette, bool texts)
{
    for (Slot& slot : slots_) {
        if (!slot.used)
            continue;
        slot.owed = Union(slot.owed, rect);
        slot.palette = slot.palette || palette;
        slot.texts = slot.texts || texts;
    }
}

void WebViewers::Scrolled(int rows, const FrameRect& whole)
{
    if (rows == 0 || whole.Empty())
        return;
    for (Slot& slot : slots_) {
        if (!slot.used)
            continue;
        // The page leaves the rows nothing moves into as they were, and two
        // moves leave other rows so than their sum: the rows the pending
        // scroll leaves are owed before it grows.
        if (slot.scroll > 0)
            slot.owed = Union(slot.owed, {whole.x, whole.y, whole.w, slot.scroll});
        else if (slot.scroll < 0)
            slot.owed = Union(slot.owed, {whole.x, whole.y + whole.h + slot.scroll, whole.w, -slot.scroll});
        // 64-bit: an owed rectangle may reach far past the picture.
        const long long top = std::max<long long>(whole.y, (long long)slot.owed.y + rows);
        const long long bottom
            = std::min<long long>((long long)whole.y + whole.h, (long long)slot.owed.y + slot.owed.h + rows);
        const bool owesAll = Union(slot.owed, whole) == slot.owed;
        const long long total = (long long)slot.scroll + rows;
        if (owesAll || total <= -whole.h || total >= whole.h) {
            // Nothing of what the page shows survives the move: it is sent whole, unmoved.
            slot.owed = Union(slot.owed, whole);
            slot.scroll = 0;
            continue;
        }
        slot.scroll = int(total);
        slot.owed = (slot.owed.Empty() || top >= bottom)
            ? FrameRect {}
            : FrameRect {slot.owed.x, int(top), slot.owed.w, int(bottom - top)};
    }
}

ViewerDue WebViewers::TakeDue(int id, std::size_t unsentBytes)
{
    if (!Active(id))
        return {};
    Slot& slot = slots_[std::size_t(id)];
    const ViewerDue owed {slot.palette, slot.texts, slot.scroll, slot.owed};
    if (unsentBytes > kMaxUnsentBytes) {
        if (owed.Any())
            ++slot.dropped;
        return {};
    }
    slot.palette = false;
    slot.texts = false;
    slot.scroll = 0;
    slot.owed = {};
    return owed;
}

std::uint64_t WebViewers::Dropped(int id) const
{
    return Active(id) ? slots_[std::size_t(id)].dropped : 0;
}

} // namespace velmaris
