#include "cli/CliApp.h"

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>

#include "cli/AutoProgramCommand.h"
#include "cli/BoardCommands.h"
#include "cli/ChipCommands.h"
#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "cli/ConsoleUserPort.h"
#include "cli/ConvertCommand.h"
#include "cli/DevicesCommand.h"
#include "cli/MemoryCommands.h"
#include "cli/ProjectCommand.h"
#include "cli/TerminalProgress.h"
#include "text/UiText.h"
#include "workspace/Preferences.h"
#include "workspace/ProfileStore.h"

namespace zavuv::cli {

namespace {

void addGlobalOptions(CLI::App& app, CliOptions& o) {
    app.add_option("-p,--port", o.port, "COM number 1..12, a device path, or sim");
    app.add_option("-b,--baud", o.baud, "0 = 19200, 1 = 115200, 2 = 921600")
        ->check(CLI::Range(0, 2));
    app.add_option("-P,--project", o.project, "take device and options from this project file");
    app.add_option("-d,--device", o.device, "device by its table name or an alias");
    app.add_option("--lang", o.language, "language of all texts")
        ->check(CLI::IsMember({"en", "ru"}));
    auto* yes = app.add_flag_callback(
        "-y,--yes", [&o] { o.answer = true; }, "answer every question Yes");
    auto* no = app.add_flag_callback(
        "-n,--no", [&o] { o.answer = false; }, "answer every question No");
    yes->excludes(no);
    app.add_option("--sim-chip", o.simChip, "simulated chip (port sim)");
    app.add_option("--sim-state", o.simState, "simulator state folder (port sim)");
    app.add_option("--sim-trace", o.simTrace, "simulator wire trace file (port sim)");
    app.add_option("--sim-fault", o.simFaults, "simulator fault (port sim), repeatable");
}

// The board commands as subcommands; which one was parsed and its arguments.
struct ParsedBoardCommand {
    const BoardCommandEntry* parsed() const {
        for (const auto& [command, entry] : offered)
            if (command->parsed())
                return entry;
        return nullptr;
    }

