#include "app/widgets/HelpCommand.h"

#include <fstream>

#include "text/UiText.h"

namespace zavuv::app::widgets {

namespace fs = std::filesystem;

namespace {

bool readableFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error) && std::ifstream(path).is_open();
}

}  // namespace

bool openHelp(QWidget* owner, const std::vector<fs::path>& folders, const UrlOpener& opener,
              const MessageBoxShower& shower) {
    for (const fs::path& folder : folders) {
        const fs::path page = folder / kHelpPage;
        if (readableFile(page)) {
            // What the browser makes of it is the browser's to report.
            opener(QUrl::fromLocalFile(QString::fromStdString(page.lexically_normal().string())));
            return true;
        }
    }
    // Name the place a build or an installation puts the page first.
    const fs::path expected = folders.empty() ? fs::path(kHelpPage) : folders.front() / kHelpPage;
    shower(owner, {QString::fromStdString(
                       text::formatUiText(text::Msg::CannotFindHelpFile, expected.string())),
                   QString::fromUtf8(text::GetUiText(text::Msg::ProgrammerCaption)),
                   base::MessageIcon::Information, QMessageBox::Ok, QMessageBox::Ok});
    return false;
}

bool openHelp(QWidget* owner) {
    return openHelp(owner, shippedFileFolders());
}

}  // namespace zavuv::app::widgets
