#include "support/ChildProcess.h"

#include "protocol/CommandMessage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace velmaris::tool {
namespace {

using test::ToolProcess;

TEST(HeadsimCommand, RefusesNonLoopbackAddresses)
{
    if (!std::filesystem::exists(test::ToolPath()))
        GTEST_SKIP() << "velmaris-tool is not built";
    for (const char* option : {"--tcp", "--udp"}) {
        ToolProcess tool({"headsim", option, "192.168.0.5:4040"});
        ASSERT_TRUE(tool.Started());
        EXPECT_EQ(tool.Wait(), 2) << option;
        EXPECT_NE(
            tool.ReadAllErrors().find("refusing non-loopback address '192.168.0.5'"), std::string::npos);
    }
}

// Bad command lines end at once with exit code 2 and say what was wrong;
// nothing is started.
TEST(HeadsimCommand, RejectsBadArgumentsBeforeStarting)
{
    if (!std::filesystem::exists(test::ToolPath()))
        GTEST_SKIP() << "velmaris-tool is not built";
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"--tcp"}, "--tcp needs a value"},
        {{"--rate", "0"}, "--rate must be 1 to 1000 per second"},
        {{"--rate", "10x"}, "--rate must be 1 to 1000 per second"},
        {{"--seed", "-1"}, "--seed must be a whole number"},
        {{"--mode", "fan"}, "--mode must be sector, polar or sidescan"},
        {{"--range", "201"}, "--range must be 1 to 200 metres"},
        {{"--step"}, "--step needs a value"},
        {{"--bogus"}, "unexpected argument '--bogus'"},
        {{"stray"}, "unexpected argument 'stray'"},
        {{"--faults", "nonsense=1"}, "unknown fault 'nonsense'"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args {"headsim"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        ToolProcess tool(args);
        ASSERT_TRUE(tool.Started());
        EXPECT_EQ(tool.Wait(), 2) << c.args[0];
        const std::string errors = tool.ReadAllErrors();
        EXPECT_NE(errors.find(std::string("velmaris-tool headsim: ") + c.message), std::string::npos)
            << c.args[0] << ": " << errors;
    }

    ToolProcess help({"headsim", "--fast", "-h"});
    ASSERT_TRUE(help.Started());
    EXPECT_FALSE(help.ReadLineWith("usage: velmaris-tool headsim", 2000).empty());
    EXPECT_EQ(help.Wait(), 0);
}

// "--pty" takes a link path only when one follows.
TEST(HeadsimCommand, PtyLinkIsOptional)
{
    if (!std::filesystem::exists(test::ToolPath()))
        GTEST_SKIP() << "velmaris-tool is not built";
    const std::filesystem::path link
        = std::filesystem::temp_directory_path() / ("velmaris-headsim-" + std::to_string(::getpid()));
    std::filesystem::remove(link);
    for (const bool linked : {false, true}) {
        std::vector<std::string> args {"headsim", "--pty"};
        if (linked)
            args.push_back(link.string());
        args.push_back("--fast");
        ToolProcess tool(args);
        ASSERT_TRUE(tool.Started());
        const std::string banner = tool.ReadLineWith("K52A head on /dev/pts/", 3000);
        ASSERT_FALSE(banner.empty()) << tool.ReadAllErrors();
        EXPECT_EQ(banner.find("(link ") != std::string::npos, linked) << banner;
        EXPECT_EQ(std::filesystem::is_symlink(link), linked);
        tool.Signal(SIGINT);
        EXPECT_EQ(tool.Wait(), 0);
        EXPECT_FALSE(std::filesystem::is_symlink(link)); // removed on the way out
    }
}

TEST(HeadsimCommand, ServesTcpAndEndsCleanlyOnSigterm)
{
    if (!std::filesystem::exists(test::ToolPath()))
        GTEST_SKIP() << "velmaris-tool is not built";
    ToolProcess tool({"headsim", "--tcp", "127.0.0.1:0", "--fast", "--log", "--seed", "5"});
    ASSERT_TRUE(tool.Started());
    const std::string banner = tool.ReadLineWith("listening on 127.0.0.1:", 3000);
    ASSERT_FALSE(banner.empty()) << tool.ReadAllErrors();
    const int port = std::stoi(banner.substr(banner.rfind(':') + 1));

    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sa {};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<std::uint16_t>(port));
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa), 0);
    const std::uint8_t command[27] = {0xFE, 0x44, 0x10, 0x1E, 0, 0, 0x43, 0, 0x14, 1, 0x14, 0x3C, 0x78, 3,
        0x0A, 0, 0, 0, 0, 0x32, 8, 0, 0, 0, 0, 0xA5, 0xFD};
    ASSERT_EQ(::send(fd, command, sizeof command, 0), 27);
    std::size_t got = 0;
    std::uint8_t reply[513];
    while (got < sizeof reply) {
        const ssize_t n = ::recv(fd, reply + got, sizeof reply - got, 0);
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    EXPECT_EQ(got, 513u);
    EXPECT_FALSE(tool.ReadLineWith("tcp ping 1 IGX", 2000).empty());
    ::close(fd);

    tool.Signal(SIGTERM);
    EXPECT_FALSE(tool.ReadLineWith("stopped (SIGTERM)", 2000).empty());
    EXPECT_EQ(tool.Wait(), 0);
}

} // namespace
} // namespace velmaris::tool
