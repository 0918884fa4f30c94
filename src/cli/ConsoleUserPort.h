#pragma once
// The user port of the command line: status lines on standard output, message
// boxes and questions on standard error. Questions take the --yes/--no answer,
// else ask on a terminal, else answer No.

#include <cstdio>
#include <istream>
#include <mutex>
#include <optional>
#include <ostream>

#include "base/UserPort.h"

namespace zavuv::cli {

class ConsoleUserPort : public base::UserPort {
public:
    // fixedAnswer: true = Yes/OK to everything, false = No/Cancel; nullopt = ask
    // on `in` when `interactive`, else No.
    ConsoleUserPort(std::ostream& out, std::ostream& err, std::istream& in, bool interactive,
                    std::optional<bool> fixedAnswer);

    void setStatus(const std::string& text) override;
    void showMessage(const std::string& text, base::MessageIcon icon,
                     const std::string& caption) override;
    base::Answer ask(const std::string& text, base::QuestionButtons buttons, base::MessageIcon icon,
                     base::Answer defaultAnswer, const std::string& caption) override;
    void setBusy(bool) override {}

private:
    bool askTerminal(base::QuestionButtons buttons);

    std::mutex mutex_;
    std::ostream& out_;
    std::ostream& err_;
    std::istream& in_;
    bool interactive_;
    std::optional<bool> fixedAnswer_;
};

}  // namespace zavuv::cli
