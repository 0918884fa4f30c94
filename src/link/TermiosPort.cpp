#ifndef _WIN32

#include "link/TermiosPort.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

#ifdef __linux__
#include <linux/serial.h>
#endif

namespace zavuv::link {

namespace {

// A write that cannot go out in this time has met a dead line.
constexpr int kWriteTimeoutMs = 2800;

bool speedOf(int baudRate, speed_t& speed) {
    switch (baudRate) {
    case 9600:
        speed = B9600;
        return true;
    case 19200:
        speed = B19200;
        return true;
    case 38400:
        speed = B38400;
        return true;
    case 57600:
        speed = B57600;
        return true;
    case 115200:
        speed = B115200;
        return true;
    case 230400:
        speed = B230400;
        return true;
#ifdef B921600
    case 921600:
        speed = B921600;
        return true;
#endif
    default:
        return false;
    }
}

// Milliseconds left until the deadline, never below 0.
int remainingMs(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Without these the USB adapter holds every reply for its latency timer
// (16 ms by default), and this stop-and-wait protocol would wait that long on
// each one. Ports that are no USB adapters refuse it; that is fine.
void requestLowLatency([[maybe_unused]] int fd) {
#ifdef __linux__
    serial_struct serial{};
    if (ioctl(fd, TIOCGSERIAL, &serial) == 0) {
        serial.flags |= ASYNC_LOW_LATENCY;
        ioctl(fd, TIOCSSERIAL, &serial);
    }
#endif
}

}  // namespace

TermiosPort::TermiosPort(std::string devicePath) : path_(std::move(devicePath)) {}

TermiosPort::~TermiosPort() {
    close();
}

bool TermiosPort::open(int baudRate) {
    close();
    // O_NONBLOCK: the open must not wait for a carrier; poll() paces every
    // read and write afterwards.
    fd_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0)
        return false;
    // TIOCEXCL keeps other openers out; flock also covers programs running as
    // root, which TIOCEXCL lets through.
    if (ioctl(fd_, TIOCEXCL) != 0 || flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        close();
        return false;
    }
    // Only now is the port ours: the close gives back what this open found (a
    // terminal named with -p stays usable, at its own speed and modes).
    termios previous{};
    if (tcgetattr(fd_, &previous) == 0)
        previous_ = previous;
    owned_ = true;
    if (!configure(baudRate)) {
        close();
        return false;
    }
    return true;
}

bool TermiosPort::configure(int baudRate) {
    speed_t speed;
    termios settings{};
    if (!speedOf(baudRate, speed) || tcgetattr(fd_, &settings) != 0)
        return false;
    cfmakeraw(&settings);
    settings.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    settings.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    if (cfsetispeed(&settings, speed) != 0 || cfsetospeed(&settings, speed) != 0 ||
        tcsetattr(fd_, TCSANOW, &settings) != 0)
        return false;
    // Nothing from before this open belongs to the exchange that starts now.
    tcflush(fd_, TCIOFLUSH);
    // The board's reset and power lines must not follow DTR and RTS.
    // Pseudo-terminals have no modem lines and refuse the request.
    const int lines = TIOCM_DTR | TIOCM_RTS;
    ioctl(fd_, TIOCMBIC, &lines);
    requestLowLatency(fd_);
    return true;
}

void TermiosPort::close() {
    if (fd_ < 0)
        return;
    // A port another process holds keeps its hold and its settings.
    if (owned_) {
        if (previous_)
            tcsetattr(fd_, TCSANOW, &*previous_);
        ioctl(fd_, TIOCNXCL);
    }
    ::close(fd_);  // also releases the flock
    fd_ = -1;
    owned_ = false;
    previous_.reset();
}

bool TermiosPort::drain() {
    return fd_ >= 0 && tcdrain(fd_) == 0;
}

long TermiosPort::write(std::span<const std::uint8_t> bytes) {
    if (fd_ < 0)
        return -1;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kWriteTimeoutMs);
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + written, bytes.size() - written);
        if (n > 0) {
            written += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            return written > 0 ? static_cast<long>(written) : -1;
        pollfd waiting{fd_, POLLOUT, 0};
        const int left = remainingMs(deadline);
        if (left == 0 || poll(&waiting, 1, left) <= 0 || (waiting.revents & POLLOUT) == 0)
            break;
    }
    return static_cast<long>(written);
}

std::size_t TermiosPort::read(std::span<std::uint8_t> into, int timeoutMs) {
    if (fd_ < 0)
        return 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::size_t received = 0;
    while (received < into.size()) {
        pollfd waiting{fd_, POLLIN, 0};
        const int ready = poll(&waiting, 1, remainingMs(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;  // time-out or a failed poll
        if ((waiting.revents & POLLIN) == 0)
            break;  // hang-up or error without data
        const ssize_t n = ::read(fd_, into.data() + received, into.size() - received);
        if (n > 0) {
            received += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        // 0 after a readiness report is end of file; EIO and ENXIO are an
        // unplugged adapter or a closed pseudo-terminal master.
        break;
    }
    return received;
}

}  // namespace zavuv::link

#endif
