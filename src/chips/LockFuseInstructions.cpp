#include "chips/LockFuseInstructions.h"

namespace zavuv::chips {

using link::BoardCommand;

LockFuseWrite sendLockFuseInstruction(link::ProgrammerLink& link, BoardCommand command,
                                      std::span<const std::uint8_t> instruction, int replyPauseMs) {
    if (!link.send(command, instruction))
        return LockFuseWrite::SendFailed;
    if (replyPauseMs > 0)
        link.pause(replyPauseMs);
    return link.expectAck() ? LockFuseWrite::Acknowledged : LockFuseWrite::Refused;
}

bool reportedAtOnce(link::LinkMessages& messages, LockFuseWrite outcome) {
    if (outcome == LockFuseWrite::SendFailed)
        messages.box(text::Msg::ConnectionError);
    else if (outcome == LockFuseWrite::Refused)
        messages.box(text::Msg::ErrorProgrammingLockFuse);
    return outcome == LockFuseWrite::Acknowledged;
}

std::optional<std::uint8_t> readLockFuseInstruction(link::ProgrammerLink& link,
                                                    const devices::ReadCommand& command) {
    if (!link.send(BoardCommand::CMD_SPI_READ, command))
        return std::nullopt;
    const int answer = link.receiveByte();
    if (answer < 0)
        return std::nullopt;
    return static_cast<std::uint8_t>(answer);
}

}  // namespace zavuv::chips
