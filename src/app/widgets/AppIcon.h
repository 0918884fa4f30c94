#pragma once
// The program's icon (icon 132): a chip with a programming lead, drawn here
// at the sizes the desktop asks for.

#include <QIcon>

namespace zavuv::app::widgets {

QIcon applicationIcon();

}  // namespace zavuv::app::widgets
