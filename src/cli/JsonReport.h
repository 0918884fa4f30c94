#pragma once
// --json: at its end a command prints one JSON object per board on standard
// output, one line each: what it was, where it ran, how it ended, what it said
// and the data it produced.

#include <optional>
#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/RunTranscript.h"

namespace zavuv::cli {

using Json = nlohmann::ordered_json;

struct CommandReport {
    std::string command{};              // "autoprogram", "fuses read"
    std::optional<std::string> port{};  // "COM3", a device path, "sim1"; none off the board
    int exitCode = 0;
    const RunTranscript* transcript = nullptr;
    double durationSeconds = 0;
    Json facts = Json::object();  // what the run learnt about the unit (serial number, checksums)
    Json data{};                  // the command's structured data; null when it has none
};

Json reportJson(const CommandReport& report);

// One object on one line.
void printJsonLine(std::ostream& out, const Json& object);

}  // namespace zavuv::cli
