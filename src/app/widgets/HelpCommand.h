#pragma once
// The Help command: the help page opens in the desktop's browser; a missing
// page is reported with its name.

#include <filesystem>
#include <vector>

#include <QWidget>

#include "app/widgets/MessageBox.h"
#include "app/widgets/ShippedFiles.h"

namespace zavuv::app::widgets {

inline constexpr const char* kHelpPage = "help/zavuv.htm";

// Opens the help page found in `folders`; false, after message 1199 over
// `owner`, when no folder holds a readable one, and after a message with the
// page's path when nothing on the desktop could show it.
bool openHelp(QWidget* owner, const std::vector<std::filesystem::path>& folders,
              const UrlOpener& opener = openWithDesktop,
              const MessageBoxShower& shower = execMessageBox);

// The same, looking where the program's shipped files are.
bool openHelp(QWidget* owner);

}  // namespace zavuv::app::widgets
