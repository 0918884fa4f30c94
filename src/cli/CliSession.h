#pragma once
// The workspace of one zavuv-cli run, set up from the shared options: the
// profile's board settings, then -p/-b, the project (-P), the device (-d) and
// the simulated board's options.

#include <optional>

#include "cli/CliOptions.h"
#include "workspace/Workspace.h"

namespace zavuv::cli {

// 1..12 for a COM number, nothing for anything else.
std::optional<int> comNumber(const std::string& text);

class CliSession {
public:
    CliSession(const CliOptions& options, base::UserPort& user, workspace::ProfileStore& profile);
    ~CliSession();

    // Applies the options; an exit code when they cannot be used (reported).
    std::optional<int> prepare();
    workspace::Workspace& workspace() { return workspace_; }
    // Where the run went: "COM3" for a COM slot, else the device path or "sim"
    // (the gang numbers its simulated boards); nothing when no board was chosen.
    std::optional<std::string> portLabel() const;

    // Writes the simulated chip's state back; kExitUsage when that failed.
    int finish(int exitCode);

private:
    std::optional<int> usageError(const std::string& text);

    const CliOptions& options_;
    base::UserPort& user_;
    workspace::Workspace workspace_;
};

}  // namespace zavuv::cli
