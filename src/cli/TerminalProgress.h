#pragma once
// The progress of long work on standard error: a bar with the percentage, the
// time left and the rate when standard error is a terminal, nothing otherwise.

#include <cstdio>
#include <string>

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

}  // namespace zavuv::cli
