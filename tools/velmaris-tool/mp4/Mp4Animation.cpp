// The MP4 animation: H.264 in yuv420p through libavcodec and libavformat,
// each indexed frame converted from its palette where it changed.
// Built as a module of its own (velmaris-tool-mp4.so), loaded by Mp4Module
// for the first .mp4 only, so that no other command loads FFmpeg's libraries.

#include "FrameEncoder.h"
#include "YuvFrame.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
}

#include <algorithm>
#include <array>
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

class Mp4Encoder final : public FrameEncoder {
public:
    ~Mp4Encoder() override { Release(); }

    bool Open(const AnimationParams& params, std::string* error) override
    {
        params_ = params;
        const auto fail = [&](const std::string& what, int code = 0) {
            Release();
            return Fail(
                error, "cannot write " + params.path + ": " + what + (code ? ": " + AvError(code) : ""));
        };
        av_log_set_level(AV_LOG_ERROR);
        if (params.width % 2 != 0 || params.height % 2 != 0)
            return fail("an MP4 frame needs an even width and height");
        int code = avformat_alloc_output_context2(&format_, nullptr, "mp4", params.path.c_str());
        if (code < 0 || format_ == nullptr)
            return fail("no MP4 writer", code);
        const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_H264);
        if (codec == nullptr)
            return fail("this FFmpeg has no H.264 encoder");
        stream_ = avformat_new_stream(format_, nullptr);
        codec_ = avcodec_alloc_context3(codec);
        if (stream_ == nullptr || codec_ == nullptr)
            return fail("out of memory");
        codec_->width = params.width;
        codec_->height = params.height;
        codec_->time_base = AVRational {1, params.fps};
        codec_->framerate = AVRational {params.fps, 1};
        codec_->pix_fmt = AV_PIX_FMT_YUV420P;
        codec_->gop_size = 2 * params.fps;
        if (format_->oformat->flags & AVFMT_GLOBALHEADER)
            codec_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        // The fastest preset: a noisy sonar picture costs a slower one three
        // times the time for a file a third smaller.
        av_opt_set(codec_->priv_data, "preset", "ultrafast", 0);
        av_opt_set(codec_->priv_data, "crf", "20", 0);
        if ((code = avcodec_open2(codec_, codec, nullptr)) < 0)
            return fail("the H.264 encoder did not start", code);
        if ((code = avcodec_parameters_from_context(stream_->codecpar, codec_)) < 0)
            return fail("stream set-up", code);
        stream_->time_base = codec_->time_base;
        if ((code = avio_open(&format_->pb, params.path.c_str(), AVIO_FLAG_WRITE)) < 0)
            return fail("cannot create the file", code);
        if ((code = avformat_write_header(format_, nullptr)) < 0)
            return fail("header", code);
        headerWritten_ = true;

        frame_ = av_frame_alloc();
        packet_ = av_packet_alloc();
        if (frame_ == nullptr || packet_ == nullptr)
            return fail("out of memory");
        frame_->format = AV_PIX_FMT_YUV420P;
        frame_->width = params.width;
        frame_->height = params.height;
        if ((code = av_frame_get_buffer(frame_, 0)) < 0)
            return fail("frame buffer", code);
        yuv_.emplace(*params.palette);
        previous_.assign(std::size_t(params.width) * params.height, 0);
        return true;
    }

    bool AddRows(const std::uint8_t* const* rows, std::string* error) override
    {
        // Keeps the picture when the encoder holds none of it, else copies it.
        int code = av_frame_make_writable(frame_);
        if (code < 0)
            return Fail(error, "cannot write " + params_.path + ": " + AvError(code));
        // Only the row pairs that changed since the frame before are converted.
        const auto w = std::size_t(params_.width);
        for (int y = 0; y < params_.height; y += 2) {
            std::uint8_t* before = previous_.data() + std::size_t(y) * w;
            if (pts_ > 0 && std::memcmp(rows[y], before, w) == 0
                && std::memcmp(rows[y + 1], before + w, w) == 0)
                continue;
            std::copy_n(rows[y], w, before);
            std::copy_n(rows[y + 1], w, before + w);
            const auto line = [&](int plane, int row) {
                return frame_->data[plane] + std::ptrdiff_t(row) * frame_->linesize[plane];
            };
            yuv_->RowPair(rows[y], rows[y + 1], params_.width, line(0, y), line(0, y + 1), line(1, y / 2),
                line(2, y / 2));
        }
        frame_->pts = pts_++;
        return Encode(frame_, error);
    }

    bool Finish(std::string* error) override
    {
        bool ok = Encode(nullptr, error);
        const int code = av_write_trailer(format_);
        headerWritten_ = false;
        if (ok && code < 0)
            ok = Fail(error, "cannot write " + params_.path + ": " + AvError(code));
        Release();
        return ok;
    }

private:
    // Sends a frame (null: the end) and writes every packet that comes out.
    bool Encode(AVFrame* frame, std::string* error)
    {
        int code = avcodec_send_frame(codec_, frame);
        while (code >= 0) {
            code = avcodec_receive_packet(codec_, packet_);
            if (code == AVERROR(EAGAIN) || code == AVERROR_EOF)
                return true;
            if (code < 0)
                break;
            av_packet_rescale_ts(packet_, codec_->time_base, stream_->time_base);
            packet_->stream_index = stream_->index;
            code = av_interleaved_write_frame(format_, packet_);
        }
        return Fail(error, "cannot write " + params_.path + ": " + AvError(code));
    }

    void Release()
    {
        if (format_ != nullptr && headerWritten_)
            av_write_trailer(format_);
        headerWritten_ = false;
        av_packet_free(&packet_);
        av_frame_free(&frame_);
        avcodec_free_context(&codec_);
        if (format_ != nullptr && format_->pb != nullptr)
            avio_closep(&format_->pb);
        avformat_free_context(format_);
        format_ = nullptr;
        stream_ = nullptr;
    }

    AnimationParams params_;
    AVFormatContext* format_ = nullptr;
    AVStream* stream_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    AVFrame* frame_ = nullptr;
    AVPacket* packet_ = nullptr;
    std::optional<YuvConverter> yuv_;
    std::vector<std::uint8_t> previous_; // the indices of the frame before
    std::int64_t pts_ = 0;
    bool headerWritten_ = false;
};

} // namespace

} // namespace velmaris::tool

// The module's one entry: a new encoder, owned by the caller.
extern "C" __attribute__((visibility("default"))) velmaris::tool::FrameEncoder* VelmarisMakeMp4Encoder()
{
    return new velmaris::tool::Mp4Encoder();
}
