#include "support/RecordingUserPort.h"

#include <gtest/gtest.h>

namespace zavuv::testing {

void RecordingUserPort::setStatus(const std::string& text) {
    std::lock_guard lock(mutex_);
    RecordedEvent e;
    e.kind = RecordedEvent::Kind::Status;
    e.text = text;
    events_.push_back(e);
}

void RecordingUserPort::showMessage(const std::string& text, base::MessageIcon icon,
                                    const std::string& caption) {
    std::lock_guard lock(mutex_);
    RecordedEvent e;
    e.kind = RecordedEvent::Kind::Message;
    e.text = text;
    e.icon = icon;
    e.caption = caption;
    events_.push_back(e);
}

base::Answer RecordingUserPort::ask(const std::string& text, base::QuestionButtons buttons,
                                    base::MessageIcon icon, base::Answer defaultAnswer,
                                    const std::string& caption) {
    std::lock_guard lock(mutex_);
    RecordedEvent e;
    e.kind = RecordedEvent::Kind::Question;
    e.text = text;
    e.icon = icon;
    e.caption = caption;
    e.buttons = buttons;
    e.defaultAnswer = defaultAnswer;
    if (answers_.empty()) {
        ++unanswered_;
        ADD_FAILURE() << "unscripted question: " << text;
        e.answer = defaultAnswer;
    } else {
        e.answer = answers_.front();
        answers_.pop_front();
    }
    events_.push_back(e);
    return e.answer;
}

void RecordingUserPort::setBusy(bool busy) {
    std::lock_guard lock(mutex_);
    busyDepth_ += busy ? 1 : -1;
}

void RecordingUserPort::answerNext(base::Answer answer) {
    std::lock_guard lock(mutex_);
    answers_.push_back(answer);
}

void RecordingUserPort::clearEvents() {
    std::lock_guard lock(mutex_);
    events_.clear();
}

std::vector<RecordedEvent> RecordingUserPort::events() const {
    std::lock_guard lock(mutex_);
    return events_;
}

namespace {
std::vector<std::string> textsOf(const std::vector<RecordedEvent>& events,
                                 RecordedEvent::Kind kind) {
    std::vector<std::string> out;
    for (const auto& e : events)
        if (e.kind == kind)
            out.push_back(e.text);
    return out;
}
}  // namespace

std::vector<std::string> RecordingUserPort::statuses() const {
    return textsOf(events(), RecordedEvent::Kind::Status);
}

std::vector<std::string> RecordingUserPort::messages() const {
    return textsOf(events(), RecordedEvent::Kind::Message);
}

std::vector<std::string> RecordingUserPort::questions() const {
    return textsOf(events(), RecordedEvent::Kind::Question);
}

std::string RecordingUserPort::lastStatus() const {
    auto s = statuses();
    return s.empty() ? std::string() : s.back();
}

int RecordingUserPort::busyDepth() const {
    std::lock_guard lock(mutex_);
    return busyDepth_;
}

int RecordingUserPort::unansweredQuestions() const {
    std::lock_guard lock(mutex_);
    return unanswered_;
}

}  // namespace zavuv::testing
