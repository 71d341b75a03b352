#pragma once
// An H.264 stream made for pictures that change a few macroblocks at a time:
// each changed 16 x 16 macroblock is stored as it is (I_PCM, so the decoded
// picture is the picture given, sample for sample) and every other one is
// skipped (P_Skip, the frame before shows through); a key frame stores them
// all. The coding is a copy, so a frame costs the macroblocks that changed.
// Constrained Baseline profile, CAVLC, one slice a picture, one reference
// frame, no deblocking (it would blur stored samples), BT.601 studio range
// declared. Out: NAL units with 4-byte big-endian lengths, as an MP4 track
// holds them, and the track's decoder configuration record.
// Plain C++, header only (the MP4 module links nothing of the tool's); owns
// its picture and output; not thread-safe; fails only by running out of memory.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace velmaris::tool {

// The bits of one NAL unit's payload, most significant first.
class RbspBits {
public:
    std::vector<std::uint8_t> bytes;

    void Bits(std::uint32_t value, int count) // count <= 24
    {
        acc_ = (acc_ << count) | (value & ((1u << count) - 1));
        pending_ += count;
        while (pending_ >= 8) {
            pending_ -= 8;
            bytes.push_back(static_cast<std::uint8_t>(acc_ >> pending_));
        }
    }
    // Unsigned Exp-Golomb; value below 2^23.
    void Ue(std::uint32_t value)
    {
        const std::uint32_t v = value + 1;
        int length = 0;
        while ((v >> length) > 1)
            ++length;
        Bits(0, length);
        Bits(v, length + 1);
    }
    void Se(std::int32_t value) { Ue(value > 0 ? std::uint32_t(2 * value - 1) : std::uint32_t(-2 * value)); }
    // Zero bits up to the next byte.
    void Align()
    {
        if (pending_ > 0)
            Bits(0, 8 - pending_);
    }
    // The stop bit and the zeros after it.
    void Trailing()
    {
        Bits(1, 1);
        Align();
    }
    // Empty, keeping the room taken.
    void Clear()
    {
        bytes.clear();
        acc_ = 0;
        pending_ = 0;
    }

private:
    std::uint32_t acc_ = 0;
    int pending_ = 0;
};

// Appends the NAL unit (header byte, then `rbsp` with an emulation
// prevention byte after each two zero bytes that a byte of 3 or less follows).
inline void AppendNal(
    std::vector<std::uint8_t>& out, std::uint8_t header, const std::vector<std::uint8_t>& rbsp)
{
    out.reserve(out.size() + 1 + rbsp.size() + rbsp.size() / 128 + 8);
    out.push_back(header);
    const std::uint8_t* p = rbsp.data();
    const std::uint8_t* const end = p + rbsp.size();
    int zeros = 0; // zero bytes just written
    while (p < end) {
        if (zeros == 2 && *p <= 3) {
            out.push_back(3);
            zeros = 0;
        }
        if (*p == 0) {
            out.push_back(0);
            ++zeros;
            ++p;
            continue;
        }
        // Up to the next zero byte at once.
        const auto* zero = static_cast<const std::uint8_t*>(std::memchr(p, 0, std::size_t(end - p)));
        const std::uint8_t* run = zero != nullptr ? zero : end;
        out.insert(out.end(), p, run);
        zeros = 0;
        p = run;
    }
}

class H264Pcm {
public:
    static constexpr int kMacroblock = 16;

    // width and height even; a key frame every `keyInterval` frames.
    H264Pcm(int width, int height, int fps, int keyInterval)
        : width_(width)
        , height_(height)
        , mbWidth_((width + kMacroblock - 1) / kMacroblock)
        , mbHeight_((height + kMacroblock - 1) / kMacroblock)
        , keyInterval_(std::max(1, keyInterval))
        , luma_(std::size_t(mbWidth_) * mbHeight_ * kMacroblock * kMacroblock, 16)
        , cb_(luma_.size() / 4, 128)
        , cr_(luma_.size() / 4, 128)
    {
        MakeSequenceHeaders(fps);
    }

