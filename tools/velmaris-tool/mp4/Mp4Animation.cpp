// The MP4 animation: H.264 in yuv420p coded by libx264 and stored by
// libavformat. Each indexed frame is converted from its palette only in the
// 16 x 16 macroblocks that changed, and x264 is told which ones did not
// (they are skipped without analysis), so a sweep costs about the wedge it
// painted. One worker thread codes and writes a frame while the next is
// painted. Built as a module of its own (velmaris-tool-mp4.so), loaded by
// Mp4Module for the first .mp4 only, so that no other command loads these
// libraries. The writer holds the indices of the frame before and one
// picture; x264 holds its reference frame.

#include "FrameEncoder.h"
#include "FrameWorker.h"
#include "YuvFrame.h"

#include <cstdint> // before x264.h, which needs it

extern "C" {
#include <libavformat/avformat.h>
#include <x264.h>
}

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace velmaris::tool {

namespace {

bool Fail(std::string* error, std::string message)
{
    if (error)
        *error = std::move(message);
    return false;
}

std::string AvError(int code)
{
    std::array<char, AV_ERROR_MAX_STRING_SIZE> text {};
    av_strerror(code, text.data(), text.size());
    return text.data();
}

constexpr int kMacroblock = 16;

class Mp4Encoder final : public FrameEncoder {
public:
    ~Mp4Encoder() override
    {
        worker_.reset();
        Release();
    }

    bool Open(const AnimationParams& params, std::string* error) override
    {
        params_ = params;
        const auto fail = [&](const std::string& what, int code = 0) {
            Release();
            return Fail(
                error, "cannot write " + params.path + ": " + what + (code ? ": " + AvError(code) : ""));
        };
        if (params.width % 2 != 0 || params.height % 2 != 0)
            return fail("an MP4 frame needs an even width and height");
        if (!OpenX264())
            return fail("the H.264 encoder did not start");

        av_log_set_level(AV_LOG_ERROR);
        int code = avformat_alloc_output_context2(&format_, nullptr, "mp4", params.path.c_str());
        if (code < 0 || format_ == nullptr)
            return fail("no MP4 writer", code);
        stream_ = avformat_new_stream(format_, nullptr);
        if (stream_ == nullptr)
            return fail("out of memory");
        AVCodecParameters& par = *stream_->codecpar;
        par.codec_type = AVMEDIA_TYPE_VIDEO;
        par.codec_id = AV_CODEC_ID_H264;
        par.width = params.width;
        par.height = params.height;
        par.format = AV_PIX_FMT_YUV420P;
        if (!SetExtradata(par))
            return fail("no H.264 headers");
        stream_->time_base = AVRational {1, params.fps};
        stream_->avg_frame_rate = AVRational {params.fps, 1};
        if ((code = avio_open(&format_->pb, params.path.c_str(), AVIO_FLAG_WRITE)) < 0)
            return fail("cannot create the file", code);
        if ((code = avformat_write_header(format_, nullptr)) < 0)
            return fail("header", code);
        headerWritten_ = true;

        yuv_.emplace(*params.palette);
        previous_.assign(std::size_t(params.width) * params.height, 0);
        mbWidth_ = (params.width + kMacroblock - 1) / kMacroblock;
        changed_.assign(std::size_t(mbWidth_) * ((params.height + kMacroblock - 1) / kMacroblock), 0);
        worker_.emplace();
        return true;
    }

    bool AddRows(const std::uint8_t* const* rows, std::string* error) override
    {
        // The picture is the worker's until it has coded the frame before.
        if (std::string failure = worker_->Drain(); !failure.empty())
            return Fail(error, failure);
        const bool first = pts_ == 0;
        std::fill(changed_.begin(), changed_.end(), std::uint8_t(first));
        const auto w = std::size_t(params_.width);
        for (int y = 0; y < params_.height; y += 2) {
            std::uint8_t* before = previous_.data() + std::size_t(y) * w;
            if (first)
                ConvertSpan(rows, y, 0, params_.width);
            else if (std::memcmp(rows[y], before, w) != 0 || std::memcmp(rows[y + 1], before + w, w) != 0)
                ConvertChangedBlocks(rows, y);
            else
                continue;
            std::copy_n(rows[y], w, before);
            std::copy_n(rows[y + 1], w, before + w);
        }
        // x264 frees what it is given once the frame is coded.
        auto* info = static_cast<std::uint8_t*>(std::malloc(changed_.size()));
        if (info == nullptr)
            return Fail(error, "cannot write " + params_.path + ": out of memory");
        for (std::size_t i = 0; i < changed_.size(); ++i)
            info[i] = changed_[i] ? 0 : X264_MBINFO_CONSTANT;
        picture_.prop.mb_info = info;
        picture_.prop.mb_info_free = std::free;
        picture_.i_pts = pts_++;
        if (std::string failure = worker_->Submit([this] { return Encode(&picture_); }); !failure.empty())
            return Fail(error, failure);
        return true;
    }

    bool Finish(std::string* error) override
    {
        std::string failure = worker_->Drain();
        worker_.reset();
        while (failure.empty() && x264_encoder_delayed_frames(x264_) > 0)
            failure = Encode(nullptr);
        const int code = av_write_trailer(format_);
        headerWritten_ = false;
        if (failure.empty() && code < 0)
            failure = "cannot write " + params_.path + ": " + AvError(code);
        Release();
        return failure.empty() || Fail(error, failure);
    }

private:
    bool OpenX264()
    {
        x264_param_t p;
        // The fastest preset, and no frame held back (no lookahead, no B-frames).
        if (x264_param_default_preset(&p, "ultrafast", "zerolatency") < 0)
            return false;
        p.i_width = params_.width;
        p.i_height = params_.height;
        p.i_csp = X264_CSP_I420;
        p.i_fps_num = std::uint32_t(params_.fps);
        p.i_fps_den = 1;
        p.i_timebase_num = 1;
        p.i_timebase_den = std::uint32_t(params_.fps);
        p.i_log_level = X264_LOG_NONE;
        // One thread, the worker: the painter has the other core.
        p.i_threads = 1;
        p.b_sliced_threads = 0;
        // A key frame every ten seconds of video, for seeking.
        p.i_keyint_max = 10 * params_.fps;
        p.i_keyint_min = p.i_keyint_max;
        // A constant quantiser: no complexity estimate per frame, and an
        // unchanged macroblock keeps its quantiser, which a skip needs.
        p.rc.i_rc_method = X264_RC_CQP;
        p.rc.i_qp_constant = 20;
        p.analyse.b_mb_info = 1;
        // The headers go once into the file's track description.
        p.b_repeat_headers = 0;
        p.b_annexb = 1;
        if (x264_param_apply_profile(&p, "high") < 0)
            return false;
        x264_ = x264_encoder_open(&p);
        if (x264_ == nullptr)
            return false;
        if (x264_picture_alloc(&picture_, X264_CSP_I420, params_.width, params_.height) < 0) {
            x264_encoder_close(x264_);
            x264_ = nullptr;
            return false;
        }
        pictureAllocated_ = true;
        return true;
    }

    // The sequence and picture parameter sets, start codes and all, as the
    // stream's extradata (the MP4 writer turns them into its own record).
    bool SetExtradata(AVCodecParameters& par)
    {
        x264_nal_t* nals = nullptr;
        int count = 0;
        if (x264_encoder_headers(x264_, &nals, &count) < 0)
            return false;
        std::vector<std::uint8_t> headers;
        for (int i = 0; i < count; ++i)
            if (nals[i].i_type == NAL_SPS || nals[i].i_type == NAL_PPS)
                headers.insert(headers.end(), nals[i].p_payload, nals[i].p_payload + nals[i].i_payload);
        par.extradata = static_cast<std::uint8_t*>(av_mallocz(headers.size() + AV_INPUT_BUFFER_PADDING_SIZE));
        if (par.extradata == nullptr || headers.empty())
            return false;
        std::copy(headers.begin(), headers.end(), par.extradata);
        par.extradata_size = int(headers.size());
        return true;
    }

    std::uint8_t* Plane(int plane, int row) const
    {
        return picture_.img.plane[plane] + std::ptrdiff_t(row) * picture_.img.i_stride[plane];
    }

    // Columns [from, to) of the row pair y, y + 1 into the picture.
    void ConvertSpan(const std::uint8_t* const* rows, int y, int from, int to)
    {
        yuv_->RowPair(rows[y] + from, rows[y + 1] + from, to - from, Plane(0, y) + from,
            Plane(0, y + 1) + from, Plane(1, y / 2) + from / 2, Plane(2, y / 2) + from / 2);
    }

    // Converts each macroblock-wide piece of the row pair y that differs
    // from the frame before and marks its macroblock changed.
    void ConvertChangedBlocks(const std::uint8_t* const* rows, int y)
    {
        const auto w = std::size_t(params_.width);
        const std::uint8_t* top = previous_.data() + std::size_t(y) * w;
        const std::uint8_t* bottom = top + w;
        std::uint8_t* marks = changed_.data() + std::size_t(y / kMacroblock) * mbWidth_;
        for (int x = 0; x < params_.width; x += kMacroblock) {
            const auto n = std::size_t(std::min(kMacroblock, params_.width - x));
            if (std::memcmp(rows[y] + x, top + x, n) == 0 && std::memcmp(rows[y + 1] + x, bottom + x, n) == 0)
                continue;
            ConvertSpan(rows, y, x, x + int(n));
            marks[x / kMacroblock] = 1;
        }
    }

    // Codes a picture (null: one held back) and writes what comes out; runs
    // on the worker. "" when it went well.
    std::string Encode(x264_picture_t* in)
    {
        x264_nal_t* nals = nullptr;
        int count = 0;
        x264_picture_t out;
        const int size = x264_encoder_encode(x264_, &nals, &count, in, &out);
        if (size < 0)
            return "cannot write " + params_.path + ": the H.264 encoder failed";
        if (size == 0)
            return "";
        // The NALs of a frame lie one after another in x264's buffer.
        AVPacket packet {};
        packet.data = nals[0].p_payload;
        packet.size = size;
        packet.stream_index = stream_->index;
        const AVRational frames {1, params_.fps};
        packet.pts = av_rescale_q(out.i_pts, frames, stream_->time_base);
        packet.dts = av_rescale_q(out.i_dts, frames, stream_->time_base);
        packet.duration = av_rescale_q(1, frames, stream_->time_base);
        packet.flags = out.b_keyframe ? AV_PKT_FLAG_KEY : 0;
        if (const int code = av_write_frame(format_, &packet); code < 0)
            return "cannot write " + params_.path + ": " + AvError(code);
        return "";
    }

    void Release()
    {
        if (format_ != nullptr && headerWritten_)
            av_write_trailer(format_);
        headerWritten_ = false;
        if (format_ != nullptr && format_->pb != nullptr)
            avio_closep(&format_->pb);
        avformat_free_context(format_);
        format_ = nullptr;
        stream_ = nullptr;
        if (pictureAllocated_)
            x264_picture_clean(&picture_);
        pictureAllocated_ = false;
        if (x264_ != nullptr)
            x264_encoder_close(x264_);
        x264_ = nullptr;
    }

    AnimationParams params_;
    x264_t* x264_ = nullptr;
    x264_picture_t picture_ {};
    bool pictureAllocated_ = false;
    AVFormatContext* format_ = nullptr;
    AVStream* stream_ = nullptr;
    std::optional<YuvConverter> yuv_;
    std::vector<std::uint8_t> previous_; // the indices of the frame before
    std::vector<std::uint8_t> changed_; // per macroblock, row by row: 1 where this frame differs
    int mbWidth_ = 0;
    std::int64_t pts_ = 0;
    bool headerWritten_ = false;
    std::optional<FrameWorker> worker_; // last: gone before the rest
};

} // namespace

} // namespace velmaris::tool

// The module's one entry: a new encoder, owned by the caller.
extern "C" __attribute__((visibility("default"))) velmaris::tool::FrameEncoder* VelmarisMakeMp4Encoder()
{
    return new velmaris::tool::Mp4Encoder();
}
