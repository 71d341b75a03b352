// The installed tree: `cmake --install` of this build into a temporary
// prefix holds both programs, the desktop entry, the data-file MIME types,
// the icons at every theme size and the man pages, where the desktop looks
// for them, and each of them is well formed. Tools that are not on the
// machine (desktop-file-validate, update-mime-database, groff) skip their
// check with a message.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace velmaris {
namespace {

namespace fs = std::filesystem;

struct CommandRun {
    int exitCode = -1;
    std::string output; // standard output and standard error
};

CommandRun RunCommand(const std::string& command)
{
    CommandRun run;
    std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return run;
    std::array<char, 4096> buffer {};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.output.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string Quote(const fs::path& path)
{
    return "'" + path.string() + "'";
}

bool HasProgram(const std::string& name)
{
    return RunCommand("command -v " + name + " >/dev/null").exitCode == 0;
}

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class InstallTree : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        prefix_ = fs::temp_directory_path() / ("velmaris-install-" + std::to_string(getpid()));
        fs::remove_all(prefix_);
        install_ = RunCommand(Quote(VELMARIS_CMAKE_COMMAND) + " --install " + Quote(VELMARIS_BINARY_DIR)
            + " --prefix " + Quote(prefix_));
    }
    static void TearDownTestSuite() { fs::remove_all(prefix_); }

    void SetUp() override { ASSERT_EQ(install_.exitCode, 0) << install_.output; }

    static fs::path prefix_;
    static CommandRun install_;
};

fs::path InstallTree::prefix_;
CommandRun InstallTree::install_;

constexpr std::array<int, 7> kIconSizes {16, 24, 32, 48, 64, 128, 256};

TEST_F(InstallTree, HoldsBothProgramsTheDesktopFilesAndTheManPages)
{
    for (const char* program : {"bin/velmaris", "bin/velmaris-tool"}) {
        const fs::path path = prefix_ / program;
        ASSERT_TRUE(fs::is_regular_file(path)) << path;
        EXPECT_NE(fs::status(path).permissions() & fs::perms::owner_exec, fs::perms::none) << path;
    }
    for (const char* file : {"share/applications/velmaris.desktop", "share/mime/packages/velmaris.xml",
             "share/icons/hicolor/scalable/apps/velmaris.svg", "share/man/man1/velmaris.1.gz",
             "share/man/man1/velmaris-tool.1.gz"})
        EXPECT_TRUE(fs::is_regular_file(prefix_ / file)) << file;
    // Nothing of the build itself (tests, benchmarks, build helpers) is installed.
    std::size_t programs = 0;
    for (const auto& entry : fs::directory_iterator(prefix_ / "bin"))
        programs += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(programs, 2u);
}

TEST_F(InstallTree, IconsComeInEveryThemeSize)
{
    for (const int size : kIconSizes) {
        const std::string theme = std::to_string(size) + "x" + std::to_string(size);
        const std::string png = ReadAll(prefix_ / "share/icons/hicolor" / theme / "apps/velmaris.png");
        ASSERT_GE(png.size(), 24u) << theme;
        EXPECT_EQ(png.substr(1, 3), "PNG") << theme;
        // IHDR: width and height, big-endian, at bytes 16 and 20.
        const auto word = [&png](std::size_t at) {
            return (unsigned(std::uint8_t(png[at])) << 24) | (unsigned(std::uint8_t(png[at + 1])) << 16)
                | (unsigned(std::uint8_t(png[at + 2])) << 8) | unsigned(std::uint8_t(png[at + 3]));
        };
        EXPECT_EQ(word(16), unsigned(size)) << theme;
        EXPECT_EQ(word(20), unsigned(size)) << theme;
    }
}

TEST_F(InstallTree, DesktopEntryOpensRecordingsForPlayback)
{
    const fs::path entry = prefix_ / "share/applications/velmaris.desktop";
    const std::string text = ReadAll(entry);
    EXPECT_NE(text.find("\nExec=velmaris --play %f\n"), std::string::npos) << text;
    EXPECT_NE(
        text.find("\nMimeType=application/x-velmaris-52a;application/x-velmaris-52l;\n"), std::string::npos);
    EXPECT_NE(text.find("\nIcon=velmaris\n"), std::string::npos);
    if (!HasProgram("desktop-file-validate"))
        GTEST_SKIP() << "desktop-file-validate is not installed (Debian: desktop-file-utils)";
    const CommandRun validate = RunCommand("desktop-file-validate " + Quote(entry));
    EXPECT_EQ(validate.exitCode, 0) << validate.output;
    EXPECT_EQ(validate.output, "");
}

