#include "app/shell/FileChooser.h"

#include <QFileDialog>
#include <QStringList>

#include "buffers/FileFormats.h"

namespace zavuv::app::shell {

namespace {

const QString kProjectFilters = "ZAVUV Projects (*.kb2);;ZAVUV Projects (*.zavuv)";

// The buffers' list of formats in Qt's form: "HEX Files (*.hex *.eep);;...;;All Files (*)".
FileRequest bufferRequest(bool isEeprom, bool save) {
    QStringList filters;
    for (const auto& filter : buffers::bufferFileFilters(isEeprom, save)) {
        QStringList patterns;
        for (const auto& extension : filter.extensions)
            patterns << "*." + QString::fromStdString(extension);
        filters << QString::fromStdString(filter.name) + " (" + patterns.join(' ') + ")";
    }
    filters << "All Files (*)";
    const std::string_view suffix = buffers::defaultBufferExtension(isEeprom);
    return {save, filters.join(";;"),
            QString::fromUtf8(suffix.data(), static_cast<qsizetype>(suffix.size()))};
}

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
    return bufferRequest(isEeprom, false);
}

FileRequest bufferSaveRequest(bool isEeprom) {
    return bufferRequest(isEeprom, true);
}

}  // namespace zavuv::app::shell
