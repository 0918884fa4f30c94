#pragma once
// Finding the board and bringing it and the target chip into step: the
// synchronisation, the firmware version check, the connect of every chip
// operation, the board's identity and the search over the COM ports.

#include <cstdint>
#include <optional>

#include "link/LinkMessages.h"
#include "link/LinkState.h"
#include "link/ModePacket.h"
#include "link/ProgrammerLink.h"

namespace zavuv::link {

// How the board is set up for a chip: its device code and SCK codes.
struct BoardSetup {
    std::uint8_t deviceCode = 0;
    std::uint8_t connectSck = sckCode(kDefaultSpiPeriod);  // of the connect's mode packet
    ModeSettings session;                                  // of every later one
};

// The project's options that the connect needs. Both device numbers must be
// valid device table indices.
struct TargetOptions {
    int selectedDevice = 0;  // device table index chosen in the device lists
    int deviceNo = 0;        // the project's device, which picks the way the target is entered
    int spiPeriod = kDefaultSpiPeriod;
    bool polling = false;
    int resetStrobeLength = 20;  // ms
    bool noSynchronization = false;
};

struct OpenOptions {
    bool openOnly = false;  // a board in its boot loader is not synchronised
    bool checkVersion = true;
    bool quiet = false;  // no messages when the port cannot be opened or the version is missing
    bool quietVersion = false;  // no messages from the version check
};

class BoardConnection {
public:
    BoardConnection(ProgrammerLink& link, base::UserPort& user);

    LinkState& state() { return state_; }
    const LinkState& state() const { return state_; }
    ProgrammerLink& link() { return link_; }
    LinkMessages& messages() { return messages_; }

    // Port numbers are 1..12 (COM1..COM12).
    bool checkVersion(const FirmwareVersion& version, bool quiet);
    bool openAndCheckVersion(int port, const OpenOptions& options);
    // The board found, checked and set up, at `speed`; on success the channel
    // is open and the chip's driver may enter programming mode.
    bool connectBoard(const BoardSetup& setup, int port, SpeedCode speed);
    // Reads the identity and serial number from the board on the selected port
    // into the state and shows them on the status line.
    bool readBoardIdentity(bool bootLoaderMode);
    // Looks for boards on COM1..COM8; the first found becomes the selected port.
    void searchBoard();

    // Ends the session and says "Connection error"; always false.
    bool linkFailure();

private:
    bool synchronise();
    std::optional<FirmwareVersion> requestVersion(int replyPauseMs);
    bool unanswered();

    ProgrammerLink& link_;
    LinkMessages messages_;
    LinkState state_;
};

}  // namespace zavuv::link
