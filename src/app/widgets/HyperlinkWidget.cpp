#include "app/widgets/HyperlinkWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace zavuv::app::widgets {

HyperlinkWidget::HyperlinkWidget(const QString& text, QWidget* parent) : QLabel(text, parent) {
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    QPalette linkColours = palette();
    linkColours.setColor(QPalette::WindowText, linkColours.color(QPalette::Link));
    setPalette(linkColours);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void HyperlinkWidget::mouseReleaseEvent(QMouseEvent* event) {
    // A press that is dragged off the link and released elsewhere opens nothing.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit activated();
    QLabel::mouseReleaseEvent(event);
}

void HyperlinkWidget::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Space) {
        emit activated();
        return;
    }
    QLabel::keyPressEvent(event);
}

}  // namespace zavuv::app::widgets
