#include "support/AvrToolchain.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace zavuv::testing {

namespace fs = std::filesystem;

std::string findProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path != nullptr ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const fs::path candidate = fs::path(folder.empty() ? "." : folder) / name;
        std::error_code error;
        if (fs::is_regular_file(candidate, error) &&
            (fs::status(candidate, error).permissions() & fs::perms::owner_exec) != fs::perms::none)
            return candidate.string();
    }
    return {};
}

ProgramResult runTool(const std::string& name, const std::vector<std::string>& arguments) {
    const std::string program = findProgram(name);
    if (program.empty())
        return {127, {}, name + ": not found on PATH"};
    return runProgram(program, arguments);
}

std::string missingAvrToolchain() {
    std::string missing;
    const auto note = [&](const std::string& package) {
        missing += (missing.empty() ? "" : ", ") + package;
    };
    if (findProgram("avr-gcc").empty())
        note("gcc-avr");
    if (findProgram("avr-objcopy").empty())
        note("binutils-avr");
    // avr-libc's headers (Debian's place, then other systems'): avr-gcc alone
    // cannot build a program.
    if (!fs::exists("/usr/lib/avr/include/avr/io.h") && !fs::exists("/usr/avr/include/avr/io.h"))
        note("avr-libc");
    return missing.empty()
               ? std::string{}
               : "the AVR tool chain is not installed (Debian packages: " + missing + ")";
}

ProgramResult buildAvrProgram(const std::string& source, const std::string& mcu,
                              const std::string& elf, const std::vector<std::string>& extra) {
    const std::string sourcePath = elf + ".c";
    std::ofstream(sourcePath, std::ios::binary) << source;
    std::vector<std::string> arguments = {"-mmcu=" + mcu, "-Os", "-o", elf, sourcePath};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return runTool("avr-gcc", arguments);
}

}  // namespace zavuv::testing
