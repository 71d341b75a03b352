#pragma once
// Recording live pings, or a copy of a playback, to a data file: the
// automatic file name, the save dialog with its refusals, opening the record
// file and the start/stop command. The pings themselves are appended by the
// pipelines and the playback tick through the RecordWriter, one whole record
// at a time.
//
// Ownership: holds references only; the document owns the parts. Thread:
// user-interface thread only. Failure: every refusal and every file error is
// reported through the Reporter; a record file that cannot be created leaves
// recording off and the title unchanged.

#include "files/RecordWriter.h"
#include "files/Reporter.h"
#include "image/SonarState.h"
#include "protocol/TimeStamp.h"
#include "station/CycleUi.h"
#include "station/FileDialogs.h"
#include "station/Playback.h"

#include <string>

namespace velmaris {

inline constexpr const char* kMsgAlreadyRecording = "Data is already being saved to file.   ";
inline constexpr const char* kMsgUsedAsPlayback
    = "Can't write in this file ...\nThis file is used as playback!   ";
inline constexpr const char* kMsgErrorOpeningRecordFile = "Error Opening File!";

// Extension type of a new record file: ".52a" (serial) for the serial head or
// a playback of a serial file, ".52l" (Ethernet) otherwise.
SonarType RecordExtensionType(SonarType sonarType, bool playback, SonarType playbackFileType);

// `writeFolder` + "Velmaris " + date + " " + hhmmss + ".52a"/".52l".
// `date` ("07-DEC-2026") and `time` ("14:30:05") are a ping's time stamp.
std::string AutomaticRecordName(
    const std::string& writeFolder, const std::string& date, const std::string& time, SonarType extensionType);

// True when `date` reads "DD-MON-YYYY" and `time` "HH:MM:SS" (digits and
// upper-case letters only), so they can go into a file name.
bool IsFileNameTimeStamp(const std::string& date, const std::string& time);

// The first report when a record file cannot be created (its cause).
std::string RecordCreateFailedMessage(const std::string& path, const std::string& cause);

struct RecordingParts {
    SonarState& state;
    RecordWriter& writer;
    const Playback& playback;
    Reporter& reporter;
    CycleUi& ui;
    FileDialogs& dialogs;
};

class Recording {
public:
    // Registers with the writer so that a write failure, which stops
    // recording, also restores the title.
    explicit Recording(RecordingParts parts);
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;

    // "&Record  Start (Stop)": stops a running recording; otherwise asks for
    // a file and records into it.
    void StartStop();
    // The save dialog with the automatic name. Returns the chosen path, or ""
    // on Cancel or a refusal (already recording; the playback file itself).
    // On success `Write File Directory` becomes the chosen path's folder.
    std::string ChooseRecordFile();
    // Creates (truncates) `path` and starts recording; the title tells where.
    // On failure: the cause, then "Error Opening File!"; recording stays off.
    // Also the start-up's "record to the file named on the command line".
    bool OpenRecordFile(const std::string& path);

    bool IsRecording() const { return p_.writer.IsRecording(); }
    // Current or proposed record file (emptied by Cancel and by a refusal).
    const std::string& FileName() const { return fileName_; }
    SonarType FileType() const { return fileType_; }

    // The name offered in the save dialog, from the latest ping's time stamp
    // (the clock's time when that stamp cannot be part of a file name).
    std::string AutomaticName() const;
    void SetLocalTimeSource(LocalTime (*source)()) { localTime_ = source; }

private:
    void SetStopTitle();

    RecordingParts p_;
    std::string fileName_;
    SonarType fileType_ = SonarType::SerialK52A;
    LocalTime (*localTime_)() = &CurrentLocalTime;
};

} // namespace velmaris
