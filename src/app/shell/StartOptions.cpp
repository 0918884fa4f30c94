#include "app/shell/StartOptions.h"

#include <vector>

namespace zavuv::app::shell {

StartOptions startOptionsFromArguments(std::span<const std::string> arguments) {
    StartOptions options;
    std::vector<std::string> rest;
    for (const std::string& argument : arguments) {
        if (argument == kSimulateOption)
            options.simulate = true;
        else
            rest.push_back(argument);
    }
    options.commandLine = workspace::commandLineFromArguments(rest);
    return options;
}

}  // namespace zavuv::app::shell
