#include "app/dialogs/AboutDialog.h"

#include <QLabel>

#include "app/widgets/AboutPictureWidget.h"
#include "app/widgets/DialogControls.h"
#include "app/widgets/DialogUnits.h"
#include "app/widgets/HelpCommand.h"
#include "app/widgets/HyperlinkWidget.h"
#include "app/widgets/Translation.h"

namespace zavuv::app::dialogs {

namespace fs = std::filesystem;

namespace {

constexpr int kPictureId = 1103;

}  // namespace

AboutDialog::AboutDialog(QWidget* parent, std::vector<fs::path> folders, widgets::UrlOpener opener,
                         widgets::MessageBoxShower shower)
    : QDialog(parent), folders_(std::move(folders)), opener_(std::move(opener)),
      shower_(std::move(shower)) {
    const widgets::DialogUnits units(font());
    setFixedSize(units.size(236, 104));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    widgets::placeControl(new widgets::AboutPictureWidget(this), kPictureId,
                          units.rect(7, 7, 56, 45));
    const auto addLine = [&](int id, const char* text, int top) {
        widgets::placeControl(new QLabel(text, this), id, units.rect(70, top, 160, 10));
    };
    addLine(1104, "In-System Programmer", 7);
    addLine(1107, "Version 11.15, November 2006", 19);
    addLine(1105, "For Windows XP/2000", 31);
    addLine(1106, "Links:", 47);
    addLink(kHelpLinkId, widgets::kHelpPage, units.rect(70, 59, 160, 10), widgets::kHelpPage);
    addLink(kDocumentsLinkId, "docs", units.rect(70, 71, 160, 10), "docs");
    addLink(kLicenseLinkId, "LICENSE", units.rect(70, 83, 100, 10), "LICENSE");
    widgets::addOkButton(this, "OK", units.rect(179, 83, 50, 14));

    widgets::TranslateWindow(this, kDialogId);
}

void AboutDialog::addLink(int id, const QString& text, const QRect& geometry,
                          const fs::path& target) {
    auto* link = widgets::placeControl(new widgets::HyperlinkWidget(text, this), id, geometry);
    connect(link, &widgets::HyperlinkWidget::activated, this, [this, target] {
        if (target == widgets::kHelpPage)
            widgets::openHelp(this, folders_, opener_, shower_);
        else
            openShipped(target);
    });
}

// A file that is missing is still handed over: the desktop says it is not there.
void AboutDialog::openShipped(const fs::path& relative) {
    fs::path path = widgets::findShippedFile(relative, folders_)
                        .value_or(folders_.empty() ? relative : folders_.front() / relative);
    opener_(QUrl::fromLocalFile(QString::fromStdString(path.string())));
}

void runAboutDialog(QWidget* parent) {
    AboutDialog dialog(parent);
    dialog.exec();
}

}  // namespace zavuv::app::dialogs
