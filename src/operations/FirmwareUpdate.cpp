#include "operations/FirmwareUpdate.h"

#include "chips/TargetConnect.h"
#include "link/LinkMessages.h"
#include "operations/BoardAccess.h"
#include "operations/FirmwareImage.h"
#include "text/UiText.h"

namespace zavuv::operations {

namespace {

std::string currentVersionText(const link::LinkState& state, bool identified) {
    if (identified)
        return state.boardIdentity;
    if (state.bootLoaderSeen)
        return text::GetUiText(text::Msg::NotProgrammed);
    if (state.versionConflict)
        return text::GetUiText(text::Msg::UnknownFirmwareVersion);
    return {};
}

}  // namespace

std::string requiredFirmwareVersionText() {
    const auto& v = link::REQUIRED_FIRMWARE_VERSION;
    if (v[0] == 'M')
        return fmt::sprintf("10.%c%c", v[1], v[2]);
    return fmt::sprintf("%c.%c%c", v[0], v[1], v[2]);
}

FirmwareUpdateResult updateFirmware(workspace::Workspace& ws,
                                    const ConfirmFirmwareUpdate& confirm) {
    auto& connection = ws.connection();
    auto& messages = connection.messages();
    if (!requireBoard(ws))
        return FirmwareUpdateResult::NotUpdated;
    const FirmwareImage image = loadFirmwareImage(firmwareImagePath());
    if (!image.loaded()) {
        messages.box(image.error);
        return FirmwareUpdateResult::ImageUnusable;
    }

    // A board in its boot loader does not run the application protocol, so
    // its identity is read without synchronising.
    const bool identified = connection.readBoardIdentity(true);
    const FirmwareVersions versions{currentVersionText(connection.state(), identified),
                                    requiredFirmwareVersionText()};
    messages.box(text::Msg::CyclePower);
    const std::optional<TransferSpeed> speed = confirm(versions);
    if (!speed)
        return FirmwareUpdateResult::NotUpdated;

    // A failed upload ends with a session end; it leaves the board in the
    // project's SCK period and polling mode, as every other end does.
    ws.link().setSessionMode(chips::sessionMode(ws.targetOptions()));
    if (!connection.openAndCheckVersion(ws.comPort(), {.openOnly = true})) {
        ws.link().escapeAndClose();
        return FirmwareUpdateResult::NotUpdated;
    }
    const base::EndCode result = ws.progressRunner().run(
        [&](base::ProgressSink& progress) {
            return uploadFirmware(ws.link(), messages, image.bytes, *speed, progress);
        },
        base::CancelOffer::Withheld);
    ws.link().escapeAndClose();
    if (result != base::EndCode::Done) {
        messages.status(text::Msg::UpdateError);
        return FirmwareUpdateResult::NotUpdated;
    }
    messages.status(text::Msg::VersionUpdated);
    if (!connection.readBoardIdentity(true)) {
        messages.status(text::Msg::UpdateError);
        return FirmwareUpdateResult::NotUpdated;
    }
    return FirmwareUpdateResult::Updated;
}

}  // namespace zavuv::operations
