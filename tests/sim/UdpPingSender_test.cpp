#include "sim/UdpPingSender.h"

#include "SimRecordTestSupport.h"
#include "SimTestSupport.h"
#include "support/LoopbackUdpReceiver.h"

#include <gtest/gtest.h>

namespace velmaris::sim {
namespace {

// A station's UDP listener on a free loopback port.
using Listener = testing::LoopbackUdpReceiver;

TEST(UdpPingSender, SendsDecodableRecordsAtTheRate)
{
    Listener station;
    UdpSenderOptions options;
    options.address = "127.0.0.1:" + std::to_string(station.Port());
    options.rateHz = 100.0;
    options.count = 8;
    options.source.command.mode = SimMode::Polar;
    UdpPingSender sender(options);
    std::string error;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(sender.Start(&error)) << error;
    const std::vector<test::Bytes> datagrams = station.Take(8, 1000);
    ASSERT_EQ(datagrams.size(), 8u);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(65)); // 7 periods of 10 ms
    for (const test::Bytes& d : datagrams) {
        ASSERT_EQ(d.size(), static_cast<std::size_t>(kRecordLengthIGX));
        const test::DecodedRecord r = test::DecodeOneRecord(d);
        EXPECT_TRUE(r.replyValid);
        EXPECT_EQ(r.ping.recordLength, kRecordLengthIGX);
        EXPECT_EQ(r.settings.sectorMode, DisplayMode::Polar);
        EXPECT_EQ(r.ping.loopTimeRounded, 10);
    }
    sender.Stop();
    EXPECT_TRUE(sender.Finished());
    EXPECT_EQ(sender.Sent(), 8u);
}

TEST(UdpPingSender, DamagesTheChosenDatagrams)
{
    Listener station;
    UdpSenderOptions options;
    options.address = "127.0.0.1:" + std::to_string(station.Port());
    options.rateHz = 200.0;
    options.count = 6;
    options.faults = *FaultPlan::Parse("undersize=2,oversize=3,badlength=5", nullptr);
    UdpPingSender sender(options);
    ASSERT_TRUE(sender.Start(nullptr));
    const std::vector<test::Bytes> d = station.Take(6, 1000);
    ASSERT_EQ(d.size(), 6u);
    EXPECT_EQ(d[0].size(), 640u);
    EXPECT_EQ(d[1].size(), 64u); // below the 113 bytes a station takes
    EXPECT_EQ(d[2].size(), 1100u); // above the 1023 bytes a station takes
    EXPECT_EQ(d[3].size(), 64u);
    EXPECT_EQ(d[4].size(), 640u);
    EXPECT_NE(d[4][4] * 256 + d[4][5], 640); // the length field lies
    EXPECT_EQ(d[5].size(), 64u); // 6 is both: undersize wins
}

TEST(UdpPingSender, LengthLiesCycleAndNonLoopbackIsRefused)
{
    FaultPlan plan;
    plan.badLengthEvery = 1;
    std::vector<int> lies;
    for (std::uint64_t n = 1; n <= 4; ++n) {
        test::Bytes record(640, 0);
        record[4] = 0x02;
        record[5] = 0x80;
        DamageDatagram(record, plan, n);
        lies.push_back(record[4] * 256 + record[5]);
    }
    EXPECT_EQ(lies, (std::vector<int> {0, 100, 896, 65535}));

    UdpSenderOptions options;
    options.address = "192.168.0.5:4040";
    UdpPingSender sender(options);
    std::string error;
    EXPECT_FALSE(sender.Start(&error));
    EXPECT_NE(error.find("non-loopback"), std::string::npos);
}

} // namespace
} // namespace velmaris::sim
