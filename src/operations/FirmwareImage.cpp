#include "operations/FirmwareImage.h"

#include <cstdlib>
#include <system_error>

#include "buffers/FileIo.h"
#include "text/UiText.h"

namespace zavuv::operations {

namespace fs = std::filesystem;

namespace {

constexpr const char* kImageName = "zavuv-board.bin";

fs::path programFolder() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : program.parent_path();
}

}  // namespace

fs::path firmwareImagePath() {
    if (const char* named = std::getenv("ZAVUV_FIRMWARE"); named && *named)
        return named;
    const fs::path folder = programFolder();
    const fs::path beside = folder / "firmware" / kImageName;
    const fs::path shared = folder / ".." / "share" / "zavuv" / "firmware" / kImageName;
    std::error_code error;
    if (!fs::exists(beside, error) && fs::exists(shared.parent_path(), error))
        return shared;
    return beside;
}

FirmwareImage loadFirmwareImage(const fs::path& path) {
    FirmwareImage image;
    std::error_code error;
    if (!fs::exists(path, error)) {
        image.error = text::formatUiText(text::Msg::FirmwareImageNotFound, path.string());
        return image;
    }
    // A device such as /dev/zero has no size to compare and never ends.
    if (!fs::is_regular_file(path, error)) {
        image.error = text::formatUiText(text::Msg::MemoryFileNotRegular, path.string());
        return image;
    }
    buffers::FileContent content = buffers::readWholeFile(path.string(), kFirmwareImageSize);
    switch (content.status) {
    case buffers::ReadStatus::CannotRead:
        image.error = text::formatUiText(text::Msg::CannotReadFile, path.string());
        return image;
    case buffers::ReadStatus::TooLarge:
        image.error = text::formatUiText(text::Msg::FirmwareImageWrongSize, path.string(),
                                         fs::file_size(path, error));
        return image;
    case buffers::ReadStatus::Ok:
        break;
    }
    if (content.bytes.size() != kFirmwareImageSize) {
        image.error = text::formatUiText(text::Msg::FirmwareImageWrongSize, path.string(),
                                         content.bytes.size());
        return image;
    }
    image.bytes = std::move(content.bytes);
    return image;
}

}  // namespace zavuv::operations
