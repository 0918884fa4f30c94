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

#include "TemporaryFolder.h"

namespace zavuv::sim {
namespace {

// zavuv-boardsim in a child process, its stdin a pipe that closes with the test.
class BoardSimProcess {
public:
    explicit BoardSimProcess(std::vector<std::string> arguments) {
        int out[2];
        int in[2];
        if (pipe(out) != 0 || pipe(in) != 0) {
            ADD_FAILURE() << "pipe";
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        posix_spawn_file_actions_addclose(&actions, in[1]);
        arguments.insert(arguments.begin(), {ZAVUV_BOARDSIM_PATH, "--exit-on-stdin-close"});
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, ZAVUV_BOARDSIM_PATH, &actions, nullptr, argv.data(), environ) != 0) {
            ADD_FAILURE() << "cannot start " << ZAVUV_BOARDSIM_PATH;
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        ::close(in[0]);
        stdout_ = out[0];
        stdin_ = in[1];
    }

    ~BoardSimProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        ::close(stdout_);
        ::close(stdin_);
    }

    // The first line of standard output: the device path.
    std::string devicePath() {
        std::string line;
        char c = 0;
        while (waitReadable(stdout_) && ::read(stdout_, &c, 1) == 1 && c != '\n') {
            line += c;
        }
        return line;
    }

    // Sends SIGTERM and returns the exit status.
    int terminate() {
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // The long default is a safety net against hangs only.
    static bool waitReadable(int fd, int timeoutMs = 10'000) {
        pollfd poller{fd, POLLIN, 0};
        return poll(&poller, 1, timeoutMs) == 1;
    }

private:
    pid_t pid_ = -1;
    int stdout_ = -1;
    int stdin_ = -1;
};

std::string exchange(int fd, const std::string& command, std::size_t replyLength,
                     int silenceMs = 10'000) {
    EXPECT_EQ(::write(fd, command.data(), command.size()), static_cast<ssize_t>(command.size()));
    std::string reply;
    while (reply.size() < replyLength && BoardSimProcess::waitReadable(fd, silenceMs)) {
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
    testing::TemporaryFolder folder;
    BoardSimProcess process(
        {"--sim-chip", "ATmega16", "--sim-state", folder.path().string(), "--line-rate"});
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
    BoardSimProcess process({});
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
    BoardSimProcess process({"--sim-fault", "melt"});
    EXPECT_EQ(process.devicePath(), "");
    EXPECT_EQ(process.terminate(), 2);
}

}  // namespace
}  // namespace zavuv::sim
