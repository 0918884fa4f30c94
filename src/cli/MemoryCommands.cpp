#include "cli/MemoryCommands.h"

#include <string>

#include "cli/CliApp.h"
#include "operations/OperationFrame.h"
#include "text/UiText.h"

namespace zavuv::cli {

namespace {

using operations::MemoryOperation;
using operations::runMemoryOperation;

buffers::MemoryBuffer& bufferOf(workspace::Workspace& ws, bool flash) {
    return flash ? ws.flash() : ws.eeprom();
}

// Program and verify work on FILE, loaded as Load does, or on the buffer the
// project filled.
int runOnBuffer(workspace::Workspace& ws, MemoryOperation operation, bool flash,
                const std::string& file) {
    buffers::MemoryBuffer& buffer = bufferOf(ws, flash);
    if (!file.empty()) {
        // Emptied first, so that a file that does not load never leaves the
        // project's image behind to be programmed in its place.
        buffer.clear();
        buffer.loadFile(file);
        if (buffer.path() != file)
            return kExitUsage;  // the buffer has said why
    }
    if (buffer.size() == 0) {
        ws.user().showMessage(
            text::GetUiText(flash ? text::Msg::NoFlashFile : text::Msg::NoEepromFile),
            base::MessageIcon::Error, text::GetUiText(text::Msg::ProgrammerCaption));
        return kExitUsage;
    }
    return runMemoryOperation(ws, operation) ? kExitOk : kExitFailed;
}

// Read, then save the buffer as Save As does. A failed read writes no file.
int readToFile(workspace::Workspace& ws, MemoryOperation operation, bool flash,
               const std::string& file) {
    if (!runMemoryOperation(ws, operation))
        return kExitFailed;
    return bufferOf(ws, flash).saveAs(file) ? kExitOk : kExitUsage;
}

struct BufferCommand {
    const char* name;
    const char* description;
    MemoryOperation operation;
    bool flash;
};

constexpr BufferCommand kBufferCommands[] = {
    {"program-flash", "program the Flash buffer (or FILE) into the chip",
     MemoryOperation::ProgramFlash, true},
    {"program-eeprom", "program the EEPROM buffer (or FILE) into the chip",
     MemoryOperation::ProgramEeprom, false},
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

}  // namespace

void addMemoryCommands(BoardCommandCatalog& catalog) {
    for (const BufferCommand& command : kBufferCommands)
        catalog.add({.name = command.name,
                     .description = command.description,
                     .fileName = "FILE",
                     .fileHelp = "memory file (default: the project's)",
                     .gang = true,
                     .run = [command](workspace::Workspace& ws, const CommandArguments& arguments) {
                         return runOnBuffer(ws, command.operation, command.flash, arguments.file);
                     }});
    for (const BufferCommand& command : kReadCommands)
        catalog.add({.name = command.name,
                     .description = command.description,
                     .fileName = "OUT",
                     .fileHelp = "file to save the memory to",
                     .fileRequired = true,
                     .run = [command](workspace::Workspace& ws, const CommandArguments& arguments) {
                         return readToFile(ws, command.operation, command.flash, arguments.file);
                     }});
    catalog.add({.name = "blank-check",
                 .description = "check that the chip's Flash is erased",
                 .gang = true,
                 .run = [](workspace::Workspace& ws, const CommandArguments&) {
                     return operations::blankCheck(ws) ? kExitOk : kExitFailed;
                 }});
}

}  // namespace zavuv::cli
