#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include "support/BoardSimProcess.h"
#include "support/ScratchFolder.h"

namespace zavuv::sim {
namespace {

using zavuv::testing::BoardSimProcess;

// The long default is a safety net against hangs only.
bool waitReadable(int fd, int timeoutMs = 10'000) {
    pollfd poller{fd, POLLIN, 0};
    return poll(&poller, 1, timeoutMs) == 1;
}

std::string exchange(int fd, const std::string& command, std::size_t replyLength,
                     int silenceMs = 10'000) {
    EXPECT_EQ(::write(fd, command.data(), command.size()), static_cast<ssize_t>(command.size()));
    std::string reply;
    while (reply.size() < replyLength && waitReadable(fd, silenceMs)) {
        char buffer[64];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        reply.append(buffer, static_cast<std::size_t>(got));
    }
    return reply;
}

int openRawPort(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    termios settings{};
    EXPECT_EQ(tcgetattr(fd, &settings), 0);
    cfmakeraw(&settings);
    cfsetispeed(&settings, B19200);
    cfsetospeed(&settings, B19200);
    EXPECT_EQ(tcsetattr(fd, TCSANOW, &settings), 0);
    return fd;
}

TEST(BoardSimProcessTest, ServesTheBoardOnAPseudoTerminal) {
    zavuv::testing::ScratchFolder folder;
    BoardSimProcess process(ZAVUV_BOARDSIM_PATH, {"--sim-chip", "ATmega16", "--sim-state",
                                                  folder.path().string(), "--line-rate"});
    const std::string path = process.devicePath();
    ASSERT_EQ(path.rfind("/dev/", 0), 0u) << path;
    const int fd = openRawPort(path);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(exchange(fd, "%", 1), "+");
    EXPECT_EQ(exchange(fd, "@", 3), "109");
    ::close(fd);
    EXPECT_EQ(process.terminate(), 0);
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "chip.ini"));
}

TEST(BoardSimProcessTest, HostAtAnotherBaudRateGetsNoAnswer) {
    BoardSimProcess process(ZAVUV_BOARDSIM_PATH, {});
    const int fd = openRawPort(process.devicePath());
    termios settings{};
    tcgetattr(fd, &settings);
    cfsetispeed(&settings, B115200);
    cfsetospeed(&settings, B115200);
    tcsetattr(fd, TCSANOW, &settings);
    EXPECT_NE(exchange(fd, "%", 1, 500), "+");
    ::close(fd);
    EXPECT_EQ(process.terminate(), 0);
}

TEST(BoardSimProcessTest, BadOptionsEndWithAMessage) {
    BoardSimProcess process(ZAVUV_BOARDSIM_PATH, {"--sim-fault", "melt"});
    EXPECT_EQ(process.devicePath(), "");
    EXPECT_EQ(process.terminate(), 2);
}

}  // namespace
}  // namespace zavuv::sim
