// The tool's option declarations: what the README shows parses, every range
// refuses what lies outside it by naming the option, and --help lists every
// option declared.

#include "CommandOptions.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace velmaris::tool {
namespace {

// The README's example command lines: the indented lines that run the tool,
// cut at a pipe or a comment, as shell words (the examples quote nothing).
std::vector<std::vector<std::string>> ReadmeExamples()
{
    std::ifstream readme(std::string(VELMARIS_SOURCE_DIR) + "/README.md");
    std::vector<std::vector<std::string>> examples;
    for (std::string line; std::getline(readme, line);) {
        if (line.rfind("    velmaris-tool ", 0) != 0)
            continue;
        std::istringstream words(line);
        std::vector<std::string> args;
        for (std::string word; words >> word && word != "|" && word[0] != '#';)
            args.push_back(word);
        args.erase(args.begin()); // the program
        examples.push_back(args);
    }
    return examples;
}

std::string Joined(const std::vector<std::string>& args)
{
    std::string text;
    for (const std::string& a : args)
        text += " " + a;
    return text;
}

TEST(ToolCommandLine, EveryReadmeExampleParses)
{
    const auto examples = ReadmeExamples();
    ASSERT_GE(examples.size(), 15u);
    for (const auto& args : examples) {
        const ToolCommandLine line = ParseToolCommandLine(args);
        EXPECT_TRUE(line.request.has_value()) << Joined(args) << "\n" << line.err;
        EXPECT_EQ(line.err, "") << Joined(args);
    }
}

// Below the low end, above the high end and not a number: each a usage
// error (2) that names the option, and nothing runs.
TEST(ToolCommandLine, AValueOutOfRangeIsAUsageErrorNamingTheOption)
{
    ToolParser parser;
    ToolRequestFields fields;
    DeclareToolCommands(parser, fields);
    int probed = 0;
    for (const auto& command : parser.Commands()) {
        const std::string name = command->App().get_name();
        for (const DeclaredRange& range : command->Ranges()) {
            // One past an end: a whole step, or half of one for a real number.
            const auto past = [&range](double end, int direction) {
                return range.whole ? std::to_string(static_cast<long long>(end) + direction)
                                   : std::to_string(end + 0.5 * direction);
            };
            std::vector<std::string> values {"x", past(range.low, -1)};
            if (range.bounded)
                values.push_back(past(range.high, +1));
            for (const std::string& value : values) {
                const ToolCommandLine line = ParseToolCommandLine({name, range.option, value});
                ++probed;
                EXPECT_FALSE(line.request.has_value()) << name << " " << range.option << " " << value;
                EXPECT_EQ(line.exitStatus, 2);
                EXPECT_EQ(line.err.rfind("velmaris-tool " + name + ": ", 0), 0u) << line.err;
                EXPECT_NE(line.err.find(range.option), std::string::npos) << line.err;
            }
        }
    }
    EXPECT_GE(probed, 40);
}

TEST(ToolCommandLine, HelpListsEveryOption)
{
    ToolParser parser;
    ToolRequestFields fields;
    DeclareToolCommands(parser, fields);
    const std::string overall = ToolHelp("");
    for (const auto& command : parser.Commands()) {
        const std::string name = command->App().get_name();
        EXPECT_NE(overall.find("  " + name + " "), std::string::npos) << name;
        const std::string help = ToolHelp(name);
        EXPECT_EQ(help.rfind("usage: velmaris-tool " + name + " ", 0), 0u) << help;
        for (const CLI::Option* option : command->App().get_options()) {
            if (option == command->App().get_help_ptr())
                continue;
            const std::string shown = option->get_positional() ? option->get_type_name() : option->get_name();
            EXPECT_NE(help.find("\n  " + shown), std::string::npos) << name << ": " << shown << "\n" << help;
        }
        const ToolCommandLine asked = ParseToolCommandLine({name, "--help"});
        EXPECT_EQ(asked.exitStatus, 0);
        EXPECT_EQ(asked.out, help);
        EXPECT_FALSE(asked.request.has_value());
    }
}

} // namespace
} // namespace velmaris::tool
