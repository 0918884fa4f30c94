#pragma once
// One modal message box as the program asks for it, and the function that
// shows it. Code that shows boxes takes the function as a parameter, so that
// tests can answer boxes without a person (a modal box blocks its caller).

#include <functional>

#include <QMessageBox>
#include <QString>

#include "base/UserPort.h"

namespace zavuv::app::widgets {

struct MessageBoxRequest {
    QString text;
    QString caption;
    base::MessageIcon icon = base::MessageIcon::None;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Shows the box over `owner` (nullptr: no owner) and returns the button chosen.
using MessageBoxShower =
    std::function<QMessageBox::StandardButton(QWidget* owner, const MessageBoxRequest&)>;

// The real box, modal for the whole application, as a task-modal box is.
QMessageBox::StandardButton execMessageBox(QWidget* owner, const MessageBoxRequest& request);

}  // namespace zavuv::app::widgets
