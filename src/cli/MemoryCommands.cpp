#include "cli/MemoryCommands.h"

#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "operations/ChipErase.h"
#include "operations/OperationFrame.h"
#include "operations/ProgramAndVerify.h"
#include "text/UiText.h"

namespace zavuv::cli {

namespace {

using operations::MemoryOperation;
using operations::runMemoryOperation;

const FlagOption kForce{"-F,--force", "do not check the chip's signature first"};
const FlagOption kErase{"-e,--erase", "erase the chip first"};
const FlagOption kNoVerify{"--no-verify", "do not verify what was programmed"};

buffers::MemoryBuffer& bufferOf(workspace::Workspace& ws, bool flash) {
    return flash ? ws.flash() : ws.eeprom();
}

// The chip's signature is checked once, before the first step that touches
// it, unless --force.
void checkSignatureFirst(workspace::Workspace& ws, const CommandArguments& arguments) {
    ws.signatureBeforeMemoryCommands = !arguments.has("--force");
}

struct BufferCommand {
    const char* name;
    const char* description;
    MemoryOperation operation;
    bool flash;
    bool verifiesAfter = false;  // unless --no-verify
};

// Program and verify work on FILE, loaded as Load does, or on the buffer the
// project filled.
int runOnBuffer(workspace::Workspace& ws, const BufferCommand& command,
                const CommandArguments& arguments) {
    buffers::MemoryBuffer& buffer = bufferOf(ws, command.flash);
    if (!arguments.file.empty()) {
        // Emptied first, so that a file that does not load never leaves the
        // project's image behind to be programmed in its place.
        buffer.clear();
        buffer.loadFile(arguments.file);
        if (buffer.path() != arguments.file)
            return kExitUsage;  // the buffer has said why
    }
    if (buffer.size() == 0) {
        ws.user().showMessage(
            text::GetUiText(command.flash ? text::Msg::NoFlashFile : text::Msg::NoEepromFile),
            base::MessageIcon::Error, text::GetUiText(text::Msg::ProgrammerCaption));
        return kExitUsage;
    }
    checkSignatureFirst(ws, arguments);
    if (arguments.has("--erase")) {
        operations::chipErase(ws);
        if (ws.results.lastOperationStatus != workspace::OperationStatus::Succeeded)
            return kExitFailed;
        ws.signatureBeforeMemoryCommands = false;
    }
    const bool succeeded = command.verifiesAfter && !arguments.has("--no-verify")
                               ? operations::programAndVerify(ws, command.flash)
                               : runMemoryOperation(ws, command.operation);
    return succeeded ? kExitOk : kExitFailed;
}

// Read, then save the buffer as Save As does. A failed read writes no file.
int readToFile(workspace::Workspace& ws, const BufferCommand& command,
               const CommandArguments& arguments) {
    checkSignatureFirst(ws, arguments);
    if (!runMemoryOperation(ws, command.operation))
        return kExitFailed;
    return bufferOf(ws, command.flash).saveAs(arguments.file) ? kExitOk : kExitUsage;
}

constexpr BufferCommand kBufferCommands[] = {
    {"program-flash", "program the Flash buffer (or FILE) into the chip, then verify it",
     MemoryOperation::ProgramFlash, true, true},
    {"program-eeprom", "program the EEPROM buffer (or FILE) into the chip, then verify it",
     MemoryOperation::ProgramEeprom, false, true},
    {"verify-flash", "compare the chip's Flash with the Flash buffer (or FILE)",
     MemoryOperation::VerifyFlash, true},
    {"verify-eeprom", "compare the chip's EEPROM with the EEPROM buffer (or FILE)",
     MemoryOperation::VerifyEeprom, false},
};

constexpr BufferCommand kReadCommands[] = {
    {"read-flash", "read the chip's Flash and save it as OUT", MemoryOperation::ReadFlash, true},
    {"read-eeprom", "read the chip's EEPROM and save it as OUT", MemoryOperation::ReadEeprom,
     false},
};

// The flags of a command: program-flash alone erases first.
std::vector<FlagOption> flagsOf(const BufferCommand& command) {
    std::vector<FlagOption> flags{kForce};
    if (command.operation == MemoryOperation::ProgramFlash)
        flags.push_back(kErase);
    if (command.verifiesAfter)
        flags.push_back(kNoVerify);
    return flags;
}

}  // namespace

void addMemoryCommands(BoardCommandCatalog& catalog) {
    for (const BufferCommand& command : kBufferCommands)
        catalog.add({.name = command.name,
                     .description = command.description,
                     .fileName = "FILE",
                     .fileHelp = "memory file (default: the project's)",
                     .flags = flagsOf(command),
                     .gang = true,
                     .run = [command](workspace::Workspace& ws, const CommandArguments& arguments) {
                         return runOnBuffer(ws, command, arguments);
                     }});
    for (const BufferCommand& command : kReadCommands)
        catalog.add({.name = command.name,
                     .description = command.description,
                     .fileName = "OUT",
                     .fileHelp = "file to save the memory to",
                     .fileRequired = true,
                     .flags = flagsOf(command),
                     .run = [command](workspace::Workspace& ws, const CommandArguments& arguments) {
                         return readToFile(ws, command, arguments);
                     }});
    catalog.add({.name = "blank-check",
                 .description = "check that the chip's Flash is erased",
                 .gang = true,
                 .run = [](workspace::Workspace& ws, const CommandArguments&) {
                     return operations::blankCheck(ws) ? kExitOk : kExitFailed;
                 }});
}

}  // namespace zavuv::cli
