#pragma once
// The person at the keyboard, for the fuzz targets: every text is dropped and
// every question gets the answer the target chose (Yes or OK, or No or
// Cancel), so that both branches of each question are explored.

#include "base/UserPort.h"

namespace zavuv::fuzz {

class FuzzUserPort : public base::UserPort {
public:
    void setStatus(const std::string&) override {}
    void showMessage(const std::string&, base::MessageIcon, const std::string&) override {}
    base::Answer ask(const std::string&, base::QuestionButtons buttons, base::MessageIcon,
                     base::Answer, const std::string&) override {
        ++questions;
        if (buttons == base::QuestionButtons::YesNo)
            return agree ? base::Answer::Yes : base::Answer::No;
        return agree ? base::Answer::Ok : base::Answer::Cancel;
    }
    void setBusy(bool) override {}

    bool agree = true;
    int questions = 0;
};

}  // namespace zavuv::fuzz
