#include "support/BoardSimProcess.h"

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zavuv::testing {

namespace {

// A safety net against a board that never announces itself.
constexpr int kStartTimeoutMs = 10'000;

std::string firstLine(int fd) {
    std::string line;
    char c = 0;
    pollfd waiting{fd, POLLIN, 0};
    while (poll(&waiting, 1, kStartTimeoutMs) == 1 && ::read(fd, &c, 1) == 1 && c != '\n')
        line += c;
    return line;
}

}  // namespace

BoardSimProcess::BoardSimProcess(const std::string& program, std::vector<std::string> arguments) {
    int out[2];
    int in[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return;
    if (pipe2(in, O_CLOEXEC) != 0) {
        ::close(out[0]);
        ::close(out[1]);
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    arguments.insert(arguments.begin(), {program, "--exit-on-stdin-close"});
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(in[0]);
    stdout_ = out[0];
    stdin_ = in[1];
    if (pid_ > 0)
        devicePath_ = firstLine(stdout_);
}

int BoardSimProcess::terminate() {
    if (pid_ <= 0)
        return -1;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

BoardSimProcess::~BoardSimProcess() {
    ::close(stdin_);
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    ::close(stdout_);
}

}  // namespace zavuv::testing
