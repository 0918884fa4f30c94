#include "operations/FirmwareImage.h"

#include <system_error>

#include "base/ProcessEnvironment.h"
#include "base/Utf8Path.h"
#include "buffers/FileIo.h"
#include "text/UiText.h"

namespace zavuv::operations {

namespace fs = std::filesystem;

namespace {

constexpr const char* kImageName = "zavuv-board.bin";

}  // namespace

fs::path firmwareImagePath() {
    if (const auto named = base::environmentValue("ZAVUV_FIRMWARE"); named && !named->empty())
        return base::utf8Path(*named);
    const fs::path folder = base::programFolder();
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
        image.error = text::formatUiText(text::Msg::FirmwareImageNotFound, base::utf8Name(path));
        return image;
    }
    // A device such as /dev/zero has no size to compare and never ends.
    if (!fs::is_regular_file(path, error)) {
        image.error = text::formatUiText(text::Msg::MemoryFileNotRegular, base::utf8Name(path));
        return image;
    }
    buffers::FileContent content = buffers::readWholeFile(base::utf8Name(path), kFirmwareImageSize);
    switch (content.status) {
    case buffers::ReadStatus::CannotRead:
        image.error = text::formatUiText(text::Msg::CannotReadFile, base::utf8Name(path));
        return image;
    case buffers::ReadStatus::TooLarge:
        image.error = text::formatUiText(text::Msg::FirmwareImageWrongSize, base::utf8Name(path),
                                         fs::file_size(path, error));
        return image;
    case buffers::ReadStatus::Ok:
        break;
    }
    if (content.bytes.size() != kFirmwareImageSize) {
        image.error = text::formatUiText(text::Msg::FirmwareImageWrongSize, base::utf8Name(path),
                                         content.bytes.size());
        return image;
    }
    image.bytes = std::move(content.bytes);
    return image;
}

}  // namespace zavuv::operations
