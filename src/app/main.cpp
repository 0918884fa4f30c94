// zavuv: the desktop programmer. Arguments: [--simulate] [PROJECT [-autoprogram]].

#include <optional>
#include <string>
#include <vector>

#include <QApplication>

#include "app/shell/ExitWhenShown.h"
#include "app/shell/MainDialog.h"
#include "app/shell/StartOptions.h"
#include "app/shell/UnattendedBoxes.h"
#include "base/StopSignals.h"
#include "workspace/CommandLine.h"

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
    hooks.unattended = shell::boxesAnsweredFromEnvironment();
    shell::MainDialog window(profile, hooks);
    const shell::StartOptions options = shell::startOptionsFromArguments(arguments);
    // The automatic run, like the command line, ends its board session cleanly
    // on SIGTERM, SIGHUP or Ctrl-C; a window a person uses ends as usual.
    std::optional<base::StopOnSignals> stopOnSignals;
    if (workspace::isAutoProgramSwitch(options.commandLine.switchText))
        stopOnSignals.emplace(window.workspace().progressRunner());
    if (!window.initDialog(options))
        return window.autoprogramOk() ? 0 : 1;
    stopOnSignals.reset();
    shell::exitWhenShownIfAsked(window);
    window.exec();
    return 0;
}
