#include "operations/SerialReservation.h"

#include <filesystem>

#include "base/Utf8Path.h"
#include "buffers/FileLock.h"
#include "operations/SerialNumber.h"
#include "text/UiText.h"

namespace zavuv::operations {

namespace fs = std::filesystem;

std::string serialNumberLockPath(const std::string& imagePath) {
    std::error_code error;
    const fs::path target = fs::canonical(base::utf8Path(imagePath), error);
    return (error ? imagePath : base::utf8Name(target)) + ".lock";
}

std::optional<ReservedSerialNumber> reserveSerialNumber(const std::string& imagePath, bool isEeprom,
                                                        int address, base::UserPort& port) {
    const std::string lockPath = serialNumberLockPath(imagePath);
    const buffers::ExclusiveFileLock lock(lockPath);
    if (!lock.held()) {
        port.showMessage(text::formatUiText(text::Msg::FileNotLocked, lockPath, lock.failure()),
                         base::MessageIcon::Error, text::GetUiText(text::Msg::ProgramTitle));
        return std::nullopt;
    }
    // A buffer of its own reads and writes the file exactly as Load and Save do.
    buffers::MemoryBuffer file(isEeprom, port);
    if (!file.loadFile(imagePath) || file.path() != imagePath || file.size() == 0)
        return std::nullopt;
    ReservedSerialNumber reserved;
    reserved.image = file.dataSegments();
    incrementSerialNumber(file, address);
    if (!file.saveInLoadedFormat())
        return std::nullopt;
    reserved.nextImage = file.dataSegments();
    return reserved;
}

BufferReservation::BufferReservation(workspace::Workspace& ws, bool isFlash)
    : buffer_(isFlash ? ws.flash() : ws.eeprom()) {
    if (!ws.unattended || !incrementsSerialNumber(ws, isFlash))
        return;
    const auto& project = ws.project();
    auto reserved = reserveSerialNumber(
        buffer_.path(), buffer_.isEeprom(),
        isFlash ? project.autoIncAddressFlash : project.autoIncAddress, ws.user());
    if (!reserved) {
        failed_ = true;
        ws.user().setStatus(text::formatUiText(text::Msg::SerialNumberNotReserved, buffer_.path()));
        return;
    }
    buffer_.adoptFileImage(reserved->image);
    next_ = std::move(reserved->nextImage);
    ws.user().setStatus(text::formatUiText(text::Msg::SerialNumberSaved, buffer_.path()));
}

BufferReservation::~BufferReservation() {
    if (next_)
        buffer_.adoptFileImage(*next_);
}

}  // namespace zavuv::operations
