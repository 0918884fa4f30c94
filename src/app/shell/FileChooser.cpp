#include "app/shell/FileChooser.h"

#include <QFileDialog>

namespace zavuv::app::shell {

namespace {

const QString kProjectFilters = "ZAVUV Projects (*.kb2);;ZAVUV Projects (*.zavuv)";
const QString kEepromFilters =
    "EEP Files (*.eep);;HEX Files (*.hex);;BIN Files (*.bin);;All Files (*)";

}  // namespace

std::optional<std::string> execFileDialog(QWidget* owner, const FileRequest& request) {
    QFileDialog dialog(owner);
    dialog.setNameFilters(request.filters.split(";;"));
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.selectFile("Untitled");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

// A project saved without an extension gets "kb2", which the open dialog lists.
FileRequest projectOpenRequest() {
    return {false, kProjectFilters, "kb2"};
}

FileRequest projectSaveRequest() {
    return {true, kProjectFilters, "kb2"};
}

FileRequest bufferOpenRequest(bool isEeprom) {
    if (isEeprom)
        return {false, kEepromFilters, "eep"};
    return {false, "HEX Files (*.hex);;BIN Files (*.bin);;All Files (*)", "hex"};
}

FileRequest bufferSaveRequest(bool isEeprom) {
    if (isEeprom)
        return {true, kEepromFilters, "eep"};
    return {true, "HEX Files (*.hex);;EEP Files (*.eep);;BIN Files (*.bin);;All Files (*)", "hex"};
}

}  // namespace zavuv::app::shell
