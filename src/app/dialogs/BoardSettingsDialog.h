#pragma once
// Board Settings (dialog 130): the board's COM slot and baud rate, and, beside
// each of the twelve slots, the device it stands for, whether that device is
// there, and the adapter's name. A slot's device is picked from the ports found,
// typed as a path, or "sim" for the simulated board; changed devices go to the
// profile's [Ports] section when the user confirms with OK, not before.

#include <array>
#include <optional>
#include <vector>

#include <QDialog>

#include "app/widgets/MessageBox.h"
#include "link/PortDetection.h"
#include "workspace/Preferences.h"

class QComboBox;
class QLabel;
class QRadioButton;

namespace zavuv::app::dialogs {

struct BoardChoice {
    int comPort = 0;    // 1..12
    int baudIndex = 0;  // 0 = 19200, 1 = 115200, 2 = 921600

    bool operator==(const BoardChoice&) const = default;
};

class BoardSettingsDialog final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kDialogId = 130;
    // The COM radio buttons in port order, then the three baud radio buttons
    // in baud-index order.
    static constexpr std::array<int, workspace::kComPortCount> kComButtonIds = {
        1056, 1057, 1058, 1059, 1149, 1150, 1151, 1152, 1153, 1154, 1155, 1156};
    static constexpr std::array<int, 3> kBaudButtonIds = {1055, 1054, 1060};
    // ZAVUV's own controls: slot n's device box is kSlotDeviceBaseId + n, the
    // line that tells its state kSlotStateBaseId + n.
    static constexpr int kSlotDeviceBaseId = 1300;
    static constexpr int kSlotStateBaseId = 1320;

    // `comPort` 0 (no board yet) proposes COM1. `detectedPorts` are offered in
    // every slot's list.
    BoardSettingsDialog(int comPort, int baudIndex, workspace::Preferences& preferences,
                        std::vector<link::DetectedPort> detectedPorts, QWidget* parent = nullptr,
                        widgets::MessageBoxShower shower = widgets::execMessageBox);

    // The choice as the buttons show it.
    BoardChoice choice() const;

public slots:
    // Writes the changed slot devices to the profile, then closes.
    void accept() override;

private:
    struct Slot {
        QRadioButton* button;
        QComboBox* device;
        QLabel* state;
    };

    void buildPortGroup();
    void buildBaudGroup(int baudIndex);
    void showSlotState(const Slot& slot);

    workspace::Preferences& preferences_;
    std::vector<link::DetectedPort> detectedPorts_;
    widgets::MessageBoxShower shower_;
    std::array<Slot, workspace::kComPortCount> slots_{};
    std::array<QRadioButton*, kBaudButtonIds.size()> baudButtons_{};
};

// Runs the dialog modally over `parent` with the ports present now; the choice,
// or nothing on Cancel. The caller saves the COM number and baud index.
std::optional<BoardChoice> runBoardSettingsDialog(QWidget* parent, int comPort, int baudIndex,
                                                  workspace::Preferences& preferences);

}  // namespace zavuv::app::dialogs
