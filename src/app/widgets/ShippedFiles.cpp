#include "app/widgets/ShippedFiles.h"

#include <QCoreApplication>
#include <QDesktopServices>

namespace zavuv::app::widgets {

namespace fs = std::filesystem;

std::vector<fs::path> shippedFileFolders() {
    const fs::path programFolder = QCoreApplication::applicationDirPath().toStdString();
    const fs::path share = programFolder / ".." / "share";
    return {programFolder, share / "zavuv", share / "doc" / "zavuv"};
}

std::optional<fs::path> findShippedFile(const fs::path& relative,
                                        const std::vector<fs::path>& folders) {
    for (const fs::path& folder : folders) {
        std::error_code error;
        if (fs::exists(folder / relative, error))
            return (folder / relative).lexically_normal();
    }
    return std::nullopt;
}

bool openWithDesktop(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

}  // namespace zavuv::app::widgets
