#include "app/shell/SaveQuestions.h"

#include "app/shell/MainDialog.h"
#include "app/shell/ProjectCommands.h"
#include "text/UiText.h"

namespace zavuv::app::shell {

namespace {

QMessageBox::StandardButton askToSave(MainDialog& window, const std::string& question) {
    return window.hooks().showBox(
        &window, {QString::fromStdString(question),
                  QString::fromStdString(text::GetUiText(text::Msg::ProgrammerCaption)),
                  base::MessageIcon::Question,
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes});
}

// Saves to the buffer's file, or to one the person names.
bool saveBuffer(MainDialog& window, buffers::MemoryBuffer& buffer) {
    if (buffer.hasFilePath())
        return buffer.save();
    const auto path = window.chooseFile(bufferSaveRequest(buffer.isEeprom()));
    return path && buffer.saveAs(*path);
}

bool bufferHoldsChanges(const buffers::MemoryBuffer& buffer) {
    return buffer.modified() && buffer.size() != 0;
}

}  // namespace

bool offerToSaveBuffer(MainDialog& window, buffers::MemoryBuffer& buffer) {
    if (!bufferHoldsChanges(buffer))
        return true;
    switch (askToSave(window, text::GetUiText(buffer.isEeprom() ? text::Msg::SaveEepromQuestion
                                                                : text::Msg::SaveFlashQuestion))) {
    case QMessageBox::Yes:
        return saveBuffer(window, buffer);
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

// A project with a file of its own is saved whole (its buffers with it); work
// without a project file is offered buffer by buffer, then the options.
bool offerToSaveWork(MainDialog& window) {
    auto& ws = window.workspace();
    auto& project = ws.project();
    const bool hasFile = project.projectPath != workspace::kUnspecifiedPath;
    if (!hasFile) {
        bool keptChanges = false;
        for (buffers::MemoryBuffer* buffer : {&ws.flash(), &ws.eeprom()}) {
            const bool held = bufferHoldsChanges(*buffer);
            if (!offerToSaveBuffer(window, *buffer))
                return false;
            keptChanges = keptChanges || (held && buffer->modified());
        }
        // The buffers declined make the project dirty too; their answer stands.
        if (keptChanges)
            return true;
    }
    if (!project.dirty)
        return true;
    switch (askToSave(window,
                      text::formatUiText(text::Msg::SaveProjectQuestion, project.projectPath))) {
    case QMessageBox::Yes:
        return saveProject(window);
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

}  // namespace zavuv::app::shell
