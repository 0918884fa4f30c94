#include "app/dialogs/ProjectSettingsDialog.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "app/dialogs/LockFuseDialog.h"
#include "app/widgets/BoxCaption.h"
#include "app/widgets/DialogControls.h"
#include "app/widgets/DialogUnits.h"
#include "app/widgets/Translation.h"
#include "chips/ChipDriver.h"
#include "devices/AutoProgramPreset.h"
#include "devices/DeviceTable.h"
#include "devices/LockoutCheck.h"
#include "devices/SckPeriodNames.h"
#include "text/UiText.h"
#include "workspace/Workspace.h"

namespace zavuv::app::dialogs {

using buffers::ProjectSettings;

namespace {

constexpr int kDeviceComboId = 1005;
constexpr int kSckComboId = 1145;
constexpr int kStrobeSliderId = 1084;
constexpr int kStrobeTextId = 1085;
constexpr int kAutoprogramFusesId = 1144;
constexpr int kConfigureId = 3;
constexpr int kOkId = 1;
constexpr int kCancelId = 2;
constexpr int kAddressDigits = 8;
constexpr int kStrobePageStep = 3;

struct CheckField {
    int id;
    bool ProjectSettings::*field;
};

constexpr CheckField kCheckFields[] = {
    {1030, &ProjectSettings::polling},
    {1036, &ProjectSettings::checkSign},
    {1096, &ProjectSettings::noSynchronization},
    {1063, &ProjectSettings::autoErase},
    {1069, &ProjectSettings::autoEmptyCheck},
    {1060, &ProjectSettings::autoFlashReload},
    {1061, &ProjectSettings::autoFlashProgram},
    {1062, &ProjectSettings::autoFlashVerify},
    {1064, &ProjectSettings::autoEepromReload},
    {1065, &ProjectSettings::autoEepromProgram},
    {1066, &ProjectSettings::autoEepromVerify},
    {kAutoprogramFusesId, &ProjectSettings::programFuse},
    {1151, &ProjectSettings::programFuseBeforeAll},
    {1067, &ProjectSettings::autoIncrementFlash},
    {1070, &ProjectSettings::autoIncrement},
    {1140, &ProjectSettings::delayByte},
    {1141, &ProjectSettings::delayPage},
    {1147, &ProjectSettings::delayByte2},
    {1149, &ProjectSettings::delayPage2},
};

// A delay edit beside its override box.
struct DelayField {
    int boxId;
    int editId;
    int ProjectSettings::*value;
    buffers::DelayRange limits;
};

constexpr DelayField kDelayFields[] = {
    {1140, 1143, &ProjectSettings::delayByteValue, buffers::kByteDelayRange},
    {1141, 1142, &ProjectSettings::delayPageValue, buffers::kFlashPageDelayRange},
    {1147, 1148, &ProjectSettings::delayByteValue2, buffers::kByteDelayRange},
    {1149, 1150, &ProjectSettings::delayPageValue2, buffers::kEepromPageDelayRange},
};

// A hexadecimal address edit beside its auto-increment box.
struct AddressField {
    int boxId;
    int editId;
    int ProjectSettings::*value;
};

constexpr AddressField kAddressFields[] = {
    {1067, 1068, &ProjectSettings::autoIncAddressFlash},
    {1070, 1071, &ProjectSettings::autoIncAddress},
};

using widgets::place;

// A whole number with nothing but blanks around it, as an integer field takes it.
std::optional<int> parseInteger(const QString& text) {
    const std::string digits = text.trimmed().toStdString();
    const char* end = digits.data() + digits.size();
    int value = 0;
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    if (digits.empty() || error != std::errc{} || stop != end)
        return std::nullopt;
    return value;
}

// As "%x" reads it: leading blanks, an optional 0x, then hex digits up to the
// first other character.
std::optional<int> parseHex(const QString& text) {
    unsigned int value = 0;
    if (std::sscanf(text.toStdString().c_str(), "%x", &value) != 1)
        return std::nullopt;
    return static_cast<int>(value);
}

QString hexText(int value) {
    return QString::number(static_cast<std::uint32_t>(value), 16).toUpper();
}

}  // namespace

int resetStrobePosition(int lengthMs) {
    for (std::size_t i = 0; i < kResetStrobeLengths.size(); ++i)
        if (kResetStrobeLengths[i] >= lengthMs)
            return static_cast<int>(i);
    return static_cast<int>(kResetStrobeLengths.size()) - 1;
}

ProjectSettingsDialog::ProjectSettingsDialog(QWidget* parent, ProjectSettings& settings,
                                             base::UserPort& port, devices::LockFuseChip chip)
    : QDialog(parent), settings_(settings), port_(port), chip_(std::move(chip)),
      lockFuseCopy_(settings.lockFuse), allowLockout_(settings.allowLockout) {
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    buildControls();
    widgets::TranslateWindow(this, kDialogId);
    fillControls();
}

void ProjectSettingsDialog::buildControls() {
    const widgets::DialogUnits units(font());
    setFixedSize(units.size(400, 250));

    // Groups first, so that the controls inside are drawn over them.
    place<QGroupBox>(this, 1116, units, 7, 4, 190, 92);
    place<QGroupBox>(this, 1117, units, 7, 100, 190, 30);
    place<QGroupBox>(this, 1118, units, 7, 134, 190, 34);
    place<QGroupBox>(this, 1124, units, 7, 172, 190, 48);
    place<QGroupBox>(this, 1119, units, 203, 4, 190, 132);
    place<QGroupBox>(this, 1120, units, 210, 14, 64, 56);
    place<QGroupBox>(this, 1121, units, 278, 14, 52, 56);
    place<QGroupBox>(this, 1122, units, 334, 14, 52, 56);
    place<QGroupBox>(this, 1123, units, 210, 74, 176, 56);
    place<QGroupBox>(this, 1125, units, 203, 140, 190, 80);

    // Room for the Russian "Микросхема:" as well.
    place<QLabel>(this, 1126, units, 14, 17, 44, 9);
    devices_ = place<QComboBox>(this, kDeviceComboId, units, 60, 15, 130, 12);
    devices_->setMaxVisibleItems(20);
    // Check boxes with their captions beside them as labels of their own.
    const struct {
        int box;
        int label;
        int y;
        int height;
    } labelled[] = {{1030, 3001, 33, 9}, {1036, 3002, 47, 18}, {1096, 3003, 70, 9}};
    for (const auto& row : labelled) {
        auto* box = place<QCheckBox>(this, row.box, units, 14, row.y, 10, 10);
        place<widgets::BoxCaption>(this, row.label, units, 26, row.y, 164, row.height)->setBox(box);
    }

    sckPeriods_ = place<QComboBox>(this, kSckComboId, units, 14, 112, 176, 12);

    strobe_ = place<QSlider>(this, kStrobeSliderId, units, 14, 146, 130, 14);
    strobe_->setOrientation(Qt::Horizontal);
    strobe_->setRange(0, static_cast<int>(kResetStrobeLengths.size()) - 1);
    strobe_->setSingleStep(1);
    strobe_->setPageStep(kStrobePageStep);
    strobe_->setTickPosition(QSlider::TicksBelow);
    strobeText_ = place<QLabel>(this, kStrobeTextId, units, 148, 148, 42, 9);

    place<QCheckBox>(this, 1067, units, 14, 185, 80, 10)->setText("Flash (HEX)");
    place<QCheckBox>(this, 1070, units, 14, 201, 80, 10)->setText("Eeprom (HEX)");
    for (const AddressField& address : kAddressFields) {
        const int y = address.boxId == 1067 ? 184 : 200;
        place<QLineEdit>(this, address.editId, units, 100, y, 60, 12)->setMaxLength(kAddressDigits);
    }

    // The auto-program steps in three columns: General, Flash, Eeprom.
    const struct {
        std::array<int, 3> ids;  // 0: no box in that row
        int x;
        int width;
    } stepColumns[] = {
        {{1063, 1069, 0}, 215, 56}, {{1060, 1061, 1062}, 283, 44}, {{1064, 1065, 1066}, 339, 44}};
    for (const auto& column : stepColumns)
        for (int row = 0; row < 3; ++row)
            if (column.ids[row] != 0)
                place<QCheckBox>(this, column.ids[row], units, column.x, 26 + 14 * row,
                                 column.width, 10);

    place<QCheckBox>(this, kAutoprogramFusesId, units, 216, 86, 100, 10);
    place<QCheckBox>(this, 1151, units, 216, 100, 100, 10);
    configure_ = place<QPushButton>(this, kConfigureId, units, 320, 95, 60, 14);
    configure_->setAutoDefault(false);

    for (std::size_t i = 0; i < std::size(kDelayFields); ++i) {
        const DelayField& delay = kDelayFields[i];
        const int y = 152 + 16 * static_cast<int>(i);
        place<QCheckBox>(this, delay.boxId, units, 210, y, 80, 10);
        place<QLineEdit>(this, delay.editId, units, 294, y - 1, 40, 12);
        place<QLabel>(this, 0, units, 338, y, 20, 9)->setText("ms");
    }

    auto* ok = place<QPushButton>(this, kOkId, units, 260, 228, 64, 15);
    ok->setText("OK");
    ok->setDefault(true);
    auto* cancel = place<QPushButton>(this, kCancelId, units, 329, 228, 64, 15);
    cancel->setAutoDefault(false);

    connect(ok, &QPushButton::clicked, this, &ProjectSettingsDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &ProjectSettingsDialog::reject);
    connect(configure_, &QPushButton::clicked, this, [this] { configureLockFuse(); });
    connect(box(kAutoprogramFusesId), &QCheckBox::clicked, this,
            &ProjectSettingsDialog::autoprogramClicked);
    for (const int id : {1067, 1070, 1140, 1141, 1147, 1149})
        connect(box(id), &QCheckBox::clicked, this, &ProjectSettingsDialog::updateEnabling);
    connect(devices_, &QComboBox::currentIndexChanged, this,
            &ProjectSettingsDialog::updateEnabling);
    connect(strobe_, &QSlider::valueChanged, this, &ProjectSettingsDialog::showStrobeLength);
}

QCheckBox* ProjectSettingsDialog::box(int id) const {
    return findChild<QCheckBox*>(QString::number(id));
}

QLineEdit* ProjectSettingsDialog::edit(int id) const {
    return findChild<QLineEdit*>(QString::number(id));
}

void ProjectSettingsDialog::fillControls() {
    for (const CheckField& check : kCheckFields)
        box(check.id)->setChecked(settings_.*check.field);
    for (const AddressField& address : kAddressFields)
        edit(address.editId)->setText(hexText(settings_.*address.value));

    // The project takes the slider's length at once, whatever the person does next.
    const int position = resetStrobePosition(settings_.resetStrobeLength);
    settings_.resetStrobeLength = kResetStrobeLengths[position];
    strobe_->setValue(position);
    showStrobeLength(position);

    for (const DelayField& delay : kDelayFields)
        edit(delay.editId)->setText(QString::number(settings_.*delay.value));

    for (int i = 0; i < devices::DeviceTable::count(); ++i)
        devices_->addItem(QString::fromUtf8(devices::DeviceTable::at(i).name));
    devices_->setCurrentIndex(
        devices::DeviceTable::isValidIndex(settings_.deviceNo) ? settings_.deviceNo : -1);
    for (const char* name : devices::kSckPeriodNames)
        sckPeriods_->addItem(QString::fromUtf8(name));
    sckPeriods_->setCurrentIndex(settings_.spiPeriod >= 0 &&
                                         settings_.spiPeriod < devices::kSckPeriodCount
                                     ? settings_.spiPeriod
                                     : -1);
    updateEnabling();
}

void ProjectSettingsDialog::updateEnabling() {
    for (const DelayField& delay : kDelayFields)
        edit(delay.editId)->setEnabled(box(delay.boxId)->isChecked());
    for (const AddressField& address : kAddressFields)
        edit(address.editId)->setEnabled(box(address.boxId)->isChecked());
    configure_->setEnabled(box(kAutoprogramFusesId)->isChecked());
}

void ProjectSettingsDialog::showStrobeLength(int position) {
    strobeText_->setText(QString("%1 ms").arg(kResetStrobeLengths[position]));
}

void ProjectSettingsDialog::autoprogramClicked(bool checked) {
    if (checked && !configureLockFuse())
        box(kAutoprogramFusesId)->setChecked(false);
    updateEnabling();
}

bool ProjectSettingsDialog::configureLockFuse() {
    // The bits belong to the project's chip: a new device must be confirmed first.
    if (devices_->currentIndex() != settings_.deviceNo) {
        port_.showMessage(text::GetUiText(text::Msg::SelectProperChipFirst),
                          base::MessageIcon::Information,
                          text::GetUiText(text::Msg::ProgrammerCaption));
        return false;
    }
    const devices::LockFuseLayout& layout = shownLayout(settings_.deviceNo);
    devices::autoProgramPreset(layout, lockFuseCopy_);
    settings_.lockFuse.readable = layout.lockReadable;
    const std::optional<devices::LockFuseState> edited =
        editAutoProgramLockFuse(this, settings_.deviceNo, lockFuseCopy_, port_, chip_);
    if (!edited)
        return false;
    lockFuseCopy_ = *edited;
    // The lock/fuse dialog saves lock-out settings only after the person said
    // Yes to its warning: unattended runs may then program them.
    const devices::DeviceInfo& device = devices::DeviceTable::at(settings_.deviceNo);
    allowLockout_ =
        !devices::lockoutFindings(layout, devices::factoryState(device, layout), lockFuseCopy_,
                                  chips::driverFor(device).abilities().lockModeTexts)
             .empty();
    return true;
}

bool ProjectSettingsDialog::delaysValid() {
    for (const DelayField& delay : kDelayFields) {
        // A delay that is not overridden is not used: whatever it holds (a
        // project without delays has a page delay of 0) must not block OK.
        if (!box(delay.boxId)->isChecked())
            continue;
        QLineEdit* field = edit(delay.editId);
        const std::optional<int> value = parseInteger(field->text());
        std::string complaint;
        if (!value)
            complaint = "Please enter an integer.";
        else if (*value < delay.limits.min || *value > delay.limits.max)
            complaint = fmt::format("Please enter an integer between {} and {}.", delay.limits.min,
                                    delay.limits.max);
        if (complaint.empty())
            continue;
        port_.showMessage(complaint, base::MessageIcon::Warning,
                          text::GetUiText(text::Msg::ProgramTitle));
        field->setFocus();
        field->selectAll();
        return false;
    }
    return true;
}

void ProjectSettingsDialog::accept() {
    if (!delaysValid())
        return;
    selectedDevice_ = devices_->currentIndex();
    writeSettings();
    QDialog::accept();
}

void ProjectSettingsDialog::writeSettings() {
    // A field that cannot be read keeps the value it showed at opening.
    for (const AddressField& address : kAddressFields)
        if (const std::optional<int> value = parseHex(edit(address.editId)->text()))
            settings_.*address.value = *value;
    for (const CheckField& check : kCheckFields)
        settings_.*check.field = box(check.id)->isChecked();
    settings_.resetStrobeLength = kResetStrobeLengths[strobe_->value()];
    for (const DelayField& delay : kDelayFields)
        if (const std::optional<int> value = parseInteger(edit(delay.editId)->text()))
            settings_.*delay.value = *value;
    const devices::LockFuseState bits =
        settings_.programFuse ? lockFuseCopy_ : devices::LockFuseState{};
    // Bits changed here are the project's own, no longer the file's.
    if (!(bits == settings_.lockFuse))
        settings_.lockFuseFile.clear();
    settings_.lockFuse = bits;
    settings_.allowLockout = settings_.programFuse && allowLockout_;
    if (sckPeriods_->currentIndex() >= 0)
        settings_.spiPeriod = sckPeriods_->currentIndex();
}

std::optional<int> runProjectSettingsDialog(QWidget* parent, ProjectSettings& settings,
                                            base::UserPort& port,
                                            const devices::LockFuseChip& chip) {
    ProjectSettingsDialog dialog(parent, settings, port, chip);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedDevice();
}

std::optional<int> runProjectSettingsDialog(QWidget* parent, workspace::Workspace& ws) {
    return runProjectSettingsDialog(parent, ws.project(), ws.user(), boardLockFuseChip(ws));
}

}  // namespace zavuv::app::dialogs
