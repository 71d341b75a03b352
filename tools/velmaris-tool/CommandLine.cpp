#include "CommandLine.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace velmaris::tool {

namespace {

constexpr std::size_t kHelpWidth = 100;
constexpr std::size_t kHelpColumn = 24;

std::string Trimmed(double value)
{
    if (value == std::floor(value) && std::fabs(value) < 1e18)
        return std::to_string(static_cast<long long>(value));
    char text[32];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    return ec == std::errc() ? std::string(text, end) : std::string();
}

// `units` joined by spaces into lines of at most kHelpWidth, each line after
// the first starting after `indent` spaces; `used` columns of the first line
// are taken already.
std::string Folded(const std::vector<std::string>& units, std::size_t indent, std::size_t used)
{
    std::string out;
    bool first = true;
    for (const std::string& unit : units) {
        if (unit.empty())
            continue;
        if (!first && used + 1 + unit.size() > kHelpWidth) {
            out += "\n" + std::string(indent, ' ');
            used = indent;
        } else if (!first) {
            out += ' ';
            ++used;
        }
        out += unit;
        used += unit.size();
        first = false;
    }
    return out;
}

std::string Folded(const std::string& text, std::size_t indent, std::size_t used)
{
    std::vector<std::string> words;
    for (std::size_t at = 0; at <= text.size();) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        words.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return Folded(words, indent, used);
}

std::string OptionForm(const CLI::Option& option)
{
    std::string form = option.get_name();
    if (option.get_expected_max() == 0)
        return form;
    if (option.get_expected_min() == 0)
        return form + " [" + option.get_type_name() + "]";
    return form + " " + option.get_type_name();
}

// "usage: velmaris-tool NAME FILE [--out PATH] ...", folded.
std::string UsageLine(const CommandDeclaration& command)
{
    const CLI::App& app = command.App();
    const std::string usage = "usage: velmaris-tool " + app.get_name();
    std::vector<std::string> words;
    for (const CLI::Option* option : app.get_options())
        if (option != app.get_help_ptr())
            words.push_back(
                option->get_positional() ? option->get_type_name() : "[" + OptionForm(*option) + "]");
    return usage + " " + Folded(words, std::min<std::size_t>(usage.size() + 1, 40), usage.size() + 1) + "\n";
}

// The range and the default an option was declared with, for its help line.
std::string Notes(const CommandDeclaration& command, const CLI::Option& option)
{
    std::string notes;
    for (const DeclaredRange& range : command.Ranges())
        if (range.option == option.get_name())
            notes = Trimmed(range.low) + (range.bounded ? " to " + Trimmed(range.high) : " or more");
    const std::string shownDefault = option.get_default_str();
    if (!shownDefault.empty() && option.get_expected_max() != 0)
        notes += (notes.empty() ? "" : "; ") + std::string("default ") + shownDefault;
    return notes.empty() ? notes : " (" + notes + ")";
}

std::string CommandHelp(const CommandDeclaration& command)
{
    const CLI::App& app = command.App();
    std::string list;
    const auto line = [&list](const std::string& left, const std::string& help) {
        std::string entry = "  " + left;
        if (entry.size() + 2 > kHelpColumn)
            entry += "\n" + std::string(kHelpColumn, ' ');
        else
            entry.resize(kHelpColumn, ' ');
        list += entry + Folded(help, kHelpColumn, kHelpColumn) + "\n";
    };
    for (const CLI::Option* option : app.get_options()) {
        if (option == app.get_help_ptr())
            continue;
        if (option->get_positional())
            line(option->get_type_name(), option->get_description());
        else
            line(OptionForm(*option), option->get_description() + Notes(command, *option));
    }
    line("-h, --help", "this text");
    std::string help = UsageLine(command);
    if (!app.get_description().empty())
        help += "  " + Folded(app.get_description(), 2, 2) + "\n";
    help += "\n" + list;
    if (!app.get_footer().empty())
        help += "\n" + app.get_footer() + "\n";
    return help;
}

} // namespace

