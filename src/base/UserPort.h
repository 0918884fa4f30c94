#pragma once
// How the core talks to the person in front of the program. The GUI shows
// message boxes, the command line prints, tests record. Implementations must
// accept calls from a worker thread as well as from the window thread.

#include <string>

namespace zavuv::base {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class QuestionButtons { YesNo, OkCancel };
enum class Answer { Yes, No, Ok, Cancel };

class UserPort {
public:
    virtual ~UserPort() = default;

    // The status line of the main window.
    virtual void setStatus(const std::string& text) = 0;

    // A modal message with one OK button.
    virtual void showMessage(const std::string& text, MessageIcon icon,
                             const std::string& caption) = 0;

    // A modal question; returns the button the person chose.
    virtual Answer ask(const std::string& text, QuestionButtons buttons, MessageIcon icon,
                       Answer defaultAnswer, const std::string& caption) = 0;

    // The busy (hourglass) cursor, nested: shown while the count is above 0.
    virtual void setBusy(bool busy) = 0;
};

// Shows the busy cursor for the lifetime of the scope.
class BusyScope {
public:
    explicit BusyScope(UserPort& port) : port_(port) { port_.setBusy(true); }
    ~BusyScope() { port_.setBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    UserPort& port_;
};

}  // namespace zavuv::base
