#ifdef _WIN32

#include "link/Win32Port.h"

#include <string>
#include <string_view>

#include <windows.h>

#include <timeapi.h>

#include "base/Utf8Path.h"

namespace zavuv::link {

namespace {

constexpr DWORD kQueueBytes = 1500;
constexpr DWORD kDefaultTimeoutMs = 2800;
// The protocol's pauses are a few milliseconds; the system's default timer
// period (15.6 ms) would stretch every one of them.
constexpr UINT kTimerPeriodMs = 1;
constexpr std::string_view kDeviceNamespace = "\\\\.\\";

std::string deviceNamespaceName(const std::string& device) {
    return device.starts_with(kDeviceNamespace) ? device : std::string(kDeviceNamespace) + device;
}

}  // namespace

Win32Port::Win32Port(std::string device)
    : device_(std::move(device)), handle_(INVALID_HANDLE_VALUE) {}

Win32Port::~Win32Port() {
    close();
}

bool Win32Port::isOpen() const {
    return handle_ != INVALID_HANDLE_VALUE;
}

bool Win32Port::open(int baudRate) {
    close();
    // The device namespace prefix is what lets COM10 and above open by name.
    const std::wstring name = base::utf8Path(deviceNamespaceName(device_)).wstring();
    HANDLE handle = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0 /* exclusive */,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    handle_ = handle;
    timeBeginPeriod(kTimerPeriodMs);

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
        close();
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
    timeEndPeriod(kTimerPeriodMs);
}

bool Win32Port::clearLineError() {
    DWORD errors = 0;
    return ClearCommError(static_cast<HANDLE>(handle_), &errors, nullptr) && errors != 0;
}

bool Win32Port::drain() {
    return isOpen() && FlushFileBuffers(static_cast<HANDLE>(handle_)) != 0;
}

long Win32Port::write(std::span<const std::uint8_t> bytes) {
    if (!isOpen())
        return -1;
    const auto attempt = [&](DWORD& written) {
        return WriteFile(static_cast<HANDLE>(handle_), bytes.data(),
                         static_cast<DWORD>(bytes.size()), &written, nullptr) != 0;
    };
    DWORD written = 0;
    // One retry after a line error cleared: the error belongs to the bytes
    // before, not to these.
    if (!attempt(written) && !(clearLineError() && attempt(written)))
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
    const auto attempt = [&](DWORD& got) {
        return ReadFile(static_cast<HANDLE>(handle_), into.data(), static_cast<DWORD>(into.size()),
                        &got, nullptr) != 0;
    };
    DWORD got = 0;
    // After a line error the garbled bytes are dropped with the error, and
    // the read goes on: the protocol's own checks see what is missing.
    if (!attempt(got) && !(clearLineError() && attempt(got)))
        return 0;
    return got;
}

}  // namespace zavuv::link

#endif
