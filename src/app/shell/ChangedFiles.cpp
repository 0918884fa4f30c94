#include "app/shell/ChangedFiles.h"

#include "app/shell/MainDialog.h"
#include "text/UiText.h"

namespace zavuv::app::shell {

void reloadChangedFiles(MainDialog& window, std::initializer_list<buffers::MemoryBuffer*> buffers) {
    for (buffers::MemoryBuffer* buffer : buffers) {
        if (!buffer->fileChangedOnDisk())
            continue;
        const std::string path = buffer->path();
        if (buffer->modified()) {
            const auto answer = window.hooks().showBox(
                &window, {QString::fromStdString(
                              text::formatUiText(text::Msg::ReloadChangedFileQuestion, path)),
                          QString::fromStdString(text::GetUiText(text::Msg::ProgrammerCaption)),
                          base::MessageIcon::Question, QMessageBox::Yes | QMessageBox::No,
                          QMessageBox::Yes});
            if (answer != QMessageBox::Yes)
                continue;
        }
        if (buffer->reload() && !buffer->modified() && buffer->path() == path)
            window.setStatus(text::formatUiText(text::Msg::FileReloadedFromDisk, path));
    }
    window.UpdateControls();
}

}  // namespace zavuv::app::shell
