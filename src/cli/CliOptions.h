#pragma once
// The options every zavuv-cli command shares.

#include <optional>
#include <string>
#include <vector>

namespace zavuv::cli {

struct CliOptions {
    std::vector<std::string> ports;  // -p as given: several boards make a gang
    std::string port;  // this board's: COM number 1..12, a device path, or "sim"; empty: profile
    std::optional<int> baud;     // 0 = 19200, 1 = 115200, 2 = 921600; empty: profile
    std::string project;         // project file
    std::string device;          // device table name, overrides the project's
    std::string language;        // "en" or "ru"; empty: profile
    std::optional<bool> answer;  // --yes / --no
    std::string simChip;
    std::string simState;
    std::string simTrace;
    std::vector<std::string> simFaults;
    std::string portLabel;  // the board's name in a gang ("sim2"); empty: from the port
    bool json = false;
    std::string log;  // the production log; empty: the project's, if it names one  // one JSON
                      // object per board on standard output at the end
};

}  // namespace zavuv::cli
