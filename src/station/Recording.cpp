#include "station/Recording.h"

#include "files/DataFile.h"
#include "files/SettingsLocation.h"
#include "station/WindowTitles.h"

#include <cctype>
#include <filesystem>

namespace velmaris {

namespace {

bool Digits(const std::string& s, std::size_t from, std::size_t count)
{
    for (std::size_t i = from; i < from + count; ++i) {
        if (std::isdigit(static_cast<unsigned char>(s[i])) == 0)
            return false;
    }
    return true;
}

// The same file by name, or by identity when both exist (another spelling
// of the path, a link).
bool SameFile(const std::string& a, const std::string& b)
{
    if (a == b)
        return true;
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

} // namespace

SonarType RecordExtensionType(SonarType sonarType, bool playback, SonarType playbackFileType)
{
    const bool serial = playback ? playbackFileType == SonarType::SerialK52A : sonarType == SonarType::SerialK52A;
    return serial ? SonarType::SerialK52A : SonarType::EthernetK52L;
}

bool IsFileNameTimeStamp(const std::string& date, const std::string& time)
{
    if (date.size() != 11 || time.size() != 8)
        return false;
    if (!Digits(date, 0, 2) || date[2] != '-' || date[6] != '-' || !Digits(date, 7, 4))
        return false;
    for (std::size_t i = 3; i < 6; ++i) {
        if (date[i] < 'A' || date[i] > 'Z')
            return false;
    }
    return Digits(time, 0, 2) && time[2] == ':' && Digits(time, 3, 2) && time[5] == ':' && Digits(time, 6, 2);
}

std::string AutomaticRecordName(
    const std::string& writeFolder, const std::string& date, const std::string& time, SonarType extensionType)
{
    const std::string hhmmss = time.substr(0, 2) + time.substr(3, 2) + time.substr(6, 2);
    return writeFolder + "Velmaris " + date + " " + hhmmss
        + (extensionType == SonarType::SerialK52A ? ".52a" : ".52l");
}

std::string RecordCreateFailedMessage(const std::string& path, const std::string& cause)
{
    return "The record file could not be created:\n" + path + "\n(" + cause + ")   ";
}

Recording::Recording(RecordingParts parts)
    : p_(parts)
{
    p_.writer.SetStopListener([this] { SetStopTitle(); });
}

std::string Recording::AutomaticName() const
{
    const SonarState& state = p_.state;
    std::string date = state.ping.date;
    std::string time = state.ping.time;
    // A played record's stamp comes from the file and may hold anything,
    // separators included: only a well-formed stamp goes into the name.
    if (!IsFileNameTimeStamp(date, time)) {
        const TimeStampTexts now = FormatTimeStamp(localTime_());
        date = now.date;
        time = now.time;
    }
    const SonarType extension
        = RecordExtensionType(state.settings.sonarType, p_.playback.IsPlaying(), p_.playback.FileType());
    return AutomaticRecordName(state.settings.writeFileDirectory, date, time, extension);
}

std::string Recording::ChooseRecordFile()
{
    SonarSettings& settings = p_.state.settings;
    const bool playing = p_.playback.IsPlaying();
    const SonarType extension = RecordExtensionType(settings.sonarType, playing, p_.playback.FileType());
    const std::string chosen
        = p_.dialogs.AskSaveFile(RecordSaveDialog(settings.writeFileDirectory, AutomaticName(), extension));
    if (chosen.empty()) {
        fileName_.clear();
        return {};
    }
    if (const std::optional<SonarType> type = FileTypeFromName(chosen))
        fileType_ = *type;
    if (p_.writer.IsRecording()) {
        p_.reporter.ShowMessage(kMsgAlreadyRecording);
        return {};
    }
    // Writing the file being played would truncate it under the reader.
    if (playing && SameFile(chosen, p_.playback.FileName())) {
        fileName_.clear();
        p_.reporter.ShowMessage(kMsgUsedAsPlayback);
        return {};
    }
    settings.writeFileDirectory = FolderOf(chosen);
    fileName_ = chosen;
    return chosen;
}

bool Recording::OpenRecordFile(const std::string& path)
{
    if (!p_.writer.Open(path)) {
        p_.reporter.ShowMessage(RecordCreateFailedMessage(path, p_.writer.LastError()));
        p_.reporter.ShowMessage(kMsgErrorOpeningRecordFile);
        return false;
    }
    fileName_ = path;
    if (const std::optional<SonarType> type = FileTypeFromName(path))
        fileType_ = *type;
    p_.ui.SetWindowTitle(RecordStartTitle(path, p_.playback.IsPlaying()));
    return true;
}

void Recording::StartStop()
{
    if (p_.writer.IsRecording()) {
        p_.writer.Close();
        SetStopTitle();
        return;
    }
    const std::string path = ChooseRecordFile();
    if (!path.empty() && !p_.writer.IsRecording())
        OpenRecordFile(path);
}

void Recording::SetStopTitle()
{
    p_.ui.SetWindowTitle(
        RecordStopTitle(p_.playback.IsPlaying(), p_.playback.FileName(), p_.state.settings.sonarType));
}

} // namespace velmaris
