#include "app/dialogs/LanguageDialog.h"

#include <QGroupBox>
#include <QRadioButton>

#include "app/widgets/DialogControls.h"
#include "app/widgets/DialogUnits.h"
#include "app/widgets/Translation.h"

namespace zavuv::app::dialogs {

LanguageDialog::LanguageDialog(text::Language language, QWidget* parent) : QDialog(parent) {
    const widgets::DialogUnits units(font());
    setFixedSize(units.size(160, 78));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* group =
        widgets::placeControl(new QGroupBox("Language", this), 1104, units.rect(7, 7, 146, 42));
    english_ =
        widgets::placeControl(new QRadioButton(QString::fromUtf8("English/Английский"), group),
                              kEnglishButtonId, units.rect(10, 12, 130, 10));
    russian_ = widgets::placeControl(new QRadioButton(QString::fromUtf8("Russian/Русский"), group),
                                     kRussianButtonId, units.rect(10, 26, 130, 10));
    widgets::addOkButton(this, "OK", units.rect(46, 57, 50, 14));
    widgets::addCancelButton(this, units.rect(103, 57, 50, 14));

    widgets::TranslateWindow(this, kDialogId);
    (language == text::Language::English ? english_ : russian_)->setChecked(true);
}

text::Language LanguageDialog::language() const {
    return russian_->isChecked() ? text::Language::Russian : text::Language::English;
}

std::optional<text::Language> runLanguageDialog(QWidget* parent, text::Language language) {
    LanguageDialog dialog(language, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.language();
}

}  // namespace zavuv::app::dialogs
