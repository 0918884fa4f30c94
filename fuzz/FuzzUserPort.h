#pragma once
// The person at the keyboard, for the fuzz targets: every text is dropped and
// every question gets the answer the target chose (Yes or OK, or No or
// Cancel), so that both branches of each question are explored.

#include "text/UserPort.h"

namespace zavuv::fuzz {

class FuzzUserPort : public UserPort {
public:
    void setStatus(const std::string&) override {}
    void showMessage(const std::string&, MessageIcon, const std::string&) override {}
    Answer ask(const std::string&, QuestionButtons buttons, MessageIcon, Answer,
               const std::string&) override {
        ++questions;
        if (buttons == QuestionButtons::YesNo)
            return agree ? Answer::Yes : Answer::No;
        return agree ? Answer::Ok : Answer::Cancel;
    }
    void setBusy(bool) override {}

    bool agree = true;
    int questions = 0;
};

}  // namespace zavuv::fuzz
