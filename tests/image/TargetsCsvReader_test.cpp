// The targets CSV read back: what "Export Targets..." writes comes back as
// it was written (to its decimals), and malformed files are refused with
// the line at fault.
#include "image/TargetsCsvReader.h"

#include <gtest/gtest.h>

namespace velmaris {
namespace {

MeasuredTarget Target(std::string pingTime, double size)
{
    MeasuredTarget t;
    t.measuredAt = "2026-12-09 07:05:03";
    t.pingDate = "07-DEC-2026";
    t.pingTime = std::move(pingTime);
    t.anchorRange = 6.25;
    t.anchorBearing = 90.5;
    t.endRange = 8.5;
    t.endBearing = 0.0;
    t.size = size;
    return t;
}

void ExpectSame(const std::vector<MeasuredTarget>& got, const std::vector<MeasuredTarget>& want)
{
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].measuredAt, want[i].measuredAt);
        EXPECT_EQ(got[i].pingDate, want[i].pingDate);
        EXPECT_EQ(got[i].pingTime, want[i].pingTime);
        EXPECT_EQ(got[i].anchorRange, want[i].anchorRange);
        EXPECT_EQ(got[i].anchorBearing, want[i].anchorBearing);
        EXPECT_EQ(got[i].endRange, want[i].endRange);
        EXPECT_EQ(got[i].endBearing, want[i].endBearing);
        EXPECT_EQ(got[i].size, want[i].size);
        ASSERT_EQ(got[i].places.has_value(), want[i].places.has_value()) << i;
        if (got[i].places) {
            EXPECT_EQ(got[i].places->anchor.latitude, want[i].places->anchor.latitude);
            EXPECT_EQ(got[i].places->middle.longitude, want[i].places->middle.longitude);
            EXPECT_EQ(got[i].places->end.latitude, want[i].places->end.latitude);
        }
    }
}

TEST(TargetsCsvReader, WhatTheStationWritesComesBack)
{
    MeasuredTarget sideScan = Target("14:30:05", 0.25);
    sideScan.anchorBearing.reset();
    sideScan.endBearing.reset();
    MeasuredTarget placed = Target("a,\"b\"\r\nc", 6.0);
    placed.places = TargetPlaces {{59.5, -10.25}, {59.5000001, -10.2500001}, {-45.0, 180.0}};
    for (const std::vector<MeasuredTarget>& list :
        {std::vector<MeasuredTarget> {}, std::vector<MeasuredTarget> {Target("14:30:05", 6.0), sideScan},
            std::vector<MeasuredTarget> {placed, Target("14:30:06", 1.0)}}) {
        std::vector<MeasuredTarget> read {Target("left over", 1)};
        std::string error;
        ASSERT_TRUE(ReadTargetsCsv(TargetsCsv(list), read, error)) << error;
        ExpectSame(read, list);
    }
    // Lines ended by LF alone, a blank line, no end at the last.
    std::vector<MeasuredTarget> read;
    std::string error;
    ASSERT_TRUE(ReadTargetsCsv(std::string(kTargetsCsvHeader)
            + "\n\n2026-12-09 07:05:03,07-DEC-2026,14:30:05,6.25,90.5,8.50,0.0,0.25,0.82",
        read, error))
        << error;
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].size, 0.25);
}

TEST(TargetsCsvReader, MalformedFilesAreRefusedWithTheirLine)
{
    const std::string header = std::string(kTargetsCsvHeader) + "\r\n";
    const std::string placedHeader
        = std::string(kTargetsCsvHeader) + std::string(kTargetsCsvPlacesHeader) + "\r\n";
    const std::string good = "t,07-DEC-2026,14:30:05,6.00,90.0,8.49,45.0,6.00,19.69\r\n";
    const std::string places = ",59.5,10.25,59.5,10.25,59.5,10.25\r\n";
    const std::string row = good.substr(0, good.size() - 2);
    struct Case {
        std::string text;
        const char* error;
    };
    const Case cases[] = {
        {"", "line 1: not the header"},
        {"Time,Ping Date\r\n" + good, "line 1: not the header"},
        {header + good + "t,d,p,6.00,90.0,8.49\r\n", "line 3: 6 fields where the header has 9"},
        {header + good + row + ",extra\r\n", "line 3: 10 fields"},
        {header + "t,d,p,-1.00,90.0,8.49,45.0,6.00,19.69\r\n", "line 2: field 4 is not a distance"},
        {header + "t,d,p,1e3,90.0,8.49,45.0,6.00,19.69\r\n", "line 2: field 4 is not a distance"},
        {header + "t,d,p,6.00,360.5,8.49,45.0,6.00,19.69\r\n", "line 2: field 5 is not a bearing"},
        {header + "t,d,p,6.00,90.0,nan,45.0,6.00,19.69\r\n", "line 2: field 6 is not a distance"},
        {header + "t,d,p,6.00,90.0,8.49,45.0,6.00,\r\n", "line 2: field 9 is not a distance"},
        {header + "\"t\r\nu\",d,p,6.00,90.0,8.49,45.0,6.00,19.69\r\n" + "\"open,d\r\n",
            "line 4: a field is not closed"},
        {header + "\"t\"x,d,p,6.00,90.0,8.49,45.0,6.00,19.69\r\n", "line 2: a field is not closed"},
        {header + std::string(kTargetsCsvFieldCap + 1, 'x') + good.substr(1),
            "line 2: a field is not closed or is too long"},
        {placedHeader + row + ",59.5,10.25,,,59.5,10.25\r\n", "line 2: fields 12 and 13 are not a latitude"},
        {placedHeader + row + ",95.0,10.25,59.5,10.25,59.5,10.25\r\n", "line 2: fields 10 and 11"},
        {placedHeader + row + ",59.5,180.5,59.5,10.25,59.5,10.25\r\n", "line 2: fields 10 and 11"},
        {placedHeader + row + places + good, "line 3: 9 fields where the header has 15"},
    };
    for (const Case& c : cases) {
        std::vector<MeasuredTarget> read {Target("left over", 1)};
        std::string error;
        EXPECT_FALSE(ReadTargetsCsv(c.text, read, error)) << c.text;
        EXPECT_TRUE(read.empty()) << c.text;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.text << "\n" << error;
    }
    // At most kTargetsCsvRowCap rows.
    std::string many = header;
    for (std::size_t i = 0; i <= kTargetsCsvRowCap; ++i)
        many += good;
    std::vector<MeasuredTarget> read;
    std::string error;
    EXPECT_FALSE(ReadTargetsCsv(many, read, error));
    EXPECT_NE(error.find("more than 100000 targets"), std::string::npos) << error;
}

} // namespace
} // namespace velmaris
