#include "files/XtfFile.h"

#include "protocol/TimeStamp.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace velmaris {
namespace {

// Offsets of the fields written; everything else stays zero.
namespace header {
constexpr std::size_t kFileFormat = 0, kSystemType = 1, kProgramName = 2, kProgramVersion = 10,
                      kSonarName = 18, kNoteString = 36, kThisFileName = 100, kNavUnits = 164,
                      kSonarChannels = 166;
} // namespace header
namespace chan {
constexpr std::size_t kTypeOfChannel = 0, kCorrectionFlags = 2, kUniPolar = 4, kBytesPerSample = 6,
                      kReserved = 8, kChannelName = 12, kVoltScale = 28, kFrequency = 32, kSampleFormat = 74;
} // namespace chan
namespace packet {
constexpr std::size_t kMagic = 0, kHeaderType = 2, kChansToFollow = 4, kNumBytes = 10, kYear = 14,
                      kMonth = 16, kDay = 17, kHour = 18, kMinute = 19, kSecond = 20, kHSeconds = 21;
} // namespace packet
namespace ping {
constexpr std::size_t kPingNumber = 28, kSoundVelocity = 32, kAuxVal1 = 88, kShipSpeed = 120, kShipGyro = 124,
                      kShipY = 128, kShipX = 136, kFixHour = 148, kSensorSpeed = 152, kSensorY = 160,
                      kSensorX = 168, kSensorHeading = 212;
} // namespace ping
namespace pingchan {
constexpr std::size_t kChannelNumber = 0, kSlantRange = 4, kTimeDuration = 16, kSecondsPerPing = 20,
                      kFrequency = 26, kGainCode = 30, kNumSamples = 42;
} // namespace pingchan
constexpr std::size_t kNotesText = 56;

constexpr std::uint8_t kFileFormatXtf = 123;
constexpr std::uint16_t kNavUnitsLatLong = 3;
constexpr std::uint16_t kSlantRangeImagery = 1;
constexpr std::uint32_t kChannelReservedSamples = 1024; // some viewers fail on 0 here
constexpr std::uint8_t kSampleFormatByte = 8;
constexpr float kVoltScale = 5.0f;

// Little-endian stores into a zeroed block, each at its offset.
class Block {
public:
    explicit Block(std::uint8_t* bytes)
        : p_(bytes)
    { }
    void U8(std::size_t at, long long v) { p_[at] = static_cast<std::uint8_t>(Clamp(v, 0xFF)); }
    void U16(std::size_t at, long long v) { Store(at, static_cast<std::uint64_t>(Clamp(v, 0xFFFF)), 2); }
    void U32(std::size_t at, long long v) { Store(at, static_cast<std::uint64_t>(Clamp(v, 0xFFFFFFFF)), 4); }
    void F32(std::size_t at, double v)
    {
        const float f = std::isfinite(v) ? static_cast<float>(std::clamp(v, -3.0e38, 3.0e38)) : 0.0f;
        std::uint32_t bits = 0;
        std::memcpy(&bits, &f, sizeof bits);
        Store(at, bits, 4);
    }
    void F64(std::size_t at, double v)
    {
        const double d = std::isfinite(v) ? v : 0.0;
        std::uint64_t bits = 0;
        std::memcpy(&bits, &d, sizeof bits);
        Store(at, bits, 8);
    }
    // At most size - 1 bytes, the rest of the field left zero.
    void Text(std::size_t at, std::size_t size, std::string_view text)
    {
        const std::size_t n = std::min(text.size(), size - 1);
        std::copy_n(text.data(), n, p_ + at);
    }

private:
    static long long Clamp(long long v, long long most) { return std::clamp(v, 0LL, most); }
    void Store(std::size_t at, std::uint64_t v, int bytes)
    {
        for (int i = 0; i < bytes; ++i)
            p_[at + std::size_t(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    std::uint8_t* p_;
};

void PacketStart(Block& b, std::uint8_t type, int channels, std::size_t size, const XtfTime& t)
{
    b.U16(packet::kMagic, kXtfMagic);
    b.U8(packet::kHeaderType, type);
    b.U16(packet::kChansToFollow, channels);
    b.U32(packet::kNumBytes, static_cast<long long>(size));
    b.U16(packet::kYear, t.year);
    b.U8(packet::kMonth, t.month);
    b.U8(packet::kDay, t.day);
    b.U8(packet::kHour, t.hour);
    b.U8(packet::kMinute, t.minute);
    b.U8(packet::kSecond, t.second);
}

} // namespace

XtfTime XtfTimeOfSeconds(double seconds)
{
    if (!std::isfinite(seconds) || std::fabs(seconds) > 1e13)
        return {};
    const long long total = std::llround(seconds * 100.0);
    long long days = total / 8'640'000;
    long long rest = total % 8'640'000;
    if (rest < 0) {
        rest += 8'640'000;
        --days;
    }
    XtfTime t;
    CivilFromDays(days, t.year, t.month, t.day);
    t.hour = static_cast<int>(rest / 360'000);
    t.minute = static_cast<int>(rest / 6'000 % 60);
    t.second = static_cast<int>(rest / 100 % 60);
    t.hundredths = static_cast<int>(rest % 100);
    return t;
}

std::array<std::uint8_t, kXtfFileHeaderSize> XtfFileHeader(const XtfFileInfo& info)
{
    std::array<std::uint8_t, kXtfFileHeaderSize> bytes {};
    Block h(bytes.data());
    h.U8(header::kFileFormat, kFileFormatXtf);
    h.U8(header::kSystemType, 1);
    h.Text(header::kProgramName, 8, info.programName);
    h.Text(header::kProgramVersion, 8, kXtfRecorderVersion);
    h.Text(header::kSonarName, 16, info.sonarName);
    h.Text(header::kNoteString, 64, info.note);
    h.Text(header::kThisFileName, 64, info.fileName);
    h.U16(header::kNavUnits, kNavUnitsLatLong);
    h.U16(header::kSonarChannels, 1);

    Block c(bytes.data() + kXtfChannelInfoOffset);
    c.U8(chan::kTypeOfChannel, static_cast<std::uint8_t>(info.channel));
    c.U16(chan::kCorrectionFlags, kSlantRangeImagery);
    c.U16(chan::kUniPolar, 1);
    c.U16(chan::kBytesPerSample, 1);
    c.U32(chan::kReserved, kChannelReservedSamples);
    c.Text(chan::kChannelName, 16, info.channel == XtfChannel::Port ? "Port" : "Stbd");
    c.F32(chan::kVoltScale, kVoltScale);
    c.F32(chan::kFrequency, info.frequencyKhz);
    c.U8(chan::kSampleFormat, kSampleFormatByte);
    return bytes;
}

std::size_t XtfPingPacketSize(std::size_t sampleCount)
{
    const std::size_t used = kXtfPingHeaderSize + kXtfChannelHeaderSize + sampleCount;
    return (used + kXtfPacketAlignment - 1) / kXtfPacketAlignment * kXtfPacketAlignment;
}

bool AppendXtfPing(const XtfPing& p, std::vector<std::uint8_t>& out)
{
    // A count the size field could not hold is never a ping.
    if (p.samples.empty() || p.samples.size() > std::numeric_limits<std::uint32_t>::max() / 2)
        return false;
    const std::size_t size = XtfPingPacketSize(p.samples.size());
    const std::size_t start = out.size();
    out.resize(start + size); // zeros, the padding among them
    Block h(out.data() + start);
    PacketStart(h, kXtfSonarPacket, 1, size, p.time);
    h.U8(packet::kHSeconds, p.time.hundredths > 99 ? 99 : p.time.hundredths);
    h.U32(ping::kPingNumber, p.pingNumber);
    h.F32(ping::kSoundVelocity, p.soundVelocity / 2.0);
    h.F32(ping::kAuxVal1, p.headBearing);
    h.F32(ping::kShipSpeed, p.speedKnots);
    h.F32(ping::kShipGyro, p.heading);
    h.F64(ping::kShipY, p.shipLatitude);
    h.F64(ping::kShipX, p.shipLongitude);
    if (p.hasFixTime) {
        h.U8(ping::kFixHour, p.fixTime.hour);
        h.U8(ping::kFixHour + 1, p.fixTime.minute);
        h.U8(ping::kFixHour + 2, p.fixTime.second);
        h.U8(ping::kFixHour + 3, p.fixTime.hundredths > 99 ? 99 : p.fixTime.hundredths);
    }
    h.F32(ping::kSensorSpeed, p.speedKnots);
    h.F64(ping::kSensorY, p.sensorLatitude);
    h.F64(ping::kSensorX, p.sensorLongitude);
    h.F32(ping::kSensorHeading, p.heading);

    Block c(out.data() + start + kXtfPingHeaderSize);
    c.U16(pingchan::kChannelNumber, 0);
    c.F32(pingchan::kSlantRange, p.slantRange);
    c.F32(pingchan::kTimeDuration, p.soundVelocity > 0 ? 2.0 * p.slantRange / p.soundVelocity : 0.0);
    c.F32(pingchan::kSecondsPerPing, p.secondsPerPing);
    c.U16(pingchan::kFrequency, p.frequencyKhz);
    c.U16(pingchan::kGainCode, p.gainCode);
    c.U32(pingchan::kNumSamples, static_cast<long long>(p.samples.size()));
    std::copy(p.samples.begin(), p.samples.end(),
        out.begin() + static_cast<std::ptrdiff_t>(start + kXtfPingHeaderSize + kXtfChannelHeaderSize));
    return true;
}

void AppendXtfNote(const XtfTime& time, std::string_view text, std::vector<std::uint8_t>& out)
{
    const std::size_t start = out.size();
    out.resize(start + kXtfNotesSize);
    Block n(out.data() + start);
    PacketStart(n, kXtfNotesPacket, 0, kXtfNotesSize, time);
    n.Text(kNotesText, kXtfNotesTextMax + 1, text);
}

} // namespace velmaris
