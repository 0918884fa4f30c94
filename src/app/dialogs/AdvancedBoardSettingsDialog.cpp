#include "app/dialogs/AdvancedBoardSettingsDialog.h"

#include <QLabel>
#include <QLineEdit>

#include "app/widgets/DialogControls.h"
#include "app/widgets/DialogUnits.h"
#include "text/UiText.h"

namespace zavuv::app::dialogs {

namespace {

// The dialog has no translation: these stay English in both languages.
constexpr const char* kWarning =
    "WARNING: This window is provided to be used by advanced users/programmers only. Changing "
    "this delays to large values may degrade perfomance.";
constexpr std::array<const char*, 4> kDelayLabels = {"Pre-read delay", "Page read delay",
                                                     "Page write delay", "Post-send delay"};
constexpr const char* kNotAnInteger = "Please enter an integer.";
constexpr const char* kOutOfRange = "Please enter an integer between 0 and %1.";

constexpr int kWarningId = 1080;
constexpr int kFirstLabelId = 1081;  // 1081..1084, the units 1085..1088
constexpr int kFirstUnitId = 1085;

std::array<int, 4> asArray(const link::BoardDelays& d) {
    return {d.preReadDelayMs, d.pageReadDelayMs, d.pageWriteDelayMs, d.postSendDelayMs};
}

}  // namespace

AdvancedBoardSettingsDialog::AdvancedBoardSettingsDialog(const link::BoardDelays& delays,
                                                         QWidget* parent,
                                                         widgets::MessageBoxShower shower)
    : QDialog(parent), delays_(delays), shower_(std::move(shower)) {
    const widgets::DialogUnits units(font());
    setFixedSize(units.size(200, 138));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle("Advanced Board Settings");

    auto* warning =
        widgets::placeControl(new QLabel(kWarning, this), kWarningId, units.rect(7, 7, 186, 34));
    warning->setWordWrap(true);

    const std::array<int, 4> values = asArray(delays);
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const int top = 46 + static_cast<int>(i) * 17;
        const int n = static_cast<int>(i);
        widgets::placeControl(new QLabel(kDelayLabels[i], this), kFirstLabelId + n,
                              units.rect(7, top + 2, 90, 10));
        fields_[i] = widgets::placeControl(new QLineEdit(QString::number(values[i]), this),
                                           kDelayFieldIds[i], units.rect(100, top, 50, 13));
        widgets::placeControl(new QLabel("ms", this), kFirstUnitId + n,
                              units.rect(155, top + 2, 20, 10));
    }
    widgets::addOkButton(this, "OK", units.rect(86, 117, 50, 14));
    widgets::addCancelButton(this, units.rect(143, 117, 50, 14));
}

void AdvancedBoardSettingsDialog::accept() {
    std::array<int, 4> values{};
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        bool isInteger = false;
        const int value = fields_[i]->text().trimmed().toInt(&isInteger);
        const bool inRange = isInteger && value >= 0 && value <= link::kMaxBoardDelayMs;
        if (!inRange) {
            const QString text = isInteger ? QString(kOutOfRange).arg(link::kMaxBoardDelayMs)
                                           : QString(kNotAnInteger);
            shower_(this, {text, QString::fromUtf8(text::GetUiText(text::Msg::ProgrammerCaption)),
                           base::MessageIcon::Warning, QMessageBox::Ok, QMessageBox::Ok});
            fields_[i]->setFocus();
            fields_[i]->selectAll();
            return;
        }
        values[i] = value;
    }
    delays_ = {values[0], values[1], values[2], values[3]};
    QDialog::accept();
}

std::optional<link::BoardDelays> runAdvancedBoardSettingsDialog(QWidget* parent,
                                                                const link::BoardDelays& delays) {
    AdvancedBoardSettingsDialog dialog(delays, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.delays();
}

}  // namespace zavuv::app::dialogs
