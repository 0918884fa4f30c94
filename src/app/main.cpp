// zavuv: the desktop programmer. Arguments: [--simulate] [PROJECT [-autoprogram]].

#include <string>
#include <vector>

#include <QApplication>

#include "app/shell/ExitWhenShown.h"
#include "app/shell/MainDialog.h"
#include "app/shell/StartOptions.h"
#include "app/shell/UnattendedBoxes.h"

int main(int argc, char** argv) {
    using namespace zavuv;
    using namespace zavuv::app;
    QApplication application(argc, argv);
    // QApplication has taken its own options out of the list.
    const QStringList all = QApplication::arguments();
    std::vector<std::string> arguments;
    for (qsizetype i = 1; i < all.size(); ++i)
        arguments.push_back(all[i].toStdString());

    workspace::ProfileStore profile(workspace::defaultProfileLocation());
    shell::MainDialogHooks hooks;
    hooks.showBox = shell::messageBoxShowerFromEnvironment();
    shell::MainDialog window(profile, hooks);
    if (!window.initDialog(shell::startOptionsFromArguments(arguments)))
        return window.autoprogramOk() ? 0 : 1;
    shell::exitWhenShownIfAsked(window);
    window.exec();
    return 0;
}
