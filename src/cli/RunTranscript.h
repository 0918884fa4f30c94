#pragma once
// What one run said to the person, kept while it passes on to the console: the
// status lines, the messages and the questions with their answers. The gang's
// summary line, the production log's error text and --json read it afterwards.

#include <mutex>
#include <string>
#include <vector>

#include "base/UserPort.h"

namespace zavuv::cli {

struct AnsweredQuestion {
    std::string question;
    std::string answer;  // "yes", "no", "ok", "cancel"
};

class RunTranscript final : public base::UserPort {
public:
    explicit RunTranscript(base::UserPort& shown) : shown_(shown) {}

    void setStatus(const std::string& text) override;
    void showMessage(const std::string& text, base::MessageIcon icon,
                     const std::string& caption) override;
    base::Answer ask(const std::string& text, base::QuestionButtons buttons, base::MessageIcon icon,
                     base::Answer defaultAnswer, const std::string& caption) override;
    void setBusy(bool busy) override { shown_.setBusy(busy); }

    std::vector<std::string> statusLines() const;
    std::vector<std::string> messages() const;
    std::vector<AnsweredQuestion> questions() const;
    // While muted, nothing is recorded or passed on (a probe between units).
    void setMuted(bool muted);
    // Forgets everything: the next unit of a repeated run starts afresh.
    void clear();
    // The words that say why a run failed: its first message (later ones tend
    // to follow from it), else its last status line.
    std::string failureReason() const;

private:
    bool muted() const;

    base::UserPort& shown_;
    mutable std::mutex mutex_;
    bool muted_ = false;
    std::vector<std::string> statusLines_;
    std::vector<std::string> messages_;
    std::vector<AnsweredQuestion> questions_;
};

// "yes", "no", "ok", "cancel", as the console prints them.
const char* answerWord(base::Answer answer);

}  // namespace zavuv::cli