TEST_F(InstallTree, MimeTypesAreKnownByExtension)
{
    if (!HasProgram("update-mime-database"))
        GTEST_SKIP() << "update-mime-database is not installed (Debian: shared-mime-info)";
    // The database is built inside the temporary prefix only.
    const CommandRun update = RunCommand("update-mime-database " + Quote(prefix_ / "share/mime"));
    ASSERT_EQ(update.exitCode, 0) << update.output;
    const std::string globs = ReadAll(prefix_ / "share/mime/globs2");
    EXPECT_NE(globs.find(":application/x-velmaris-52a:*.52a"), std::string::npos) << globs;
    EXPECT_NE(globs.find(":application/x-velmaris-52l:*.52l"), std::string::npos) << globs;
    const std::string icons = ReadAll(prefix_ / "share/mime/generic-icons");
    EXPECT_NE(icons.find("application/x-velmaris-52a:velmaris"), std::string::npos) << icons;
}

struct ManPage {
    const char* file;
    std::vector<std::string> mentions; // what the page must describe
};

class InstalledManPage : public InstallTree, public ::testing::WithParamInterface<ManPage> { };

TEST_P(InstalledManPage, RendersWithoutWarningsAndDescribesEverything)
{
    const fs::path page = prefix_ / "share/man/man1" / GetParam().file;
    ASSERT_TRUE(fs::is_regular_file(page)) << page;
    if (!HasProgram("groff") || !HasProgram("gzip"))
        GTEST_SKIP() << "groff is not installed";
    // -ww: every warning; -z: no output, only the diagnostics.
    const CommandRun check = RunCommand("gzip -dc " + Quote(page) + " | groff -man -ww -z");
    EXPECT_EQ(check.exitCode, 0) << check.output;
    EXPECT_EQ(check.output, "");
    const CommandRun text
        = RunCommand("gzip -dc " + Quote(page) + " | groff -man -rLL=2000n -rHY=0 -Tascii -P-cbou");
    ASSERT_EQ(text.exitCode, 0) << text.output;
    // Rendered on lines too long to break or hyphenate, every run of blanks as one.
    std::string words;
    for (const char c : text.output) {
        const bool blank = c == ' ' || c == '\n';
        if (!blank || (!words.empty() && words.back() != ' '))
            words += blank ? ' ' : c;
    }
    EXPECT_EQ(words.find("@PROJECT_VERSION@"), std::string::npos);
    EXPECT_NE(words.find(std::string("Velmaris ") + VELMARIS_VERSION), std::string::npos) << "in the footer";
    for (const std::string& mention : GetParam().mentions)
        EXPECT_NE(words.find(mention), std::string::npos) << GetParam().file << ": " << mention;
}

INSTANTIATE_TEST_SUITE_P(Pages, InstalledManPage,
    ::testing::Values(ManPage {"velmaris.1.gz",
                          {"--play", "--ini PATH", "--demo", "--gps", "--web", "--run-for", "--screenshot",
                              "--version", "Velmaris.INI", "XDG_CONFIG_HOME", "VELMARIS_HEAD_PORT",
                              "VELMARIS_UDP_PORT", "Export Targets..."}},
        ManPage {"velmaris-tool.1.gz",
            {"dump FILE", "export FILE --csv OUT", "render FILE --out PATH", "--animate", "replay FILE --to",
                "--loop", "synth OUT", "headsim", "--faults", "nmea FILE|DEVICE", "mosaic FILE --out",
                "--version"}}));

TEST_F(InstallTree, InstalledProgramsRun)
{
    for (const std::string program : {"velmaris", "velmaris-tool"}) {
        const CommandRun version = RunCommand(Quote(prefix_ / "bin" / program) + " --version");
        EXPECT_EQ(version.exitCode, 0) << version.output;
        EXPECT_EQ(version.output, program + " " + VELMARIS_VERSION + "\n");
    }
}

// The installed tool loads GDAL's module for charts from the installed
// library folder, not from this build (the loader names each file it opens).
TEST_F(InstallTree, InstalledToolLoadsItsInstalledModule)
{
#if VELMARIS_HAVE_GDAL
    const fs::path tool = prefix_ / "bin" / "velmaris-tool";
    const fs::path recording = prefix_ / "dive.52a";
    ASSERT_EQ(RunCommand(Quote(tool) + " synth " + Quote(recording) + " --pings 40 --track").exitCode, 0);
    const CommandRun run = RunCommand("LD_DEBUG=files " + Quote(tool) + " track " + Quote(recording)
        + " --out " + Quote(prefix_ / "t.geojson"));
    EXPECT_EQ(run.exitCode, 0) << run.output.substr(run.output.size() - 400);
    const std::size_t opened = run.output.find("/velmaris-gdal.so");
    ASSERT_NE(opened, std::string::npos);
    const std::size_t line = run.output.rfind('\n', opened) + 1;
    EXPECT_NE(run.output.substr(line, opened - line).find(prefix_.string()), std::string::npos)
        << run.output.substr(line, opened - line + 40);
#else
    GTEST_SKIP() << "this build has no GDAL module";
#endif
}

} // namespace
} // namespace velmaris
