#pragma once
// Files that ship with the program: the help page, the documents folder, the
// README and the licence. A build keeps them beside the executable; an
// installed program has the help page in ../share/zavuv/ beside its bin folder
// and the documents in ../share/doc/zavuv/.

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include <QUrl>

namespace zavuv::app::widgets {

// The folders looked in, in order: the executable's, then ../share/zavuv/ and
// ../share/doc/zavuv/.
std::vector<std::filesystem::path> shippedFileFolders();

// `relative` (a file or a folder) in the first folder that has it.
std::optional<std::filesystem::path>
findShippedFile(const std::filesystem::path& relative,
                const std::vector<std::filesystem::path>& folders);

// Hands a file or folder to the desktop, which opens it with the user's
// browser or file manager. Tests put a recorder in its place.
using UrlOpener = std::function<bool(const QUrl&)>;
bool openWithDesktop(const QUrl& url);

}  // namespace zavuv::app::widgets