    // Where the command line puts the arguments: it keeps their address.
    std::shared_ptr<CommandArguments> arguments = std::make_shared<CommandArguments>();
    std::vector<std::pair<CLI::App*, const BoardCommandEntry*>> offered;
};

ParsedBoardCommand offerBoardCommands(CLI::App& app, const BoardCommandCatalog& catalog) {
    ParsedBoardCommand result;
    std::map<std::string, CLI::App*> groups;
    for (const BoardCommandEntry& entry : catalog.entries()) {
        CLI::App& parent = entry.parent.empty() ? app : *groups.at(entry.parent);
        CLI::App* command = parent.add_subcommand(entry.name, entry.description);
        if (entry.group) {
            command->require_subcommand(1);
            groups[entry.name] = command;
            continue;
        }
        if (!entry.fileName.empty()) {
            CLI::Option* file =
                command->add_option(entry.fileName, result.arguments->file, entry.fileHelp);
            if (entry.fileRequired)
                file->required();
        }
        if (!entry.flagName.empty())
            command->add_flag(entry.flagName, result.arguments->flag, entry.flagHelp);
        for (const ValueOption& value : entry.values)
            command->add_option_function<std::string>(
                value.name,
                [arguments = result.arguments, name = value.name](const std::string& given) {
                    arguments->values[name] = given;
                },
                value.help);
        result.offered.emplace_back(command, &entry);
    }
    return result;
}

// Whether the path is this process's standard output, under any name
// (/dev/stdout, /dev/fd/1, the file or pipe it was redirected to).
bool namesStandardOutput(const std::string& path) {
    struct stat named, out;
    return ::stat(path.c_str(), &named) == 0 && ::fstat(STDOUT_FILENO, &out) == 0 &&
           named.st_dev == out.st_dev && named.st_ino == out.st_ino;
}

// What went to standard output must have arrived: `devices > /dev/full` is a
// failure too.
int checkStandardOutput(int exitCode, base::UserPort& port) {
    errno = 0;
    std::cout.flush();
    if (std::cout && std::fflush(stdout) == 0)
        return exitCode;
    const int error = errno != 0 ? errno : EIO;
    port.showMessage(
        text::formatUiText(text::Msg::CannotWriteOutput, std::generic_category().message(error)),
        base::MessageIcon::Error, text::GetUiText(text::Msg::ProgrammerCaption));
    return exitCode == kExitOk ? kExitUsage : exitCode;
}

}  // namespace

int run(int argc, char** argv) {
    CLI::App app{"zavuv-cli: the command-line front end of the ZAVUV in-system programmer"};
    app.require_subcommand(1);
    CliOptions options;
    addGlobalOptions(app, options);

    auto* devices = app.add_subcommand("devices", "the device table, one line per record");
    bool aliases = false;
    devices->add_flag("--aliases", aliases, "the other names of the chips: alias, table name");

    ConvertRequest convert;
    auto* convertCmd = app.add_subcommand(
        "convert", "load IN as the buffer's Load does, save as OUT as Save As does");
    convertCmd->add_option("IN", convert.input, "file to load")->required();
    convertCmd->add_option("OUT", convert.output, "file to save")->required();
    convertCmd->add_flag("--eeprom", convert.eeprom, "use the EEPROM buffer");
    convertCmd->add_option("--load-at", convert.loadAt,
                           "merge FILE@ADDRESS after loading IN (decimal or 0x hex), repeatable");

    BoardCommandCatalog catalog;
    addBoardCommands(catalog);
    addChipCommands(catalog);
    addMemoryCommands(catalog);
    addAutoProgramCommand(catalog);
    const ParsedBoardCommand boardCommand = offerBoardCommands(app, catalog);

    std::string projectFile;
    auto* project = app.add_subcommand("project", "project files");
    project->require_subcommand(1);
    auto* projectShow = project->add_subcommand(
        "show", "the loaded project, one Section/Key=value line per key, in file order");
    projectShow->add_option("FILE", projectFile, "project file")->required();

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int rc = app.exit(e);
        return rc == 0 ? kExitOk : kExitUsage;
    }

    workspace::ProfileStore profile(workspace::defaultProfileLocation());
    const workspace::Preferences preferences(profile);
    if (options.language.empty())
        text::setLanguage(preferences.language());
    else
        text::setLanguage(options.language == "ru" ? text::Language::Russian
                                                   : text::Language::English);
    ConsoleUserPort port(std::cout, std::cerr, std::cin, isatty(STDIN_FILENO) != 0, options.answer);
    const int exitCode = [&]() -> int {
        if (devices->parsed()) {
            if (aliases)
                printDeviceAliases(std::cout);
            else
                printDeviceTable(std::cout);
            return kExitOk;
        }
        if (convertCmd->parsed()) {
            if (convert.output == "-")
                convert.output = "/dev/stdout";
            if (!namesStandardOutput(convert.output))
                return convertFile(convert, port);
            // The data goes to standard output: the status lines must not mix with it.
            ConsoleUserPort statusToErr(std::cerr, std::cerr, std::cin, isatty(STDIN_FILENO) != 0,
                                        options.answer);
            return convertFile(convert, statusToErr);
        }
        if (projectShow->parsed())
            return showProject(projectFile, port, std::cout);

        const BoardCommandEntry* parsed = boardCommand.parsed();
        if (!parsed)
            return kExitUsage;
        CliSession session(options, port, profile);
        if (const auto failed = session.prepare())
            return session.finish(*failed);
        TerminalProgressDisplay progressDisplay(stderr);
        workspace::InlineProgressRunner progress(progressDisplay);
        session.workspace().setProgressRunner(progress);
        const CancelOnInterrupt interrupt(progress);
        return session.finish(parsed->run(session.workspace(), *boardCommand.arguments));
    }();
    return checkStandardOutput(exitCode, port);
}

}  // namespace zavuv::cli
