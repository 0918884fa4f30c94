#include "cli/CliApp.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <system_error>

#include <CLI/CLI.hpp>

#include "base/Console.h"
#include "base/ProcessEnvironment.h"

#include "cli/AutoProgramCommand.h"
#include "cli/BoardCommands.h"
#include "cli/ChipCommands.h"
#include "cli/CliOptions.h"
#include "cli/ConsoleUserPort.h"
#include "cli/ConvertCommand.h"
#include "cli/DevicesCommand.h"
#include "cli/GangRun.h"
#include "cli/JsonReport.h"
#include "cli/MemoryCommands.h"
#include "cli/PortsCommand.h"
#include "cli/ProjectCommand.h"
#include "cli/RunTranscript.h"
#include "cli/SingleBoardRun.h"
#include "link/PortDetection.h"
#include "text/UiText.h"
#include "workspace/PortList.h"
#include "workspace/Preferences.h"
#include "workspace/ProfileStore.h"

namespace zavuv::cli {

namespace {

void addGlobalOptions(CLI::App& app, CliOptions& o) {
    app.add_option("-p,--port", o.ports,
                   "COM number 1..12, a device path, or sim; repeated or comma-separated: "
                   "several boards at once")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->delimiter(',');
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
    app.add_option("--log", o.log,
                   "append one CSV line per board and run to this production log "
                   "(default: the project's [Production] Log)");
    app.add_flag("--json", o.json,
                 "print one JSON object per board at the end; status lines go to standard error");
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
        for (const FlagOption& flag : entry.flags)
            command->add_flag_callback(
                flag.names,
                [arguments = result.arguments,
                 name = flag.names.substr(flag.names.rfind(',') + 1)] {
                    arguments->flags.insert(name);
                },
                flag.help);
        for (const ValueOption& value : entry.values)
            command->add_option_function<std::string>(
                value.name,
                [arguments = result.arguments, name = value.name](const std::string& given) {
                    arguments->values[name] = given;
                },
                value.help);
        if (entry.repeatable)
            // Alone it means "manual": the next unit after Enter.
            command
                ->add_option("--repeat", result.arguments->repeat,
                             "program unit after unit: the next after Enter (q ends); "
                             "--repeat=auto: when the next chip answers")
                ->expected(0, 1)
                ->default_str("manual")
                ->check(CLI::IsMember({"manual", "auto"}));
        result.offered.emplace_back(command, &entry);
    }
    return result;
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
    base::prepareConsole();
    CLI::App app{"zavuv-cli: the command-line front end of the ZAVUV in-system programmer"};
    app.require_subcommand(1);
    CliOptions options;
    addGlobalOptions(app, options);

    auto* devices = app.add_subcommand("devices", "the device table, one line per record");
    bool aliases = false;
    devices->add_flag("--aliases", aliases, "the other names of the chips: alias, table name");

    auto* ports = app.add_subcommand(
        "ports", "COM1..COM12 with their devices, then the other serial devices found");

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

    // UTF-8, whatever the system's own code page: file names keep every letter.
    std::vector<std::string> commandLine = base::programArguments(argc, argv);
    std::vector<char*> argumentPointers;
    for (std::string& argument : commandLine)
        argumentPointers.push_back(argument.data());
    try {
        app.parse(static_cast<int>(argumentPointers.size()), argumentPointers.data());
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
    // With --json standard output holds only the JSON: the status lines go to
    // standard error with the messages.
    ConsoleUserPort console(options.json ? std::cerr : std::cout, std::cerr, std::cin,
                            base::isConsole(stdin), options.answer);
    RunTranscript transcript(console);
    CommandReport report;
    report.transcript = &transcript;
    const auto started = std::chrono::steady_clock::now();
    const auto finished = [&](int exitCode) {
        if (options.json) {
            report.exitCode = exitCode;
            report.durationSeconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
            printJsonLine(std::cout, reportJson(report));
        }
        return checkStandardOutput(exitCode, console);
    };

    if (devices->parsed()) {
        report.command = "devices";
        if (options.json)
            report.data = aliases ? deviceAliasesJson() : deviceTableJson();
        else if (aliases)
            printDeviceAliases(std::cout);
        else
            printDeviceTable(std::cout);
        return finished(kExitOk);
    }
    if (ports->parsed()) {
        report.command = "ports";
        const auto list = workspace::listPorts(preferences, link::detectSerialPorts());
        if (options.json)
            report.data = portsJson(list);
        else
            printPorts(list, std::cout);
        return finished(kExitOk);
    }
    if (convertCmd->parsed()) {
        report.command = "convert";
        if (convert.output == "-")
            convert.output = "/dev/stdout";
        if (!base::namesStandardOutput(convert.output))
            return finished(convertFile(convert, transcript));
        // The data goes to standard output: the status lines must not mix with it.
        ConsoleUserPort statusToErr(std::cerr, std::cerr, std::cin, base::isConsole(stdin),
                                    options.answer);
        return finished(convertFile(convert, statusToErr));
    }
    if (projectShow->parsed()) {
        report.command = "project show";
        return finished(
            showProject(projectFile, transcript, std::cout, options.json ? &report.data : nullptr));
    }

    const BoardCommandEntry* parsed = boardCommand.parsed();
    if (!parsed)
        return kExitUsage;
    const std::string commandName =
        parsed->parent.empty() ? parsed->name : parsed->parent + " " + parsed->name;
    report.command = commandName;
    CommandArguments& arguments = *boardCommand.arguments;
    if (options.ports.size() > 1) {
        if (!parsed->gang || !arguments.repeat.empty()) {
            transcript.showMessage(
                text::formatUiText(text::Msg::GangCommandRefused, arguments.repeat.empty()
                                                                      ? commandName
                                                                      : commandName + " --repeat"),
                base::MessageIcon::Error, text::GetUiText(text::Msg::ProgrammerCaption));
            return finished(kExitUsage);
        }
        return checkStandardOutput(runGang({options, *parsed, arguments, commandName}), console);
    }
    if (!options.ports.empty())
        options.port = options.ports.front();
    return checkStandardOutput(runSingleBoard({.options = options,
                                               .command = *parsed,
                                               .arguments = arguments,
                                               .commandName = commandName,
                                               .transcript = transcript,
                                               .console = console,
                                               .in = std::cin,
                                               .profile = profile}),
                               console);
}

}  // namespace zavuv::cli
