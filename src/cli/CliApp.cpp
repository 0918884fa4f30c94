#include "cli/CliApp.h"

#include <iostream>

#include <CLI/CLI.hpp>

#include "cli/DevicesCommand.h"

namespace zavuv::cli {

int run(int argc, char** argv) {
    CLI::App app{"zavuv-cli: the command-line front end of the ZAVUV in-system programmer"};
    app.require_subcommand(1);

    auto* devices = app.add_subcommand("devices", "the device table, one line per record");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int rc = app.exit(e);
        return rc == 0 ? kExitOk : kExitUsage;
    }

    if (devices->parsed()) {
        printDeviceTable(std::cout);
        return kExitOk;
    }
    return kExitUsage;
}

} // namespace zavuv::cli
