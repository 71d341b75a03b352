#include "links/NmeaDecoder.h"

#include "links/NmeaSentence.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace velmaris {
namespace {

// "$" + body + its checksum + CR LF.
std::string Nmea(const std::string& body)
{
    const auto sum = NmeaChecksumDigits(body);
    return "$" + body + "*" + sum[0] + sum[1] + "\r\n";
}

std::string Rmc(const std::string& time, const std::string& date, const std::string& talker = "GP")
{
    return Nmea(talker + "RMC," + time + ",A,4807.038,N,01131.000,E,022.4,084.4," + date + ",003.1,W");
}

TEST(NmeaDecoder, RmcFillsEveryTextAndTheCenturyFollowsTheYear)
{
    struct Case {
        const char* date;
        const char* text;
    };
    for (const Case& c : {Case {"311299", "31-DEC-1999"}, Case {"010170", "01-JAN-1970"},
             Case {"010169", "01-JAN-2069"}, Case {"150600", "15-JUN-2000"}}) {
        NmeaDecoder decoder;
        EXPECT_EQ(decoder.Feed(Rmc("123519", c.date)), 1);
        const GpsTexts& t = decoder.Texts();
        EXPECT_EQ(t.date, c.text) << c.date;
        EXPECT_EQ(t.time, "12:35:19");
        EXPECT_EQ(t.latitude, "48.07.038 N");
        EXPECT_EQ(t.longitude, "011.31.000 E");
        EXPECT_EQ(t.speed, "22.40 Knots");
        EXPECT_EQ(t.course, "84.40 Deg.");
        EXPECT_TRUE(decoder.DataSeen());
    }
}

TEST(NmeaDecoder, InvalidTimeAndDateKeepThePreviousTexts)
{
    NmeaDecoder decoder;
    decoder.Feed(Rmc("235959.50", "311299"));
    ASSERT_EQ(decoder.Texts().time, "23:59:59") << "fractional seconds are ignored";
    for (const char* time : {"246000", "236000", "235960", "12345", "|19322|1.00", ""})
        decoder.Feed(Rmc(time, "311299"));
    EXPECT_EQ(decoder.Texts().time, "23:59:59");
    for (const char* date : {"320199", "011399", "001299", "2208-1", ""})
        decoder.Feed(Rmc("000000", date));
    EXPECT_EQ(decoder.Texts().date, "31-DEC-1999");
    EXPECT_EQ(decoder.Texts().time, "00:00:00");
}

TEST(NmeaDecoder, EverySelectionFeedsItsOwnSentences)
{
    const std::string gga = Nmea("GPGGA,101010,4916.45,N,12311.12,W,1,08,0.9,545.4,M,46.9,M,,");
    const std::string gll = Nmea("GPGLL,4916.45,S,12311.12,E,202020,A,");
    const std::string vtg = "$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K*48\r\n";
    const std::string rmc = Rmc("030303", "311299");
    struct Case {
        NmeaSelection selection;
        GpsTexts want;
    };
    const std::string na = kGpsNotAvailable;
    const Case cases[] = {
        {NmeaSelection::GllOrVtg, {"20:20:20", na, "49.16.45 S", "123.11.12 E", "5.50 Knots", "054.7"}},
        {NmeaSelection::GgaOrVtg, {"10:10:10", na, "49.16.45 N", "123.11.12 W", "5.50 Knots", "054.7"}},
        {NmeaSelection::Rmc,
            {"03:03:03", "31-DEC-1999", "48.07.038 N", "011.31.000 E", "22.40 Knots", "84.40 Deg."}},
        {NmeaSelection::Vtg, {na, na, na, na, "5.50 Knots", "054.7"}},
    };
    for (const Case& c : cases) {
        NmeaDecoder decoder(c.selection);
        decoder.Feed(gga + gll + vtg + rmc);
        EXPECT_EQ(decoder.Texts(), c.want) << static_cast<int>(c.selection);
        EXPECT_EQ(decoder.RecentSentences().size(), 4u);
    }
}

TEST(NmeaDecoder, MissingFieldEndsTheSentenceButEmptyFieldsOnlySkipTheirText)
{
    NmeaDecoder decoder;
    decoder.Feed(Rmc("010203", "311299"));
    const GpsTexts before = decoder.Texts();
    decoder.Feed("$GPRMC,111111,A,5000.00,S\r\n"); // ends before the longitude
    EXPECT_EQ(decoder.Texts().time, "11:11:11");
    EXPECT_EQ(decoder.Texts().latitude, "50.00.00 S");
    EXPECT_EQ(decoder.Texts().longitude, before.longitude);
    EXPECT_EQ(decoder.Texts().speed, before.speed);
    decoder.Feed("$GPRMC,,V,,,,,,,,,,N*53\r\n"); // a receiver without a fix
    EXPECT_EQ(decoder.Texts().time, "11:11:11");
    EXPECT_EQ(decoder.Texts().course, before.course);
    EXPECT_EQ(decoder.Texts().date, before.date);
    // Fields past the last one decoded, however many, change nothing.
    decoder.Feed(
        "$GPRMC,222222,A,4807.038,N,01131.000,E,022.4,084.4,230394" + std::string(120, ',') + "\r\n");
    EXPECT_EQ(decoder.Texts().time, "22:22:22");
    EXPECT_EQ(decoder.Texts().longitude, "011.31.000 E");
    EXPECT_EQ(decoder.Texts().date, "23-MAR-1994");
}

TEST(NmeaDecoder, PositionTextsFollowTheMinutesRule)
{
    struct Case {
        const char* field;
        const char* hemisphere;
        bool latitude;
        const char* text; // "" when refused
    };
    const Case cases[] = {
        {"4807.038", "N", true, "48.07.038 N"},
        {"4807.03812345", "N", true, "48.07.0381 N"}, // seven minute characters
        {"00207.2822", "W", false, "002.07.2822 W"}, {"4742.21", "N", true, "47.42.21 N"},
        {"4742", "S", true, "47.42 S"}, {"742.5", "N", true, "7.42.5 N"},
        {"42.5", "N", true, ""}, // no degree digit
        {"4807.038", "E", true, ""}, {"4807.038", "", true, ""}, {"48A7.038", "N", true, ""},
        {"123456.7", "E", false, ""}, // four degree digits
    };
    for (const Case& c : cases)
        EXPECT_EQ(NmeaPositionText(c.field, c.hemisphere, c.latitude), c.text) << c.field;
}

TEST(NmeaDecoder, SentencesSplitAcrossTicksSplicedOrTooShort)
{
    NmeaDecoder decoder;
    const std::string rmc = Rmc("120000", "010101");
    EXPECT_EQ(decoder.Feed(rmc.substr(0, 20)), 0);
    EXPECT_EQ(decoder.Texts().time, kGpsNotAvailable);
    EXPECT_EQ(decoder.Feed(rmc.substr(20)), 1) << "completed by the next tick";
    EXPECT_EQ(decoder.Texts().time, "12:00:00");

    // LF only gets CR LF; a "$" inside cuts the sentence; "$GPN\r\n" is too short.
    EXPECT_EQ(decoder.Feed("noise$GPN\r\n$GPRMC,130000$GPGLL,1,2\n"), 1);
    EXPECT_EQ(decoder.RecentSentences().back(), "$GPRMC,130000$GPGLL,1,2\r\n");
    EXPECT_EQ(decoder.Texts().time, "13:00:00");
    EXPECT_EQ(decoder.Texts().latitude, "48.07.038 N") << "the cut ends the RMC after its time";

    decoder.Feed(Rmc("140000", "010101", "GX"));
    EXPECT_EQ(decoder.Texts().time, "13:00:00") << "no GNSS talker";

    decoder.Reset();
    EXPECT_EQ(decoder.Texts(), GpsTexts {});
    EXPECT_TRUE(decoder.RecentSentences().empty());
}

TEST(NmeaDecoder, BinaryBytesAreListedButNeverDecoded)
{
    NmeaDecoder decoder;
    std::string withNul = Rmc("101010", "010101");
    withNul[9] = '\0';
    decoder.Feed(withNul);
    EXPECT_EQ(decoder.Texts().time, kGpsNotAvailable);
    ASSERT_EQ(decoder.RecentSentences().size(), 1u);
    EXPECT_EQ(decoder.RecentSentences()[0][9], '?');
}

TEST(NmeaDecoder, CapsBoundTheReceiveTextTheSentenceAndTheList)
{
    NmeaDecoder decoder;
    // A wrong baud rate: bytes without "$GP" never pile up.
    const std::string noise(10000, '\x55');
    decoder.Feed(noise + "$G");
    EXPECT_EQ(decoder.PendingBytes(), 2u);
    EXPECT_EQ(decoder.Feed("PRMC,010203,A,4807.038,N,01131.000,E,1,2,010101,,*00\r\n"), 1)
        << "a \"$G\" at the end of a tick may begin a sentence";

    // "$GP" and then no line feed for ever: never more than the cap.
    decoder.Feed("$GPXYZ" + std::string(3 * kGpsReceiveCap, 'x'));
    EXPECT_LE(decoder.PendingBytes(), kGpsReceiveCap);

    // An over-long sentence is decoded up to the cap; the rest is dropped.
    NmeaDecoder longOne;
    const std::string padded
        = "$GPRMC,050505,A,4807.038,N,01131.000,E,1,2,010101," + std::string(300, '0') + "\r\n";
    EXPECT_EQ(longOne.Feed(padded.substr(0, 200)), 1);
    EXPECT_EQ(longOne.Feed(padded.substr(200) + Rmc("060606", "010101")), 1);
    EXPECT_EQ(longOne.Texts().time, "06:06:06");
    EXPECT_EQ(longOne.RecentSentences().front().size(), kGpsSentenceCap + 2);

    NmeaDecoder many;
    for (int i = 0; i < 50; ++i)
        many.Feed(Rmc("0000" + std::to_string(10 + i), "010101"));
    ASSERT_EQ(many.RecentSentences().size(), kGpsRecentSentences);
    EXPECT_EQ(many.RecentSentences().front(), Rmc("000028", "010101")) << "oldest first, oldest dropped";
}

// Today's receivers talk as several constellations; sentences of any of
// them fill the texts, and a checksum, when there is one, must match.
TEST(NmeaDecoder, TalkersAndChecksumsDecideWhatFillsTheTexts)
{
    const std::string body = "RMC,101010,A,4807.038,N,01131.000,E,1.5,2.5,010101,,";
    struct Case {
        std::string sentence;
        bool read;
    };
    const Case cases[] = {
        {Nmea("GP" + body), true}, {Nmea("GN" + body), true}, {Nmea("GL" + body), true},
        {Nmea("GA" + body), true}, {Nmea("GB" + body), true},
        {"$GN" + body + "\r\n", true}, // no checksum at all
        {Nmea("HE" + body), false}, // a gyro gives no fix
        {Nmea("PU" + body), false}, // proprietary
        {"$GN" + body + "*00\r\n", false}, // wrong checksum
        {"$GN" + body + "*4\r\n", false}, // one digit
        {"$GN" + body + "*4GX\r\n", false}, {"$gn" + body + "\r\n", false}, // not a sentence start
    };
    for (const Case& c : cases) {
        NmeaDecoder decoder;
        std::vector<std::string> handedOn;
        decoder.Feed(c.sentence, [&](const std::string& s) { handedOn.push_back(s); });
        EXPECT_EQ(decoder.Texts().time, c.read ? "10:10:10" : kGpsNotAvailable) << c.sentence;
        // Every sentence goes on to the track, read or not.
        EXPECT_EQ(handedOn.size(), c.sentence[1] == 'g' ? 0u : 1u) << c.sentence;
    }
    // Lower-case hex digits are a checksum too.
    std::string lower = Nmea("GNVTG,054.7,T,034.4,M,005.5,N,010.2,K");
    for (char& ch : lower)
        ch = (ch >= 'A' && ch <= 'F' && &ch > &lower[lower.find('*')]) ? static_cast<char>(ch + 32) : ch;
    EXPECT_EQ(CheckNmeaChecksum(lower), NmeaChecksum::Good) << lower;
}

// A receiver that has lost its fix says so; its position is none.
TEST(NmeaDecoder, InvalidFixesShowNoPosition)
{
    struct Case {
        NmeaSelection selection;
        std::string sentence;
    };
    const Case cases[] = {
        {NmeaSelection::Rmc, Nmea("GNRMC,111111,V,4807.038,N,01131.000,E,9.9,9.9,010101,,")},
        {NmeaSelection::GgaOrVtg, Nmea("GNGGA,111111,4807.038,N,01131.000,E,0,00,,,M,,M,,")},
        {NmeaSelection::GllOrVtg, Nmea("GNGLL,4807.038,N,01131.000,E,111111,V,N")},
    };
    for (const Case& c : cases) {
        NmeaDecoder decoder(c.selection);
        decoder.Feed(Nmea("GPGGA,101010,4916.45,N,12311.12,W,1,08,0.9,545.4,M,46.9,M,,"));
        decoder.Feed(Nmea("GPGLL,4916.45,N,12311.12,W,101010,A,A"));
        decoder.Feed(Rmc("101010", "010101"));
        ASSERT_NE(decoder.Texts().latitude, kGpsNotAvailable);
        decoder.Feed(c.sentence);
        EXPECT_EQ(decoder.Texts().time, "11:11:11") << c.sentence;
        EXPECT_EQ(decoder.Texts().latitude, kGpsNotAvailable) << c.sentence;
        EXPECT_EQ(decoder.Texts().longitude, kGpsNotAvailable) << c.sentence;
        EXPECT_NE(decoder.Texts().speed, "9.90 Knots") << c.sentence;
    }
}

// Real receivers, fed in 200 ms chunks at 4800 baud (96 bytes); the last RMC
// of each was read by hand.
TEST(NmeaDecoder, RealCapturesEndOnTheirLastFix)
{
    struct Case {
        const char* file;
        GpsTexts want;
    };
    const std::string na = kGpsNotAvailable;
    const Case cases[] = {
        {"meinberg-gps164.log",
            {"22:11:21", "18-DEC-2023", "47.42.21 N", "012.00.76 E", "0.00 Knots", "0.00 Deg."}},
        {"nd-1005.log", {"11:05:33", "14-MAR-2011", "57.09.8067 N", "002.07.2822 W", "0.00 Knots", na}},
        {"triton400.log",
            {"03:01:33", "01-APR-2013", "26.38.1753 N", "080.11.3903 W", "0.00 Knots", "219.60 Deg."}},
        // "$GN" talkers only: the texts stayed "n/a" before the sentence
        // search took every talker.
        {"neo-m8n.log", {"17:19:48", "18-MAR-2015", "44.04.1390 N", "121.18.8537 W", "0.06 Knots", na}},
    };
    for (const Case& c : cases) {
        const auto path = std::filesystem::path(VELMARIS_SOURCE_DIR) / "tests/links/data/nmea" / c.file;
        std::ifstream in(path, std::ios::binary);
        ASSERT_TRUE(in) << path;
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        NmeaDecoder decoder;
        for (std::size_t at = 0; at < bytes.size(); at += 96)
            decoder.Feed(std::string_view(bytes).substr(at, 96));
        EXPECT_EQ(decoder.Texts(), c.want) << c.file;
    }
}

} // namespace
} // namespace velmaris
