#pragma once
// A strict reader of XTF files for tests, written from the format's notes
// alone (offsets, sizes, little-endian), never from the writer's code: it
// walks the file header and every packet and fails a test on anything a
// careful survey program would refuse.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace velmaris::testing {

inline std::uint64_t LittleEndian(const std::vector<std::uint8_t>& b, std::size_t at, int bytes)
{
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | b.at(at + std::size_t(i));
    return v;
}
inline float LittleFloat(const std::vector<std::uint8_t>& b, std::size_t at)
{
    const auto bits = static_cast<std::uint32_t>(LittleEndian(b, at, 4));
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}
inline double LittleDouble(const std::vector<std::uint8_t>& b, std::size_t at)
{
    const std::uint64_t bits = LittleEndian(b, at, 8);
    double d;
    std::memcpy(&d, &bits, 8);
    return d;
}
// A NUL-ended text field of `size` bytes (the NUL must be inside).
inline std::string FieldText(const std::vector<std::uint8_t>& b, std::size_t at, std::size_t size)
{
    std::string s;
    std::size_t i = 0;
    for (; i < size && b.at(at + i) != 0; ++i)
        s += static_cast<char>(b[at + i]);
    EXPECT_LT(i, size) << "text at " << at << " keeps no NUL";
    return s;
}

// The first byte in [from, to) that is not zero, or `to`.
inline std::size_t FirstNonZero(const std::vector<std::uint8_t>& b, std::size_t from, std::size_t to)
{
    while (from < to && b.at(from) == 0)
        ++from;
    return from;
}

struct XtfTimeRead {
    int year, month, day, hour, minute, second, hundredths;
    bool operator==(const XtfTimeRead&) const = default;
};

struct XtfPingRead {
    std::size_t offset = 0;
    XtfTimeRead time {};
    std::uint32_t pingNumber = 0;
    float soundVelocity = 0;
    double sensorLatitude = 0, sensorLongitude = 0, shipLatitude = 0, shipLongitude = 0;
    float heading = 0, speed = 0, shipSpeed = 0, shipGyro = 0;
    int fixHour = 0, fixMinute = 0, fixSecond = 0, fixHundredths = 0;
    float slantRange = 0, timeDuration = 0, secondsPerPing = 0;
    int frequency = 0, gain = 0;
    std::vector<std::uint8_t> samples;
};

struct XtfNoteRead {
    std::size_t after = 0; // sonar packets before it
    XtfTimeRead time {};
    std::string text;
};

struct XtfFileRead {
    std::string program, version, sonar, note, fileName;
    int channelType = -1;
    float frequency = 0;
    std::vector<XtfPingRead> pings;
    std::vector<XtfNoteRead> notes;
    std::size_t packets = 0;
};

