#include "cli/GangRun.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <set>
#include <thread>

#include "base/StopSignals.h"
#include "base/Utf8Path.h"
#include "cli/BoardJob.h"
#include "cli/CliApp.h"
#include "cli/CliSession.h"
#include "cli/GangConsole.h"
#include "cli/JsonReport.h"
#include "cli/RunTranscript.h"
#include "cli/TerminalProgress.h"
#include "operations/ProductionRun.h"
#include "text/UiText.h"
#include "workspace/BoardPorts.h"
#include "workspace/ProfileStore.h"

namespace zavuv::cli {

namespace {

// Everything one board has to itself: nothing here is shared between threads.
struct Board {
    CliOptions options;
    workspace::ProfileStore profile{workspace::defaultProfileLocation()};
    std::unique_ptr<GangBoardPort> console;
    std::unique_ptr<RunTranscript> transcript;
    std::unique_ptr<CliSession> session;
    std::unique_ptr<GangProgressDisplay> display;
    std::unique_ptr<workspace::InlineProgressRunner> runner;
    CommandArguments arguments;
    Json data;
    BoardOutcome outcome;
};

bool isSimulated(const std::string& port) {
    return port == workspace::kSimulatedPortName;
}

// The COM slot, else the device path, else simN.
std::vector<std::string> boardLabels(const std::vector<std::string>& ports) {
    std::vector<std::string> labels;
    int simulated = 0;
    for (const std::string& port : ports) {
        if (isSimulated(port))
            labels.push_back("sim" + std::to_string(++simulated));
        else if (const auto com = comNumber(port))
            labels.push_back("COM" + std::to_string(*com));
        else
            labels.push_back(port);
    }
    return labels;
}

void usageMessage(const std::string& text) {
    std::cerr << "message: " << text << '\n';
}

}  // namespace

int runGang(const GangRequest& request) {
    const CliOptions& options = request.options;
    const std::vector<std::string> labels = boardLabels(options.ports);
    std::set<std::string> seen;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (!seen.insert(labels[i]).second) {
            usageMessage(text::formatUiText(text::Msg::GangPortTwice, options.ports[i]));
            return kExitUsage;
        }
    }

    GangConsole console(options.json ? std::cerr : std::cout, std::cerr, stderr, labels);
    std::vector<std::unique_ptr<Board>> boards;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        auto board = std::make_unique<Board>();
        board->options = options;
        board->options.port = options.ports[i];
        board->options.portLabel = labels[i];
        // Each simulated board keeps its chip in a folder of its own.
        // (and its wire trace in a file of its own: FILE.sim1, FILE.sim2).
        if (isSimulated(options.ports[i]) && !options.simState.empty())
            board->options.simState = base::utf8Name(base::utf8Path(options.simState) / labels[i]);
        if (isSimulated(options.ports[i]) && !options.simTrace.empty())
            board->options.simTrace = options.simTrace + "." + labels[i];
        board->console = std::make_unique<GangBoardPort>(console, i, options.answer);
        board->transcript = std::make_unique<RunTranscript>(*board->console);
        board->session =
            std::make_unique<CliSession>(board->options, *board->transcript, board->profile);
        if (const auto failed = board->session->prepare())
            return board->session->finish(*failed);
        board->display = std::make_unique<GangProgressDisplay>(console, i);
        board->runner = std::make_unique<workspace::InlineProgressRunner>(*board->display);
        board->session->workspace().setProgressRunner(*board->runner);
        board->arguments = request.arguments;
        board->arguments.data = options.json ? &board->data : nullptr;
        boards.push_back(std::move(board));
    }

    const std::optional<operations::ProductionLog> log =
        productionLogOf(options, *boards.front()->session);
    if (log && !operations::productionLogUsable(*log, *boards.front()->transcript)) {
        for (auto& board : boards)
            board->session->finish(kExitUsage);
        return kExitUsage;
    }

    std::vector<base::ProgressRunner*> runners;
    for (auto& board : boards)
        runners.push_back(board->runner.get());
    {
        const base::StopOnSignals signals(runners);
        std::vector<std::thread> threads;
        for (std::size_t i = 0; i < boards.size(); ++i) {
            threads.emplace_back([&, i] {
                Board& board = *boards[i];
                board.outcome = runBoardJob(*board.session, request.command, board.arguments,
                                            *board.transcript, log ? &*log : nullptr);
                board.outcome.exitCode = board.session->finish(board.outcome.exitCode);
                console.progress(i, -1);
            });
        }
        for (std::thread& thread : threads)
            thread.join();
    }

    int succeeded = 0;
    for (std::size_t i = 0; i < boards.size(); ++i) {
        const Board& board = *boards[i];
        if (board.outcome.exitCode == kExitOk) {
            ++succeeded;
            console.statusLine(i, text::GetUiText(text::Msg::GangBoardOk));
        } else {
            console.statusLine(i, text::formatUiText(text::Msg::GangBoardFailed,
                                                     board.transcript->failureReason()));
        }
    }
    const int failed = static_cast<int>(boards.size()) - succeeded;
    console.gangLine(text::formatUiText(text::Msg::GangSummary, succeeded, failed));

    if (options.json) {
        for (const auto& board : boards) {
            CommandReport report{.command = request.commandName,
                                 .port = board->options.portLabel,
                                 .exitCode = board->outcome.exitCode,
                                 .transcript = board->transcript.get(),
                                 .durationSeconds = board->outcome.unit.durationSeconds,
                                 .facts = unitFactsJson(board->outcome.unit),
                                 .data = board->data};
            printJsonLine(std::cout, reportJson(report));
        }
    }
    return failed == 0 ? kExitOk : kExitFailed;
}

}  // namespace zavuv::cli