CommandDeclaration::CommandDeclaration(CLI::App& app, std::string summary, Wording wording)
    : app_(app)
    , summary_(std::move(summary))
    , wording_(wording)
{ }

void CommandDeclaration::Positional(
    const std::string& name, std::string& field, const std::string& help, const std::string& shown)
{
    CLI::Option* option = app_.add_option(name, field, help)->type_name(shown.empty() ? name : shown);
    positionals_.push_back({shown.empty() ? name : shown, option});
}

std::function<std::string(const std::string&)> CommandDeclaration::WholeCheck(
    const std::string& name, long long low, long long high, std::string refusal, bool bounded)
{
    if (refusal.empty())
        refusal = name + " takes a whole number from " + std::to_string(low)
            + (bounded ? " to " + std::to_string(high) : std::string());
    return [low, high, refusal](const std::string& text) {
        long long value = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        const bool whole = !text.empty() && ec == std::errc() && end == text.data() + text.size();
        return whole && value >= low && value <= high ? std::string() : refusal;
    };
}

CLI::Option* CommandDeclaration::Number(const std::string& name, double& field, double low, double high,
    const std::string& help, const std::string& refusal)
{
    const std::string message
        = refusal.empty() ? name + " takes a number from " + Trimmed(low) + " to " + Trimmed(high) : refusal;
    auto check = [low, high, message](const std::string& text) {
        char* end = nullptr;
        const double value = std::strtod(text.c_str(), &end);
        const bool number = !text.empty() && *end == '\0' && std::isfinite(value);
        return number && value >= low && value <= high ? std::string() : message;
    };
    return Ranged(app_.add_option(name, field, help)->type_name("X")->capture_default_str(), check,
        {name, low, high, false});
}

CLI::Option* CommandDeclaration::Text(const std::string& name, std::string& field,
    const std::string& valueName, const std::string& help,
    std::function<std::string(const std::string&)> check)
{
    CLI::Option* option = app_.add_option(name, field, help)->type_name(valueName)->capture_default_str();
    return check ? Check(option, std::move(check)) : option;
}

CLI::Option* CommandDeclaration::OneOf(
    const std::string& name, int& field, const std::vector<long long>& values, const std::string& help)
{
    std::string refusal = name + " takes ";
    for (std::size_t i = 0; i < values.size(); ++i)
        refusal += (i == 0 ? "" : i + 1 == values.size() ? " or " : ", ") + std::to_string(values[i]);
    const auto whole = WholeCheck(name, values.front(), values.back(), refusal, true);
    return Check(app_.add_option(name, field, help)->type_name("N")->capture_default_str(),
        [whole, values, refusal](const std::string& text) {
            if (!whole(text).empty())
                return refusal;
            return std::find(values.begin(), values.end(), std::stoll(text)) != values.end() ? std::string()
                                                                                             : refusal;
        });
}

CLI::Option* CommandDeclaration::Flag(const std::string& name, bool& field, const std::string& help)
{
    return app_.add_flag(name, field, help);
}

CLI::Option* CommandDeclaration::Ranged(
    CLI::Option* option, std::function<std::string(const std::string&)> check, DeclaredRange range)
{
    ranges_.push_back(std::move(range));
    return Check(option, std::move(check));
}

CLI::Option* CommandDeclaration::Check(
    CLI::Option* option, std::function<std::string(const std::string&)> check)
{
    // CLI11 words a refusal its own way; the tool's message is kept here and
    // CLI11 is told only that the value was refused.
    return option->check(CLI::Validator(
        [this, check = std::move(check)](std::string& text) {
            std::string why = check(text);
            if (!why.empty() && refused_.empty())
                refused_ = why;
            return why;
        },
        ""));
}

ToolParser::ToolParser()
    : root_("velmaris-tool")
{
    // One subcommand: a second name is an argument of the first.
    root_.require_subcommand(0, 1);
    root_.add_flag("--version", version_, "the version");
}

ToolParser::~ToolParser() = default;

