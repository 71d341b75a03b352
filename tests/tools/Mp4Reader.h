#pragma once
// An MP4 read back with FFmpeg's libavformat and decoded with libavcodec
// (tests only; the tool writes MP4 without them): its track and every
// decoded picture, plane by plane.

#include <gtest/gtest.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace velmaris::testing {

struct YuvPicture {
    std::vector<std::uint8_t> y, cb, cr; // width x height, then a quarter each
    bool operator==(const YuvPicture&) const = default;
};

struct DecodedMp4 {
    int width = 0, height = 0;
    double fps = 0;
    std::int64_t storedFrames = 0;
    int keyFrames = 0; // packets marked as key frames
    std::vector<YuvPicture> pictures;
};

inline DecodedMp4 DecodeMp4(const std::filesystem::path& path)
{
    DecodedMp4 out;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) != 0) {
        ADD_FAILURE() << "cannot open " << path;
        return out;
    }
    EXPECT_GE(avformat_find_stream_info(format, nullptr), 0);
    EXPECT_EQ(format->nb_streams, 1u);
    const AVStream* stream = format->streams[0];
    EXPECT_EQ(stream->codecpar->codec_id, AV_CODEC_ID_H264);
    EXPECT_EQ(stream->codecpar->format, AV_PIX_FMT_YUV420P);
    out.width = stream->codecpar->width;
    out.height = stream->codecpar->height;
    out.fps = av_q2d(stream->r_frame_rate);
    out.storedFrames = stream->nb_frames;
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    AVCodecContext* decoder = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(decoder, stream->codecpar);
    decoder->err_recognition = AV_EF_EXPLODE; // a bitstream error fails the decode
    EXPECT_EQ(avcodec_open2(decoder, codec, nullptr), 0);
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    const auto plane = [&](int p, int w, int h) {
        std::vector<std::uint8_t> samples(std::size_t(w) * h);
        for (int row = 0; row < h; ++row)
            std::copy_n(frame->data[p] + std::ptrdiff_t(row) * frame->linesize[p], w,
                samples.begin() + std::ptrdiff_t(row) * w);
        return samples;
    };
    const auto drain = [&] {
        while (avcodec_receive_frame(decoder, frame) == 0) {
            EXPECT_EQ(frame->width, out.width);
            EXPECT_EQ(frame->height, out.height);
            out.pictures.push_back(YuvPicture {plane(0, out.width, out.height),
                plane(1, out.width / 2, out.height / 2), plane(2, out.width / 2, out.height / 2)});
        }
    };
    while (av_read_frame(format, packet) >= 0) {
        out.keyFrames += (packet->flags & AV_PKT_FLAG_KEY) != 0;
        EXPECT_EQ(avcodec_send_packet(decoder, packet), 0);
        av_packet_unref(packet);
        drain();
    }
    avcodec_send_packet(decoder, nullptr);
    drain();
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&decoder);
    avformat_close_input(&format);
    return out;
}

} // namespace velmaris::testing
