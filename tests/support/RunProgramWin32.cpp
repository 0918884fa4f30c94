#ifdef _WIN32

#include "support/RunProgram.h"

#include <thread>

#include <windows.h>

#include "base/Utf8Path.h"
#include "support/TextLines.h"

namespace zavuv::testing {

namespace {

std::wstring wide(const std::string& utf8) {
    return base::utf8Path(utf8).wstring();
}

// One argument as the C runtime's command-line parser reads it back.
std::wstring quoted(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos)
        return argument;
    std::wstring text = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        text.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        text += c;
    }
    text.append(backslashes * 2, L'\\');
    return text + L"\"";
}

// This process's environment with the given entries added or replaced, as the
// block CreateProcessW takes: "NAME=value\0...\0\0".
std::wstring environmentBlock(const std::vector<std::string>& added) {
    std::vector<std::wstring> entries;
    wchar_t* own = GetEnvironmentStringsW();
    for (const wchar_t* e = own; *e; e += wcslen(e) + 1) {
        const std::wstring entry = e;
        const std::wstring name = entry.substr(0, entry.find(L'=', 1) + 1);
        bool replaced = false;
        for (const std::string& a : added)
            replaced = replaced || wide(a).rfind(name, 0) == 0;
        if (!replaced)
            entries.push_back(entry);
    }
    FreeEnvironmentStringsW(own);
    for (const std::string& a : added)
        entries.push_back(wide(a));
    std::wstring block;
    for (const std::wstring& entry : entries)
        block += entry + L'\0';
    return block + L'\0';
}

std::string readToEnd(HANDLE pipe) {
    std::string text;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(pipe, chunk, sizeof chunk, &got, nullptr) && got > 0)
        text.append(chunk, got);
    return text;
}

}  // namespace

StartedProgram startProgram(const std::string& program, const std::vector<std::string>& arguments,
                            const std::vector<std::string>& environment) {
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE outRead, outWrite, errRead, errWrite;
    if (!CreatePipe(&outRead, &outWrite, &inherited, 0))
        return {};
    if (!CreatePipe(&errRead, &errWrite, &inherited, 0)) {
        CloseHandle(outRead);
        CloseHandle(outWrite);
        return {};
    }
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    HANDLE nul = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                             OPEN_EXISTING, 0, nullptr);

    std::wstring commandLine = quoted(wide(program));
    for (const std::string& a : arguments)
        commandLine += L" " + quoted(wide(a));
    std::wstring block = environmentBlock(environment);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    PROCESS_INFORMATION process{};
    const bool started =
        CreateProcessW(wide(program).c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                       CREATE_UNICODE_ENVIRONMENT, block.data(), nullptr, &startup, &process);
    CloseHandle(nul);
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    if (!started) {
        CloseHandle(outRead);
        CloseHandle(errRead);
        return {};
    }
    CloseHandle(process.hThread);
    return {reinterpret_cast<std::intptr_t>(process.hProcess),
            reinterpret_cast<std::intptr_t>(outRead), reinterpret_cast<std::intptr_t>(errRead)};
}

ProgramResult collectProgram(const StartedProgram& started) {
    ProgramResult result;
    if (started.pid == -1)
        return result;
    const auto process = reinterpret_cast<HANDLE>(started.pid);
    const auto out = reinterpret_cast<HANDLE>(started.outFd);
    const auto err = reinterpret_cast<HANDLE>(started.errFd);
    // Both pipes are drained at once, so that a full one never blocks the program.
    std::thread errors([&] { result.err = unixLineEnds(readToEnd(err)); });
    result.out = unixLineEnds(readToEnd(out));
    errors.join();
    WaitForSingleObject(process, INFINITE);
    DWORD code = 0;
    result.exitCode = GetExitCodeProcess(process, &code) ? static_cast<int>(code) : -1;
    CloseHandle(out);
    CloseHandle(err);
    CloseHandle(process);
    return result;
}

}  // namespace zavuv::testing

#endif
