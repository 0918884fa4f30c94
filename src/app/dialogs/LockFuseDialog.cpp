#include "app/dialogs/LockFuseDialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "app/widgets/CaptionFit.h"
#include "app/widgets/DialogControls.h"
#include "app/widgets/DialogUnits.h"
#include "app/widgets/Translation.h"
#include "chips/ChipDriver.h"
#include "devices/DeviceTable.h"
#include "devices/LockFuseVerify.h"
#include "devices/LockModeName.h"
#include "devices/LockoutCheck.h"
#include "operations/ChipErase.h"
#include "operations/LockFuseOnChip.h"
#include "text/UiText.h"
#include "workspace/Workspace.h"

namespace zavuv::app::dialogs {

namespace {

constexpr std::array<int, 4> kLockModeIds = {1086, 1087, 1088, 1089};
// Three columns of eight, top to bottom.
constexpr std::array<int, kFuseButtonCount> kFuseIds = {
    1091, 1095, 1096, 1097, 1098, 1099, 1100, 1101, 1110, 1111, 1112, 1113,
    1117, 1118, 1119, 1120, 1102, 1121, 1104, 1122, 1107, 1108, 1109, 1116,
};
constexpr std::array<int, devices::kBootLockBits> kBootLockIds = {1092, 1103, 1093, 1094};
constexpr int kFusesPerColumn = 8;

constexpr int kLockGroupId = 1114;
constexpr int kFuseGroupId = 1115;
constexpr int kBootLockLabelId = 1134;
constexpr int kHintId = 1138;
constexpr int kProgramId = 1132;
constexpr int kReadId = 3;
constexpr int kVerifyId = 4;
constexpr int kEraseId = 5;
constexpr int kCloseWithoutSavingId = 2;

using widgets::place;

constexpr const char* kPressedFuseStyle =
    "QPushButton:checked { background-color: #3a6ea5; color: white; font-weight: bold; }";

devices::LockModeTexts lockModeTextsOf(int deviceIndex) {
    return devices::DeviceTable::isValidIndex(deviceIndex)
               ? chips::driverFor(devices::DeviceTable::at(deviceIndex)).abilities().lockModeTexts
               : devices::LockModeTexts::Avr;
}

QString fromUtf8(const char* text) {
    return QString::fromUtf8(text);
}

}  // namespace

const devices::LockFuseLayout& shownLayout(int deviceIndex) {
    static const devices::LockFuseLayout kNoBits{};
    const devices::LockFuseLayout* layout =
        devices::DeviceTable::isValidIndex(deviceIndex) ? devices::layoutOf(deviceIndex) : nullptr;
    return layout != nullptr ? *layout : kNoBits;
}

LockFuseDialog::LockFuseDialog(QWidget* parent, int deviceIndex,
                               const devices::LockFuseState& initial, base::UserPort& port,
                               devices::LockFuseChip chip)
    : QDialog(parent), deviceIndex_(deviceIndex), lockModeTexts_(lockModeTextsOf(deviceIndex)),
      layout_(shownLayout(deviceIndex)), port_(port), chip_(std::move(chip)), shownState_(initial) {
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    buildControls();
    widgets::TranslateWindow(this, kDialogId);
    applyModeTexts();
    fillControls();
}

void LockFuseDialog::buildControls() {
    const widgets::DialogUnits units(font());
    setFixedSize(units.size(330, 236));

    // Groups first, so that the controls inside are drawn over them.
    place<QGroupBox>(this, kLockGroupId, units, 7, 4, 150, 66);
    place<QGroupBox>(this, kFuseGroupId, units, 7, 74, 316, 118);

    for (int i = 0; i < 4; ++i)
        lockModes_[i] = place<QRadioButton>(this, kLockModeIds[i], units, 14, 16 + 12 * i, 138, 10);

    place<QLabel>(this, kBootLockLabelId, units, 165, 8, 75, 9);
    for (int j = 0; j < devices::kBootLockBits; ++j)
        bootLocks_[j] = place<QCheckBox>(this, kBootLockIds[j], units, 165, 20 + 12 * j, 75, 10);

    for (int i = 0; i < kFuseButtonCount; ++i) {
        const int column = i / kFusesPerColumn;
        const int row = i % kFusesPerColumn;
        QPushButton* fuse =
            place<QPushButton>(this, kFuseIds[i], units, 14 + 104 * column, 86 + 13 * row, 96, 12);
        fuse->setCheckable(true);
        // Enter on a fuse button accepts the dialog, as it does elsewhere.
        fuse->setAutoDefault(false);
        // A programmed fuse must stand out at a glance: the default style's
        // pressed look is only a shade darker.
        fuse->setStyleSheet(kPressedFuseStyle);
        fuses_[i] = fuse;
    }
    place<QLabel>(this, kHintId, units, 7, 196, 316, 10);

    programButton_ = place<QPushButton>(this, kProgramId, units, 250, 7, 73, 14);
    readButton_ = place<QPushButton>(this, kReadId, units, 250, 24, 73, 14);
    verifyButton_ = place<QPushButton>(this, kVerifyId, units, 250, 41, 73, 14);
    eraseButton_ = place<QPushButton>(this, kEraseId, units, 250, 58, 73, 14);
    saveButton_ = place<QPushButton>(this, kCloseAndSave, units, 120, 214, 100, 15);
    auto* closeButton = place<QPushButton>(this, kCloseWithoutSavingId, units, 223, 214, 100, 15);

    connect(programButton_, &QPushButton::clicked, this, &LockFuseDialog::programChip);
    connect(readButton_, &QPushButton::clicked, this, &LockFuseDialog::readChip);
    connect(verifyButton_, &QPushButton::clicked, this, &LockFuseDialog::verifyChip);
    connect(eraseButton_, &QPushButton::clicked, this, &LockFuseDialog::eraseChip);
    connect(saveButton_, &QPushButton::clicked, this, &LockFuseDialog::closeAndSave);
    connect(closeButton, &QPushButton::clicked, this, &LockFuseDialog::reject);
}

void LockFuseDialog::setAutoProgramMode(bool autoProgram) {
    autoProgramMode_ = autoProgram;
    applyModeTexts();
}

// Saving into a project exists only in auto-program mode; erasing only on the chip.
void LockFuseDialog::applyModeTexts() {
    setWindowTitle(fromUtf8(text::GetUiText(autoProgramMode_ ? text::Msg::LockFuseAutoProgramTitle
                                                             : text::Msg::LockFuseChipTitle)));
    saveButton_->setEnabled(autoProgramMode_);
    eraseButton_->setEnabled(!autoProgramMode_);
}

void LockFuseDialog::proposeBits(const devices::LockFuseState& bits) {
    workingState_ = bits;
    fillControls(bits);
}

void LockFuseDialog::fillControls(const devices::LockFuseState& bits) {
    // All four unchecked first: a mode outside 0..3 leaves none checked.
    for (int mode = 0; mode < devices::kLockModeCount; ++mode) {
        lockModes_[mode]->setAutoExclusive(false);
        lockModes_[mode]->setChecked(false);
        lockModes_[mode]->setText(fromUtf8(devices::lockModeName(lockModeTexts_, mode)));
        widgets::fitCaption(lockModes_[mode]);
    }
    lockModes_[3]->setEnabled(lockModeTexts_ != devices::LockModeTexts::Avr);
    if (bits.lockMode >= 0 && bits.lockMode < devices::kLockModeCount)
        lockModes_[bits.lockMode]->setChecked(true);
    for (QRadioButton* radio : lockModes_)
        radio->setAutoExclusive(true);

    const QString unused = fromUtf8(text::GetUiText(text::Msg::Unused));
    for (int i = 0; i < kFuseButtonCount; ++i) {
        const bool used = i < layout_.fuseCount;
        fuses_[i]->setText(used ? fromUtf8(layout_.fuseName[i]) : unused);
        fuses_[i]->setChecked(used && bits.fuse[i]);
        fuses_[i]->setEnabled(used);
    }
    for (int j = 0; j < devices::kBootLockBits; ++j) {
        const bool used = j < layout_.bootLockCount;
        bootLocks_[j]->setText(used ? fromUtf8(layout_.bootLockName[j]) : unused);
        bootLocks_[j]->setChecked(used && bits.bootLock[j]);
        bootLocks_[j]->setEnabled(used);
    }
    readButton_->setEnabled(shownState_.readable);
    verifyButton_->setEnabled(shownState_.readable);
}

devices::LockFuseState LockFuseDialog::collectControls() const {
    devices::LockFuseState state = workingState_;
    for (int i = 0; i < kFuseButtonCount; ++i)
        state.fuse[i] = fuses_[i]->isChecked();
    for (int mode = 0; mode < devices::kLockModeCount; ++mode) {
        if (lockModes_[mode]->isChecked()) {
            state.lockMode = mode;
            break;
        }
    }
    for (int j = 0; j < devices::kBootLockBits; ++j)
        state.bootLock[j] = bootLocks_[j]->isChecked();
    return state;
}

devices::LockFuseState LockFuseDialog::currentBits() const {
    if (!autoProgramMode_ && shownState_.readable)
        return shownState_;
    if (!devices::DeviceTable::isValidIndex(deviceIndex_))
        return {};
    return devices::factoryState(devices::DeviceTable::at(deviceIndex_), layout_);
}

bool LockFuseDialog::validate() {
    const devices::LockFuseState controls = collectControls();
    if (!devices::confirmLockout(
            devices::lockoutFindings(layout_, currentBits(), controls, lockModeTexts_), port_))
        return false;
    workingState_ = controls;
    return true;
}

void LockFuseDialog::programChip() {
    if (!validate() || !chip_.program(workingState_))
        return;
    shownState_ = workingState_;
    // Bits just written can be read back, whatever the dialog opened with.
    shownState_.readable = true;
    fillControls();
}

void LockFuseDialog::readChip() {
    // A failed read leaves the controls as the person set them.
    devices::LockFuseState read;
    if (!chip_.read(read))
        return;
    workingState_ = read;
    shownState_ = read;
    fillControls();
}

void LockFuseDialog::verifyChip() {
    workingState_ = collectControls();
    devices::LockFuseState onChip;
    if (!chip_.read(onChip))
        return;
    const devices::VerifyReport report =
        devices::verifyReport(lockModeTexts_, layout_, workingState_, onChip);
    port_.showMessage(report.text,
                      report.ok ? base::MessageIcon::Information : base::MessageIcon::Error,
                      text::GetUiText(text::Msg::ProgramTitle));
}

void LockFuseDialog::eraseChip() {
    if (!chip_.chipErase())
        return;
    readChip();
}

void LockFuseDialog::closeAndSave() {
    if (validate())
        done(kCloseAndSave);
}

void LockFuseDialog::accept() {
    if (validate())
        QDialog::accept();
}

void LockFuseDialog::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

devices::LockFuseChip boardLockFuseChip(workspace::Workspace& ws) {
    return {[&ws](devices::LockFuseState& state) { return operations::readLockFuse(ws, state); },
            // Every caller writes the fuse bytes along with the lock bits.
            [&ws](const devices::LockFuseState& state) {
                return operations::programLockFuse(ws, state, true);
            },
            [&ws] {
                operations::chipErase(ws);
                return ws.results.lastOperationStatus == workspace::OperationStatus::Succeeded;
            }};
}

void runLockFuseDialog(QWidget* parent, workspace::Workspace& ws,
                       const devices::LockFuseState& chipState) {
    LockFuseDialog dialog(parent, ws.selectedDevice(), chipState, ws.user(), boardLockFuseChip(ws));
    const auto& project = ws.project();
    if (!project.lockFuseFile.empty() && project.deviceNo == ws.selectedDevice()) {
        dialog.proposeBits(project.lockFuse);
        ws.user().setStatus(
            text::formatUiText(text::Msg::LockFuseShownFromFile, project.lockFuseFile));
    }
    dialog.exec();
}

std::optional<devices::LockFuseState> editAutoProgramLockFuse(QWidget* parent, int deviceIndex,
                                                              const devices::LockFuseState& state,
                                                              base::UserPort& port,
                                                              const devices::LockFuseChip& chip) {
    LockFuseDialog dialog(parent, deviceIndex, state, port, chip);
    dialog.setAutoProgramMode(true);
    if (dialog.exec() != LockFuseDialog::kCloseAndSave)
        return std::nullopt;
    return dialog.workingState();
}

}  // namespace zavuv::app::dialogs
