#pragma once
// The command line: a project to open, and a switch that runs the automatic
// sequence without showing the window.

#include <span>
#include <string>
#include <string_view>

namespace zavuv::workspace {

struct CommandLine {
    std::string projectPath;  // empty: none named
    std::string switchText;
};

// Windows hands a program its command line unsplit. The program name comes
// first (in double quotes, or up to the first space) and one separator
// character after it. A project path in double quotes may be followed, after
// one more character of any kind, by the switch text: the rest of the line. An
// unquoted remainder is the path as a whole, spaces included, with no switch.
CommandLine parseRawCommandLine(std::string_view line);

// POSIX systems split the line before the program sees it: the first argument
// (after the program name) is the project path, the rest, joined by single
// spaces, the switch text.
CommandLine commandLineFromArguments(std::span<const std::string> arguments);

// Exactly "-autoprogram": letter case and any extra character count.
bool isAutoProgramSwitch(std::string_view switchText);

}  // namespace zavuv::workspace
