#include "cli/ProjectCommand.h"

#include "buffers/MemoryBuffer.h"
#include "buffers/ProjectKeys.h"
#include "buffers/ProjectSettings.h"
#include "cli/CliApp.h"

namespace zavuv::cli {

int showProject(const std::string& path, base::UserPort& port, std::ostream& out, Json* json) {
    buffers::MemoryBuffer flash(false, port);
    buffers::MemoryBuffer eeprom(true, port);
    buffers::ProjectSettings project(flash, eeprom, port);
    if (!project.loadProject(path))
        return kExitUsage;
    for (const buffers::ProjectKey& key : buffers::projectKeys(project)) {
        if (!buffers::projectKeyUsed(key))
            continue;
        if (json)
            (*json)[key.section][key.name] = buffers::projectKeyValue(key);
        else
            out << key.section << '/' << key.name << '=' << buffers::projectKeyValue(key) << '\n';
    }
    return kExitOk;
}

}  // namespace zavuv::cli
