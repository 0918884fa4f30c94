#include "app/widgets/ResizableDialog.h"

#include <QResizeEvent>

namespace zavuv::app::widgets {

ResizableDialog::ResizableDialog(int dialogId, QWidget* parent)
    : QDialog(parent), dialogId_(dialogId) {}

void ResizableDialog::AddAnchor(int controlId, AnchorFlags flags) {
    if (flags)
        anchors_.push_back({controlId, flags});
}

void ResizableDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (isMinimized())
        return;
    const QSize size = event->size();
    if (lastSize_.isEmpty()) {
        // The size the window was made with: it may grow taller from here,
        // but neither shrink nor change its width.
        setMinimumSize(size);
        setMaximumWidth(size.width());
    } else {
        followEdges(size.width() - lastSize_.width(), size.height() - lastSize_.height());
    }
    lastSize_ = size;
}

void ResizableDialog::followEdges(int dx, int dy) {
    for (const Anchor& anchor : anchors_) {
        auto* control = findChild<QWidget*>(QString::number(anchor.controlId));
        if (control == nullptr)
            continue;
        QRect r = control->geometry();
        if (dx != 0) {
            if (anchor.flags & AnchorFlag::StretchWidth)
                r.setRight(r.right() + dx);
            else if (anchor.flags & AnchorFlag::MoveRight)
                r.translate(dx, 0);
        }
        if (dy != 0) {
            if (anchor.flags & AnchorFlag::StretchHeight)
                r.setBottom(r.bottom() + dy);
            else if (anchor.flags & AnchorFlag::MoveDown)
                r.translate(0, dy);
        }
        control->setGeometry(r);
    }
}

}  // namespace zavuv::app::widgets
