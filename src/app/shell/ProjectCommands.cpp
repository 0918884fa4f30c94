#include "app/shell/ProjectCommands.h"

#include "app/shell/MainDialog.h"
#include "app/shell/MainMenu.h"
#include "app/shell/MainWindowIds.h"
#include "app/shell/SaveQuestions.h"

namespace zavuv::app::shell {

namespace {

// English in both languages.
constexpr const char* kProjectLoaded = "Project loaded";
constexpr const char* kProjectNotLoaded = "Project not loaded";

buffers::ProjectSettings::BufferPathPrompt bufferPathPrompt(MainDialog& window) {
    return [&window](const buffers::MemoryBuffer& buffer) {
        return window.chooseFile(bufferSaveRequest(buffer.isEeprom()));
    };
}

void newProject(MainDialog& window) {
    auto& ws = window.workspace();
    if (!offerToSaveWork(window))
        return;
    ws.project().newProject();
    ws.project().dirty = false;
    ws.preferences().setLoadMostRecent(false);
    window.UpdateControls();
}

void openProject(MainDialog& window) {
    auto& ws = window.workspace();
    if (!offerToSaveWork(window))
        return;
    const auto path = window.chooseFile(projectOpenRequest());
    if (path && loadProjectFile(window, *path)) {
        window.setStatus(kProjectLoaded);
        window.AddRecentProject(*path);
        ws.preferences().setLoadMostRecent(true);
    } else {
        window.setStatus(kProjectNotLoaded);
    }
    window.UpdateControls();
}

// "Project loaded" whatever the reload did: the project then holds what it
// could read, or is as it was.
void reloadProject(MainDialog& window) {
    auto& ws = window.workspace();
    ws.project().reloadProject();
    window.setStatus(kProjectLoaded);
    ws.preferences().setLoadMostRecent(true);
    window.showProjectSelection();
    window.UpdateControls();
}

void saveProjectAs(MainDialog& window) {
    auto& project = window.workspace().project();
    if (const auto path = window.chooseFile(projectSaveRequest())) {
        project.projectPath = *path;
        project.saveProject(*path, bufferPathPrompt(window));
    }
    if (project.projectPath != workspace::kUnspecifiedPath)
        window.AddRecentProject(project.projectPath);
    window.UpdateControls();
}

void closeProject(MainDialog& window) {
    auto& ws = window.workspace();
    if (!offerToSaveWork(window))
        return;
    ws.project().newProject();
    ws.flash().clear();
    ws.eeprom().clear();
    ws.preferences().setLoadMostRecent(false);
    window.UpdateControls();
}

void openRecentProject(MainDialog& window, int slot) {
    auto& ws = window.workspace();
    // A copy: adding it to the list moves the slots.
    const std::string path = window.recentProjects().paths()[static_cast<std::size_t>(slot)];
    if (path.empty() || path == workspace::kUnspecifiedPath || !offerToSaveWork(window))
        return;
    window.AddRecentProject(path);
    loadProjectFile(window, path);
    ws.preferences().setLoadMostRecent(true);
    window.UpdateControls();
}

}  // namespace

bool saveProject(MainDialog& window) {
    auto& project = window.workspace().project();
    project.saveOrSaveAs([&window] { return window.chooseFile(projectSaveRequest()); },
                         bufferPathPrompt(window));
    window.UpdateControls();
    return !project.dirty;
}

bool loadProjectFile(MainDialog& window, const std::string& path) {
    if (!window.workspace().project().loadProject(path))
        return false;
    window.showProjectSelection();
    return true;
}

void addProjectCommands(MainDialog& window) {
    CommandTable& table = window.commands();
    table.add(id::kNewProject, [&window] { newProject(window); });
    table.add(id::kOpenProject, [&window] { openProject(window); });
    table.add(id::kReloadProject, [&window] { reloadProject(window); });
    table.add(id::kSaveProject, [&window] { saveProject(window); });
    table.add(id::kSaveProjectAs, [&window] { saveProjectAs(window); });
    table.add(id::kCloseProject, [&window] { closeProject(window); });
    for (int slot = 0; slot < workspace::kRecentProjectSlots; ++slot)
        table.add(id::kFirstRecentProject + slot,
                  [&window, slot] { openRecentProject(window, slot); });
}

}  // namespace zavuv::app::shell
