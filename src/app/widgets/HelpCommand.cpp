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

namespace {

void tell(QWidget* owner, const MessageBoxShower& shower, const std::string& text) {
    shower(owner, {QString::fromStdString(text),
                   QString::fromUtf8(text::GetUiText(text::Msg::ProgrammerCaption)),
                   base::MessageIcon::Information, QMessageBox::Ok, QMessageBox::Ok});
}

}  // namespace

bool openHelp(QWidget* owner, const std::vector<fs::path>& folders, const UrlOpener& opener,
              const MessageBoxShower& shower) {
    for (const fs::path& folder : folders) {
        const fs::path page = folder / kHelpPage;
        if (readableFile(page)) {
            const std::string path = page.lexically_normal().string();
            // What the browser makes of the page is its own to report; a desktop
            // without one must not leave the command doing nothing visible.
            if (opener(QUrl::fromLocalFile(QString::fromStdString(path))))
                return true;
            tell(owner, shower, text::formatUiText(text::Msg::CannotOpenHelpPage, path));
            return false;
        }
    }
    // Name the place a build or an installation puts the page first.
    const fs::path expected = folders.empty() ? fs::path(kHelpPage) : folders.front() / kHelpPage;
    tell(owner, shower, text::formatUiText(text::Msg::CannotFindHelpFile, expected.string()));
    return false;
}

bool openHelp(QWidget* owner) {
    return openHelp(owner, shippedFileFolders());
}

}  // namespace zavuv::app::widgets
