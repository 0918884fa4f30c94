#include "cli/ChipCommands.h"

#include <memory>

#include "buffers/UnspecifiedPath.h"
#include "chips/ChipDriver.h"
#include "cli/CliApp.h"
#include "devices/FuseWarnings.h"
#include "devices/LockFuseVerify.h"
#include "devices/LockModeName.h"
#include "link/LinkMessages.h"
#include "operations/BoardAccess.h"
#include "operations/CalibrationBytes.h"
#include "operations/ChipErase.h"
#include "operations/FirmwareUpdate.h"
#include "operations/LockFuseOnChip.h"
#include "operations/ReadSignatureCommand.h"
#include "text/UiText.h"

namespace zavuv::cli {

namespace {

using devices::LockFuseLayout;
using devices::LockFuseState;
using workspace::Workspace;

int exitCode(bool ok) {
    return ok ? kExitOk : kExitFailed;
}

int readSignature(Workspace& ws) {
    const devices::DeviceInfo& device = ws.selectedDeviceInfo();
    if (chips::driverFor(device).abilities().signatureRead == chips::SignatureRead::None) {
        ws.connection().messages().box(text::formatUiText(text::Msg::NoSignature, device.name));
        return kExitFailed;
    }
    return exitCode(operations::readSignatureButton(ws));
}

// The dialogs double an ampersand that is meant to show; a terminal shows it once.
std::string shownOnce(std::string text) {
    for (std::size_t at = text.find("&&"); at != std::string::npos; at = text.find("&&", at + 1))
        text.erase(at, 1);
    return text;
}

void printBit(Workspace& ws, const char* name, bool programmed) {
    if (*name != '\0')
        ws.user().setStatus(text::formatUiText(
            programmed ? text::Msg::ProgrammedLine : text::Msg::UnprogrammedLine, name));
}

void printLockFuse(Workspace& ws, const LockFuseLayout& layout, const LockFuseState& state) {
    const auto texts = chips::driverFor(ws.projectDeviceInfo()).abilities().lockModeTexts;
    ws.user().setStatus(text::formatUiText(
        text::Msg::LockModeLine, shownOnce(devices::lockModeName(texts, state.lockMode))));
    for (int j = 0; j < layout.bootLockCount; ++j)
        printBit(ws, layout.bootLockName[j], state.bootLock[j]);
    for (int i = 0; i < layout.fuseCount; ++i)
        printBit(ws, layout.fuseName[i], state.fuse[i]);
}

// The chip's bits, or nothing when they could not be read (reported).
std::optional<LockFuseState> readChipBits(Workspace& ws) {
    LockFuseState state;
    if (!operations::requireBoard(ws) || !operations::readLockFuse(ws, state) || !state.readable)
        return std::nullopt;
    return state;
}

int readFuses(Workspace& ws) {
    const auto state = readChipBits(ws);
    if (!state)
        return kExitFailed;
    printLockFuse(ws, *operations::projectLockFuseLayout(ws), *state);
    return kExitOk;
}

// The expected bits come from the project; without one there are none to use.
bool projectGiven(Workspace& ws) {
    if (ws.project().projectPath != buffers::kUnspecifiedPath)
        return true;
    ws.user().showMessage(text::GetUiText(text::Msg::ProjectNeeded), base::MessageIcon::Error,
                          text::GetUiText(text::Msg::ProgrammerCaption));
    return false;
}

int programFuses(Workspace& ws) {
    if (!projectGiven(ws))
        return kExitUsage;
    const LockFuseState& wanted = ws.project().lockFuse;
    if (const LockFuseLayout* layout = operations::projectLockFuseLayout(ws);
        layout && !devices::confirmFuseWarnings(*layout, wanted, ws.user()))
        return kExitFailed;
    return exitCode(operations::programLockFuse(ws, wanted, true));
}

int verifyFuses(Workspace& ws) {
    if (!projectGiven(ws))
        return kExitUsage;
    const auto state = readChipBits(ws);
    if (!state)
        return kExitFailed;
    const devices::VerifyReport report = devices::verifyReport(
        chips::driverFor(ws.projectDeviceInfo()).abilities().lockModeTexts,
        *operations::projectLockFuseLayout(ws), ws.project().lockFuse, *state);
    ws.user().showMessage(report.text,
                          report.ok ? base::MessageIcon::Information : base::MessageIcon::Error,
                          text::GetUiText(text::Msg::ProgrammerCaption));
    return exitCode(report.ok);
}

int updateFirmware(Workspace& ws, bool reduced) {
    const auto confirm = [&ws, reduced](const operations::FirmwareVersions& versions)
        -> std::optional<operations::TransferSpeed> {
        const base::Answer answer =
            ws.user().ask(text::formatUiText(text::Msg::UpdateFirmwareVersionQuestion,
                                             versions.current, versions.next),
                          base::QuestionButtons::YesNo, base::MessageIcon::Question,
                          base::Answer::No, text::GetUiText(text::Msg::ProgrammerCaption));
        if (answer != base::Answer::Yes)
            return std::nullopt;
        return reduced ? operations::TransferSpeed::Reduced : operations::TransferSpeed::Normal;
    };
    switch (operations::updateFirmware(ws, confirm)) {
    case operations::FirmwareUpdateResult::Updated:
        return kExitOk;
    case operations::FirmwareUpdateResult::ImageUnusable:
        return kExitUsage;
    case operations::FirmwareUpdateResult::NotUpdated:
        break;
    }
    return kExitFailed;
}

}  // namespace

void registerChipCommands(CLI::App& app, BoardCommandList& list) {
    list.add(app.add_subcommand("signature", "read the chip's signature"), readSignature);
    list.add(app.add_subcommand("erase", "erase the chip"), [](Workspace& ws) {
        operations::chipErase(ws);
        return exitCode(ws.results.lastOperationStatus == workspace::OperationStatus::Succeeded);
    });
    list.add(app.add_subcommand("calibration", "read the oscillator calibration bytes"),
             [](Workspace& ws) { return exitCode(operations::readCalibrationBytes(ws)); });

    auto* fuses = app.add_subcommand("fuses", "lock and fuse bits on the chip");
    fuses->require_subcommand(1);
    list.add(fuses->add_subcommand("read", "print the chip's lock mode, boot lock and fuse bits"),
             readFuses);
    list.add(fuses->add_subcommand("program", "program the project's lock and fuse bits (-P)"),
             programFuses);
    list.add(fuses->add_subcommand("verify", "compare the chip's bits with the project's (-P)"),
             verifyFuses);

    auto reduced = std::make_shared<bool>(false);
    auto* update = app.add_subcommand("update-firmware", "load the board's firmware image");
    update->add_flag("--reduced", *reduced, "program at reduced speed");
    list.add(update, [reduced](Workspace& ws) { return updateFirmware(ws, *reduced); });
}

}  // namespace zavuv::cli
