#include "links/NmeaSentence.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace velmaris {
namespace {

std::string Nmea(const std::string& body)
{
    const auto sum = NmeaChecksumDigits(body);
    return "$" + body + "*" + sum[0] + sum[1] + "\r\n";
}

using Kind = NmeaReading::Kind;

// What navigation reads of each sentence type, from each kind of talker.
TEST(NmeaSentence, FixesMotionAndHeadingsAsNumbers)
{
    struct Case {
        std::string sentence;
        Kind kind;
        bool valid = false; // fixes
        double latitude = 0, longitude = 0;
        double heading = 0; // headings
        bool magnetic = false;
    };
    const double lat = 48 + 7.038 / 60, lon = 11 + 31.0 / 60;
    const Case cases[] = {
        {Nmea("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W"), Kind::Fix, true, lat, lon},
        {Nmea("GNRMC,123519,A,4807.038,S,01131.000,W,022.4,084.4,230394,,"), Kind::Fix, true, -lat, -lon},
        {Nmea("GNRMC,123519,V,4807.038,N,01131.000,E,,,230394,,"), Kind::Fix, false},
        {Nmea("GNRMC,123519,A,4807.038,N,01131.000,E,,,230394,,,N"), Kind::Fix, false}, // mode: not valid
        {Nmea("GLGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"), Kind::Fix, true, lat, lon},
        {Nmea("GAGGA,123519,4807.038,N,01131.000,E,0,00,,,M,,M,,"), Kind::Fix, false},
        {Nmea("GBGLL,4807.038,N,01131.000,E,123519,A,A"), Kind::Fix, true, lat, lon},
        {Nmea("GPGLL,4807.038,N,01131.000,E,123519,V,N"), Kind::Fix, false},
        {Nmea("GPRMC,123519,A,4860.000,N,01131.000,E,,,230394,,"), Kind::Fix, false}, // 60 minutes
        {Nmea("GPRMC,123519,A,9100.000,N,01131.000,E,,,230394,,"), Kind::Fix, false},
        {Nmea("GNVTG,054.7,T,034.4,M,005.5,N,010.2,K,A"), Kind::Motion},
        {Nmea("GNVTG,054.7,T,034.4,M,005.5,N,010.2,K,N"), Kind::None}, // mode: not valid
        {Nmea("HEHDT,274.07,T"), Kind::Heading, false, 0, 0, 274.07},
        {Nmea("GPHDT,-10.0,T"), Kind::Heading, false, 0, 0, 350.0},
        {Nmea("INTHS,77.52,E"), Kind::Heading, false, 0, 0, 77.52},
        {Nmea("GNTHS,77.52,V"), Kind::None}, // invalid
        {Nmea("HCHDG,98.3,0.0,E,12.6,W"), Kind::Heading, false, 0, 0, 85.7},
        {Nmea("HCHDG,358.0,1.5,E,3.0,E"), Kind::Heading, false, 0, 0, 2.5},
        {Nmea("HCHDG,98.3,2.0,W,,"), Kind::Heading, false, 0, 0, 96.3, true}, // no variation
        {Nmea("HCHDG,98.3,2.0,X,,"), Kind::None},
        {Nmea("HEHDT,274.07,M"), Kind::None},
        {Nmea("XXHDT,274.07,T"), Kind::None}, // not a compass or GNSS talker
        {Nmea("HERMC,123519,A,4807.038,N,01131.000,E,,,230394,,"), Kind::None},
        {"$HEHDT,274.07,T*00\r\n", Kind::None}, // bad checksum
        {"$HEHDT,274.07,T\r\n", Kind::Heading, false, 0, 0, 274.07}, // none at all
        {"$HEHDT,274\x01.07,T\r\n", Kind::None},
        {"$HEH", Kind::None},
        {"", Kind::None},
    };
    for (const Case& c : cases) {
        const NmeaReading r = ReadNmeaSentence(c.sentence);
        EXPECT_EQ(r.kind, c.kind) << c.sentence;
        if (r.kind == Kind::Fix) {
            EXPECT_EQ(r.valid, c.valid) << c.sentence;
            EXPECT_NEAR(r.latitude, c.latitude, 1e-12) << c.sentence;
            EXPECT_NEAR(r.longitude, c.longitude, 1e-12) << c.sentence;
            ASSERT_TRUE(r.secondsOfDay) << c.sentence;
            EXPECT_EQ(*r.secondsOfDay, 12 * 3600 + 35 * 60 + 19) << c.sentence;
        }
        if (r.kind == Kind::Heading) {
            EXPECT_NEAR(r.heading, c.heading, 1e-9) << c.sentence;
            EXPECT_EQ(r.magnetic, c.magnetic) << c.sentence;
        }
    }
    const NmeaReading rmc = ReadNmeaSentence(cases[0].sentence);
    EXPECT_EQ(rmc.speedKnots, 22.4);
    EXPECT_EQ(rmc.courseTrue, 84.4);
    EXPECT_EQ(rmc.variation, -3.1);
    const NmeaReading vtg = ReadNmeaSentence(cases[10].sentence);
    EXPECT_EQ(vtg.speedKnots, 5.5);
    EXPECT_EQ(vtg.courseTrue, 54.7);
}

} // namespace
} // namespace velmaris
