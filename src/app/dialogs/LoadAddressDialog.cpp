#include "app/dialogs/LoadAddressDialog.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "app/widgets/DialogControls.h"
#include "app/widgets/DialogUnits.h"
#include "app/widgets/Translation.h"
#include "text/UiText.h"

namespace zavuv::app::dialogs {

namespace {

constexpr int kMaxAddressLength = 6;

// The leading number of the text, as a formatted read takes it: decimal "1A"
// is 1, text without digits is 0, hexadecimal may carry a 0x prefix. Only a
// negative number is no address: it would load before the buffer's start.
std::optional<long long> parseAddress(const QString& text, bool hexadecimal) {
    const std::string typed = text.toStdString();
    const long long value = std::strtoll(typed.c_str(), nullptr, hexadecimal ? 16 : 10);
    if (value < 0)
        return std::nullopt;
    return value;
}

}  // namespace

LoadAddressDialog::LoadAddressDialog(int address, QWidget* parent, widgets::MessageBoxShower shower)
    : QDialog(parent), address_(address), shower_(std::move(shower)) {
    const widgets::DialogUnits units(font());
    setFixedSize(units.size(212, 70));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    widgets::placeControl(new QLabel("Address", this), 1131, units.rect(7, 9, 40, 10));
    const QString proposed = QString("%1").arg(address, 4, 16, QChar('0')).toUpper();
    field_ = widgets::placeControl(new QLineEdit(this), kAddressFieldId, units.rect(50, 7, 50, 13));
    // The proposal may be longer than what can be typed (a buffer of 16 MB);
    // cutting it would propose another address.
    field_->setMaxLength(std::max(kMaxAddressLength, static_cast<int>(proposed.size())));
    field_->setText(proposed);
    decimal_ = widgets::placeControl(new QRadioButton("Decimal", this), kDecimalButtonId,
                                     units.rect(108, 5, 100, 10));
    auto* hexadecimal = widgets::placeControl(new QRadioButton("Hexadecimal", this),
                                              kHexadecimalButtonId, units.rect(108, 19, 100, 10));
    widgets::addOkButton(this, "OK", units.rect(98, 49, 50, 14));
    widgets::addCancelButton(this, units.rect(155, 49, 50, 14));

    widgets::TranslateWindow(this, kDialogId);
    hexadecimal->setChecked(true);
    field_->selectAll();
}

void LoadAddressDialog::accept() {
    const std::optional<long long> address = parseAddress(field_->text(), !decimal_->isChecked());
    if (!address) {
        const std::string typed = field_->text().toStdString();
        shower_(this,
                {QString::fromStdString(text::formatUiText(text::Msg::InvalidLoadAddress, typed)),
                 QString::fromUtf8(text::GetUiText(text::Msg::ProgrammerCaption)),
                 base::MessageIcon::Warning, QMessageBox::Ok, QMessageBox::Ok});
        field_->setFocus();
        field_->selectAll();
        return;
    }
    address_ = *address;
    QDialog::accept();
}

std::optional<long long> runLoadAddressDialog(QWidget* parent, int proposedAddress) {
    LoadAddressDialog dialog(proposedAddress, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.address();
}

buffers::AddressRequest loadAddressRequest(QWidget* parent) {
    return [parent](int proposedAddress) { return runLoadAddressDialog(parent, proposedAddress); };
}

}  // namespace zavuv::app::dialogs
