#pragma once
// The progress of long work on standard error: a bar with the percentage, the
// time left and the rate when standard error is a terminal, nothing otherwise. Ctrl-C
// asks the work to stop, so that the board session still ends cleanly.

#include <cstdio>
#include <string>
#include <vector>

#include "workspace/InlineProgressRunner.h"

namespace zavuv::cli {

class TerminalProgressDisplay final : public base::ProgressDisplay {
public:
    explicit TerminalProgressDisplay(std::FILE* stream);
    ~TerminalProgressDisplay() override;

    void showSetup(const std::string& title, const std::string& text) override;
    void showPercent(int percent, const std::string& text) override;
    void showEstimate(const std::string& timeLeft, const std::string& rate) override;

private:
    void finishLine();
    void draw();

    std::FILE* stream_;
    bool enabled_;
    bool lineOpen_ = false;
    std::string text_;
    int percent_ = 0;
    std::string percentText_;
    std::string estimate_;
};

// While it lives, SIGINT, SIGTERM and SIGHUP stop the work of every runner
// instead of ending the program, so that each board session still ends
// cleanly; a second signal ends it as usual.
class CancelOnInterrupt {
public:
    explicit CancelOnInterrupt(workspace::InlineProgressRunner& runner)
        : CancelOnInterrupt(std::vector<workspace::InlineProgressRunner*>{&runner}) {}
    explicit CancelOnInterrupt(const std::vector<workspace::InlineProgressRunner*>& runners);
    ~CancelOnInterrupt();
    CancelOnInterrupt(const CancelOnInterrupt&) = delete;
    CancelOnInterrupt& operator=(const CancelOnInterrupt&) = delete;
};

}  // namespace zavuv::cli
