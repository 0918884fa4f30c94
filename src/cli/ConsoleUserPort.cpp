#include "cli/ConsoleUserPort.h"

#include <cctype>
#include <string>

#include "cli/RunTranscript.h"

namespace zavuv::cli {

ConsoleUserPort::ConsoleUserPort(std::ostream& out, std::ostream& err, std::istream& in,
                                 bool interactive, std::optional<bool> fixedAnswer)
    : out_(out), err_(err), in_(in), interactive_(interactive), fixedAnswer_(fixedAnswer) {}

void ConsoleUserPort::setStatus(const std::string& text) {
    std::lock_guard lock(mutex_);
    out_ << text << '\n' << std::flush;
}

void ConsoleUserPort::showMessage(const std::string& text, base::MessageIcon, const std::string&) {
    std::lock_guard lock(mutex_);
    err_ << "message: " << text << '\n' << std::flush;
}

base::Answer ConsoleUserPort::ask(const std::string& text, base::QuestionButtons buttons,
                                  base::MessageIcon, base::Answer, const std::string&) {
    std::lock_guard lock(mutex_);
    err_ << "question: " << text << '\n' << std::flush;
    bool positive = false;
    if (fixedAnswer_)
        positive = *fixedAnswer_;
    else if (interactive_)
        positive = askTerminal(buttons);
    const bool yesNo = buttons == base::QuestionButtons::YesNo;
    const base::Answer answer = positive ? (yesNo ? base::Answer::Yes : base::Answer::Ok)
                                         : (yesNo ? base::Answer::No : base::Answer::Cancel);
    err_ << "answer: " << answerWord(answer) << '\n' << std::flush;
    return answer;
}

bool ConsoleUserPort::askTerminal(base::QuestionButtons buttons) {
    const bool yesNo = buttons == base::QuestionButtons::YesNo;
    for (;;) {
        err_ << (yesNo ? "[y/n] " : "[o(k)/c(ancel)] ") << std::flush;
        std::string line;
        if (!std::getline(in_, line))
            return false;  // end of input: the safe answer
        const char c = static_cast<char>(
            std::tolower(static_cast<unsigned char>(line.empty() ? ' ' : line.front())));
        if (c == (yesNo ? 'y' : 'o'))
            return true;
        if (c == (yesNo ? 'n' : 'c'))
            return false;
    }
}

}  // namespace zavuv::cli
