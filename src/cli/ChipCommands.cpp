#include "cli/ChipCommands.h"

#include "buffers/UnspecifiedPath.h"
#include "chips/ChipDriver.h"
#include "cli/CliApp.h"
#include "cli/FuseByteOptions.h"
#include "devices/LockFuseVerify.h"
#include "devices/LockModeName.h"
#include "devices/LockoutCheck.h"
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

std::string lockModeText(Workspace& ws, const LockFuseState& state) {
    const auto texts = chips::driverFor(ws.projectDeviceInfo()).abilities().lockModeTexts;
    return shownOnce(devices::lockModeName(texts, state.lockMode));
}

void printLockFuse(Workspace& ws, const LockFuseLayout& layout, const LockFuseState& state) {
    ws.user().setStatus(text::formatUiText(text::Msg::LockModeLine, lockModeText(ws, state)));
    for (int j = 0; j < layout.bootLockCount; ++j)
        printBit(ws, layout.bootLockName[j], state.bootLock[j]);
    for (int i = 0; i < layout.fuseCount; ++i)
        printBit(ws, layout.fuseName[i], state.fuse[i]);
}

// The project device's layout; nothing, after saying so, for a chip without
// lock or fuse bits (a DataFlash), before anything is sent.
const LockFuseLayout* chipLayout(Workspace& ws) {
    const devices::DeviceInfo& device = ws.projectDeviceInfo();
    const LockFuseLayout* layout = operations::projectLockFuseLayout(ws);
    if (layout && chips::driverFor(device).abilities().lockFuseBits)
        return layout;
    ws.connection().messages().box(text::formatUiText(text::Msg::NoLockFuseBits, device.name));
    return nullptr;
}

Json bitsJson(const char* const* names, int count, const bool* programmed) {
    Json bits = Json::array();
    for (int i = 0; i < count; ++i)
        if (*names[i] != '\0')
            bits.push_back({{"name", names[i]}, {"programmed", programmed[i]}});
    return bits;
}

Json lockFuseJson(Workspace& ws, const LockFuseLayout& layout, const LockFuseState& state) {
    return {{"lockMode", state.lockMode},
            {"lockModeText", lockModeText(ws, state)},
            {"bootLock",
             bitsJson(layout.bootLockName.data(), layout.bootLockCount, state.bootLock.data())},
            {"fuses", bitsJson(layout.fuseName.data(), layout.fuseCount, state.fuse.data())}};
}

// The chip's bits, or nothing when they could not be read (reported).
std::optional<LockFuseState> readChipBits(Workspace& ws) {
    LockFuseState state;
    if (!chipLayout(ws) || !operations::requireBoard(ws) || !operations::readLockFuse(ws, state) ||
        !state.readable)
        return std::nullopt;
    return state;
}

int readFuses(Workspace& ws, Json* data) {
    const auto state = readChipBits(ws);
    if (!state)
        return kExitFailed;
    const LockFuseLayout& layout = *operations::projectLockFuseLayout(ws);
    printLockFuse(ws, layout, *state);
    printFuseBytes(ws, layout, *state);
    if (data)
        *data = lockFuseJson(ws, layout, *state);
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

// The bits to program: the given bytes, or the project's bits.
std::optional<LockFuseState> wantedBits(Workspace& ws, const LockFuseLayout& layout,
                                        const CommandArguments& arguments) {
    if (fuseBytesGiven(arguments))
        return fuseBytesState(ws, layout, arguments);
    if (!projectGiven(ws))
        return std::nullopt;
    return ws.project().lockFuse;
}

// The chip's own bits are not read first: its factory settings stand in for
// them. A change that only a high-voltage programmer or a debugger undoes
// needs --force-lockout besides the answer Yes.
int programFuses(Workspace& ws, const CommandArguments& arguments) {
    const LockFuseLayout* layout = chipLayout(ws);
    if (!layout)
        return kExitFailed;
    const auto wanted = wantedBits(ws, *layout, arguments);
    if (!wanted)
        return kExitUsage;
    const devices::DeviceInfo& device = ws.projectDeviceInfo();
    const std::vector<devices::LockoutFinding> findings =
        devices::lockoutFindings(*layout, devices::factoryState(device, *layout), *wanted,
                                 chips::driverFor(device).abilities().lockModeTexts);
    if (devices::endsSerialProgramming(findings) && !arguments.has(kForceLockout)) {
        ws.user().showMessage(*devices::lockoutText(findings) + "\n" +
                                  text::formatUiText(text::Msg::LockoutNeedsForce,
                                                     devices::serialProgrammingBits(findings)),
                              base::MessageIcon::Error,
                              text::GetUiText(text::Msg::ProgrammerCaption));
        return kExitFailed;
    }
    if (!devices::confirmLockout(findings, ws.user()))
        return kExitFailed;
    return exitCode(operations::programLockFuse(ws, *wanted, true));
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

void addChipCommands(BoardCommandCatalog& catalog) {
    catalog.add({.name = "signature",
                 .description = "read the chip's signature",
                 .gang = true,
                 .run = [](Workspace& ws, const CommandArguments&) { return readSignature(ws); }});
    catalog.add({.name = "erase",
                 .description = "erase the chip",
                 .gang = true,
                 .run = [](Workspace& ws, const CommandArguments&) {
                     operations::chipErase(ws);
                     return exitCode(ws.results.lastOperationStatus ==
                                     workspace::OperationStatus::Succeeded);
                 }});
    catalog.add({.name = "calibration",
                 .description = "read the oscillator calibration bytes",
                 .run = [](Workspace& ws, const CommandArguments&) {
                     return exitCode(operations::readCalibrationBytes(ws));
                 }});
    catalog.add({.name = "fuses", .description = "lock and fuse bits on the chip", .group = true});
    catalog.add({.parent = "fuses",
                 .name = "read",
                 .description = "print the chip's lock mode, boot lock and fuse bits and bytes",
                 .run = [](Workspace& ws, const CommandArguments& arguments) {
                     return readFuses(ws, arguments.data);
                 }});
    catalog.add({.parent = "fuses",
                 .name = "program",
                 .description = "program the project's lock and fuse bits (-P), or the bytes given",
                 .flags = {{kForceLockout,
                            "program SPIEN, RSTDISBL or DWEN changes that end serial programming"}},
                 .values = fuseByteOptions(),
                 .gang = true,
                 .run = [](Workspace& ws, const CommandArguments& arguments) {
                     return programFuses(ws, arguments);
                 }});
    catalog.add({.parent = "fuses",
                 .name = "verify",
                 .description = "compare the chip's bits with the project's (-P)",
                 .gang = true,
                 .run = [](Workspace& ws, const CommandArguments&) { return verifyFuses(ws); }});
    catalog.add({.name = "update-firmware",
                 .description = "load the board's firmware image",
                 .flags = {{"--reduced", "program at reduced speed"}},
                 .run = [](Workspace& ws, const CommandArguments& arguments) {
                     return updateFirmware(ws, arguments.has("--reduced"));
                 }});
}

}  // namespace zavuv::cli
