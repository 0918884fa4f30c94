#include "link/TermiosPort.h"

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace zavuv::link {
namespace {

// The master side of a pseudo-terminal plays the board.
class PseudoTerminal {
public:
    PseudoTerminal() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0)
            slavePath_ = ptsname(master_);
    }
    ~PseudoTerminal() { hangUp(); }

    const std::string& slavePath() const { return slavePath_; }

    void send(std::string_view bytes) {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // What the host wrote, waiting up to a second for count bytes.
    std::string received(std::size_t count) {
        std::string bytes;
        while (bytes.size() < count) {
            pollfd waiting{master_, POLLIN, 0};
            if (poll(&waiting, 1, 1000) <= 0)
                break;
            char buffer[64];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0)
                break;
            bytes.append(buffer, static_cast<std::size_t>(n));
        }
        return bytes;
    }

    void hangUp() {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

private:
    int master_ = -1;
    std::string slavePath_;
};

class TermiosPortTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(pty.slavePath().empty()); }

    std::string readFromPort(std::size_t count, int timeoutMs) {
        std::string buffer(count, '\0');
        const std::size_t got =
            port.read(std::span(reinterpret_cast<std::uint8_t*>(buffer.data()), count), timeoutMs);
        buffer.resize(got);
        return buffer;
    }

    PseudoTerminal pty;
    TermiosPort port{pty.slavePath()};
};

TEST_F(TermiosPortTest, OpensAtTheBoardsBaudRatesAndRefusesOthers) {
    for (int baud : {19200, 115200, 921600}) {
        EXPECT_TRUE(port.open(baud)) << baud;
        EXPECT_TRUE(port.isOpen());
    }
    port.close();
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.open(12345));
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(TermiosPort("/dev/zavuv-no-such-port").open(19200));
}

TEST_F(TermiosPortTest, ASecondOpenIsRefusedWhileThePortIsHeld) {
    ASSERT_TRUE(port.open(19200));
    TermiosPort other(pty.slavePath());
    EXPECT_FALSE(other.open(19200));
    port.close();
    EXPECT_TRUE(other.open(19200));
}

// A terminal named as the port (-p /dev/tty) is given back as it was found.
TEST_F(TermiosPortTest, CloseRestoresTheSettingsAndReleasesTheHold) {
    const int observer = ::open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(observer, 0);
    termios before{};
    ASSERT_EQ(tcgetattr(observer, &before), 0);
    before.c_lflag |= ICANON | ECHO;
    cfsetispeed(&before, B38400);
    cfsetospeed(&before, B38400);
    ASSERT_EQ(tcsetattr(observer, TCSANOW, &before), 0);

    ASSERT_TRUE(port.open(115200));
    int exclusive = 0;
    ASSERT_EQ(ioctl(observer, TIOCGEXCL, &exclusive), 0);
    EXPECT_NE(exclusive, 0);
    port.close();

    termios after{};
    ASSERT_EQ(tcgetattr(observer, &after), 0);
    EXPECT_EQ(after.c_lflag & (ICANON | ECHO), before.c_lflag & (ICANON | ECHO));
    EXPECT_EQ(cfgetospeed(&after), B38400);
    ASSERT_EQ(ioctl(observer, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
    ::close(observer);
}

TEST_F(TermiosPortTest, CarriesBytesBothWaysUnchanged) {
    ASSERT_TRUE(port.open(19200));
    // Raw mode: CR, NUL, XON/XOFF and 0xFF pass as they are.
    const std::string toBoard("\x25\r\n\x00\x11\x13\xFF", 7);
    ASSERT_EQ(port.write(
                  std::span(reinterpret_cast<const std::uint8_t*>(toBoard.data()), toBoard.size())),
              7);
    EXPECT_TRUE(port.drain());
    EXPECT_EQ(pty.received(7), toBoard);

    const std::string toHost("+\r\n\x00\x11\x13\xFF", 7);
    pty.send(toHost);
    EXPECT_EQ(readFromPort(7, 2000), toHost);
}

TEST_F(TermiosPortTest, AReadEndsWithWhatCameWhenTheTimeOutPasses) {
    ASSERT_TRUE(port.open(19200));
    EXPECT_EQ(readFromPort(1, 20), "");
    pty.send("abc");
    EXPECT_EQ(readFromPort(10, 50), "abc");
}

TEST_F(TermiosPortTest, AHangUpEndsTheReadAtOnce) {
    ASSERT_TRUE(port.open(19200));
    pty.hangUp();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(readFromPort(1, 20000), "");
    EXPECT_EQ(readFromPort(1, 20000), "");
    // Far below one time-out: the read did not wait for it.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    const std::uint8_t sync = 0x25;
    EXPECT_EQ(port.write(std::span(&sync, 1)), -1);
}

}  // namespace
}  // namespace zavuv::link
