#pragma once
// The Project menu: New, Open, Reload, Save, Save As, Close and the recent
// projects, with their status texts and the "LoadMostRecent" preference.

#include <string>

namespace zavuv::app::shell {

class MainDialog;

void addProjectCommands(MainDialog& window);

// Loads the project and, when it loaded, shows its device and SCK period in
// the lists (a dropped project file, a recent entry).
bool loadProjectFile(MainDialog& window, const std::string& path);

// Save: the project and its buffers, asking for the paths they lack. True
// when everything was written.
bool saveProject(MainDialog& window);

}  // namespace zavuv::app::shell
