#include "sim/SyntheticRecording.h"

#include "sim/SimRecordSource.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace velmaris::sim {

std::string TagForFileName(const std::string& path)
{
    if (path.size() < 4 || path[path.size() - 4] != '.')
        return "";
    std::string ext = path.substr(path.size() - 3);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == "52a")
        return "52A";
    if (ext == "52l")
        return "52L";
    return "";
}

bool WriteSyntheticRecording(const std::string& path, const SynthOptions& options, std::string* error)
{
    auto fail = [error](std::string message) {
        if (error)
            *error = std::move(message);
        return false;
    };
    const std::string tag = TagForFileName(path);
    if (tag.empty())
        return fail("'" + path + "': the name must end in .52a (serial head) or .52l (Ethernet head)");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return fail("cannot write '" + path + "': " + std::strerror(errno));

    SimRecordOptions source;
    source.command = options.command;
    source.head.seed = options.seed;
    source.tag = tag;
    SimRecordSource head(source);
    const int period = head.NominalPeriodMs();
    const LocalTime start {2026, 12, 7, 12, 0, 0, 0};
    bool ok = true;
    for (int i = 0; i < options.pings && ok; ++i) {
        const std::vector<std::uint8_t> record
            = head.NextRecord(AddMilliseconds(start, static_cast<long long>(i) * period), period);
        ok = std::fwrite(record.data(), 1, record.size(), file) == record.size();
    }
    ok = std::fclose(file) == 0 && ok;
    if (!ok)
        return fail("writing '" + path + "' failed: " + std::strerror(errno));
    return true;
}

} // namespace velmaris::sim
