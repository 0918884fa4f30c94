#include "link/BoardInformation.h"

#include "text/UiText.h"

namespace zavuv::link {

bool showBoardInformation(BoardConnection& connection) {
    if (!connection.readBoardIdentity(false))
        return false;
    const LinkState& state = connection.state();
    // Without a serial number (its read was reported) the box shows the identity alone.
    const std::string text =
        state.serialNumber ? text::formatUiText(text::Msg::BoardInformation, state.boardIdentity,
                                                (*state.serialNumber)[0], (*state.serialNumber)[1],
                                                (*state.serialNumber)[2], (*state.serialNumber)[3],
                                                (*state.serialNumber)[4])
                           : state.boardIdentity;
    connection.messages().user().showMessage(text, base::MessageIcon::None,
                                             text::GetUiText(text::Msg::ProgrammerCaption));
    return true;
}

}  // namespace zavuv::link
