#pragma once
// A serial device on a POSIX system: a real port, a USB adapter or a
// pseudo-terminal. Raw 8N1 without flow control, opened exclusively; closed
// with its previous settings back and its exclusive hold released.

#ifndef _WIN32

#include <optional>
#include <string>

#include <termios.h>

#include "link/SerialPort.h"

namespace zavuv::link {

class TermiosPort : public SerialPort {
public:
    explicit TermiosPort(std::string devicePath);
    ~TermiosPort() override;
    TermiosPort(const TermiosPort&) = delete;
    TermiosPort& operator=(const TermiosPort&) = delete;

    const std::string& devicePath() const { return path_; }

    // 19200, 115200 and 921600 baud, among the other standard rates.
    bool open(int baudRate) override;
    void close() override;
    bool isOpen() const override { return fd_ >= 0; }
    std::optional<PortPermissionDenied> permissionDenied() const override {
        return portPermissionDenied(path_);
    }
    bool drain() override;
    long write(std::span<const std::uint8_t> bytes) override;
    // Waits until into is full or timeoutMs have passed, like the Windows port
    // with its total read time-out; a hang-up or I/O error ends it at once.
    std::size_t read(std::span<std::uint8_t> into, int timeoutMs) override;

private:
    bool configure(int baudRate);

    std::string path_;
    int fd_ = -1;
    bool owned_ = false;  // the exclusive hold and the flock are this open's
    std::optional<termios> previous_;
};

}  // namespace zavuv::link

#endif