CommandDeclaration& ToolParser::Add(const std::string& name, const std::string& summary, Wording wording)
{
    CLI::App* app = root_.add_subcommand(name, summary);
    app->option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    commands_.push_back(std::make_unique<CommandDeclaration>(*app, summary, wording));
    return *commands_.back();
}

std::string ToolParser::Help(const std::string& name) const
{
    for (const auto& command : commands_)
        if (command->App().get_name() == name)
            return CommandHelp(*command);
    std::string help = "usage: velmaris-tool <command> [options]\n\ncommands:\n";
    std::vector<const CommandDeclaration*> sorted;
    for (const auto& command : commands_)
        sorted.push_back(command.get());
    std::sort(sorted.begin(), sorted.end(),
        [](auto* a, auto* b) { return a->App().get_name() < b->App().get_name(); });
    for (const CommandDeclaration* command : sorted) {
        std::string entry = "  " + command->App().get_name();
        entry.resize(12, ' ');
        help += entry + command->Summary() + "\n";
    }
    return help
        + "\n  -h, --help  this text; '<command> --help' for a command's options\n"
          "  --version   the version\n";
}

ToolParser::Outcome ToolParser::Parse(const std::vector<std::string>& args)
{
    Outcome outcome;
    const auto chosen = [this]() -> CommandDeclaration* {
        for (const auto& command : commands_)
            if (command->App().parsed())
                return command.get();
        return nullptr;
    };
    CommandDeclaration* command = nullptr;
    std::string mistake;
    try {
        std::vector<std::string> reversed(args.rbegin(), args.rend()); // CLI11 takes them from the back
        root_.parse(reversed);
        command = chosen();
        if (version_) {
            outcome.out = std::string("velmaris-tool ") + VELMARIS_VERSION + "\n";
            return outcome;
        }
        if (command != nullptr) {
            for (const auto& slot : command->positionals_)
                if (mistake.empty() && slot.option->count() == 0)
                    mistake = "expected exactly one " + slot.shown;
            if (mistake.empty() && command->rules_)
                mistake = command->rules_();
        }
    } catch (const CLI::CallForHelp&) {
        command = chosen();
        outcome.out = command != nullptr ? CommandHelp(*command) : Help("");
        return outcome;
    } catch (const CLI::ParseError& error) {
        // A word the tool took for no subcommand's is the tool's own mistake.
        command = root_.remaining().empty() ? chosen() : nullptr;
        mistake = Mistake(error, args, command);
    }
    if (command != nullptr && mistake.empty()) {
        outcome.command = command;
        return outcome;
    }
    outcome.exitStatus = 2;
    if (command == nullptr) {
        outcome.err = (mistake.empty() ? "" : "velmaris-tool: " + mistake + "\n\n") + Help("");
        return outcome;
    }
    const std::string name = command->App().get_name();
    outcome.err = "velmaris-tool " + name + ": " + mistake + "\n" + UsageLine(*command) + "  'velmaris-tool "
        + name + " --help' lists the options\n";
    return outcome;
}

std::string ToolParser::Mistake(
    const CLI::ParseError& error, const std::vector<std::string>& args, CommandDeclaration* command) const
{
    const bool simulator = command != nullptr && command->Words() == Wording::Simulator;
    if (dynamic_cast<const CLI::ValidationError*>(&error) != nullptr && command != nullptr
        && !command->refused_.empty())
        return command->refused_;
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr && !args.empty()) {
        // Values are taken whatever they look like, so only the last
        // argument can lack its value.
        const std::string& option = args.back();
        return simulator ? option + " needs a value" : "option " + option + " needs a value";
    }
    if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) {
        const std::vector<std::string> left
            = command != nullptr ? command->App().remaining() : root_.remaining();
        const std::string first = left.empty() ? std::string() : left.front();
        if (command == nullptr)
            return "unknown command '" + first + "'";
        if (simulator)
            return "unexpected argument '" + first + "'";
        if (first.size() > 1 && first[0] == '-')
            return "unknown option " + first;
        return "expected exactly one "
            + (command->positionals_.empty() ? first : command->positionals_[0].shown);
    }
    return error.what();
}

} // namespace velmaris::tool
