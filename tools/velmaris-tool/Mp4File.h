#pragma once
// An MP4 file of one H.264 video track, written as the frames come: the
// file type, then the frames one after another in one media data box, then
// on Close() the movie box that indexes them (one chunk of every frame, a
// size per frame, the key frames). The frames are gathered into batches of
// a few megabytes that a thread of its own writes while the next gather, so
// the caller does not wait for the disk. Holds two batches, 4 bytes per
// frame and the key frames' numbers. Used from one thread; every failure is
// returned as false with a message.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace velmaris::tool {

class FrameWorker;

struct Mp4Track {
    int width = 0;
    int height = 0;
    int fps = 10; // every frame lasts 1 / fps seconds
    std::vector<std::uint8_t> decoderConfig; // the avcC record
};

class Mp4File {
public:
    Mp4File();
    Mp4File(const Mp4File&) = delete;
    Mp4File& operator=(const Mp4File&) = delete;
    ~Mp4File(); // closes an unfinished file as it is

    // Creates the file and writes what comes before the frames.
    bool Open(const std::string& path, const Mp4Track& track, std::string* error);
    // One frame: its NAL units, each after its 4-byte length.
    bool AddFrame(const std::uint8_t* data, std::size_t size, bool key, std::string* error);
    // Writes the index and closes the file.
    bool Close(std::string* error);

private:
    // Appends to the batch, handing it to the writer once it is full.
    bool Put(const void* data, std::size_t size, std::string* error);
    // Waits for the batch before, then hands this one over.
    bool HandOver(std::string* error);
    bool Fail(std::string* error, const std::string& what);

    std::string path_;
    Mp4Track track_;
    std::FILE* file_ = nullptr;
    std::uint64_t mdatStart_ = 0; // where the media data box begins
    std::uint64_t written_ = 0; // bytes put, written or not
    std::vector<std::uint8_t> batch_; // being gathered
    std::vector<std::uint8_t> writing_; // the writer's
    std::unique_ptr<FrameWorker> writer_;
    std::vector<std::uint32_t> sizes_;
    std::vector<std::uint32_t> keys_; // frame numbers from 1
};

} // namespace velmaris::tool
