#include "controls/ConnectionRules.h"

#include "protocol/SonarSettings.h"

#include <algorithm>
#include <cctype>

namespace velmaris {
namespace {

// The ordering of a sorted list box: case-insensitive text order.
bool ListOrder(const ComPortEntry& a, const ComPortEntry& b)
{
    return std::lexicographical_compare(
        a.text.begin(), a.text.end(), b.text.begin(), b.text.end(), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
        });
}

constexpr std::size_t kMinAddressText = 7; // "1.2.3.4"
constexpr std::size_t kLongestPart = 3;

} // namespace

ComPortLists BuildComPortLists(const ComPortProbe& probe, const ComPortHolders& holders, int sonarPort,
    int gpsPort, const ComPortLabel& label)
{
    ComPortLists lists;
    int sonarHeld = 0;
    int gpsHeld = 0;
    for (int port = kFirstListedComPort; port <= kLastListedComPort; ++port) {
        bool listed = probe && probe(port);
        if (!listed && port == sonarPort && holders.sonarPort == port) {
            listed = true;
            sonarHeld = port;
        } else if (!listed && port == gpsPort && holders.gpsPort == port && gpsPort != sonarPort) {
            listed = true;
            gpsHeld = port;
        }
        if (listed)
            lists.entries.push_back({port, label ? label(port) : "COM" + std::to_string(port)});
    }
    std::stable_sort(lists.entries.begin(), lists.entries.end(), ListOrder);
    for (std::size_t i = 0; i < lists.entries.size(); ++i) {
        if (sonarHeld != 0 && lists.entries[i].port == sonarHeld)
            lists.sonarSelection = static_cast<int>(i);
        if (gpsHeld != 0 && lists.entries[i].port == gpsHeld)
            lists.gpsSelection = static_cast<int>(i);
    }
    return lists;
}

std::optional<int> ComPortFromEntry(std::string_view text)
{
    if (!text.starts_with("COM"))
        return std::nullopt;
    text.remove_prefix(3);
    int number = 0;
    std::size_t digits = 0;
    while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) {
        if (number > 100000)
            return std::nullopt;
        number = number * 10 + (text[digits] - '0');
        ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    return number;
}

std::string ComPortEntryText(int comPort, const std::string& device, const std::string& description)
{
    std::string text = "COM" + std::to_string(comPort);
    if (!device.empty())
        text += "  " + device;
    if (!description.empty())
        text += " (" + description + ")";
    return text;
}

ComDialogEnables ApplyComDialogEnableRule(int& gpsEnable, SonarType sonarType, const ComDialogEnables& previous)
{
    gpsEnable = 0;
    ComDialogEnables enables = previous;
    enables.gpsEnableBox = false;
    enables.gpsControls = gpsEnable != 0;
    enables.sonarControls = sonarType == SonarType::SerialK52A;
    return enables;
}

std::optional<std::array<int, 4>> ParseIpAddressText(std::string_view text)
{
    if (text.size() < kMinAddressText)
        return std::nullopt;
    std::array<int, 4> parts {};
    std::size_t start = 0;
    for (std::size_t index = 0; index < parts.size() && start <= text.size(); ++index) {
        const std::size_t dot = text.find('.', start);
        const std::string_view part
            = text.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
        if (part.size() > kLongestPart)
            return std::nullopt;
        int value = 0;
        for (std::size_t i = 0; i < part.size() && std::isdigit(static_cast<unsigned char>(part[i])); ++i)
            value = value * 10 + (part[i] - '0');
        parts[index] = value & 0xff;
        if (dot == std::string_view::npos)
            break;
        start = dot + 1;
    }
    return parts;
}

std::string IpAddressText(const std::array<int, 4>& parts)
{
    return std::to_string(parts[0]) + "." + std::to_string(parts[1]) + "." + std::to_string(parts[2]) + "."
        + std::to_string(parts[3]);
}

} // namespace velmaris
