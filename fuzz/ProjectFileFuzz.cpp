// A project file of any text, loaded as the Open command does: it loads
// exactly when it names a Flash file, and what the program then saves into
// it loads back into another project equal, key for key and byte for byte.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "FuzzFolder.h"
#include "FuzzUserPort.h"
#include "buffers/IniFile.h"
#include "buffers/ProjectKeys.h"
#include "buffers/ProjectSettings.h"

using namespace zavuv;
using buffers::IniFile;
using buffers::MemoryBuffer;
using buffers::ProjectSettings;

namespace {

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The memory files a project may name. The loader reads whatever file a
// project names, devices and pipes included, so the names in the text are
// replaced by these before it loads.
std::string memoryFile(std::string_view named) {
    const std::array<const char*, 5> files{"flash.hex", "eeprom.eep", "image.bin", "missing.hex",
                                           nullptr};
    const auto& chosen = files[std::hash<std::string_view>{}(named) % files.size()];
    return chosen ? fuzz::fuzzFolder().file(chosen) : std::string(buffers::kUnspecifiedPath);
}

void writeMemoryFiles() {
    const auto& folder = fuzz::fuzzFolder();
    folder.write("flash.hex", bytesOf(":0300000001020DEB\n:00000001FF\n"));
    folder.write("eeprom.eep", bytesOf(":02001000AA55EF\n:00000001FF\n"));
    folder.write("image.bin", bytesOf("\x01\x02\x03\x04\x05"));
}

std::string projectText(std::string_view text) {
    IniFile ini = IniFile::fromText(text);
    for (const char* key : {"Flash", "Eeprom"})
        if (ini.hasKey("Files", key))
            ini.writeString("Files", key, memoryFile(ini.readString("Files", key, "")));
    return ini.text();
}

struct Project {
    fuzz::FuzzUserPort person;
    MemoryBuffer flash{false, person};
    MemoryBuffer eeprom{true, person};
    ProjectSettings settings{flash, eeprom, person};
};

void requireEqual(Project& saved, Project& loaded) {
    const auto savedKeys = buffers::projectKeys(saved.settings);
    const auto loadedKeys = buffers::projectKeys(loaded.settings);
    for (std::size_t i = 0; i < savedKeys.size(); ++i)
        fuzz::require(buffers::projectKeyValue(savedKeys[i]) ==
                          buffers::projectKeyValue(loadedKeys[i]),
                      "every key loads back as it was saved");
    fuzz::require(std::ranges::equal(saved.flash.data(), loaded.flash.data()) &&
                      std::ranges::equal(saved.eeprom.data(), loaded.eeprom.data()),
                  "the memory files load back as they were saved");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    writeMemoryFiles();
    const std::string text =
        projectText(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string path = fuzz::fuzzFolder().write("project.kb2", bytesOf(text));

    Project project;
    const bool loaded = project.settings.loadProject(path);
    fuzz::require(loaded == IniFile::fromText(text).hasKey("Files", "Flash"),
                  "a file loads as a project exactly when it names a Flash file");
    if (!loaded)
        return 0;
    fuzz::require(!project.settings.dirty, "a loaded project is clean");

    fuzz::require(project.settings.saveProject(path, nullptr), "the project can be saved");
    Project again;
    fuzz::require(again.settings.loadProject(path), "the saved project loads");
    requireEqual(project, again);
    return 0;
}
