#include "sim/boardsim/PtyServer.h"

#include <array>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <termios.h>
#include <unistd.h>

#include <fmt/format.h>

namespace zavuv::sim::boardsim {

namespace {

// While no program has the device open, the master side reports a hang-up at
// once; it is looked at again after this long instead of in a busy loop.
constexpr std::int64_t kAbsentHostRecheckUs = 20'000;
constexpr unsigned long kReplyTimerSlackNs = 1000;

struct SpeedName {
    speed_t speed;
    int baud;
};

constexpr SpeedName kSpeeds[] = {
    {B1200, 1200},     {B2400, 2400},     {B4800, 4800},     {B9600, 9600},
    {B19200, 19200},   {B38400, 38400},   {B57600, 57600},   {B115200, 115200},
    {B230400, 230400}, {B460800, 460800}, {B921600, 921600},
};

timespec timespecOfUs(std::int64_t us) {
    return {static_cast<time_t>(us / 1'000'000), static_cast<long>(us % 1'000'000) * 1000};
}

}  // namespace

std::unique_ptr<PtyServer> PtyServer::open(std::string& error) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master < 0) {
        error = fmt::format("cannot open a pseudo-terminal: {}", std::strerror(errno));
        return nullptr;
    }
    const char* slave = nullptr;
    if (grantpt(master) != 0 || unlockpt(master) != 0 || (slave = ptsname(master)) == nullptr) {
        error = fmt::format("cannot set up the pseudo-terminal: {}", std::strerror(errno));
        ::close(master);
        return nullptr;
    }
    return std::unique_ptr<PtyServer>(new PtyServer(master, slave));
}

PtyServer::~PtyServer() {
    if (master_ >= 0) {
        ::close(master_);
    }
}

int PtyServer::hostBaudRate() const {
    termios settings{};
    if (tcgetattr(master_, &settings) != 0) {
        return 0;
    }
    const speed_t speed = cfgetospeed(&settings);
    for (const SpeedName& known : kSpeeds) {
        if (known.speed == speed) {
            return known.baud;
        }
    }
    return 0;  // an unusual rate garbles everything, as it would on a real line
}

void PtyServer::sendDueReplies(BoardLine& line, std::int64_t nowUs) {
    std::array<std::uint8_t, 4096> due{};
    const std::size_t count = line.take(due, nowUs);
    unsent_.insert(unsent_.end(), due.begin(), due.begin() + static_cast<std::ptrdiff_t>(count));
    while (!unsent_.empty()) {
        const ssize_t written = ::write(master_, unsent_.data(), unsent_.size());
        if (written > 0) {
            unsent_.erase(unsent_.begin(), unsent_.begin() + written);
        } else if (written < 0 && (errno == EAGAIN || errno == EINTR)) {
            return;  // the host is slow to read; the rest goes later
        } else {
            unsent_.clear();  // nobody has the device open: the bytes are lost
        }
    }
}

ServeEnd PtyServer::serve(SimulatedBoard& board, const base::Clock& clock, int stopFd,
                          int watchFd) {
    // A reply is due at its microsecond; the default timer slack of 50 us would
    // let every one of thousands of replies come that much late.
#ifdef __linux__
    prctl(PR_SET_TIMERSLACK, kReplyTimerSlackNs);
#endif
    BoardLine& line = board.line();
    std::array<std::uint8_t, 4096> received{};
    bool hostAbsent = false;
    while (true) {
        const std::int64_t nowUs = clock.nowUs();
        sendDueReplies(line, nowUs);

        std::int64_t waitUs = -1;
        if (const auto nextUs = line.nextReplyUs()) {
            waitUs = std::max<std::int64_t>(*nextUs - nowUs, 0);
        }
        if (!unsent_.empty() || hostAbsent) {
            waitUs = waitUs < 0 ? kAbsentHostRecheckUs : std::min(waitUs, kAbsentHostRecheckUs);
        }
        std::array<pollfd, 3> fds{};
        nfds_t count = 0;
        fds[count++] = {stopFd, POLLIN, 0};
        const nfds_t masterSlot = hostAbsent ? 0 : count;
        if (!hostAbsent) {
            fds[count++] = {master_, POLLIN, 0};
        }
        const nfds_t watchSlot = watchFd >= 0 ? count : 0;
        if (watchFd >= 0) {
            fds[count++] = {watchFd, POLLIN, 0};
        }
        const timespec timeout = timespecOfUs(waitUs);
        const int ready = ppoll(fds.data(), count, waitUs < 0 ? nullptr : &timeout, nullptr);
        if (ready < 0 && errno != EINTR) {
            return ServeEnd::Failed;
        }
        hostAbsent = false;
        if ((fds[0].revents & POLLIN) != 0) {
            return ServeEnd::Stopped;
        }
        if (watchSlot != 0 && fds[watchSlot].revents != 0) {
            std::array<char, 256> ignored{};
            if (::read(watchFd, ignored.data(), ignored.size()) <= 0) {
                return ServeEnd::InputClosed;
            }
        }
        if (masterSlot == 0 || fds[masterSlot].revents == 0) {
            continue;
        }
        const ssize_t got = ::read(master_, received.data(), received.size());
        if (got > 0) {
            line.hostSends(std::span(received.data(), static_cast<std::size_t>(got)),
                           hostBaudRate(), clock.nowUs());
            if (line.hungUp()) {
                ::close(master_);  // the device vanishes, as an unplugged adapter does
                master_ = -1;
                return ServeEnd::HungUp;
            }
        } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
            // No program has the device open: what the board says is lost.
            hostAbsent = true;
            line.discardReplies();
            unsent_.clear();
        }
    }
}

}  // namespace zavuv::sim::boardsim
