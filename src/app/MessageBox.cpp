#include "app/MessageBox.h"

namespace zavuv::app {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QMessageBox::StandardButton execMessageBox(QWidget* owner, const MessageBoxRequest& request) {
    QMessageBox box(boxIcon(request.icon), request.caption, request.text, request.buttons, owner);
    box.setWindowModality(Qt::ApplicationModal);
    if (request.defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(request.defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace zavuv::app
