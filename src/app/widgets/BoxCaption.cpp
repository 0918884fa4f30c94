#include "app/widgets/BoxCaption.h"

#include <QMouseEvent>

namespace zavuv::app::widgets {

void BoxCaption::mouseReleaseEvent(QMouseEvent* event) {
    if (box_ != nullptr && box_->isEnabled() && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint())) {
        // As the box's own click: toggled, and whoever listens to it is told.
        box_->click();
        event->accept();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

}  // namespace zavuv::app::widgets
