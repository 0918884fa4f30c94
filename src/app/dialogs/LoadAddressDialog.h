#pragma once
// Load Address (dialog 149): where "Load At" puts a file in the buffer. The
// address is typed in decimal or hexadecimal (at most six characters); one
// that is negative or not a number is refused and the dialog stays open.

#include <optional>

#include <QDialog>

#include "app/widgets/MessageBox.h"
#include "buffers/MemoryBuffer.h"

class QLineEdit;
class QRadioButton;

namespace zavuv::app::dialogs {

class LoadAddressDialog final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kDialogId = 149;
    static constexpr int kAddressFieldId = 1128;
    static constexpr int kDecimalButtonId = 1129;
    static constexpr int kHexadecimalButtonId = 1130;

    // Proposes `address` in hexadecimal.
    explicit LoadAddressDialog(int address, QWidget* parent = nullptr,
                               widgets::MessageBoxShower shower = widgets::execMessageBox);

    // Valid once the dialog was accepted.
    long long address() const { return address_; }

public slots:
    void accept() override;

private:
    QLineEdit* field_;
    QRadioButton* decimal_;
    long long address_;
    widgets::MessageBoxShower shower_;
};

// The address confirmed, or nothing on Cancel.
std::optional<long long> runLoadAddressDialog(QWidget* parent, int proposedAddress);

// The dialog as the buffers' Load At asks for its address, over `parent`.
buffers::AddressRequest loadAddressRequest(QWidget* parent);

}  // namespace zavuv::app::dialogs
