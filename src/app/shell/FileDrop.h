#pragma once
// What a file dropped on the main window does, from its path and where it
// landed.

#include <string_view>

namespace zavuv::app::shell {

enum class DropAction {
    Ignore,       // no usable path
    OpenProject,  // the "kb1" extension, wherever it lands
    LoadFlash,    // over the Flash preview
    LoadEeprom,   // over the EEPROM preview
    Beep,         // anywhere else
};

enum class DropPlace { Elsewhere, FlashPreview, EepromPreview };

// The extension is what follows the last dot, in lower case, or the whole path
// when it has no dot; a path whose only dot is its first character is ignored.
DropAction dropAction(std::string_view path, DropPlace place);

}  // namespace zavuv::app::shell
