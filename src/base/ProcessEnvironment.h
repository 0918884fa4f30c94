#pragma once
// What the running program learns from the system it runs on: its own folder,
// its arguments and its environment, all as UTF-8 (on Windows the narrow
// forms are in the ANSI code page and lose every other character).

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zavuv::base {

// The folder of the running executable; empty when the system does not tell.
std::filesystem::path programFolder();

// The command line's arguments, the program's name first. POSIX passes main's
// own; Windows reads the wide command line, which main's `argv` is not.
std::vector<std::string> programArguments(int argc, char** argv);

std::optional<std::string> environmentValue(const char* name);

}  // namespace zavuv::base
