#include "Mp4File.h"

#include "FrameWorker.h"

#include <cerrno>
#include <cstring>
#include <initializer_list>

namespace velmaris::tool {

namespace {

// A box under construction: its contents, big-endian, and its size filled in by End().
class Box {
public:
    std::vector<std::uint8_t> bytes;

    std::size_t Begin(const char* type)
    {
        const std::size_t at = bytes.size();
        U32(0);
        bytes.insert(bytes.end(), type, type + 4);
        return at;
    }
    // A full box: the version and flags after the type.
    std::size_t BeginFull(const char* type, std::uint32_t flags = 0)
    {
        const std::size_t at = Begin(type);
        U32(flags);
        return at;
    }
    void End(std::size_t at)
    {
        const auto size = static_cast<std::uint32_t>(bytes.size() - at);
        for (int i = 0; i < 4; ++i)
            bytes[at + std::size_t(i)] = static_cast<std::uint8_t>(size >> (24 - 8 * i));
    }
    void U8(std::uint8_t v) { bytes.push_back(v); }
    void U16(std::uint16_t v)
    {
        U8(static_cast<std::uint8_t>(v >> 8));
        U8(static_cast<std::uint8_t>(v));
    }
    void U32(std::uint32_t v)
    {
        U16(static_cast<std::uint16_t>(v >> 16));
        U16(static_cast<std::uint16_t>(v));
    }
    void U64(std::uint64_t v)
    {
        U32(static_cast<std::uint32_t>(v >> 32));
        U32(static_cast<std::uint32_t>(v));
    }
    void Zeros(std::size_t n) { bytes.insert(bytes.end(), n, 0); }
    void Text(const char* s) { bytes.insert(bytes.end(), s, s + std::strlen(s)); }
    // The identity transform of the movie and track headers.
    void Matrix()
    {
        for (const std::uint32_t v : {0x10000u, 0u, 0u, 0u, 0x10000u, 0u, 0u, 0u, 0x40000000u})
            U32(v);
    }
};

constexpr std::uint32_t kMovieTimescale = 1000;
constexpr std::size_t kBatch = std::size_t(2) << 20;

} // namespace

Mp4File::Mp4File() = default;

Mp4File::~Mp4File()
{
    writer_.reset(); // lets the batch being written finish
    if (file_ != nullptr)
        std::fclose(file_);
}

bool Mp4File::Fail(std::string* error, const std::string& what)
{
    if (error)
        *error = "cannot write " + path_ + ": " + what;
    writer_.reset();
    if (file_ != nullptr)
        std::fclose(file_);
    file_ = nullptr;
    return false;
}

bool Mp4File::HandOver(std::string* error)
{
    if (std::string failure = writer_->Drain(); !failure.empty())
        return Fail(error, failure);
    std::swap(batch_, writing_);
    batch_.clear();
    writer_->Submit([this]() -> std::string {
        if (std::fwrite(writing_.data(), 1, writing_.size(), file_) != writing_.size())
            return std::strerror(errno);
        return {};
    });
    return true;
}

bool Mp4File::Put(const void* data, std::size_t size, std::string* error)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    batch_.insert(batch_.end(), bytes, bytes + size);
    written_ += size;
    return batch_.size() < kBatch || HandOver(error);
}

bool Mp4File::Open(const std::string& path, const Mp4Track& track, std::string* error)
{
    path_ = path;
    track_ = track;
    file_ = std::fopen(path.c_str(), "wb");
    if (file_ == nullptr)
        return Fail(error, std::strerror(errno));
    // Each write is a whole batch or box: straight to the file, not copied.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    writer_ = std::make_unique<FrameWorker>();
    batch_.reserve(kBatch + (kBatch >> 1));
    writing_.reserve(batch_.capacity());
    Box head;
    const std::size_t ftyp = head.Begin("ftyp");
    head.Text("isom");
    head.U32(0x200);
    head.Text("isomiso2avc1mp41");
    head.End(ftyp);
    // The media data box takes a 64-bit size, filled in by Close().
    mdatStart_ = head.bytes.size();
    head.U32(1);
    head.Text("mdat");
    head.U64(0);
    return Put(head.bytes.data(), head.bytes.size(), error);
}

bool Mp4File::AddFrame(const std::uint8_t* data, std::size_t size, bool key, std::string* error)
{
    if (file_ == nullptr)
        return Fail(error, "the file is not open");
    if (!Put(data, size, error))
        return false;
    sizes_.push_back(static_cast<std::uint32_t>(size));
    if (key)
        keys_.push_back(static_cast<std::uint32_t>(sizes_.size()));
    return true;
}

