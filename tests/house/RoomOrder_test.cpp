// The house of src/: rooms in dependency order, each including only the
// rooms below it, Qt only in a room's qt/ folder. Reads the sources as text,
// so a wrong include fails here before anyone has to untangle a loop.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Bottom first. A room may include itself and every room before it.
const std::vector<std::string> kRooms
    = {"protocol", "settings", "image", "files", "links", "station", "controls", "web", "shell"};

int RankOf(const std::string& room)
{
    for (std::size_t i = 0; i < kRooms.size(); ++i)
        if (kRooms[i] == room)
            return static_cast<int>(i);
    return -1;
}

struct Place {
    std::string room; // first folder below src/
    bool qt = false; // inside the room's qt/ folder
};

Place PlaceOf(const std::string& pathBelowSrc)
{
    Place place;
    const auto slash = pathBelowSrc.find('/');
    place.room = pathBelowSrc.substr(0, slash);
    place.qt = pathBelowSrc.compare(slash + 1, 3, "qt/") == 0;
    return place;
}

// Why `from` (a file's place) may not include `to` (a header below src/ or a
// system header), or an empty text when it may.
std::string Refusal(const Place& from, const std::string& include, bool angled)
{
    const bool qtHeader = angled ? (include.size() > 1 && include[0] == 'Q') : false;
    if (angled)
        return (qtHeader && !from.qt) ? "a Qt header outside a qt/ folder" : "";
    const Place to = PlaceOf(include);
    if (to.qt && !from.qt)
        return "a Qt edge header outside a qt/ folder";
    if (from.room == "sim")
        return (to.room == "sim" || to.room == "protocol") ? "" : "the simulated heads sit on protocol alone";
    if (to.room == "sim")
        return (from.room == "shell" && from.qt) ? ""
                                                 : "only the demo (shell/qt), the tool and the tests use sim";
    const int fromRank = RankOf(from.room);
    const int toRank = RankOf(to.room);
    if (toRank < 0)
        return ""; // not a header of src/ (a header next to the file)
    if (toRank > fromRank)
        return "a room above";
    return "";
}

std::vector<fs::path> SourcesBelow(const fs::path& root)
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const auto ext = entry.path().extension();
        if (entry.is_regular_file() && (ext == ".h" || ext == ".cpp"))
            files.push_back(entry.path());
    }
    return files;
}

const fs::path kSrc = fs::path(VELMARIS_SOURCE_DIR) / "src";

TEST(House, EveryIncludeRunsDown)
{
    const std::regex includeLine(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::ostringstream arrowsUp;
    int files = 0;
    for (const auto& path : SourcesBelow(kSrc)) {
        ++files;
        const std::string below = fs::relative(path, kSrc).generic_string();
        const Place from = PlaceOf(below);
        std::ifstream in(path);
        std::string line;
        int number = 0;
        while (std::getline(in, line)) {
            ++number;
            std::smatch m;
            if (!std::regex_search(line, m, includeLine))
                continue;
            const std::string why = Refusal(from, m[2].str(), m[1].str() == "<");
            if (!why.empty())
                arrowsUp << below << ":" << number << " includes " << m[2].str() << " (" << why << ")\n";
        }
    }
    EXPECT_GT(files, 100) << "the sources were not found below " << kSrc;
    EXPECT_EQ(arrowsUp.str(), "");
}

TEST(House, EverySourceLivesInARoom)
{
    std::ostringstream strays;
    for (const auto& path : SourcesBelow(kSrc)) {
        const Place place = PlaceOf(fs::relative(path, kSrc).generic_string());
        if (RankOf(place.room) < 0 && place.room != "sim")
            strays << path.generic_string() << "\n";
    }
    EXPECT_EQ(strays.str(), "");
}

// The rule itself, on the arrows it must refuse and the ones it must allow.
TEST(House, RuleRefusesArrowsUpAndQtInTheCore)
{
    struct Case {
        const char* from;
        const char* include;
        bool angled;
        bool refused;
    };
    const Case cases[] = {
        {"protocol/ReplyMessage.h", "image/ScanLineHistory.h", false, true},
        {"image/SonarState.h", "protocol/PingRecord.h", false, false},
        {"station/Playback.cpp", "shell/FrameRules.h", false, true},
        {"shell/FrameRules.h", "station/WindowTitles.h", false, false},
        {"files/IniFile.cpp", "QSettings", true, true},
        {"links/qt/CSSocket.h", "QTcpSocket", true, false},
        {"station/PingCycle.h", "links/qt/CSSocket.h", false, true},
        {"shell/qt/CVelmarisApp.h", "links/qt/CSSocket.h", false, false},
        {"shell/qt/CVelmarisApp.cpp", "sim/TcpHeadServer.h", false, false},
        {"station/CVelmarisDoc.cpp", "sim/TcpHeadServer.h", false, true},
        {"sim/HeadModel.h", "protocol/CommandMessage.h", false, false},
        {"sim/HeadModel.h", "files/DataFile.h", false, true},
        {"controls/KeyInRules.h", "station/CommandHooks.h", false, false},
        {"protocol/CommandMessage.cpp", "settings/SettingsRules.h", false, true},
        {"image/SonarState.h", "settings/DocumentFlags.h", false, false},
        {"sim/SimCommand.cpp", "settings/SettingsRules.h", false, true},
        {"web/WebTexts.cpp", "controls/ControlTexts.h", false, false},
        {"web/WebViewers.cpp", "shell/StationCommandLine.h", false, true},
        {"shell/qt/StationWeb.cpp", "web/qt/WebServer.h", false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(!Refusal(PlaceOf(c.from), c.include, c.angled).empty(), c.refused)
            << c.from << " -> " << c.include;
}

} // namespace
