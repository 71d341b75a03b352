#include "links/ReplyAssembler.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace velmaris {
namespace {

std::vector<std::uint8_t> Bytes(std::size_t count, std::uint8_t first)
{
    std::vector<std::uint8_t> v(count);
    std::iota(v.begin(), v.end(), first);
    return v;
}

TEST(ReplyAssemblerTest, CollectsOneReplyAcrossSegments)
{
    ReplyAssembler assembler;
    const auto stream = Bytes(513, 0);
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
    const auto stream = Bytes(700, 7);
    EXPECT_EQ(assembler.Feed(stream), 513u);
    EXPECT_EQ(assembler.Reply()[512], static_cast<std::uint8_t>(7 + 512));
    EXPECT_EQ(assembler.Feed(std::span(stream).subspan(513)), 0u);
    assembler.Clear();
    EXPECT_EQ(assembler.Feed(std::span(stream).subspan(513)), 187u);
    EXPECT_EQ(assembler.Reply()[0], static_cast<std::uint8_t>(7 + 513));
}

TEST(ReplyAssemblerTest, ClearDropsAPartialReply)
{
    ReplyAssembler assembler;
    const auto stream = Bytes(600, 0);
    assembler.Feed(std::span(stream).first(300));
    assembler.Clear();
    assembler.Feed(std::span(stream).subspan(87)); // 513 fresh bytes
    ASSERT_TRUE(assembler.Complete());
    EXPECT_EQ(assembler.Reply()[0], 87);
}

} // namespace
} // namespace velmaris
