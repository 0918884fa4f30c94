#include "app/widgets/MessageBox.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QSpacerItem>

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

// Room in the title bar beside the caption: the icon and the close button.
constexpr int kTitleBarExtra = 120;

// A box sizes itself by its text alone, so that a short text left its caption
// cut off in the title bar; a row as wide as the caption needs keeps it whole.
void makeRoomForCaption(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr)
        return;
    const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
    const int width = title.horizontalAdvance(box.windowTitle()) + kTitleBarExtra;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

QMessageBox::StandardButton execMessageBox(QWidget* owner, const MessageBoxRequest& request) {
    QMessageBox box(boxIcon(request.icon), request.caption, request.text, request.buttons, owner);
    box.setWindowModality(Qt::ApplicationModal);
    makeRoomForCaption(box);
    if (request.defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(request.defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace zavuv::app::widgets
