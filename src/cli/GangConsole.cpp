#include "cli/GangConsole.h"

#include <fmt/format.h>

#include "base/Console.h"

#include "cli/RunTranscript.h"

namespace zavuv::cli {

GangConsole::GangConsole(std::ostream& status, std::ostream& err, std::FILE* progress,
                         std::vector<std::string> labels)
    : status_(status), err_(err), progressStream_(progress), terminal_(base::isConsole(progress)),
      labels_(std::move(labels)), percent_(labels_.size(), -1) {}

GangConsole::~GangConsole() {
    std::lock_guard lock(mutex_);
    clearProgress();
}

std::string GangConsole::prefixed(std::size_t board, const std::string& text) const {
    const std::string prefix = "[" + labels_[board] + "] ";
    std::string line = prefix;
    for (const char c : text) {
        line += c;
        if (c == '\n')
            line += prefix;
    }
    return line;
}

void GangConsole::statusLine(std::size_t board, const std::string& text) {
    const std::string line = prefixed(board, text);
    std::lock_guard lock(mutex_);
    print(status_, line);
}

void GangConsole::errorLine(std::size_t board, const std::string& text) {
    const std::string line = prefixed(board, text);
    std::lock_guard lock(mutex_);
    print(err_, line);
}

void GangConsole::gangLine(const std::string& text) {
    std::lock_guard lock(mutex_);
    print(status_, text);
}

void GangConsole::progress(std::size_t board, int percent) {
    if (!terminal_)
        return;
    std::lock_guard lock(mutex_);
    percent_[board] = percent;
    drawProgress();
}

void GangConsole::print(std::ostream& stream, const std::string& text) {
    clearProgress();
    // One insertion per line: the stream never sees half a line of two boards.
    stream << (text + '\n') << std::flush;
    drawProgress();
}

void GangConsole::clearProgress() {
    if (!progressShown_)
        return;
    std::fputs("\r\x1b[K", progressStream_);
    std::fflush(progressStream_);
    progressShown_ = false;
}

void GangConsole::drawProgress() {
    if (!terminal_)
        return;
    std::string line;
    for (std::size_t i = 0; i < labels_.size(); ++i)
        if (percent_[i] >= 0)
            line += fmt::format("{}[{}] {:3}%", line.empty() ? "" : "  ", labels_[i], percent_[i]);
    if (line.empty())
        return;
    fmt::print(progressStream_, "\r{}\x1b[K", line);
    std::fflush(progressStream_);
    progressShown_ = true;
}

base::Answer GangBoardPort::ask(const std::string& text, base::QuestionButtons buttons,
                                base::MessageIcon, base::Answer, const std::string&) {
    console_.errorLine(board_, "question: " + text);
    const bool yesNo = buttons == base::QuestionButtons::YesNo;
    const base::Answer answer = answer_ ? (yesNo ? base::Answer::Yes : base::Answer::Ok)
                                        : (yesNo ? base::Answer::No : base::Answer::Cancel);
    console_.errorLine(board_, std::string("answer: ") + answerWord(answer));
    return answer;
}

}  // namespace zavuv::cli
