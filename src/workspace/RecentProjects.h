#pragma once
// The recent-projects list: eight slots, most recent first, kept in the
// profile as "Recent"/"Project1".."Project8".

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "buffers/UnspecifiedPath.h"
#include "workspace/ProfileStore.h"

namespace zavuv::workspace {

inline constexpr int kRecentProjectSlots = 8;

// The one marker for "no file", here an empty slot.
using buffers::kUnspecifiedPath;

class RecentProjects {
public:
    // All slots empty until load.
    explicit RecentProjects(ProfileStore& profile);

    void load();
    // False when the profile could not be written.
    bool save();

    // Puts `path`, made absolute, in slot 0. A slot that names the same path in any letter
    // case leaves the list (its place closes up); otherwise the oldest slot
    // falls off. Then the list is saved: false when that failed. An empty
    // path or the marker itself is not a project and changes nothing.
    bool add(std::string_view path);

    const std::array<std::string, kRecentProjectSlots>& paths() const { return slots_; }
    // What the menu lists: the slots before the first empty one.
    std::vector<std::string> entries() const;

private:
    ProfileStore& profile_;
    std::array<std::string, kRecentProjectSlots> slots_;
};

}  // namespace zavuv::workspace
