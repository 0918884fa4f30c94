#include "workspace/ProfileStore.h"

#include <system_error>

#include "base/ProcessEnvironment.h"
#include "base/Utf8Path.h"

namespace zavuv::workspace {

namespace fs = std::filesystem;

namespace {

std::optional<std::string> nonEmpty(const EnvironmentLookup& environment, const char* name) {
    std::optional<std::string> value = environment(name);
    if (value && value->empty()) {
        return std::nullopt;
    }
    return value;
}

fs::path configurationFolder(const EnvironmentLookup& environment) {
#ifdef _WIN32
    if (const auto appData = nonEmpty(environment, "APPDATA")) {
        return base::utf8Path(*appData);
    }
#else
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the XDG rules say.
    if (const auto xdg = nonEmpty(environment, "XDG_CONFIG_HOME"); xdg && xdg->front() == '/') {
        return base::utf8Path(*xdg);
    }
    if (const auto home = nonEmpty(environment, "HOME")) {
        return base::utf8Path(*home) / ".config";
    }
#endif
    return {};
}

}  // namespace

fs::path profileLocation(const EnvironmentLookup& environment) {
    if (const auto named = nonEmpty(environment, "ZAVUV_PROFILE")) {
        return base::utf8Path(*named);
    }
    const fs::path folder = configurationFolder(environment);
    return folder.empty() ? fs::path() : folder / "zavuv" / "zavuv.ini";
}

fs::path defaultProfileLocation() {
    return profileLocation(base::environmentValue);
}

ProfileStore::ProfileStore(fs::path path) : path_(std::move(path)) {
    if (path_.empty()) {
        return;
    }
    if (auto loaded = buffers::IniFile::load(base::utf8Name(path_))) {
        file_ = std::move(*loaded);
    } else {
        readable_ = false;
    }
}

int ProfileStore::readInt(std::string_view section, std::string_view key, int defaultValue) const {
    return file_.readInt(section, key, defaultValue);
}

std::string ProfileStore::readString(std::string_view section, std::string_view key,
                                     std::string_view defaultValue) const {
    return file_.readString(section, key, defaultValue);
}

bool ProfileStore::writeInt(std::string_view section, std::string_view key, int value) {
    return writeThrough([section = std::string(section), key = std::string(key), value](
                            buffers::IniFile& file) { return file.writeInt(section, key, value); });
}

bool ProfileStore::writeString(std::string_view section, std::string_view key,
                               std::string_view value) {
    return writeThrough([section = std::string(section), key = std::string(key),
                         value = std::string(value)](buffers::IniFile& file) {
        return file.writeString(section, key, value);
    });
}

void ProfileStore::closeChangeSet() {
    if (--openChangeSets_ > 0 || pending_.empty())
        return;
    const std::vector<Write> writes = std::move(pending_);
    pending_.clear();
    saveWrites(writes);
}

// The file is read afresh before each write, so that keys another running
// copy of the program wrote meanwhile are kept rather than overwritten.
bool ProfileStore::writeThrough(const Write& write) {
    if (!write(file_) || path_.empty()) {
        return false;
    }
    if (openChangeSets_ > 0) {
        pending_.push_back(write);
        return true;
    }
    return saveWrites({write});
}

bool ProfileStore::saveWrites(const std::vector<Write>& writes) {
    std::optional<buffers::IniFile> onDisk = buffers::IniFile::load(base::utf8Name(path_));
    if (!onDisk) {
        return false;
    }
    readable_ = true;
    for (const Write& write : writes)
        write(*onDisk);
    std::error_code ignored;  // a folder that cannot be made fails the save below
    fs::create_directories(path_.parent_path(), ignored);
    if (!onDisk->save(base::utf8Name(path_))) {
        return false;
    }
    file_ = std::move(*onDisk);
    return true;
}

}  // namespace zavuv::workspace
