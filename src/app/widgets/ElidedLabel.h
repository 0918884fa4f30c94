#pragma once
// A one-line sunken text that never cuts a text off at its edges: a text that
// does not fit loses characters in the middle ("/home/me/…/image.hex"), so that
// its beginning and its end (a file name, the last digit of a number) stay,
// and the whole text is the tooltip.

#include <QLabel>

namespace zavuv::app::widgets {

class ElidedLabel final : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(const QString& text, QWidget* parent);

    // The text, with itself as the tooltip; `toolTip` when one is given.
    void setText(const QString& text, const QString& toolTip = {});
    // The text as drawn: the whole text when it fits.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace zavuv::app::widgets
