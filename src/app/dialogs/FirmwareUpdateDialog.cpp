#include "app/dialogs/FirmwareUpdateDialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "app/widgets/DialogControls.h"
#include "app/widgets/DialogUnits.h"
#include "app/widgets/Translation.h"

namespace zavuv::app::dialogs {

FirmwareUpdateDialog::FirmwareUpdateDialog(const QString& currentVersion, const QString& newVersion,
                                           QWidget* parent)
    : QDialog(parent) {
    const widgets::DialogUnits units(font());
    setFixedSize(units.size(250, 112));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* group =
        widgets::placeControl(new QGroupBox("Settings", this), 1153, units.rect(7, 7, 236, 76));
    widgets::placeControl(new QLabel("Current version", group), 1154, units.rect(8, 14, 100, 10));
    auto* current = widgets::placeControl(new QLineEdit(group), kCurrentVersionId,
                                          units.rect(112, 12, 116, 13));
    widgets::placeControl(new QLabel("New firmware version", group), 1156,
                          units.rect(8, 31, 100, 10));
    auto* next =
        widgets::placeControl(new QLineEdit(group), kNewVersionId, units.rect(112, 29, 116, 13));
    normal_ = widgets::placeControl(new QRadioButton("Program at normal speed", group),
                                    kNormalSpeedId, units.rect(8, 48, 190, 10));
    widgets::placeControl(new QRadioButton("Program at reduced speed", group), kReducedSpeedId,
                          units.rect(8, 62, 190, 10));
    widgets::addOkButton(this, "Update", units.rect(136, 91, 50, 14));
    widgets::addCancelButton(this, units.rect(193, 91, 50, 14));

    // The caption table blanks both version fields, so they are filled after it.
    widgets::TranslateWindow(this, kDialogId);
    for (QLineEdit* field : {current, next})
        field->setReadOnly(true);
    current->setText(currentVersion);
    next->setText(newVersion);
    normal_->setChecked(true);
}

FirmwareUploadSpeed FirmwareUpdateDialog::speed() const {
    return normal_->isChecked() ? FirmwareUploadSpeed::Normal : FirmwareUploadSpeed::Reduced;
}

std::optional<FirmwareUploadSpeed>
runFirmwareUpdateDialog(QWidget* parent, const QString& currentVersion, const QString& newVersion) {
    FirmwareUpdateDialog dialog(currentVersion, newVersion, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.speed();
}

}  // namespace zavuv::app::dialogs
