#include "operations/ChipSteps.h"

#include "link/LinkMessages.h"

namespace zavuv::operations {

using link::BoardCommand;

namespace {

// The AT25 needs a few ms after a select or deselect before the next command.
constexpr int kAt25SelectPauseMs = 5;
// Longer than one AT25 write cycle, so that the last page is written before the session ends.
constexpr int kAt25WriteCyclePauseMs = 150;

constexpr std::uint8_t kContinuousArrayRead = 0xE8;

std::uint8_t high(std::size_t address) {
    return static_cast<std::uint8_t>((address >> 8) & 0xFF);
}
std::uint8_t low(std::size_t address) {
    return static_cast<std::uint8_t>(address & 0xFF);
}

}  // namespace

void waitMs(workspace::Workspace& ws, int ms) {
    if (ms > 0)
        ws.link().pause(ms);
}

int connectionErrorBox(workspace::Workspace& ws) {
    ws.connection().messages().box(link::msg::kConnectionError);
    return base::kEndLinkFailure;
}

bool sendTimingCode(workspace::Workspace& ws, std::uint8_t code) {
    if (ws.link().acknowledged(BoardCommand::CMD_SET_PARAM, {code}))
        return true;
    connectionErrorBox(ws);
    return false;
}

int readSpiByte(workspace::Workspace& ws, std::uint8_t opcode, std::size_t address) {
    if (!ws.link().send(BoardCommand::CMD_SPI_READ, {opcode, high(address), low(address)}))
        return -1;
    return ws.link().receiveByte();
}

bool startDataFlashArrayRead(workspace::Workspace& ws) {
    auto& link = ws.link();
    // Opcode, three address bytes (0) and four don't-care bytes.
    return link.acknowledged(BoardCommand::CMD_AT45_DESELECT) &&
           link.acknowledged(BoardCommand::CMD_AT45_SELECT) &&
           link.acknowledged(BoardCommand::CMD_SPI_WRITE_N,
                             {0x00, 0x08, kContinuousArrayRead, 0, 0, 0, 0, 0, 0, 0});
}

bool wakeAt25(workspace::Workspace& ws) {
    auto& link = ws.link();
    if (!link.acknowledged(BoardCommand::CMD_AT25_SELECT))
        return false;
    link.pause(kAt25SelectPauseMs);
    if (!link.acknowledged(BoardCommand::CMD_AT25_DESELECT))
        return false;
    link.pause(kAt25SelectPauseMs);
    return true;
}

bool at25Byte(workspace::Workspace& ws, std::uint8_t byte) {
    return ws.link().acknowledged(BoardCommand::CMD_SPI_WRITE_BYTE, {byte});
}

bool finishAt25(workspace::Workspace& ws) {
    ws.link().pause(kAt25WriteCyclePauseMs);
    return ws.link().acknowledged(BoardCommand::CMD_END_SESSION);
}

}  // namespace zavuv::operations
