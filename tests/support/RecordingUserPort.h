#pragma once
// A user port for tests: records every text it is given, answers questions
// from a script (and fails the test when a question comes unscripted).

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "base/UserPort.h"

namespace zavuv::testing {

struct RecordedEvent {
    enum class Kind { Status, Message, Question };
    Kind kind = Kind::Status;
    std::string text;
    base::MessageIcon icon = base::MessageIcon::None;
    std::string caption;
    base::QuestionButtons buttons = base::QuestionButtons::YesNo;
    base::Answer defaultAnswer = base::Answer::No;
    base::Answer answer = base::Answer::No;
};

class RecordingUserPort : public base::UserPort {
public:
    void setStatus(const std::string& text) override;
    void showMessage(const std::string& text, base::MessageIcon icon,
                     const std::string& caption) override;
    base::Answer ask(const std::string& text, base::QuestionButtons buttons, base::MessageIcon icon,
                     base::Answer defaultAnswer, const std::string& caption) override;
    void setBusy(bool busy) override;

    // Queues the answer to the next question.
    void answerNext(base::Answer answer);
    // Forgets the texts recorded so far (long runs keep only their recent ones).
    void clearEvents();

    std::vector<RecordedEvent> events() const;
    std::vector<std::string> statuses() const;
    std::vector<std::string> messages() const;
    std::vector<std::string> questions() const;
    std::string lastStatus() const;
    int busyDepth() const;
    int unansweredQuestions() const;

private:
    mutable std::mutex mutex_;
    std::vector<RecordedEvent> events_;
    std::deque<base::Answer> answers_;
    int busyDepth_ = 0;
    int unanswered_ = 0;
};

}  // namespace zavuv::testing
