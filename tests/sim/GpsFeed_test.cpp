#include "sim/GpsFeed.h"
#include "sim/UtcTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace velmaris::sim {
namespace {

// The fields of a sentence between "$" and "*", after its checksum was
// checked; empty when the sentence is not whole or its checksum is wrong.
std::vector<std::string> CheckedFields(const std::string& sentence)
{
    const std::size_t star = sentence.rfind('*');
    if (sentence.size() < 6 || sentence[0] != '$' || star == std::string::npos || star + 5 != sentence.size()
        || sentence.substr(star + 3) != "\r\n")
        return {};
    unsigned sum = 0;
    for (std::size_t i = 1; i < star; ++i)
        sum ^= static_cast<unsigned char>(sentence[i]);
    if (std::strtoul(sentence.substr(star + 1, 2).c_str(), nullptr, 16) != sum)
        return {};
    std::vector<std::string> fields;
    std::size_t from = 1;
    for (std::size_t comma; (comma = sentence.find(',', from)) < star; from = comma + 1)
        fields.push_back(sentence.substr(from, comma - from));
    fields.push_back(sentence.substr(from, star - from));
    return fields;
}

double Angle(const std::string& value, const std::string& hemisphere, int degreeDigits)
{
    const double degrees = std::stod(value.substr(0, static_cast<std::size_t>(degreeDigits)))
        + std::stod(value.substr(static_cast<std::size_t>(degreeDigits))) / 60.0;
    return hemisphere == "S" || hemisphere == "W" ? -degrees : degrees;
}

TEST(NmeaSentences, EachSentenceHasItsFieldsInOrderAndItsChecksum)
{
    NavFix fix;
    fix.utc = {2026, 12, 9, 18, 44, 32, 170};
    fix.position = {59.0 + 26.124 / 60.0, 10.0 + 41.456 / 60.0};
    fix.speedKnots = 4.0;
    fix.courseDegrees = 45.5;
    fix.headingDegrees = 47.25;
    EXPECT_EQ(
        RmcSentence(fix, "GP"), "$GPRMC,184432.17,A,5926.12400,N,01041.45600,E,4.00,45.50,091226,,,A*62\r\n");
    EXPECT_EQ(
        GgaSentence(fix, "GN"), "$GNGGA,184432.17,5926.12400,N,01041.45600,E,1,09,0.9,0.0,M,0.0,M,,*40\r\n");
    EXPECT_EQ(VtgSentence(fix, "GP"), "$GPVTG,45.50,T,,M,4.00,N,7.41,K,A*0F\r\n");
    EXPECT_EQ(HdtSentence(fix, "GP"), "$GPHDT,47.25,T*31\r\n");

    // The minutes carry into the degrees, and angles stay below 360.
    fix.position = {-(33.0 + 59.9999999 / 60.0), -(70.0 + 59.9999999 / 60.0)};
    fix.courseDegrees = 359.999;
    EXPECT_EQ(CheckedFields(RmcSentence(fix, "GP"))[3], "3400.00000");
    EXPECT_EQ(CheckedFields(RmcSentence(fix, "GP"))[4], "S");
    EXPECT_EQ(CheckedFields(RmcSentence(fix, "GP"))[5], "07100.00000");
    EXPECT_EQ(CheckedFields(RmcSentence(fix, "GP"))[6], "W");
    EXPECT_EQ(CheckedFields(VtgSentence(fix, "GP"))[1], "0.00");
    EXPECT_EQ(SpoilChecksum("$GPHDT,47.25,T*31\r\n"), "$GPHDT,47.25,T*6B\r\n");
}

TEST(GpsFeed, SentencesDecodeBackToTheBoatsPoseWithTheTalkerAsked)
{
    BoatOptions boat;
    boat.epoch = 1796841872.0;
    boat.yawDegrees = 2.0;
    for (const char* talker : {"GP", "GN"}) {
        GpsFeed feed(boat, {.talker = talker});
        for (double t = boat.epoch - 2.0; t < boat.epoch + 400.0; t += 37.0) {
            const std::vector<std::string> sentences = feed.Epoch(t);
            ASSERT_EQ(sentences.size(), 4u);
            const BoatPose pose = feed.GetBoat().PoseAt(t);
            const LocalTime utc = UtcFromUnixMs(std::llround(t * 1000.0));
            const char* types[] = {"RMC", "GGA", "VTG", "HDT"};
            std::vector<std::vector<std::string>> f;
            for (int i = 0; i < 4; ++i) {
                f.push_back(CheckedFields(sentences[static_cast<std::size_t>(i)]));
                ASSERT_FALSE(f.back().empty()) << sentences[static_cast<std::size_t>(i)];
                EXPECT_EQ(f.back()[0], std::string(talker) + types[i]);
            }
            char time[48];
            std::snprintf(time, sizeof time, "%02d%02d%02d.%02d", utc.hour, utc.minute, utc.second,
                utc.millisecond / 10);
            EXPECT_EQ(f[0][1], time);
            EXPECT_EQ(f[0][2], "A");
            EXPECT_EQ(f[0][9], "091226");
            for (const auto& [fields, at] : {std::pair {f[0], 3}, std::pair {f[1], 2}}) {
                const GeoPoint p {Angle(fields[static_cast<std::size_t>(at)], fields[at + 1u], 2),
                    Angle(fields[at + 2u], fields[at + 3u], 3)};
                const Offset o = GeoToOffset(boat.start, p);
                EXPECT_NEAR(o.east, pose.east, 0.02) << t;
                EXPECT_NEAR(o.north, pose.north, 0.02) << t;
            }
            EXPECT_EQ(f[1][6], "1");
            EXPECT_NEAR(std::stod(f[0][7]), 4.0, 0.005);
            EXPECT_NEAR(std::stod(f[2][5]), 4.0, 0.005);
            EXPECT_NEAR(std::remainder(std::stod(f[0][8]) - pose.course, 360.0), 0.0, 0.005);
            EXPECT_NEAR(std::remainder(std::stod(f[2][1]) - pose.course, 360.0), 0.0, 0.005);
            EXPECT_NEAR(std::remainder(std::stod(f[3][1]) - pose.heading, 360.0), 0.0, 0.005);
        }
    }
}

TEST(GpsFeed, BadChecksumsAndDropOutsComeWhereAsked)
{
    struct Case {
        const char* name;
        GpsFeedOptions options;
        int epochs, sentences, badChecksums, withoutFix;
    };
    const Case cases[] = {
        {"clean", {}, 20, 80, 0, 0},
        {"every third sentence spoilt", {.badChecksumEvery = 3}, 20, 80, 26, 0},
        {"silent 3 s in every 10", {.dropouts = {10.0, 3.0, false}}, 20, 56, 0, 0},
        {"no fix 3 s in every 10", {.dropouts = {10.0, 3.0, true}}, 20, 80, 0, 24},
        {"both", {.badChecksumEvery = 5, .dropouts = {10.0, 3.0, false}}, 20, 56, 11, 0},
    };
    for (const Case& c : cases) {
        BoatOptions boat;
        boat.epoch = 1000.0;
        GpsFeed feed(boat, c.options);
        int sentences = 0, bad = 0, withoutFix = 0;
        for (int k = 0; k < c.epochs; ++k) {
            const std::vector<std::string> epoch = feed.Epoch(1000.0 + k);
            EXPECT_EQ(epoch.empty(), c.options.dropouts.every > 0 && !c.options.dropouts.noFix && k % 10 >= 7)
                << c.name << " " << k;
            for (const std::string& sentence : epoch) {
                ++sentences;
                const std::vector<std::string> fields = CheckedFields(sentence);
                if (fields.empty()) {
                    ++bad;
                    EXPECT_EQ(sentences % c.options.badChecksumEvery, 0) << c.name;
                    continue;
                }
                const bool noFix = (fields[0].ends_with("RMC") && fields[2] == "V")
                    || (fields[0].ends_with("GGA") && fields[6] == "0")
                    || (fields[0].ends_with("VTG") && fields[1].empty())
                    || (fields[0].ends_with("HDT") && fields[1].empty());
                withoutFix += noFix ? 1 : 0;
                EXPECT_EQ(noFix, k % 10 >= 7 && c.options.dropouts.noFix) << c.name << " " << sentence;
            }
        }
        EXPECT_EQ(sentences, c.sentences) << c.name;
        EXPECT_EQ(bad, c.badChecksums) << c.name;
        EXPECT_EQ(withoutFix, c.withoutFix) << c.name;
    }
}

TEST(GpsFeed, DropOutsAndTalkersAreCheckedWhenParsed)
{
    struct Case {
        const char* text;
        bool ok;
        GpsDropouts want;
    };
    const Case cases[] = {
        {"10:3", true, {10.0, 3.0, false}},
        {"60:2.5:nofix", true, {60.0, 2.5, true}},
        {"3:10", false, {}},
        {"10:10", false, {}},
        {"10", false, {}},
        {"10:0", false, {}},
        {"10:3:quiet", false, {}},
        {"ten:3", false, {}},
        {"-10:3", false, {}},
        {"", false, {}},
    };
    for (const Case& c : cases) {
        std::string error;
        const std::optional<GpsDropouts> d = ParseDropouts(c.text, &error);
        ASSERT_EQ(d.has_value(), c.ok) << c.text;
        if (d) {
            EXPECT_EQ(d->every, c.want.every);
            EXPECT_EQ(d->length, c.want.length);
            EXPECT_EQ(d->noFix, c.want.noFix);
        } else {
            EXPECT_TRUE(error.starts_with("--dropouts")) << c.text;
        }
    }
    for (const auto& [talker, ok] :
        {std::pair {"GP", true}, {"GN", true}, {"gp", false}, {"GPS", false}, {"G", false}})
        EXPECT_EQ(IsTalker(talker), ok) << talker;
}

TEST(UtcTime, UnixMillisecondsAndTheCalendarAgree)
{
    struct Case {
        LocalTime utc;
        long long ms;
    };
    const Case cases[] = {
        {{1970, 1, 1, 0, 0, 0, 0}, 0},
        {{1969, 12, 31, 23, 59, 59, 999}, -1},
        {{2024, 2, 29, 0, 0, 0, 0}, 1709164800000},
        {{2026, 12, 9, 18, 44, 32, 170}, 1796841872170},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UnixMsFromUtc(c.utc), c.ms);
        const LocalTime back = UtcFromUnixMs(c.ms);
        EXPECT_EQ(UnixMsFromUtc(back), c.ms);
        EXPECT_EQ(back.year, c.utc.year);
        EXPECT_EQ(back.month, c.utc.month);
        EXPECT_EQ(back.day, c.utc.day);
        EXPECT_EQ(back.millisecond, c.utc.millisecond);
    }
}

} // namespace
} // namespace velmaris::sim
