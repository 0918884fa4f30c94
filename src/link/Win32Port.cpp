#ifdef _WIN32

#include "link/Win32Port.h"

#include <string>

#include <windows.h>

namespace zavuv::link {

namespace {

constexpr DWORD kQueueBytes = 1500;
constexpr DWORD kDefaultTimeoutMs = 2800;

}  // namespace

Win32Port::Win32Port(int comNumber) : comNumber_(comNumber), handle_(INVALID_HANDLE_VALUE) {}

Win32Port::~Win32Port() {
    close();
}

bool Win32Port::isOpen() const {
    return handle_ != INVALID_HANDLE_VALUE;
}

bool Win32Port::open(int baudRate) {
    close();
    // The device namespace prefix is what lets COM10 and above open by name.
    const std::string name = "\\\\.\\COM" + std::to_string(comNumber_);
    HANDLE handle = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0 /* exclusive */,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    handle_ = handle;

    SetCommMask(handle, EV_RXCHAR);
    SetupComm(handle, kQueueBytes, kQueueBytes);
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = kDefaultTimeoutMs;
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = kDefaultTimeoutMs;
    SetCommTimeouts(handle, &timeouts);
    readTimeoutMs_ = static_cast<int>(kDefaultTimeoutMs);

    DCB dcb{};
    dcb.DCBlength = sizeof(dcb);
    GetCommState(handle, &dcb);
    dcb.BaudRate = static_cast<DWORD>(baudRate);
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.fParity = FALSE;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = TRUE;
    dcb.XonChar = 0x00;
    dcb.XoffChar = static_cast<char>(0xFF);
    dcb.XonLim = 128;
    dcb.XoffLim = 128;
    if (!SetCommState(handle, &dcb)) {
        CloseHandle(handle);
        handle_ = INVALID_HANDLE_VALUE;
        return false;
    }
    return true;
}

void Win32Port::close() {
    if (!isOpen())
        return;
    SetCommMask(static_cast<HANDLE>(handle_), 0);
    CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = INVALID_HANDLE_VALUE;
}

bool Win32Port::drain() {
    return isOpen() && FlushFileBuffers(static_cast<HANDLE>(handle_)) != 0;
}

long Win32Port::write(std::span<const std::uint8_t> bytes) {
    if (!isOpen())
        return -1;
    DWORD written = 0;
    if (!WriteFile(static_cast<HANDLE>(handle_), bytes.data(), static_cast<DWORD>(bytes.size()),
                   &written, nullptr))
        return -1;
    return static_cast<long>(written);
}

bool Win32Port::setReadTimeout(int timeoutMs) {
    if (timeoutMs == readTimeoutMs_)
        return true;
    COMMTIMEOUTS timeouts{};
    if (!GetCommTimeouts(static_cast<HANDLE>(handle_), &timeouts))
        return false;
    timeouts.ReadTotalTimeoutConstant = static_cast<DWORD>(timeoutMs);
    if (!SetCommTimeouts(static_cast<HANDLE>(handle_), &timeouts))
        return false;
    readTimeoutMs_ = timeoutMs;
    return true;
}

std::size_t Win32Port::read(std::span<std::uint8_t> into, int timeoutMs) {
    if (!isOpen() || !setReadTimeout(timeoutMs))
        return 0;
    DWORD got = 0;
    if (!ReadFile(static_cast<HANDLE>(handle_), into.data(), static_cast<DWORD>(into.size()), &got,
                  nullptr))
        return 0;
    return got;
}

}  // namespace zavuv::link

#endif
