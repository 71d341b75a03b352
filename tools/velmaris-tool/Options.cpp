#include "Options.h"

#include <charconv>

namespace velmaris::tool {

std::optional<std::string> ParsedOptions::Value(const std::string& name) const
{
    const auto it = values.find(name);
    if (it == values.end())
        return std::nullopt;
    return it->second;
}

ParsedOptions ParseOptions(const std::vector<std::string>& args, const std::set<std::string>& valued,
    const std::set<std::string>& switches, const std::set<std::string>& optionalValue)
{
    ParsedOptions parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 2 || arg[0] != '-') {
            parsed.positional.push_back(arg);
        } else if (switches.count(arg) != 0) {
            parsed.flags.insert(arg);
        } else if (optionalValue.count(arg) != 0) {
            parsed.flags.insert(arg);
            if (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0)
                parsed.values[arg] = args[++i];
        } else if (valued.count(arg) != 0) {
            if (i + 1 >= args.size()) {
                parsed.error = "option " + arg + " needs a value";
                parsed.errorArgument = arg;
                return parsed;
            }
            parsed.values[arg] = args[++i];
        } else {
            parsed.error = "unknown option " + arg;
            parsed.errorArgument = arg;
            return parsed;
        }
    }
    return parsed;
}

std::optional<long long> ParseWholeNumber(const std::string& text)
{
    long long value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace velmaris::tool