bool Mp4File::Close(std::string* error)
{
    if (file_ == nullptr)
        return Fail(error, "the file is not open");
    const auto frames = static_cast<std::uint32_t>(sizes_.size());
    const auto fps = static_cast<std::uint32_t>(track_.fps);
    const auto duration = static_cast<std::uint32_t>(std::uint64_t(frames) * kMovieTimescale / fps);
    Box m;
    const std::size_t moov = m.Begin("moov");
    const std::size_t mvhd = m.BeginFull("mvhd");
    m.Zeros(8); // created, modified
    m.U32(kMovieTimescale);
    m.U32(duration);
    m.U32(0x10000); // rate 1
    m.U16(0x100); // volume 1
    m.Zeros(10);
    m.Matrix();
    m.Zeros(24);
    m.U32(2); // the next track's number
    m.End(mvhd);

    const std::size_t trak = m.Begin("trak");
    const std::size_t tkhd = m.BeginFull("tkhd", 3); // enabled, in the movie
    m.Zeros(8);
    m.U32(1); // track number
    m.Zeros(4);
    m.U32(duration);
    m.Zeros(16); // reserved, layer, group, volume, reserved
    m.Matrix();
    m.U32(std::uint32_t(track_.width) << 16);
    m.U32(std::uint32_t(track_.height) << 16);
    m.End(tkhd);

    const std::size_t mdia = m.Begin("mdia");
    const std::size_t mdhd = m.BeginFull("mdhd");
    m.Zeros(8);
    m.U32(fps); // a tick a frame
    m.U32(frames);
    m.U16(0x55C4); // language "und"
    m.U16(0);
    m.End(mdhd);
    const std::size_t hdlr = m.BeginFull("hdlr");
    m.U32(0);
    m.Text("vide");
    m.Zeros(12);
    m.Text("VideoHandler");
    m.U8(0);
    m.End(hdlr);

    const std::size_t minf = m.Begin("minf");
    const std::size_t vmhd = m.BeginFull("vmhd", 1);
    m.Zeros(8);
    m.End(vmhd);
    const std::size_t dinf = m.Begin("dinf");
    const std::size_t dref = m.BeginFull("dref");
    m.U32(1);
    const std::size_t url = m.BeginFull("url ", 1); // the data is in this file
    m.End(url);
    m.End(dref);
    m.End(dinf);

    const std::size_t stbl = m.Begin("stbl");
    const std::size_t stsd = m.BeginFull("stsd");
    m.U32(1);
    const std::size_t avc1 = m.Begin("avc1");
    m.Zeros(6);
    m.U16(1); // data reference
    m.Zeros(16);
    m.U16(static_cast<std::uint16_t>(track_.width));
    m.U16(static_cast<std::uint16_t>(track_.height));
    m.U32(0x480000); // 72 dpi
    m.U32(0x480000);
    m.U32(0);
    m.U16(1); // one frame a sample
    m.Zeros(32); // no compressor name
    m.U16(0x18); // colour
    m.U16(0xFFFF);
    const std::size_t avcC = m.Begin("avcC");
    m.bytes.insert(m.bytes.end(), track_.decoderConfig.begin(), track_.decoderConfig.end());
    m.End(avcC);
    m.End(avc1);
    m.End(stsd);
    const std::size_t stts = m.BeginFull("stts");
    m.U32(frames > 0 ? 1 : 0);
    if (frames > 0) {
        m.U32(frames);
        m.U32(1);
    }
    m.End(stts);
    const std::size_t stss = m.BeginFull("stss");
    m.U32(static_cast<std::uint32_t>(keys_.size()));
    for (const std::uint32_t k : keys_)
        m.U32(k);
    m.End(stss);
    // Every frame in one chunk, right after the media data box's header.
    const std::size_t stsc = m.BeginFull("stsc");
    m.U32(frames > 0 ? 1 : 0);
    if (frames > 0) {
        m.U32(1);
        m.U32(frames);
        m.U32(1);
    }
    m.End(stsc);
    const std::size_t stsz = m.BeginFull("stsz");
    m.U32(0);
    m.U32(frames);
    for (const std::uint32_t s : sizes_)
        m.U32(s);
    m.End(stsz);
    const std::size_t stco = m.BeginFull("stco");
    m.U32(frames > 0 ? 1 : 0);
    if (frames > 0)
        m.U32(static_cast<std::uint32_t>(mdatStart_ + 16));
    m.End(stco);
    m.End(stbl);
    m.End(minf);
    m.End(mdia);
    m.End(trak);
    m.End(moov);

    const std::uint64_t mdatSize = written_ - mdatStart_;
    if (!Put(m.bytes.data(), m.bytes.size(), error) || !HandOver(error))
        return false;
    if (std::string failure = writer_->Drain(); !failure.empty())
        return Fail(error, failure);
    writer_.reset();
    Box size;
    size.U64(mdatSize);
    if (std::fseek(file_, long(mdatStart_ + 8), SEEK_SET) != 0
        || std::fwrite(size.bytes.data(), 1, 8, file_) != 8)
        return Fail(error, std::strerror(errno));
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return closed || Fail(error, std::strerror(errno));
}

} // namespace velmaris::tool
