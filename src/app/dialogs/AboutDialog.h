#pragma once
// About (dialog 132): a picture, the program's name and version, and three
// links that the desktop opens: the help page, the documents folder and the
// licence (LICENSE) shipped with the program.

#include <filesystem>
#include <vector>

#include <QDialog>

#include "app/widgets/MessageBox.h"
#include "app/widgets/ShippedFiles.h"

namespace zavuv::app::dialogs {

class AboutDialog final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kDialogId = 132;
    static constexpr int kHelpLinkId = 1108;
    static constexpr int kDocumentsLinkId = 1109;
    static constexpr int kLicenseLinkId = 1110;

    // `folders` are where the shipped files are looked for.
    explicit AboutDialog(QWidget* parent = nullptr,
                         std::vector<std::filesystem::path> folders = widgets::shippedFileFolders(),
                         widgets::UrlOpener opener = widgets::openWithDesktop,
                         widgets::MessageBoxShower shower = widgets::execMessageBox);

private:
    void addLink(int id, const QString& text, const QRect& geometry,
                 const std::filesystem::path& target);
    void openShipped(const std::filesystem::path& relative);

    std::vector<std::filesystem::path> folders_;
    widgets::UrlOpener opener_;
    widgets::MessageBoxShower shower_;
};

void runAboutDialog(QWidget* parent);

}  // namespace zavuv::app::dialogs
