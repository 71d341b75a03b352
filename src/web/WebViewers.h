#pragma once
// Who watches the web view and what each viewer still lacks. At most
// kMaxWebViewers watch at once. A viewer is never sent a queue of frames:
// it owes only a rectangle (the union of what changed since its last
// frame) and flags for the colour table and the texts, and gets them in
// one frame, cut from the current picture, whenever its connection has
// drained below kMaxUnsentBytes. A viewer that stops reading therefore
// costs at most those bytes and one frame, however long it stalls, and the
// frames it missed are dropped (counted), not kept. A scroll of the picture
// moves what a viewer owes with it and adds to the rows it owes a scroll
// of, so a viewer that missed ten scrolls gets one of their sum; one that
// would scroll the picture's height or more owes the whole picture instead.
//
// Ownership: plain values. Thread: the web server's (the user-interface
// thread); no locks.

#include <array>
#include <cstddef>
#include <cstdint>

namespace velmaris {

inline constexpr int kMaxWebViewers = 8;
inline constexpr std::size_t kMaxUnsentBytes = 256 * 1024;

// A rectangle of the picture in pixels; empty when w or h is 0.
struct FrameRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    bool Empty() const { return w <= 0 || h <= 0; }
    friend bool operator==(const FrameRect&, const FrameRect&) = default;
};

// The smallest rectangle holding both (an empty one adds nothing).
FrameRect Union(const FrameRect& a, const FrameRect& b);

// What one viewer is to be sent now.
struct ViewerDue {
    bool palette = false;
    bool texts = false;
    int scroll = 0; // rows the page moves its picture down before painting rect
    FrameRect rect; // empty: no pixels
    bool Any() const { return palette || texts || scroll != 0 || !rect.Empty(); }
};

class WebViewers {
public:
    // A slot for a new viewer, which owes the whole picture, the colour
    // table and the texts; -1 when kMaxWebViewers already watch.
    int Admit(const FrameRect& whole);
    // Frees the slot (an unknown id is ignored).
    void Leave(int id);
    int Count() const;
    bool Active(int id) const;

    // A tick's news for every viewer: what of the picture changed, and
    // whether the colour table or the texts did.
    void Changed(const FrameRect& rect, bool palette, bool texts);
    // The picture (`whole`) moved down by `rows` (negative: up) this tick;
    // comes before the tick's Changed, whose rectangle holds the rows
    // nothing moved into.
    void Scrolled(int rows, const FrameRect& whole);

    // What viewer `id` is sent now, given the bytes its connection has not
    // written yet. Over kMaxUnsentBytes nothing is due: the viewer keeps
    // owing (and the tick counts as dropped for it if it owed anything).
    // What is returned is no longer owed.
    ViewerDue TakeDue(int id, std::size_t unsentBytes);

    // Ticks on which viewer `id` owed something and was not sent it.
    std::uint64_t Dropped(int id) const;

private:
    struct Slot {
        bool used = false;
        FrameRect owed;
        int scroll = 0;
        bool palette = false;
        bool texts = false;
        std::uint64_t dropped = 0;
    };
    std::array<Slot, kMaxWebViewers> slots_ {};
};

} // namespace velmaris
