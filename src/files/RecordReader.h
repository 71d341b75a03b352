#pragma once
// Reading one record of a data file at a time: the record header, the reply
// header and the bytes after them (echo bytes and padding). The record
// length comes from header bytes 4 and 5; a length that cannot be a record
// (below 112 bytes or past the end of the file) marks the record as damaged,
// so a reader re-synchronises on the next tag instead of looping.

#include "files/DataFile.h"
#include "image/ScanLineHistory.h"
#include "protocol/RecordHeader.h"

#include <array>
#include <cstdint>

namespace velmaris {

struct RecordFrame {
    std::int64_t offset = 0; // where the record starts
    int recordLength = 0; // header bytes 4..5
    std::array<std::uint8_t, kRecordHeaderSize> header {};
    std::array<std::uint8_t, 12> replyHeader {};
    ScanLine body {}; // the bytes after the reply header, at most one echo buffer
    std::size_t bodySize = 0; // min(record length - 112, 640)

    std::int64_t NextOffset() const { return offset + recordLength; }
};

enum class RecordStatus {
    Ok, // a whole record was read
    Damaged, // the length field cannot be right; nothing was decoded
    End, // fewer than 100 bytes are left
};

// Record length field (big-endian bytes 4..5) of a record header.
int RecordLengthField(std::span<const std::uint8_t, kRecordHeaderSize> header);

// Reads the record that starts at `offset`. On Ok the frame holds it; on
// Damaged the frame holds the offset and the header bytes read; the file
// position is unspecified afterwards (callers seek).
RecordStatus ReadRecordFrame(DataFile& file, std::int64_t offset, RecordFrame& frame);

// Walks the whole file once from offset 0, the way playback reads it but
// stopping at the end instead of wrapping: `onRecord(frame)` for each whole
// record; `onDamage(offset, frame)` for a record whose length field cannot be
// right, after which the walk re-synchronises on the next tag one byte on.
template <typename OnRecord, typename OnDamage>
void WalkRecords(DataFile& file, SonarType fileType, OnRecord onRecord, OnDamage onDamage)
{
    RecordFrame frame;
    std::int64_t offset = 0;
    for (;;) {
        const RecordStatus status = ReadRecordFrame(file, offset, frame);
        if (status == RecordStatus::End)
            return;
        if (status == RecordStatus::Damaged) {
            onDamage(offset, frame);
            offset = file.Resynchronise(offset + 1, fileType);
            continue;
        }
        onRecord(frame);
        offset = frame.NextOffset();
    }
}

} // namespace velmaris
