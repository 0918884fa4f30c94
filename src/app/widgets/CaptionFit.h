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

// The captions inside a group box share one font size: the smallest that any
// of them needed, so that a group does not mix sizes. A control belongs to the
// groups its place lies in. Each call starts from the controls' own fonts, so
// a size one language needed goes when the language changes.
void evenOutGroupFonts(QWidget* window);

}  // namespace zavuv::app::widgets
