#include "chips/ChipSteps.h"

namespace zavuv::chips {

using link::BoardCommand;

void waitMs(const ChipSession& session, int ms) {
    if (ms > 0)
        session.link.pause(ms);
}

base::EndCode connectionErrorBox(const ChipSession& session) {
    session.messages.box(text::Msg::ConnectionError);
    return base::EndCode::LinkFailure;
}

bool sendTimingCode(const ChipSession& session, std::uint8_t code) {
    if (session.link.acknowledged(BoardCommand::CMD_SET_PARAM, {code}))
        return true;
    connectionErrorBox(session);
    return false;
}

int readSpiByte(link::ProgrammerLink& link, std::uint8_t opcode, std::size_t address) {
    if (!link.send(BoardCommand::CMD_SPI_READ, {opcode, byteAt(address, 8), byteAt(address, 0)}))
        return -1;
    return link.receiveByte();
}

}  // namespace zavuv::chips