// Reads `b` whole; every deviation from the format is a test failure.
inline XtfFileRead ReadXtf(const std::vector<std::uint8_t>& b)
{
    XtfFileRead f;
    if (b.size() < 1024) {
        ADD_FAILURE() << "shorter than the file header: " << b.size();
        return f;
    }
    EXPECT_EQ(b[0], 123) << "FileFormat";
    EXPECT_EQ(b[1], 1) << "SystemType";
    f.program = FieldText(b, 2, 8);
    f.version = FieldText(b, 10, 8);
    EXPECT_GE(std::stoi(f.version), 223) << "readers take NumSamples only from 223 on";
    EXPECT_TRUE(std::stoi(f.version) < 303 || std::stoi(f.version) > 312);
    f.sonar = FieldText(b, 18, 16);
    EXPECT_EQ(LittleEndian(b, 34, 2), 0u) << "SonarType";
    f.note = FieldText(b, 36, 64);
    f.fileName = FieldText(b, 100, 64);
    EXPECT_EQ(LittleEndian(b, 164, 2), 3u) << "NavUnits: latitude and longitude";
    EXPECT_EQ(LittleEndian(b, 166, 2), 1u) << "one sonar channel";
    EXPECT_EQ(FirstNonZero(b, 168, 256), 256u) << "other channel counts and offsets are zero";
    // The one channel description.
    f.channelType = b[256];
    EXPECT_TRUE(f.channelType == 1 || f.channelType == 2) << "port or starboard, never sub-bottom";
    EXPECT_EQ(LittleEndian(b, 256 + 6, 2), 1u) << "BytesPerSample";
    EXPECT_EQ(LittleEndian(b, 256 + 8, 4), 1024u) << "Reserved must not be 0";
    EXPECT_EQ(FieldText(b, 256 + 12, 16), f.channelType == 1 ? "Port" : "Stbd");
    f.frequency = LittleFloat(b, 256 + 32);
    EXPECT_EQ(b[256 + 74], 8) << "SampleFormat: one-byte integers";
    EXPECT_EQ(FirstNonZero(b, 384, 1024), 1024u) << "unused channel descriptions are zero";

    const auto timeAt = [&](std::size_t p, bool hundredths) {
        return XtfTimeRead {int(LittleEndian(b, p + 14, 2)), b[p + 16], b[p + 17], b[p + 18], b[p + 19],
            b[p + 20], hundredths ? b[p + 21] : 0};
    };
    for (std::size_t p = 1024; p < b.size();) {
        if (b.size() - p < 64) {
            ADD_FAILURE() << "a packet shorter than 64 bytes at " << p;
            return f;
        }
        EXPECT_EQ(LittleEndian(b, p, 2), 0xFACEu) << "magic at " << p;
        const std::size_t size = LittleEndian(b, p + 10, 4);
        if (size < 64 || size % 64 != 0 || size > b.size() - p) {
            ADD_FAILURE() << "packet at " << p << " of " << size << " bytes";
            return f;
        }
        ++f.packets;
        const int type = b[p + 2];
        if (type == 1) {
            EXPECT_EQ(size, 256u) << "notes are 256 bytes";
            XtfNoteRead n {f.pings.size(), timeAt(p, false), FieldText(b, p + 56, 200)};
            EXPECT_EQ(FirstNonZero(b, p + 21, p + 56), p + 56) << "notes reserved bytes";
            f.notes.push_back(n);
        } else if (type == 0) {
            EXPECT_EQ(LittleEndian(b, p + 4, 2), 1u) << "NumChansToFollow";
            const std::size_t c = p + 256;
            EXPECT_EQ(LittleEndian(b, c, 2), 0u) << "ChannelNumber";
            const std::size_t count = LittleEndian(b, c + 42, 4);
            EXPECT_GT(count, 0u) << "NumSamples";
            const std::size_t used = 256 + 64 + count;
            EXPECT_EQ(size, (used + 63) / 64 * 64) << "padded once, to the next 64";
            if (used > size)
                return f;
            EXPECT_EQ(FirstNonZero(b, p + used, p + size), p + size) << "zero padding";
            XtfPingRead r;
            r.offset = p;
            r.time = timeAt(p, true);
            EXPECT_LE(r.time.hundredths, 99);
            r.pingNumber = std::uint32_t(LittleEndian(b, p + 28, 4));
            r.soundVelocity = LittleFloat(b, p + 32);
            r.shipSpeed = LittleFloat(b, p + 120);
            r.shipGyro = LittleFloat(b, p + 124);
            r.shipLatitude = LittleDouble(b, p + 128);
            r.shipLongitude = LittleDouble(b, p + 136);
            r.fixHour = b[p + 148];
            r.fixMinute = b[p + 149];
            r.fixSecond = b[p + 150];
            r.fixHundredths = b[p + 151];
            r.speed = LittleFloat(b, p + 152);
            r.sensorLatitude = LittleDouble(b, p + 160);
            r.sensorLongitude = LittleDouble(b, p + 168);
            EXPECT_EQ(LittleFloat(b, p + 184), 0.0f) << "Layback";
            r.heading = LittleFloat(b, p + 212);
            r.slantRange = LittleFloat(b, c + 4);
            r.timeDuration = LittleFloat(b, c + 16);
            r.secondsPerPing = LittleFloat(b, c + 20);
            r.frequency = int(LittleEndian(b, c + 26, 2));
            r.gain = int(LittleEndian(b, c + 30, 2));
            r.samples.assign(b.begin() + std::ptrdiff_t(c + 64), b.begin() + std::ptrdiff_t(c + 64 + count));
            f.pings.push_back(std::move(r));
        } else {
            ADD_FAILURE() << "packet type " << type << " at " << p;
        }
        p += size;
    }
    return f;
}

} // namespace velmaris::testing
