#pragma once
// Board Settings (dialog 130) in its first-run form: the board's COM port
// (COM1..COM12) and the baud rate, OK and Cancel.

#include <array>
#include <optional>

#include <QDialog>

class QRadioButton;

namespace zavuv::app {

struct BoardChoice {
    int port = 0;       // 1..12; 0 = none
    int baudIndex = 0;  // 0 = 19200, 1 = 115200, 2 = 921600
};

class BoardSettingsDialog final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kDialogId = 130;

    // Port 0 (none) shows COM1 chosen, so OK then yields port 1.
    BoardSettingsDialog(const BoardChoice& initial, QWidget* parent);

    // What the radio buttons show.
    BoardChoice choice() const;

private:
    std::array<QRadioButton*, 12> ports_{};
    std::array<QRadioButton*, 3> speeds_{};
    int initialPort_;
};

// Runs the dialog modally; nothing on Cancel.
std::optional<BoardChoice> runBoardSettingsDialog(QWidget* parent, const BoardChoice& initial);

}  // namespace zavuv::app
