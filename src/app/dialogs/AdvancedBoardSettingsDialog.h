#pragma once
// Advanced Board Settings (dialog 139): the four board delays. Shown in English
// in either language; OK takes only whole numbers from 0 to 1000 ms, and
// otherwise says so and puts the cursor in the field to correct.

#include <array>
#include <optional>

#include <QDialog>

#include "app/widgets/MessageBox.h"
#include "link/BoardDelays.h"

class QLineEdit;

namespace zavuv::app::dialogs {

class AdvancedBoardSettingsDialog final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kDialogId = 139;
    // Pre-read, page read, page write and post-send delay, in the order of
    // BoardDelays.
    static constexpr std::array<int, 4> kDelayFieldIds = {1076, 1077, 1078, 1079};

    explicit AdvancedBoardSettingsDialog(
        const link::BoardDelays& delays, QWidget* parent = nullptr,
        widgets::MessageBoxShower shower = widgets::execMessageBox);

    // Valid once the dialog was accepted.
    const link::BoardDelays& delays() const { return delays_; }

public slots:
    void accept() override;

private:
    std::array<QLineEdit*, kDelayFieldIds.size()> fields_{};
    link::BoardDelays delays_;
    widgets::MessageBoxShower shower_;
};

// The four delays as confirmed, or nothing on Cancel. The caller saves them.
std::optional<link::BoardDelays> runAdvancedBoardSettingsDialog(QWidget* parent,
                                                                const link::BoardDelays& delays);

}  // namespace zavuv::app::dialogs
