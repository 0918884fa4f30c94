#include "app/widgets/ResizableDialog.h"

#include <QResizeEvent>
#include <QScreen>

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

void ResizableDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !(windowState() & Qt::WindowMaximized) ||
        lastSize_.isEmpty() || screen() == nullptr)
        return;
    const QRect area = screen()->availableGeometry();
    // A window manager would make it as wide as the screen: take the state back
    // and give the window the place a maximised one of this kind has.
    setWindowState(windowState() & ~Qt::WindowMaximized);
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                           frame.right() - client.right(), frame.bottom() - client.bottom());
    const int width = minimumWidth();
    const int frameWidth = width + margins.left() + margins.right();
    setGeometry(area.x() + (area.width() - frameWidth) / 2 + margins.left(),
                area.y() + margins.top(), width, area.height() - margins.top() - margins.bottom());
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
