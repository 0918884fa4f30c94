#pragma once
// A line of text that acts as a link: drawn in the link colour and underlined,
// a hand cursor over it, and `activated` on a click or on Enter or Space when it
// has the focus. Its text stays plain, so translation can set it like any label.

#include <QLabel>

namespace zavuv::app::widgets {

class HyperlinkWidget final : public QLabel {
    Q_OBJECT

public:
    explicit HyperlinkWidget(const QString& text, QWidget* parent = nullptr);

signals:
    void activated();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace zavuv::app::widgets
