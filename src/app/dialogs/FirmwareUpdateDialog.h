#pragma once
// The firmware update's settings (dialog 150): shows the board's current
// identification and the version that would be written, and asks for the
// transfer speed. Reduced speed pauses longer between chunks, for adapters and
// boards that lose bytes at the normal pace. The upload itself is the caller's.

#include <optional>

#include <QDialog>
#include <QString>

class QRadioButton;

namespace zavuv::app::dialogs {

enum class FirmwareUploadSpeed { Normal, Reduced };

class FirmwareUpdateDialog final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kDialogId = 150;
    static constexpr int kCurrentVersionId = 1155;
    static constexpr int kNewVersionId = 1157;
    static constexpr int kNormalSpeedId = 1158;
    static constexpr int kReducedSpeedId = 1159;

    FirmwareUpdateDialog(const QString& currentVersion, const QString& newVersion,
                         QWidget* parent = nullptr);

    // Normal exactly when the first speed button is checked.
    FirmwareUploadSpeed speed() const;

private:
    QRadioButton* normal_;
};

// The speed chosen with "Update", or nothing on Cancel.
std::optional<FirmwareUploadSpeed>
runFirmwareUpdateDialog(QWidget* parent, const QString& currentVersion, const QString& newVersion);

}  // namespace zavuv::app::dialogs
