#pragma once

namespace zavuv::buffers {

// The one marker for "no file" in buffer paths, project files and the
// recent-projects list.
inline constexpr const char* kUnspecifiedPath = "[Unspecified]";

}  // namespace zavuv::buffers
