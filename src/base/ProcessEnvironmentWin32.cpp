#ifdef _WIN32

#include "base/ProcessEnvironment.h"

#include <cstdlib>
#include <memory>

#include <windows.h>

#include <shellapi.h>

#include "base/Utf8Path.h"

namespace zavuv::base {

std::filesystem::path programFolder() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0)
            return {};
        if (length < name.size()) {
            name.resize(length);
            return std::filesystem::path(name).parent_path();
        }
        name.resize(name.size() * 2);
    }
}

std::vector<std::string> programArguments(int argc, char** argv) {
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&LocalFree)> wide(
        CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
    if (!wide)
        return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(utf8Name(std::filesystem::path(wide.get()[i])));
    return arguments;
}

std::optional<std::string> environmentValue(const char* name) {
    const std::wstring wideName = utf8Path(name).wstring();
    const wchar_t* value = _wgetenv(wideName.c_str());
    return value ? std::optional<std::string>(utf8Name(std::filesystem::path(value)))
                 : std::nullopt;
}

}  // namespace zavuv::base

#endif
