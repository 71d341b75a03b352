#pragma once
// The rules of the two connection dialogs, apart from their widgets: the
// port lists of "Choose Comm Port" (which COM numbers are listed, in which
// order, which entry is selected), the parsing of a picked entry, the enable
// rule, and the address text of "Change IP Address".
//
// Plain functions and values; no thread of their own.

#include "protocol/SonarSettings.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmaris {

inline constexpr int kFirstListedComPort = 1;
inline constexpr int kLastListedComPort = 32;
inline constexpr const char* kComPortOutOfRangeMessage = "COM Port number is out of range (COM1 - COM32)";

// Who holds a port while the dialog runs: the station's own links keep their
// ports open, so a probe cannot open them and they are recognised here.
struct ComPortHolders {
    int sonarPort = 0; // the serial link's port, 0 when it holds none
    int gpsPort = 0; // the GPS reader's port, 0 when it holds none
};

struct ComPortEntry {
    int port = 0;
    std::string text; // "COM3", or "COM3  /dev/ttyUSB0 (FT232R)" with the device
};

struct ComPortLists {
    std::vector<ComPortEntry> entries; // both lists hold the same entries, sorted by text
    int sonarSelection = -1; // index into entries, -1 for none
    int gpsSelection = -1;
};

// True when COMn's device can be opened now (and was closed again).
using ComPortProbe = std::function<bool(int comPort)>;
// The text of COMn's entry (device and description where known).
using ComPortLabel = std::function<std::string(int comPort)>;

// Tries COM1 to COM32 in order; a port that opens is listed, a port that
// does not is listed only when the station holds it itself (then it is the
// selection of its list). The entries are sorted as a sorted list box sorts
// text, so COM10 comes before COM2.
ComPortLists BuildComPortLists(const ComPortProbe& probe, const ComPortHolders& holders, int sonarPort,
    int gpsPort, const ComPortLabel& label = {});

// "COM" followed by a number, as the entry begins; nullopt when it does not.
std::optional<int> ComPortFromEntry(std::string_view text);

// The entry text: "COMn", then the device and its description when known.
std::string ComPortEntryText(int comPort, const std::string& device, const std::string& description);

// What the dialog's controls may do after the enable rule.
struct ComDialogEnables {
    bool sonarControls = true; // sonar port list and both RTS radio buttons
    bool gpsEnableBox = false;
    bool gpsControls = false; // GPS port list and baud list
};

// Clears `gpsEnable` (GPS input cannot be switched on here) and gives the
// enables; a sonar type other than 0 or 1 leaves the sonar controls as
// they were in `previous`.
ComDialogEnables ApplyComDialogEnableRule(int& gpsEnable, SonarType sonarType, const ComDialogEnables& previous);

// The four parts of a stored address for the address control, or nullopt
// when the control stays empty: a text shorter than 7 characters, or a part
// longer than three characters (the stored address is then kept as it is).
// Each part is its leading digits (0 without any), kept to its low 8 bits;
// missing parts are 0 and parts after the fourth are not read.
std::optional<std::array<int, 4>> ParseIpAddressText(std::string_view text);

// "%d.%d.%d.%d".
std::string IpAddressText(const std::array<int, 4>& parts);

} // namespace velmaris
