#include "ToolDocument.h"

#include "files/PlaybackDecode.h"
#include "files/SettingsFile.h"

#include <cstdio>

namespace velmaris::tool {

bool ToolDocument::LoadDisplaySettings(const std::string& iniPath)
{
    state->flags.playback = true;
    if (iniPath.empty())
        return true;
    SettingsFile file(iniPath);
    if (!file.Read()) {
        const char* why = file.LastRead() == IniRead::NotAFile
            ? " (not a regular file: a folder, a pipe or a device)"
            : file.LastRead() == IniRead::Unreadable ? " (not settings text)"
                                                     : "";
        std::fprintf(stderr, "velmaris-tool: cannot read the settings file %s%s\n", iniPath.c_str(), why);
        return false;
    }
    // As during playback: the head settings come from the records.
    file.Load(settings, command, ping, SettingsFileContext {true});
    return true;
}

bool ToolDocument::Open(const std::string& iniPath, const std::string& path, DataFile& file, SonarType& fileType)
{
    return LoadDisplaySettings(iniPath) && OpenDataFile(path, file, fileType);
}

RecordDecodeResult ToolDocument::Decode(const RecordFrame& frame)
{
    return DecodeRecordedPing(AsRecordedPing(frame), ping, command, settings, ReplyContext {true, false});
}

bool OpenDataFile(const std::string& path, DataFile& file, SonarType& fileType)
{
    const auto fromName = FileTypeFromName(path);
    if (!fromName) {
        std::fprintf(stderr, "%s\n", kMsgUnknownFileType);
        return false;
    }
    const DataFile::OpenResult result = file.Open(path);
    if (result != DataFile::OpenResult::Ok) {
        std::fprintf(stderr, "%s\n", OpenResultMessage(result));
        return false;
    }
    std::uint8_t first[3] {};
    file.Read(first);
    file.Seek(0);
    fileType = SettleFileType(*fromName, first);
    return true;
}

} // namespace velmaris::tool

namespace velmaris::tool {
void ReportDamage(const char* command, std::int64_t offset, const RecordFrame& frame)
{
    std::fprintf(stderr, "velmaris-tool %s: damaged record at offset %lld (record length %d)\n", command,
        static_cast<long long>(offset), frame.recordLength);
}
} // namespace velmaris::tool
