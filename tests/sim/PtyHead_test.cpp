#include "sim/PtyHead.h"

#include "SimTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <termios.h>
#include <unistd.h>

namespace velmaris::sim {
namespace {

using test::Bytes;
using test::CommandBytes;
using test::ReadFor;

int OpenDevice(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0) {
        termios tio {};
        ::tcgetattr(fd, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(fd, TCSANOW, &tio);
    }
    return fd;
}

std::filesystem::path TempDir()
{
    char pattern[] = "/tmp/velmaris-pty-XXXXXX";
    return ::mkdtemp(pattern);
}

TEST(PtyHead, AnswersThroughTheLinkAndRemovesItOnStop)
{
    const std::filesystem::path dir = TempDir();
    const std::string link = (dir / "sonar").string();
    PtyHeadOptions options;
    options.linkPath = link;
    options.fast = true;
    PtyHead head(options);
    std::string error;
    ASSERT_TRUE(head.Start(&error)) << error;
    EXPECT_EQ(head.DevicePath().rfind("/dev/pts/", 0), 0u);
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), head.DevicePath());

    const int fd = OpenDevice(link);
    ASSERT_GE(fd, 0);
    Bytes bad = CommandBytes();
    bad[CommandMessage::kTerminator] = 0x7E;
    ASSERT_EQ(::write(fd, bad.data(), bad.size()), 27);
    EXPECT_TRUE(ReadFor(fd, 1, 150).empty());
    const Bytes command = CommandBytes(10, 60, 120, 3, 25);
    ASSERT_EQ(::write(fd, command.data(), command.size()), 27);
    const Bytes reply = ReadFor(fd, 265, 1000);
    ASSERT_EQ(reply.size(), 265u);
    EXPECT_EQ(std::string(reply.begin(), reply.begin() + 3), "IMX");
    ::close(fd);

    head.Stop();
    EXPECT_EQ(head.Pings(), 1u);
    EXPECT_EQ(head.Malformed(), 1u);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
    std::filesystem::remove_all(dir);
}

TEST(PtyHead, PacesRepliesAndInjectsFaults)
{
    PtyHeadOptions options;
    options.faults = *FaultPlan::Parse("drop=2,garbage=3", nullptr);
    PtyHead head(options); // not fast: ping time plus the line time
    std::string error;
    ASSERT_TRUE(head.Start(&error)) << error;
    const int fd = OpenDevice(head.DevicePath());
    ASSERT_GE(fd, 0);
    const Bytes command = CommandBytes(30); // 40 ms + 513 / 11.52 ms = 84.5 ms
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(::write(fd, command.data(), 27), 27);
    ASSERT_EQ(ReadFor(fd, 513, 1000).size(), 513u);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(80));
    ASSERT_EQ(::write(fd, command.data(), 27), 27);
    EXPECT_TRUE(ReadFor(fd, 1, 200).empty()); // dropped
    ASSERT_EQ(::write(fd, command.data(), 27), 27);
    const Bytes garbled = ReadFor(fd, 513, 1000);
    ASSERT_EQ(garbled.size(), 513u);
    EXPECT_NE(std::string(garbled.begin(), garbled.begin() + 3), "IGX");
    ::close(fd);
}

TEST(PtyHead, WillNotReplaceARegularFile)
{
    const std::filesystem::path dir = TempDir();
    const std::string path = (dir / "precious").string();
    std::ofstream(path) << "keep me";
    PtyHeadOptions options;
    options.linkPath = path;
    PtyHead head(options);
    std::string error;
    EXPECT_FALSE(head.Start(&error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(std::filesystem::is_regular_file(path));
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace velmaris::sim
