#include "app/dialogs/BoardSettingsDialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "app/widgets/DialogControls.h"
#include "app/widgets/DialogUnits.h"
#include "app/widgets/Translation.h"
#include "text/UiText.h"
#include "workspace/BoardPorts.h"
#include "workspace/PortList.h"

namespace zavuv::app::dialogs {

namespace {

constexpr int kRowPitch = 15;  // dialog units from one COM slot to the next
constexpr int kFirstRowTop = 12;

QString uiText(text::Msg key) {
    return QString::fromUtf8(text::GetUiText(key));
}

}  // namespace

BoardSettingsDialog::BoardSettingsDialog(int comPort, int baudIndex,
                                         workspace::Preferences& preferences,
                                         std::vector<link::DetectedPort> detectedPorts,
                                         QWidget* parent, widgets::MessageBoxShower shower)
    : QDialog(parent), preferences_(preferences), detectedPorts_(std::move(detectedPorts)),
      shower_(std::move(shower)) {
    const widgets::DialogUnits units(font());
    setFixedSize(units.size(320, 266));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    buildPortGroup();
    buildBaudGroup(baudIndex);
    widgets::addOkButton(this, "OK", units.rect(205, 246, 50, 14));
    widgets::addCancelButton(this, units.rect(263, 246, 50, 14));

    widgets::TranslateWindow(this, kDialogId);

    // Port n checks the n-th button; no board yet proposes COM1.
    const bool known = comPort >= 1 && comPort <= workspace::kComPortCount;
    slots_[known ? comPort - 1 : 0].button->setChecked(true);
}

void BoardSettingsDialog::buildPortGroup() {
    const widgets::DialogUnits units(font());
    auto* group = widgets::placeControl(new QGroupBox("Communication port", this), 1113,
                                        units.rect(7, 7, 306, kFirstRowTop + 12 * kRowPitch + 4));
    for (int n = 1; n <= workspace::kComPortCount; ++n) {
        Slot& slot = slots_[n - 1];
        const int top = kFirstRowTop + (n - 1) * kRowPitch;
        slot.button = widgets::placeControl(new QRadioButton(QString("COM%1").arg(n), group),
                                            kComButtonIds[n - 1], units.rect(8, top + 1, 42, 10));

        slot.device = widgets::placeControl(new QComboBox(group), kSlotDeviceBaseId + n,
                                            units.rect(52, top, 130, 13));
        slot.device->setEditable(true);
        slot.device->setInsertPolicy(QComboBox::NoInsert);
        for (const link::DetectedPort& port : detectedPorts_)
            slot.device->addItem(QString::fromStdString(port.path));
        slot.device->addItem(workspace::kSimulatedPortName);
        slot.device->setEditText(QString::fromStdString(preferences_.portDevice(n).value_or("")));

        slot.state = widgets::placeControl(new QLabel(group), kSlotStateBaseId + n,
                                           units.rect(188, top + 1, 114, 10));
        showSlotState(slot);
        connect(slot.device, &QComboBox::editTextChanged, this,
                [this, &slot] { showSlotState(slot); });
    }
}

void BoardSettingsDialog::buildBaudGroup(int baudIndex) {
    const widgets::DialogUnits units(font());
    const int top = kFirstRowTop + 12 * kRowPitch + 15;
    auto* group =
        widgets::placeControl(new QGroupBox("Baud rate", this), 1114, units.rect(7, top, 306, 26));
    const char* captions[] = {"Low speed", "Standard speed", "USB interface"};
    for (std::size_t i = 0; i < baudButtons_.size(); ++i) {
        const int left = 8 + static_cast<int>(i) * 100;
        baudButtons_[i] = widgets::placeControl(new QRadioButton(captions[i], group),
                                                kBaudButtonIds[i], units.rect(left, 12, 96, 10));
    }
    // An index from elsewhere than 0..2 checks none: OK then gives 19200.
    if (baudIndex >= 0 && baudIndex < static_cast<int>(baudButtons_.size()))
        baudButtons_[static_cast<std::size_t>(baudIndex)]->setChecked(true);
}

void BoardSettingsDialog::showSlotState(const Slot& slot) {
    const std::string device = slot.device->currentText().trimmed().toStdString();
    slot.state->setText(QString::fromStdString(workspace::portStateText(device, detectedPorts_)));
}

BoardChoice BoardSettingsDialog::choice() const {
    BoardChoice choice;
    for (int n = 1; n <= workspace::kComPortCount; ++n)
        if (slots_[n - 1].button->isChecked())
            choice.comPort = n;
    choice.baudIndex = baudButtons_[2]->isChecked() ? 2 : baudButtons_[1]->isChecked() ? 1 : 0;
    return choice;
}

void BoardSettingsDialog::accept() {
    for (int n = 1; n <= workspace::kComPortCount; ++n) {
        std::string device = slots_[n - 1].device->currentText().trimmed().toStdString();
        // An emptied box gives the slot back its usual device.
        if (device.empty())
            device = workspace::defaultPortDevice(n);
        if (preferences_.portDevice(n) == device)
            continue;
        if (!preferences_.setPortDevice(n, device)) {
            shower_(this, {QString::fromStdString(
                               text::formatUiText(text::Msg::CannotSavePortDevice, n, device)),
                           uiText(text::Msg::ProgrammerCaption), base::MessageIcon::Error,
                           QMessageBox::Ok, QMessageBox::Ok});
            slots_[n - 1].device->setFocus();
            return;
        }
    }
    QDialog::accept();
}

std::optional<BoardChoice> runBoardSettingsDialog(QWidget* parent, int comPort, int baudIndex,
                                                  workspace::Preferences& preferences) {
    BoardSettingsDialog dialog(comPort, baudIndex, preferences, link::detectSerialPorts(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

}  // namespace zavuv::app::dialogs
