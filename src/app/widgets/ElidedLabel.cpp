#include "app/widgets/ElidedLabel.h"

#include <QPainter>

namespace zavuv::app::widgets {

ElidedLabel::ElidedLabel(const QString& text, QWidget* parent) : QLabel(parent) {
    setText(text);
}

void ElidedLabel::setText(const QString& text, const QString& toolTip) {
    QLabel::setText(text);
    setToolTip(toolTip.isEmpty() ? text : toolTip);
}

QString ElidedLabel::shownText() const {
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width());
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(area, static_cast<int>(alignment()) | Qt::TextSingleLine, shownText());
}

}  // namespace zavuv::app::widgets