    int MbWidth() const { return mbWidth_; }
    int MbHeight() const { return mbHeight_; }
    // The picture, padded to whole macroblocks (black at first); the caller
    // paints into it between frames. Luma rows are LumaStride() apart,
    // chroma rows half that.
    int LumaStride() const { return mbWidth_ * kMacroblock; }
    std::uint8_t* Luma(int row) { return luma_.data() + std::size_t(row) * LumaStride(); }
    std::uint8_t* Cb(int row) { return cb_.data() + std::size_t(row) * LumaStride() / 2; }
    std::uint8_t* Cr(int row) { return cr_.data() + std::size_t(row) * LumaStride() / 2; }

    // The MP4 track's AVCDecoderConfigurationRecord (avcC).
    const std::vector<std::uint8_t>& DecoderConfig() const { return config_; }

    // Codes the picture as the next frame: the macroblocks whose `changed`
    // byte (MbWidth() x MbHeight(), row by row) is not 0, or all of them
    // when this is a key frame. Returns the frame's NAL unit, length first,
    // valid until the next call; `key` tells whether it is a key frame.
    const std::vector<std::uint8_t>& Frame(const std::uint8_t* changed, bool* key)
    {
        const bool idr = frames_ % keyInterval_ == 0;
        frameNum_ = idr ? 0 : (frameNum_ + 1) % kMaxFrameNum;
        RbspBits& s = scratch_;
        s.Clear();
        s.Ue(0); // first macroblock
        s.Ue(idr ? 7 : 5); // I or P, for every slice of the picture
        s.Ue(0); // picture parameter set
        s.Bits(std::uint32_t(frameNum_), kLog2MaxFrameNum);
        if (idr)
            s.Ue(std::uint32_t(keyFrames_ % 2)); // two IDR pictures in a row differ
        else {
            s.Bits(0, 1); // num_ref_idx_active_override_flag
            s.Bits(0, 1); // ref_pic_list_modification_flag_l0
        }
        s.Bits(0, idr ? 2 : 1); // no_output_of_prior_pics, long_term_reference / adaptive marking
        s.Se(0); // slice_qp_delta
        s.Ue(1); // deblocking off
        std::uint32_t skipped = 0;
        for (int my = 0; my < mbHeight_; ++my)
            for (int mx = 0; mx < mbWidth_; ++mx) {
                if (!idr && changed[std::size_t(my) * mbWidth_ + mx] == 0) {
                    ++skipped;
                    continue;
                }
                if (!idr) {
                    s.Ue(skipped);
                    skipped = 0;
                }
                s.Ue(idr ? 25 : 30); // I_PCM in an I or a P slice
                s.Align();
                Samples(mx, my);
            }
        if (skipped > 0)
            s.Ue(skipped);
        s.Trailing();

        frame_.clear();
        frame_.resize(4);
        AppendNal(frame_, idr ? 0x65 : 0x41, s.bytes);
        const std::size_t length = frame_.size() - 4;
        for (int i = 0; i < 4; ++i)
            frame_[std::size_t(i)] = static_cast<std::uint8_t>(length >> (24 - 8 * i));
        keyFrames_ += idr;
        ++frames_;
        if (key)
            *key = idr;
        return frame_;
    }

private:
    static constexpr int kLog2MaxFrameNum = 4;
    static constexpr int kMaxFrameNum = 1 << kLog2MaxFrameNum;

    // The macroblock's 256 luma samples, then 64 of each chroma.
    void Samples(int mx, int my)
    {
        const int x = mx * kMacroblock, y = my * kMacroblock;
        std::vector<std::uint8_t>& out = scratch_.bytes;
        const std::size_t at = out.size();
        out.resize(at + kMacroblock * kMacroblock * 3 / 2);
        std::uint8_t* p = out.data() + at;
        for (int row = 0; row < kMacroblock; ++row, p += kMacroblock)
            std::memcpy(p, Luma(y + row) + x, kMacroblock);
        for (int row = 0; row < kMacroblock / 2; ++row, p += kMacroblock / 2)
            std::memcpy(p, Cb(y / 2 + row) + x / 2, kMacroblock / 2);
        for (int row = 0; row < kMacroblock / 2; ++row, p += kMacroblock / 2)
            std::memcpy(p, Cr(y / 2 + row) + x / 2, kMacroblock / 2);
    }

