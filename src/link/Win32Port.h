#pragma once
// A COM port through the Win32 communications calls.

#ifdef _WIN32

#include "link/SerialPort.h"

namespace zavuv::link {

class Win32Port : public SerialPort {
public:
    // comNumber 1 = COM1. COM10 and above are opened by their own names too.
    explicit Win32Port(int comNumber);
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

    int comNumber_;
    void* handle_;  // HANDLE; INVALID_HANDLE_VALUE when closed
    int readTimeoutMs_ = 0;
};

}  // namespace zavuv::link

#endif
