#include "support/ChildProcess.h"

#include "protocol/CommandMessage.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

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
