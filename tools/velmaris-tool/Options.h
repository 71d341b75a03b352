#pragma once
// A small command-line parser for the subcommands: positional arguments,
// "--name value" options, "--flag" switches and "--name [value]" options
// whose value may be left out. Unknown options and missing values are usage
// errors with a clear message.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace velmaris::tool {

struct ParsedOptions {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values; // "--out" -> "x.png"
    std::set<std::string> flags; // "--raw"
    std::string error; // empty when the command line was understood
    std::string errorArgument; // the option `error` is about; parsing stopped there

    bool Has(const std::string& flag) const { return flags.count(flag) != 0; }
    std::optional<std::string> Value(const std::string& name) const;
};

// `valued` names options that take a value, `switches` those that do not.
// An option in `optionalValue` is recorded as a flag and takes the next
// argument as its value unless there is none or it starts with "--".
ParsedOptions ParseOptions(const std::vector<std::string>& args, const std::set<std::string>& valued,
    const std::set<std::string>& switches, const std::set<std::string>& optionalValue = {});

// Whole-string integer conversion for option values; nullopt when it is not one.
std::optional<long long> ParseWholeNumber(const std::string& text);

} // namespace velmaris::tool
