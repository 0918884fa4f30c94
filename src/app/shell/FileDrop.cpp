#include "app/shell/FileDrop.h"

#include "base/AsciiCase.h"

namespace zavuv::app::shell {

DropAction dropAction(std::string_view path, DropPlace place) {
    if (path.empty())
        return DropAction::Ignore;
    const std::size_t dot = path.rfind('.');
    if (dot == 0)
        return DropAction::Ignore;
    const std::string_view extension = dot == std::string_view::npos ? path : path.substr(dot + 1);
    // Every project extension the Open dialog offers opens as a project.
    for (const std::string_view project : {"kb1", "kb2", "zavuv"})
        if (base::equalsIgnoringAsciiCase(extension, project))
            return DropAction::OpenProject;
    switch (place) {
    case DropPlace::FlashPreview:
        return DropAction::LoadFlash;
    case DropPlace::EepromPreview:
        return DropAction::LoadEeprom;
    case DropPlace::Elsewhere:
        break;
    }
    return DropAction::Beep;
}

}  // namespace zavuv::app::shell
