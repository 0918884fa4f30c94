#ifdef _WIN32

#include "base/Console.h"

#include <io.h>
#include <windows.h>

#include "base/Utf8Path.h"

namespace zavuv::base {

namespace {

HANDLE handleOf(std::FILE* stream) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
}

}  // namespace

bool isConsole(std::FILE* stream) {
    DWORD mode = 0;
    return GetConsoleMode(handleOf(stream), &mode) != 0;
}

// The C library's inode numbers are all 0 on Windows: the volume and the
// file index tell files apart.
bool namesStandardOutput(const std::string& path) {
    BY_HANDLE_FILE_INFORMATION out{}, named{};
    if (!GetFileInformationByHandle(GetStdHandle(STD_OUTPUT_HANDLE), &out))
        return false;
    const HANDLE file = CreateFileW(utf8Path(path).c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool known = GetFileInformationByHandle(file, &named) != 0;
    CloseHandle(file);
    return known && named.dwVolumeSerialNumber == out.dwVolumeSerialNumber &&
           named.nFileIndexHigh == out.nFileIndexHigh && named.nFileIndexLow == out.nFileIndexLow;
}

void prepareConsole() {
    SetConsoleOutputCP(CP_UTF8);
    for (std::FILE* stream : {stdout, stderr}) {
        DWORD mode = 0;
        if (GetConsoleMode(handleOf(stream), &mode))
            SetConsoleMode(handleOf(stream), mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    }
}

}  // namespace zavuv::base

#endif
