#include "app/widgets/MessageBox.h"

namespace zavuv::app::widgets {

namespace {

QMessageBox::Icon boxIcon(base::MessageIcon icon) {
    switch (icon) {
    case base::MessageIcon::Information:
        return QMessageBox::Information;
    case base::MessageIcon::Warning:
        return QMessageBox::Warning;
    case base::MessageIcon::Error:
        return QMessageBox::Critical;
    case base::MessageIcon::Question:
        return QMessageBox::Question;
    case base::MessageIcon::None:
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

}  // namespace zavuv::app::widgets
