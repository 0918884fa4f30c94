#pragma once
// The commands that work on the board. Each command file registers its
// sub-commands here with the function that runs them on a prepared workspace;
// the application runs the one that was parsed inside a session.

#include <functional>
#include <utility>
#include <vector>

#include <CLI/CLI.hpp>

#include "workspace/Workspace.h"

namespace zavuv::cli {

using BoardCommandRun = std::function<int(workspace::Workspace&)>;

class BoardCommandList {
public:
    void add(CLI::App* command, BoardCommandRun run) {
        commands_.emplace_back(command, std::move(run));
    }
    // The run of the parsed command, or nullptr.
    const BoardCommandRun* parsed() const {
        for (const auto& [command, run] : commands_)
            if (command->parsed())
                return &run;
        return nullptr;
    }

private:
    std::vector<std::pair<CLI::App*, BoardCommandRun>> commands_;
};

}  // namespace zavuv::cli
