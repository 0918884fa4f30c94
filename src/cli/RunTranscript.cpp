#include "cli/RunTranscript.h"

namespace zavuv::cli {

const char* answerWord(base::Answer answer) {
    static const char* const kWords[] = {"yes", "no", "ok", "cancel"};
    return kWords[static_cast<int>(answer)];
}

void RunTranscript::setMuted(bool muted) {
    std::lock_guard lock(mutex_);
    muted_ = muted;
}

bool RunTranscript::muted() const {
    std::lock_guard lock(mutex_);
    return muted_;
}

void RunTranscript::setStatus(const std::string& text) {
    if (muted())
        return;
    {
        std::lock_guard lock(mutex_);
        statusLines_.push_back(text);
    }
    shown_.setStatus(text);
}

void RunTranscript::showMessage(const std::string& text, base::MessageIcon icon,
                                const std::string& caption) {
    if (muted())
        return;
    {
        std::lock_guard lock(mutex_);
        messages_.push_back(text);
    }
    shown_.showMessage(text, icon, caption);
}

base::Answer RunTranscript::ask(const std::string& text, base::QuestionButtons buttons,
                                base::MessageIcon icon, base::Answer defaultAnswer,
                                const std::string& caption) {
    if (muted())  // a probe asks nothing of the person: the safe answer
        return buttons == base::QuestionButtons::YesNo ? base::Answer::No : base::Answer::Cancel;
    const base::Answer answer = shown_.ask(text, buttons, icon, defaultAnswer, caption);
    std::lock_guard lock(mutex_);
    questions_.push_back({text, answerWord(answer)});
    return answer;
}

std::vector<std::string> RunTranscript::statusLines() const {
    std::lock_guard lock(mutex_);
    return statusLines_;
}

std::vector<std::string> RunTranscript::messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
}

std::vector<AnsweredQuestion> RunTranscript::questions() const {
    std::lock_guard lock(mutex_);
    return questions_;
}

void RunTranscript::clear() {
    std::lock_guard lock(mutex_);
    statusLines_.clear();
    messages_.clear();
    questions_.clear();
}

std::string RunTranscript::failureReason() const {
    std::lock_guard lock(mutex_);
    if (!messages_.empty())
        return messages_.front();
    return statusLines_.empty() ? std::string() : statusLines_.back();
}

}  // namespace zavuv::cli
