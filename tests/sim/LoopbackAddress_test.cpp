#include "sim/LoopbackAddress.h"

#include <gtest/gtest.h>

namespace velmaris::sim {
namespace {

TEST(LoopbackAddress, AcceptsLoopbackForms)
{
    LoopbackEndpoint e;
    std::string error;
    ASSERT_TRUE(ParseLoopbackEndpoint("127.0.0.1:4041", 4040, e, &error)) << error;
    EXPECT_EQ(e.host, "127.0.0.1");
    EXPECT_EQ(e.port, 4041);
    ASSERT_TRUE(ParseLoopbackEndpoint("localhost", 4040, e, &error)) << error;
    EXPECT_EQ(e.host, "127.0.0.1");
    EXPECT_EQ(e.port, 4040);
    ASSERT_TRUE(ParseLoopbackEndpoint("[::1]:0", 4040, e, &error)) << error;
    EXPECT_EQ(e.family, AF_INET6);
    EXPECT_EQ(e.port, 0);
    ASSERT_TRUE(ParseLoopbackEndpoint(":5000", 4040, e, &error)) << error;
    EXPECT_EQ(e.host, "127.0.0.1");
    ASSERT_TRUE(ParseLoopbackEndpoint("127.3.2.1", 4040, e, &error)) << error;
}

TEST(LoopbackAddress, RefusesEverythingElseWithAMessage)
{
    LoopbackEndpoint e;
    for (const char* text : {"192.168.0.5:4040", "0.0.0.0:4040", "::", "10.0.0.1", "example.com:4040",
             "127.0.0.1:65536", "127.0.0.1:x", "127.0.0.1:", "[::1"}) {
        std::string error;
        EXPECT_FALSE(ParseLoopbackEndpoint(text, 4040, e, &error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
    std::string error;
    ParseLoopbackEndpoint("192.168.0.5:4040", 4040, e, &error);
    EXPECT_NE(error.find("non-loopback"), std::string::npos);
    EXPECT_NE(error.find("192.168.0.5"), std::string::npos);
}

} // namespace
} // namespace velmaris::sim
