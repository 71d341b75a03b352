#pragma once
// A data file read record by record, the way `WalkRecords` walks it (damaged
// records reported and re-synchronised past), one call at a time so that a
// reader may stop, skip or start again from the beginning.

#include "files/DataFile.h"
#include "files/RecordReader.h"

#include <cstdint>
#include <span>
#include <vector>

namespace velmaris::tool {

class RecordCursor {
public:
    RecordCursor(DataFile& file, SonarType fileType)
        : file_(file)
        , fileType_(fileType)
    { }

    // The next whole record in `frame`; false at the end of the file. A
    // damaged record goes to `onDamage(offset, frame)` and is skipped.
    template <typename OnDamage>
    bool Next(RecordFrame& frame, OnDamage onDamage)
    {
        for (;;) {
            const RecordStatus status = ReadRecordFrame(file_, offset_, frame);
            if (status == RecordStatus::End)
                return false;
            if (status == RecordStatus::Damaged) {
                onDamage(offset_, frame);
                offset_ = file_.Resynchronise(offset_ + 1, fileType_);
                continue;
            }
            offset_ = frame.NextOffset();
            ++number_;
            return true;
        }
    }

    // Back to the first record.
    void Rewind()
    {
        offset_ = 0;
        number_ = 0;
    }

    // The number of the record last returned, from 1 (whole records only).
    std::int64_t Number() const { return number_; }

    // All bytes of the record in `frame` (just read by Next): assembled from
    // the frame when it holds them, otherwise read again from the file.
    // Empty when the file cannot give them.
    std::span<const std::uint8_t> WholeRecord(const RecordFrame& frame, std::vector<std::uint8_t>& buffer);

private:
    DataFile& file_;
    SonarType fileType_;
    std::int64_t offset_ = 0;
    std::int64_t number_ = 0;
};

} // namespace velmaris::tool
