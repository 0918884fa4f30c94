#pragma once
// Replacing a file so that a reader, a crash or a full disk never sees it half
// written: the new bytes go to a temporary file beside it, which is flushed to
// the disk and then renamed over the old one in a single step.

#include <filesystem>
#include <string_view>

namespace zavuv::buffers {

// True when `bytes` are the file's whole content on disk. On false the old
// file, if any, is untouched and no temporary file is left behind. A symbolic
// link is followed, so the file it points to is replaced, not the link. An
// existing file keeps its permission bits.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

} // namespace zavuv::buffers
