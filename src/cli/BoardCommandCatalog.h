#pragma once
// The commands that work on the board, as data: each command file adds its
// commands here with the function that runs them on a prepared workspace; the
// command line (CliApp.cpp, the one file that knows the command-line library)
// offers them and runs the one that was parsed.

#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "cli/JsonReport.h"
#include "workspace/Workspace.h"

namespace zavuv::cli {

// What the command line gathered for the command.
struct CommandArguments {
    std::string file;  // its file argument
    // Its flags that were given, by their long name ("--erase").
    std::set<std::string> flags;
    std::string repeat;  // --repeat: "manual" or "auto"; empty without it
    // Where a command that produces data puts it as structured data (--json);
    // nullptr without --json.
    Json* data = nullptr;
    // Its value options that were given, by option name ("--low" -> "0xE2").
    std::map<std::string, std::string> values;

    bool has(const std::string& flag) const { return flags.contains(flag); }
};

// The flag of the commands that may program bits which lock the chip out.
inline const std::string kForceLockout = "--force-lockout";

// A flag: its names for the command line ("-e,--erase"), the last one long.
struct FlagOption {
    std::string names;
    std::string help;
};

// An option that takes a value ("--low BYTE").
struct ValueOption {
    std::string name;
    std::string help;
};

using BoardCommandRun = std::function<int(workspace::Workspace&, const CommandArguments&)>;

struct BoardCommandEntry {
    std::string parent{};  // the group it belongs under ("fuses"); empty: top level
    std::string name{};
    std::string description{};
    // A group has no run of its own: one of its commands must follow it.
    bool group = false;
    // The file argument ("FILE", "OUT"); none when empty.
    std::string fileName{};
    std::string fileHelp{};
    bool fileRequired = false;
    std::vector<FlagOption> flags{};
    std::vector<ValueOption> values{};
    // It works on the chip and may run on several boards at once.
    bool gang = false;
    // It takes --repeat[=auto]: unit after unit until the operator ends it.
    bool repeatable = false;
    BoardCommandRun run{};
};

class BoardCommandCatalog {
public:
    // In the order the help lists them; a group before its commands.
    void add(BoardCommandEntry entry) { entries_.push_back(std::move(entry)); }
    const std::vector<BoardCommandEntry>& entries() const { return entries_; }

private:
    std::vector<BoardCommandEntry> entries_;
};

}  // namespace zavuv::cli
