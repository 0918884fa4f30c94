#include "cli/TerminalProgress.h"

#include <csignal>

#include <unistd.h>

#include <fmt/format.h>

namespace zavuv::cli {

namespace {

constexpr int kBarWidth = 30;
workspace::InlineProgressRunner* gInterruptTarget = nullptr;  // only touched by the handler below

extern "C" void onInterrupt(int) {
    if (gInterruptTarget)
        gInterruptTarget->requestCancel();
    std::signal(SIGINT, SIG_DFL);
}

}  // namespace

TerminalProgressDisplay::TerminalProgressDisplay(std::FILE* stream)
    : stream_(stream), enabled_(isatty(fileno(stream)) != 0) {}

TerminalProgressDisplay::~TerminalProgressDisplay() {
    finishLine();
}

void TerminalProgressDisplay::showSetup(const std::string& title, const std::string& text) {
    finishLine();
    text_ = title.empty() ? text : title + ": " + text;
    start_ = std::chrono::steady_clock::now();
    showPercent(0, "");
}

void TerminalProgressDisplay::showPercent(int percent, const std::string& text) {
    if (!enabled_)
        return;
    const int filled = percent * kBarWidth / 100;
    std::string remaining;
    if (percent > 0 && percent < 100) {
        const auto elapsed = std::chrono::steady_clock::now() - start_;
        const auto left =
            std::chrono::duration_cast<std::chrono::seconds>(elapsed * (100 - percent) / percent);
        remaining = fmt::format(" {}:{:02} left", left.count() / 60, left.count() % 60);
    }
    fmt::print(stream_, "\r{} [{}{}] {}{}\x1b[K", text_, std::string(filled, '#'),
               std::string(kBarWidth - filled, '.'), text, remaining);
    std::fflush(stream_);
    lineOpen_ = true;
}

void TerminalProgressDisplay::finishLine() {
    if (lineOpen_)
        std::fputc('\n', stream_);
    lineOpen_ = false;
}

CancelOnInterrupt::CancelOnInterrupt(workspace::InlineProgressRunner& runner) {
    gInterruptTarget = &runner;
    std::signal(SIGINT, onInterrupt);
}

CancelOnInterrupt::~CancelOnInterrupt() {
    std::signal(SIGINT, SIG_DFL);
    gInterruptTarget = nullptr;
}

}  // namespace zavuv::cli
