#pragma once
// A COM port through the Win32 communications calls.

#ifdef _WIN32

#include <string>

#include "link/SerialPort.h"

namespace zavuv::link {

class Win32Port : public SerialPort {
public:
    // device: "COM3", or a name in the device namespace ("\\.\COM13",
    // "\\.\CNCA0"); any COM number opens, COM10 and above included.
    explicit Win32Port(std::string device);
    ~Win32Port() override;
    Win32Port(const Win32Port&) = delete;
    Win32Port& operator=(const Win32Port&) = delete;

    bool open(int baudRate) override;
    void close() override;
    bool isOpen() const override;
    bool drain() override;
    long write(std::span<const std::uint8_t> bytes) override;
    std::size_t read(std::span<std::uint8_t> into, int timeoutMs) override;

private:
    bool setReadTimeout(int timeoutMs);
    // After a line error (framing, parity, overrun) the port refuses every
    // transfer until the error is cleared; true when there was one.
    bool clearLineError();

    std::string device_;
    void* handle_;  // HANDLE; INVALID_HANDLE_VALUE when closed
    int readTimeoutMs_ = 0;
};

}  // namespace zavuv::link

#endif