    // The lowest level whose frame size and macroblock rate hold the stream.
    std::uint8_t Level(int fps) const
    {
        struct Limit {
            std::uint8_t level;
            long frame, rate;
        };
        static constexpr Limit kLimits[] = {{30, 1620, 40500}, {31, 3600, 108000}, {32, 5120, 216000},
            {40, 8192, 245760}, {42, 8704, 522240}, {50, 22080, 589824}, {51, 36864, 983040}};
        const long frame = long(mbWidth_) * mbHeight_;
        for (const Limit& l : kLimits)
            if (frame <= l.frame && frame * fps <= l.rate)
                return l.level;
        return 52;
    }

    void MakeSequenceHeaders(int fps)
    {
        RbspBits sps;
        sps.Bits(66, 8); // Baseline
        sps.Bits(0xC0, 8); // constrained (set0 and set1)
        sps.Bits(Level(fps), 8);
        sps.Ue(0); // sequence parameter set
        sps.Ue(kLog2MaxFrameNum - 4);
        sps.Ue(2); // picture order from frame_num: no reordering
        sps.Ue(1); // one reference frame
        sps.Bits(0, 1); // no gaps in frame_num
        sps.Ue(std::uint32_t(mbWidth_ - 1));
        sps.Ue(std::uint32_t(mbHeight_ - 1));
        sps.Bits(1, 1); // frames only
        sps.Bits(1, 1); // direct_8x8_inference
        const int cropRight = (mbWidth_ * kMacroblock - width_) / 2,
                  cropBottom = (mbHeight_ * kMacroblock - height_) / 2;
        sps.Bits(cropRight > 0 || cropBottom > 0, 1);
        if (cropRight > 0 || cropBottom > 0) {
            sps.Ue(0);
            sps.Ue(std::uint32_t(cropRight));
            sps.Ue(0);
            sps.Ue(std::uint32_t(cropBottom));
        }
        sps.Bits(1, 1); // VUI: the colours
        sps.Bits(0, 2); // no aspect ratio, no overscan
        sps.Bits(1, 1); // video signal type
        sps.Bits(5, 3); // unspecified format
        sps.Bits(0, 1); // studio range
        sps.Bits(1, 1); // colour description
        sps.Bits(6, 8); // BT.601 primaries, transfer and matrix
        sps.Bits(6, 8);
        sps.Bits(6, 8);
        sps.Bits(0, 5); // chroma location, timing, HRDs, picture structure
        sps.Bits(0, 1); // bitstream restriction
        sps.Trailing();

        RbspBits pps;
        pps.Ue(0); // picture parameter set
        pps.Ue(0); // its sequence parameter set
        pps.Bits(0, 2); // CAVLC; no field order
        pps.Ue(0); // one slice group
        pps.Ue(0); // one reference (list 0)
        pps.Ue(0); // and list 1
        pps.Bits(0, 3); // no weighted prediction
        pps.Se(0); // QP 26
        pps.Se(0); // QS 26
        pps.Se(0); // chroma QP offset
        pps.Bits(1, 1); // the slices say whether they deblock
        pps.Bits(0, 2); // no constrained intra prediction, no redundant pictures
        pps.Trailing();

        std::vector<std::uint8_t> spsNal, ppsNal;
        AppendNal(spsNal, 0x67, sps.bytes);
        AppendNal(ppsNal, 0x68, pps.bytes);
        config_ = {1, spsNal[1], spsNal[2], spsNal[3], 0xFF, 0xE1};
        config_.push_back(static_cast<std::uint8_t>(spsNal.size() >> 8));
        config_.push_back(static_cast<std::uint8_t>(spsNal.size()));
        config_.insert(config_.end(), spsNal.begin(), spsNal.end());
        config_.push_back(1);
        config_.push_back(static_cast<std::uint8_t>(ppsNal.size() >> 8));
        config_.push_back(static_cast<std::uint8_t>(ppsNal.size()));
        config_.insert(config_.end(), ppsNal.begin(), ppsNal.end());
    }

    int width_, height_, mbWidth_, mbHeight_, keyInterval_;
    std::vector<std::uint8_t> luma_, cb_, cr_;
    std::vector<std::uint8_t> config_;
    RbspBits scratch_;
    std::vector<std::uint8_t> frame_;
    std::int64_t frames_ = 0, keyFrames_ = 0;
    int frameNum_ = 0;
};

} // namespace velmaris::tool
