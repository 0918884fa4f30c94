#pragma once
// Dialog templates give positions in dialog units: a quarter of the dialog
// font's average character width across, an eighth of its height down. The
// windows convert them with the font they actually show, so that a template
// keeps its proportions with any system font.

#include <QFont>
#include <QRect>
#include <QSize>

namespace zavuv::app::widgets {

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int baseWidth() const { return baseWidth_; }
    int baseHeight() const { return baseHeight_; }

    // Positions and sizes are never negative in a template.
    int toPixelsX(int units) const;
    int toPixelsY(int units) const;
    QRect rect(int left, int top, int width, int height) const;
    QSize size(int width, int height) const;

private:
    int baseWidth_;
    int baseHeight_;
};

}  // namespace zavuv::app::widgets
