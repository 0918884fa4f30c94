#include "cli/TerminalProgress.h"

#include <fmt/format.h>

#include "base/Console.h"

namespace zavuv::cli {

namespace {

constexpr int kBarWidth = 30;
}  // namespace

TerminalProgressDisplay::TerminalProgressDisplay(std::FILE* stream)
    : stream_(stream), enabled_(base::isConsole(stream)) {}

TerminalProgressDisplay::~TerminalProgressDisplay() {
    finishLine();
}

void TerminalProgressDisplay::showSetup(const std::string& title, const std::string& text) {
    finishLine();
    text_ = title.empty() ? text : title + ": " + text;
    percent_ = 0;
    percentText_.clear();
    estimate_.clear();
    draw();
}

void TerminalProgressDisplay::showPercent(int percent, const std::string& text) {
    percent_ = percent;
    percentText_ = text;
    draw();
}

void TerminalProgressDisplay::showEstimate(const std::string& timeLeft, const std::string& rate) {
    estimate_ = ", " + timeLeft + ", " + rate;
    draw();
}

void TerminalProgressDisplay::draw() {
    if (!enabled_)
        return;
    const int filled = percent_ * kBarWidth / 100;
    fmt::print(stream_, "\r{} [{}{}] {}{}\x1b[K", text_, std::string(filled, '#'),
               std::string(kBarWidth - filled, '.'), percentText_, estimate_);
    std::fflush(stream_);
    lineOpen_ = true;
}

void TerminalProgressDisplay::finishLine() {
    if (lineOpen_)
        std::fputc('\n', stream_);
    lineOpen_ = false;
}

}  // namespace zavuv::cli
