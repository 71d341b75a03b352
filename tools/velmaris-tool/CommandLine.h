#pragma once
// The subcommands' options on CLI11: each option is declared once, with its
// type (the field it fills), range, default (the field's value) and help
// text; the parser, the range checks and --help all come from that one
// declaration. Mistakes are usage errors worded the tool's way, never
// CLI11's own exit codes.
//
// Ownership: a CommandDeclaration belongs to the ToolParser that made it and
// fills fields of a request that outlives the parse. Single-threaded.

#include <CLI/CLI.hpp>

#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace velmaris::tool {

// How a subcommand words an unknown option, a missing value and a stray
// argument. The simulator's commands have always said "unexpected argument
// 'x'" and "--x needs a value"; the others "unknown option --x", "option --x
// needs a value" and "expected exactly one FILE".
enum class Wording { Files, Simulator };

// A range as declared, for --help and for the tests that probe its ends.
struct DeclaredRange {
    std::string option;
    double low = 0;
    double high = 0;
    bool whole = true;
    bool bounded = true; // false: any whole number from `low` up (`high` is the type's largest)
};

class CommandDeclaration {
public:
    CommandDeclaration(CLI::App& app, std::string summary, Wording wording);

    CLI::App& App() { return app_; }
    const CLI::App& App() const { return app_; }
    Wording Words() const { return wording_; }
    // The line of the overall --help; App().description() is the command's own.
    const std::string& Summary() const { return summary_; }

    // NAME: the one positional argument, shown as `shown` ("FILE|DEVICE").
    void Positional(
        const std::string& name, std::string& field, const std::string& help, const std::string& shown = {});

    // --name N, a whole number in [low, high]. `refusal` is the message for
    // any other value; by default "--name takes a whole number from low to
    // high" (without "to high" when high is the type's largest).
    template <typename T>
    CLI::Option* Whole(const std::string& name, T& field, long long low, long long high,
        const std::string& help, const std::string& refusal = {})
    {
        const bool bounded = static_cast<double>(high) < static_cast<double>(std::numeric_limits<T>::max());
        return Ranged(app_.add_option(name, field, help)->type_name("N")->capture_default_str(),
            WholeCheck(name, low, high, refusal, bounded), {name, double(low), double(high), true, bounded});
    }

    // --name X, a real number in [low, high].
    CLI::Option* Number(const std::string& name, double& field, double low, double high,
        const std::string& help, const std::string& refusal = {});

    // --name VALUE, any text `check` takes: it returns why a value is refused,
    // "" when it is taken.
    CLI::Option* Text(const std::string& name, std::string& field, const std::string& valueName,
        const std::string& help, std::function<std::string(const std::string&)> check = {});

    // --name N, one of `values`.
    CLI::Option* OneOf(
        const std::string& name, int& field, const std::vector<long long>& values, const std::string& help);

    // `option` refusing what `check` refuses: it returns why a value is
    // refused, "" when it is taken.
    CLI::Option* Check(CLI::Option* option, std::function<std::string(const std::string&)> check);

    // --name: a switch.
    CLI::Option* Flag(const std::string& name, bool& field, const std::string& help);

    // Rules between options, checked after a parse without mistakes: the
    // first mistake found, or "".
    void Rules(std::function<std::string()> rules) { rules_ = std::move(rules); }

    const std::vector<DeclaredRange>& Ranges() const { return ranges_; }

private:
    friend class ToolParser;
    struct PositionalSlot {
        std::string shown;
        CLI::Option* option;
    };

    static std::function<std::string(const std::string&)> WholeCheck(
        const std::string& name, long long low, long long high, std::string refusal, bool bounded);
    CLI::Option* Ranged(
        CLI::Option* option, std::function<std::string(const std::string&)> check, DeclaredRange range);

    CLI::App& app_;
    std::string summary_;
    Wording wording_;
    std::vector<PositionalSlot> positionals_;
    std::vector<DeclaredRange> ranges_;
    std::function<std::string()> rules_;
    std::string refused_; // why the first refused value was refused ("" for none)
};

// The whole command line: the tool's own --help and --version and one
// CLI::App per subcommand.
class ToolParser {
public:
    ToolParser();
    ~ToolParser();

    // A new subcommand; `summary` is its line in the overall --help.
    CommandDeclaration& Add(const std::string& name, const std::string& summary, Wording wording);

    struct Outcome {
        const CommandDeclaration* command = nullptr; // the subcommand to run; null when none is
        int exitStatus = 0; // when none runs: 0 after --help or --version, 2 for a mistake
        std::string out; // for standard output (help, version)
        std::string err; // for standard error (the mistake and how to ask for help)
    };
    // `args` are the arguments after the program name.
    Outcome Parse(const std::vector<std::string>& args);

    // The --help text of a subcommand ("" for the tool's own).
    std::string Help(const std::string& command) const;
    const std::vector<std::unique_ptr<CommandDeclaration>>& Commands() const { return commands_; }

private:
    std::string Mistake(const CLI::ParseError& error, const std::vector<std::string>& args,
        CommandDeclaration* command) const;

    CLI::App root_;
    bool version_ = false;
    std::vector<std::unique_ptr<CommandDeclaration>> commands_;
};

} // namespace velmaris::tool
