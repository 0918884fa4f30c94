#pragma once
// The application profile: the user's preferences between runs, in one INI
// file. A write goes to disk at once, so what was written survives a crash or
// a kill of the program; the writes of one change set (the start-up, a
// dialog's OK, the exit) go to disk together, in one atomic write.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "buffers/IniFile.h"

namespace zavuv::workspace {

// Looks up an environment variable; nothing when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// ZAVUV_PROFILE when set; otherwise zavuv/zavuv.ini in the platform's
// configuration folder: %APPDATA% on Windows, elsewhere $XDG_CONFIG_HOME or
// ~/.config. Empty when the environment names no such folder.
std::filesystem::path profileLocation(const EnvironmentLookup& environment);
std::filesystem::path defaultProfileLocation();

class ProfileStore {
public:
    // Reads the profile; a missing file is an empty profile.
    explicit ProfileStore(std::filesystem::path path);

    const std::filesystem::path& path() const { return path_; }
    // False when the file exists but could not be read. The store then holds
    // no keys, and writes fail rather than replace the file.
    bool readable() const { return readable_; }

    int readInt(std::string_view section, std::string_view key, int defaultValue) const;
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;

    // False when the value was not saved. The new value is read back from
    // this store in any case, as long as it can stand in an INI line.
    bool writeInt(std::string_view section, std::string_view key, int value);
    bool writeString(std::string_view section, std::string_view key, std::string_view value);

    // While a change set is open, writes are kept and read back from memory;
    // when the outermost one closes they reach the file in one write, on the
    // file as it is then (another running copy's keys stay).
    class ChangeSet {
    public:
        explicit ChangeSet(ProfileStore& store) : store_(store) { ++store_.openChangeSets_; }
        ~ChangeSet() { store_.closeChangeSet(); }
        ChangeSet(const ChangeSet&) = delete;
        ChangeSet& operator=(const ChangeSet&) = delete;

    private:
        ProfileStore& store_;
    };

private:
    using Write = std::function<bool(buffers::IniFile&)>;
    void closeChangeSet();
    bool saveWrites(const std::vector<Write>& writes);

    bool writeThrough(const Write& write);

    std::filesystem::path path_;
    buffers::IniFile file_;
    bool readable_ = true;
    int openChangeSets_ = 0;
    std::vector<Write> pending_;
};

}  // namespace zavuv::workspace
