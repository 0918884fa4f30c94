#pragma once
// The console shared by the boards of a gang: every line carries its board
// ("[COM3] Flash verify: OK (2198 bytes verified)"), lines of different boards
// never mix, and on a terminal one progress line shows every board's percentage,
// cleared while a line is printed and drawn again after it.

#include <cstdio>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "base/Progress.h"
#include "base/UserPort.h"

namespace zavuv::cli {

class GangConsole {
public:
    // Status lines go to `status` (standard output, or standard error with
    // --json), messages and questions to `err`; progress to `progress` when it
    // is a terminal.
    GangConsole(std::ostream& status, std::ostream& err, std::FILE* progress,
                std::vector<std::string> labels);
    ~GangConsole();
    GangConsole(const GangConsole&) = delete;
    GangConsole& operator=(const GangConsole&) = delete;

    // A line of this board; a text of several lines gets the board on each.
    void statusLine(std::size_t board, const std::string& text);
    void errorLine(std::size_t board, const std::string& text);
    // A line of the whole gang, without a board.
    void gangLine(const std::string& text);
    // -1: the board shows no percentage (between operations).
    void progress(std::size_t board, int percent);

private:
    std::string prefixed(std::size_t board, const std::string& text) const;
    void print(std::ostream& stream, const std::string& text);
    void clearProgress();
    void drawProgress();

    std::mutex mutex_;
    std::ostream& status_;
    std::ostream& err_;
    std::FILE* progressStream_;
    bool terminal_;
    bool progressShown_ = false;
    std::vector<std::string> labels_;
    std::vector<int> percent_;
};

// One board's user port in a gang: its lines through the console; questions
// take the --yes/--no answer, else No, since nobody can tell which board asks.
class GangBoardPort final : public base::UserPort {
public:
    GangBoardPort(GangConsole& console, std::size_t board, std::optional<bool> answer)
        : console_(console), board_(board), answer_(answer.value_or(false)) {}

    void setStatus(const std::string& text) override { console_.statusLine(board_, text); }
    void showMessage(const std::string& text, base::MessageIcon, const std::string&) override {
        console_.errorLine(board_, "message: " + text);
    }
    base::Answer ask(const std::string& text, base::QuestionButtons buttons, base::MessageIcon,
                     base::Answer, const std::string&) override;
    void setBusy(bool) override {}

private:
    GangConsole& console_;
    std::size_t board_;
    bool answer_;
};

// One board's progress in the gang's progress line.
class GangProgressDisplay final : public base::ProgressDisplay {
public:
    GangProgressDisplay(GangConsole& console, std::size_t board)
        : console_(console), board_(board) {}
    void showSetup(const std::string&, const std::string&) override {
        console_.progress(board_, 0);
    }
    void showPercent(int percent, const std::string&) override {
        console_.progress(board_, percent);
    }
    // The gang's one line has room for each board's percentage only.
    void showEstimate(const std::string&, const std::string&) override {}

private:
    GangConsole& console_;
    std::size_t board_;
};

}  // namespace zavuv::cli
