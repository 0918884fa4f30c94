#include "workspace/RecentProjects.h"

#include <algorithm>
#include <filesystem>

#include <fmt/format.h>

#include "base/AsciiCase.h"
#include "base/Utf8Path.h"

namespace zavuv::workspace {

namespace {

std::string slotKey(std::size_t slot) {
    return fmt::format("Project{}", slot + 1);
}

bool isEmptySlot(std::string_view path) {
    return path.empty() || path == kUnspecifiedPath;
}

}  // namespace

RecentProjects::RecentProjects(ProfileStore& profile) : profile_(profile) {
    slots_.fill(std::string(kUnspecifiedPath));
}

void RecentProjects::load() {
    for (std::size_t k = 0; k < slots_.size(); ++k) {
        slots_[k] = profile_.readString("Recent", slotKey(k), kUnspecifiedPath);
        // A hand-emptied "ProjectN=" is an empty slot, not a nameless project.
        if (slots_[k].empty()) {
            slots_[k] = kUnspecifiedPath;
        }
    }
}

bool RecentProjects::save() {
    bool saved = true;
    for (std::size_t k = 0; k < slots_.size(); ++k) {
        saved = profile_.writeString("Recent", slotKey(k), slots_[k]) && saved;
    }
    return saved;
}

bool RecentProjects::add(std::string_view given) {
    if (isEmptySlot(given)) {
        return true;
    }
    // A name given relative to the folder the program started in would name
    // another file the next time it starts elsewhere.
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(base::utf8Path(given), error);
    const std::string path =
        error ? std::string(given) : base::utf8Name(absolute.lexically_normal());
    const auto match = std::ranges::find_if(
        slots_, [&](const std::string& slot) { return base::equalsIgnoringAsciiCase(slot, path); });
    // Slots before the match (or all but the last) move one place down.
    const auto end = match == slots_.end() ? slots_.end() - 1 : match;
    std::move_backward(slots_.begin(), end, end + 1);
    slots_.front() = path;
    return save();
}

std::vector<std::string> RecentProjects::entries() const {
    const auto firstEmpty = std::ranges::find_if(slots_, isEmptySlot);
    return {slots_.begin(), firstEmpty};
}

}  // namespace zavuv::workspace
