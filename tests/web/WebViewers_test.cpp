// Viewer admission and pacing: eight at most, and a viewer that does not
// read owes one rectangle, never a queue.
#include "web/WebViewers.h"

#include <gtest/gtest.h>

namespace velmaris {
namespace {

constexpr FrameRect kWhole {0, 0, 800, 600};

TEST(WebViewers, AtMostEightAndALeaverFreesItsPlace)
{
    WebViewers viewers;
    for (int i = 0; i < kMaxWebViewers; ++i)
        EXPECT_EQ(viewers.Admit(kWhole), i);
    EXPECT_EQ(viewers.Admit(kWhole), -1) << "the ninth viewer is refused";
    EXPECT_EQ(viewers.Count(), kMaxWebViewers);
    viewers.Leave(3);
    viewers.Leave(3);
    viewers.Leave(-1);
    viewers.Leave(kMaxWebViewers);
    EXPECT_EQ(viewers.Count(), kMaxWebViewers - 1);
    EXPECT_EQ(viewers.Admit(kWhole), 3);
    EXPECT_EQ(viewers.TakeDue(3, 0).rect, kWhole) << "a newcomer owes the whole picture";
    EXPECT_FALSE(viewers.TakeDue(12, 0).Any());
}

TEST(WebViewers, AStalledViewerOwesOneRectangleAndCountsItsDrops)
{
    WebViewers viewers;
    const int reader = viewers.Admit(kWhole);
    const int stalled = viewers.Admit(kWhole);
    ViewerDue first = viewers.TakeDue(reader, 0);
    EXPECT_TRUE(first.palette && first.texts);
    EXPECT_EQ(first.rect, kWhole);
    EXPECT_FALSE(viewers.TakeDue(reader, 0).Any()) << "what was taken is no longer owed";
    viewers.TakeDue(stalled, 0);

    struct Tick {
        FrameRect changed;
        bool texts;
        std::size_t stalledUnsent;
        FrameRect readerGets;
        FrameRect stalledGets;
    };
    const std::size_t over = kMaxUnsentBytes + 1;
    const Tick ticks[] = {
        {{10, 10, 5, 5}, false, over, {10, 10, 5, 5}, {}},
        {{100, 50, 1, 1}, true, over, {100, 50, 1, 1}, {}},
        {{}, false, over, {}, {}},
        // Drained: the union of everything it missed, cut from the picture of now.
        {{0, 300, 2, 2}, false, kMaxUnsentBytes, {0, 300, 2, 2}, {0, 10, 101, 292}},
        {{}, false, 0, {}, {}},
    };
    for (const Tick& t : ticks) {
        viewers.Changed(t.changed, false, t.texts);
        EXPECT_EQ(viewers.TakeDue(reader, 0).rect, t.readerGets);
        const ViewerDue due = viewers.TakeDue(stalled, t.stalledUnsent);
        EXPECT_EQ(due.rect, t.stalledGets);
        EXPECT_EQ(due.texts, !t.stalledGets.Empty()) << "the texts it missed come with it";
    }
    EXPECT_EQ(viewers.Dropped(stalled), 3u) << "ticks on which it owed something and got nothing";
    EXPECT_EQ(viewers.Dropped(reader), 0u);
}

TEST(WebViewers, UnionIgnoresEmptyRectangles)
{
    EXPECT_EQ(Union({}, {}), FrameRect {});
    EXPECT_EQ(Union({1, 2, 0, 9}, {5, 5, 1, 1}), (FrameRect {5, 5, 1, 1}));
    EXPECT_EQ(Union({5, 5, 1, 1}, {0, 0, 2, 2}), (FrameRect {0, 0, 6, 6}));
}

} // namespace
} // namespace velmaris
