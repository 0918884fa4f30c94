// zavuv: the desktop programmer. Arguments: [--simulate] [PROJECT [-autoprogram]].

#include <string>
#include <vector>

#include <QApplication>

#include "app/ExitWhenShown.h"
#include "app/MainDialog.h"
#include "app/StartOptions.h"
#include "app/UnattendedBoxes.h"

int main(int argc, char** argv) {
    using namespace zavuv;
    QApplication application(argc, argv);
    // QApplication has taken its own options out of the list.
    const QStringList all = QApplication::arguments();
    std::vector<std::string> arguments;
    for (qsizetype i = 1; i < all.size(); ++i)
        arguments.push_back(all[i].toStdString());

    workspace::ProfileStore profile(workspace::defaultProfileLocation());
    app::MainDialogHooks hooks;
    hooks.showBox = app::messageBoxShowerFromEnvironment();
    app::MainDialog window(profile, hooks);
    if (!window.initDialog(app::startOptionsFromArguments(arguments)))
        return window.autoprogramOk() ? 0 : 1;
    app::exitWhenShownIfAsked(window);
    window.exec();
    return 0;
}
