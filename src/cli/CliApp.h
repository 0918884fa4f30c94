#pragma once

namespace zavuv::cli {

// Exit codes of the command-line program.
enum ExitCode : int { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

int run(int argc, char** argv);

}  // namespace zavuv::cli
