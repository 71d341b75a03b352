// The tool's command line: every subcommand declared, one parse, and the
// request of the subcommand named.

#include "CommandOptions.h"

namespace velmaris::tool {

ToolCommandLine ParseToolCommandLine(const std::vector<std::string>& args)
{
    ToolParser parser;
    ToolRequestFields fields;
    const DeclaredCommands commands = DeclareToolCommands(parser, fields);
    ToolParser::Outcome outcome = parser.Parse(args);
    ToolCommandLine line {std::nullopt, outcome.exitStatus, std::move(outcome.out), std::move(outcome.err)};
    for (const auto& [command, take] : commands)
        if (command == outcome.command)
            line.request = take();
    return line;
}

std::string ToolHelp(const std::string& command)
{
    ToolParser parser;
    ToolRequestFields fields;
    DeclareToolCommands(parser, fields);
    return parser.Help(command);
}

} // namespace velmaris::tool
