#include "links/ReplyAssembler.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

namespace velmaris {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Sequence(std::size_t count, std::uint8_t first)
{
    Bytes v(count);
    std::iota(v.begin(), v.end(), first);
    return v;
}

// A 513-byte 'IGX' reply whose echo bytes are numbered from `seed`; the
// data count is 500, as the head sends it.
Bytes WholeReply(std::uint8_t seed)
{
    Bytes reply = Sequence(kReplyBufferSize, seed);
    const Bytes header {'I', 'G', 'X', 0x11, 0x00, 0x10, 0x20, 30, 5, 0, 500 & 0x7F, 500 >> 7};
    std::copy(header.begin(), header.end(), reply.begin());
    for (std::size_t i = kReplyHeaderBytes; i < reply.size(); ++i)
        if (reply[i] == 'I')
            reply[i] = 'i'; // no header-like bytes unless a case puts them there
    return reply;
}

void PutHeaderAt(Bytes& bytes, std::size_t at)
{
    const Bytes header {'I', 'G', 'X', 0, 0, 0, 0, 30, 0, 0, 100, 1};
    std::copy(header.begin(), header.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Feeds `segments` as the cycle does and returns every whole reply taken.
std::vector<Bytes> Collect(ReplyAssembler& assembler, const std::vector<Bytes>& segments)
{
    std::vector<Bytes> replies;
    for (const Bytes& segment : segments) {
        std::span<const std::uint8_t> rest(segment);
        while (!rest.empty()) {
            rest = rest.subspan(assembler.Feed(rest));
            if (!assembler.Complete())
                break;
            replies.emplace_back(assembler.Reply().begin(), assembler.Reply().end());
            assembler.Clear();
        }
        EXPECT_TRUE(rest.empty()) << "bytes left behind in a segment";
    }
    return replies;
}

TEST(ReplyAssemblerTest, CollectsOneReplyAcrossSegments)
{
    ReplyAssembler assembler;
    const auto stream = Sequence(513, 0);
    EXPECT_EQ(assembler.Feed(std::span(stream).first(265)), 265u);
    EXPECT_FALSE(assembler.Complete());
    EXPECT_EQ(assembler.Pending(), 265u);
    EXPECT_EQ(assembler.Feed(std::span(stream).subspan(265)), 248u);
    ASSERT_TRUE(assembler.Complete());
    EXPECT_TRUE(std::equal(stream.begin(), stream.end(), assembler.Reply().begin()));
}

TEST(ReplyAssemblerTest, TakesNoMoreThanOneReplyAndNothingWhileOneWaits)
{
    ReplyAssembler assembler;
    const auto stream = Sequence(700, 7);
    EXPECT_EQ(assembler.Feed(stream), 513u);
    EXPECT_EQ(assembler.Reply()[512], static_cast<std::uint8_t>(7 + 512));
    EXPECT_EQ(assembler.Feed(std::span(stream).subspan(513)), 0u);
    assembler.Clear();
    EXPECT_EQ(assembler.Feed(std::span(stream).subspan(513)), 187u);
    EXPECT_EQ(assembler.Reply()[0], static_cast<std::uint8_t>(7 + 513));
}

TEST(ReplyAssemblerTest, ClearDropsAPartialReplyWithoutResynchronising)
{
    ReplyAssembler assembler;
    const auto stream = Sequence(600, 0);
    assembler.Feed(std::span(stream).first(300));
    assembler.Clear();
    assembler.Feed(std::span(stream).subspan(87)); // 513 fresh bytes
    ASSERT_TRUE(assembler.Complete());
    EXPECT_EQ(assembler.Reply()[0], 87);
}

TEST(ReplyAssemblerTest, HeaderIsPlausibleByKindAndDataCount)
{
    struct Case {
        std::string kind;
        int dataCount;
        bool plausible;
    };
    for (const Case& c : std::vector<Case> {{"IGX", 500, true}, {"IGX", 501, false}, {"IMX", 250, true},
             {"IMX", 251, false}, {"IPX", 0, true}, {"IPX", 1, false}, {"igx", 0, false}, {"IQX", 0, false},
             {"JGX", 0, false}, {"IGY", 0, false}}) {
        std::array<std::uint8_t, kReplyHeaderBytes> header {};
        std::copy(c.kind.begin(), c.kind.end(), header.begin());
        header[10] = static_cast<std::uint8_t>((c.dataCount & 0x7F) | 0x80); // bit 7 is not counted
        header[11] = static_cast<std::uint8_t>(c.dataCount >> 7);
        EXPECT_EQ(PlausibleReplyHeader(header), c.plausible) << c.kind << " " << c.dataCount;
    }
}

// The watchdog dropped the first `dropped` bytes of reply A; then the
// segments arrive. Every whole reply after A must come out, in order.
struct LateCase {
    const char* name;
    std::size_t dropped;
    std::vector<Bytes> (*segments)(const Bytes& a, std::size_t dropped, const Bytes& b, const Bytes& c);
    bool expectB; // B survives (false only when its own start was lost)
};

Bytes Tail(const Bytes& a, std::size_t dropped)
{
    return Bytes(a.begin() + static_cast<std::ptrdiff_t>(dropped), a.end());
}

std::vector<Bytes> OneByteAtATime(const Bytes& all)
{
    std::vector<Bytes> pieces;
    for (std::uint8_t b : all)
        pieces.push_back({b});
    return pieces;
}

class LateTailTest : public ::testing::TestWithParam<LateCase> { };

TEST_P(LateTailTest, NoWholeReplyIsLost)
{
    const LateCase& c = GetParam();
    Bytes a = WholeReply(1);
    PutHeaderAt(a, 300); // header-like bytes in the tail of most cases
    const Bytes b = WholeReply(2);
    const Bytes cReply = WholeReply(3);

    ReplyAssembler assembler;
    EXPECT_EQ(assembler.Feed(std::span(a).first(c.dropped)), c.dropped);
    assembler.DropPartial();
    EXPECT_TRUE(assembler.Resynchronising());
    EXPECT_EQ(assembler.Pending(), 0u);

    const std::vector<Bytes> replies = Collect(assembler, c.segments(a, c.dropped, b, cReply));
    const std::vector<Bytes> expected
        = c.expectB ? std::vector<Bytes> {b, cReply} : std::vector<Bytes> {cReply};
    ASSERT_EQ(replies.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(replies[i], expected[i]) << "reply " << i;
    EXPECT_FALSE(assembler.Resynchronising());
    EXPECT_EQ(assembler.Pending(), 0u);
}

INSTANTIATE_TEST_SUITE_P(ReplyAssembler, LateTailTest,
    ::testing::Values(LateCase {"LateTailAlone", 256,
                          [](const Bytes& a, std::size_t d, const Bytes& b, const Bytes& c) {
                              return std::vector<Bytes> {Tail(a, d), b, c};
                          },
                          true},
        LateCase {"LateTailAndWholeReplyInOneSegment", 256,
            [](const Bytes& a, std::size_t d, const Bytes& b, const Bytes& c) {
                return std::vector<Bytes> {Join({Tail(a, d), b}), c};
            },
            true},
        LateCase {"TailStartsWithHeaderLikeBytes", 300,
            [](const Bytes& a, std::size_t d, const Bytes& b, const Bytes& c) {
                return std::vector<Bytes> {Join({Tail(a, d), b, c})};
            },
            true},
        LateCase {"TailCutIntoSingleBytes", 100,
            [](const Bytes& a, std::size_t d, const Bytes& b, const Bytes& c) {
                return OneByteAtATime(Join({Tail(a, d), b, c}));
            },
            true},
        LateCase {"TailNeverCame", 256,
            [](const Bytes&, std::size_t, const Bytes& b, const Bytes& c) {
                return std::vector<Bytes> {b, c};
            },
            true},
        LateCase {"DroppedInsideTheHeader", 5,
            [](const Bytes& a, std::size_t d, const Bytes& b, const Bytes& c) {
                return std::vector<Bytes> {Join({Tail(a, d), b, c})};
            },
            true},
        LateCase {"JunkAfterTheTailIsHuntedThrough", 256,
            [](const Bytes& a, std::size_t d, const Bytes& b, const Bytes& c) {
                Bytes junk(700, 0x49); // 'I' over and over, never a header
                return std::vector<Bytes> {Tail(a, d), junk, b, c};
            },
            true},
        LateCase {"ShortTailLosesOnlyTheReplyItCut", 256,
            [](const Bytes& a, std::size_t d, const Bytes& b, const Bytes& c) {
                // 100 bytes of the tail went missing: B's start is taken
                // as the rest of the tail, B is lost, C is found again.
                return std::vector<Bytes> {Join({Bytes(a.begin() + d, a.end() - 100), b, c})};
            },
            false}),
    [](const ::testing::TestParamInfo<LateCase>& info) { return std::string(info.param.name); });

TEST(ReplyAssemblerTest, SecondDropWhileResynchronisingKeepsTheExpectedTail)
{
    const Bytes a = WholeReply(1);
    const Bytes b = WholeReply(2);
    ReplyAssembler assembler;
    assembler.Feed(std::span(a).first(200));
    assembler.DropPartial();
    Collect(assembler, {Bytes(a.begin() + 200, a.begin() + 400)});
    assembler.DropPartial(); // the watchdog again, the tail still on its way
    const auto replies = Collect(assembler, {Bytes(a.begin() + 400, a.end()), b});
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0], b);
    EXPECT_EQ(assembler.SkippedBytes(), 313u);
}

} // namespace
} // namespace velmaris
