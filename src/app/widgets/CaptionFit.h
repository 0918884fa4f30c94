#pragma once
// Captions that are wider than their control, as some Russian ones are in the
// dialog templates' fixed places, are drawn in a smaller font instead of being
// cut off.

#include <QWidget>

namespace zavuv::app::widgets {

// Gives a button, check box, radio button or one-line label the window's font
// again, or a smaller one (down to 70 % of it) when its text would not fit.
// Other controls are left alone.
void fitCaption(QWidget* control);

}  // namespace zavuv::app::widgets
