#pragma once
// Asking the person for a file name: the request of each file command (its
// filters, default extension, open or save), and the function that asks.
// The main window takes the function as a parameter, so that tests can choose
// files without a person.

#include <functional>
#include <optional>
#include <string>

#include <QString>
#include <QWidget>

namespace zavuv::app::shell {

struct FileRequest {
    bool save = false;  // a save dialog, which asks before overwriting
    QString filters;    // Qt's form: "HEX Files (*.hex);;All Files (*)"
    QString defaultSuffix;
};

// The chosen path; nothing when the person cancelled.
using FileChooser = std::function<std::optional<std::string>(QWidget* owner, const FileRequest&)>;

// The desktop's file dialog, starting with the name "Untitled".
std::optional<std::string> execFileDialog(QWidget* owner, const FileRequest& request);

FileRequest projectOpenRequest();
FileRequest projectSaveRequest();
FileRequest bufferOpenRequest(bool isEeprom);
FileRequest bufferSaveRequest(bool isEeprom);

}  // namespace zavuv::app::shell
