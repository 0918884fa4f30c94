#pragma once
// One driver per way of talking to a chip: the chip-side steps that the
// operations need (enter programming, signature, erase, program, read and
// verify, blank check, lock and fuse bits, calibration). The operations,
// auto-program, the command line and the windows call through this interface
// and never ask which family a chip belongs to; driverFor() is the one place
// that picks a device's driver. The base class's steps are those of the AVR
// serial programming instructions, which the board speaks natively; a driver
// overrides what its chips do differently.

#include <array>
#include <cstdint>
#include <optional>

#include "base/Progress.h"
#include "chips/ChipSession.h"
#include "chips/MemoryJob.h"
#include "devices/DeviceTable.h"
#include "devices/LockFuseLayout.h"
#include "devices/LockModeName.h"
#include "link/BoardConnection.h"

namespace zavuv::chips {

// A signature as read: 0..255 per byte, 0xFF where nothing came.
using SignatureBytes = std::array<int, 3>;

// How a chip tells what it is.
enum class SignatureRead {
    None,         // it cannot
    Instruction,  // its signature bytes, read with an instruction
    Connect,      // the connect itself detects the chip (a DataFlash's status register)
};

// What a chip offers and how the commands around a step behave with it.
struct ChipAbilities {
    SignatureRead signatureRead = SignatureRead::Instruction;
    // Program Flash reads the signature first (when the project asks for it).
    bool signatureBeforeProgramming = true;
    // Another chip's signature is worth a question before programming.
    bool asksAboutOtherChip = false;
    // The signature is checked before the lock and fuse bits are read.
    bool signatureBeforeLockFuse = false;
    // The signature is read again after an erase: a locked chip answers 00 01 02.
    bool recheckAfterErase = false;
    // The EEPROM commands reach an EEPROM.
    bool eepromMemory = true;
    bool chipErase = true;
    // The chip has lock or fuse bits to read or program (a DataFlash has none).
    bool lockFuseBits = true;
    bool autoProgram = true;
    // Memory operations run at 19200 baud whatever the preference.
    bool fixedMemorySpeed = false;
    // A refused lock write is reported once the session has ended, not at once.
    bool lockRefusalAfterSession = false;
    devices::LockModeTexts lockModeTexts = devices::LockModeTexts::Avr;
    // Flash bytes per step of the board's address pointer (a word on an AVR).
    std::size_t flashAddressUnit = 2;
};

enum class EraseResult { Erased, Cancelled, LinkFailure };

// How a lock/fuse write ended.
enum class LockFuseWrite { Acknowledged, SendFailed, Refused };

class ChipDriver {
public:
    explicit ChipDriver(const ChipAbilities& abilities) : abilities_(abilities) {}
    virtual ~ChipDriver() = default;
    ChipDriver(const ChipDriver&) = delete;
    ChipDriver& operator=(const ChipDriver&) = delete;

    const ChipAbilities& abilities() const { return abilities_; }

    // The SCK code of the connect's mode packet, and of every later mode
    // packet of the session (the session's end included).
    virtual std::uint8_t connectSckCode(int spiPeriod) const { return sessionSckCode(spiPeriod); }
    virtual std::uint8_t sessionSckCode(int spiPeriod) const { return link::sckCode(spiPeriod); }
    // Brings the target into programming mode once the board is set up. False
    // when the board failed (reported, the session ended).
    virtual bool enterProgramming(link::BoardConnection& connection,
                                  const link::TargetOptions& options) const = 0;

    // The Read signature command's read on an open session. Starts from FF FF
    // FF; false at the first byte that could not be sent or did not come.
    virtual bool readSignature(link::ProgrammerLink& link, SignatureBytes& signature) const;
    // The read the checks before erasing, programming and reading lock bits
    // compare, whatever the chip: a chip of another instruction set answers
    // bytes that match no record.
    static bool readCheckedSignature(link::ProgrammerLink& link, SignatureBytes& signature);

    // Erases the chip on an open session; the session stays open.
    virtual EraseResult erase(const ChipSession& session, base::ProgressRunner& runner) const;
    // The erase instruction that frees a locked chip before it is programmed;
    // true when the chip acknowledged it.
    virtual bool eraseLockedChip(link::ProgrammerLink& link) const;

    // Writes the job's buffer into the chip, marking each byte handed over.
    virtual base::EndCode program(const ChipSession& session, base::ProgressSink& sink,
                                  const MemoryJob& job, const ProgressTexts& texts) const = 0;
    // One pass over the chip's memory, each byte to the pass's sink. The
    // caller has set the progress display up for blocks of the board's size.
    virtual base::EndCode read(const ChipSession& session, base::ProgressSink& sink,
                               const MemoryJob& job, const ReadPass& pass) const = 0;
    // Reads the Flash until a byte is not erased (EndCode::NotBlank).
    virtual base::EndCode blankCheck(const ChipSession& session, base::ProgressSink& sink,
                                     const ProgressTexts& texts) const = 0;

    // Fills the state from the chip's lock and fuse bits on an open session;
    // false when the link failed.
    virtual bool readLockFuse(const ChipSession& session, const devices::LockFuseLayout& layout,
                              devices::LockFuseState& state) const;
    // Writes the state into the chip on an open session (the fuse bytes only
    // when `programFuses` and the chip has them). Reports a failure at once,
    // unless the abilities say it is reported after the session.
    virtual LockFuseWrite programLockFuse(const ChipSession& session,
                                          const devices::LockFuseLayout& layout,
                                          const devices::LockFuseState& state,
                                          bool programFuses) const;

    // One oscillator calibration byte; nothing when it could not be read.
    virtual std::optional<std::uint8_t> readCalibrationByte(link::ProgrammerLink& link,
                                                            int index) const;

protected:
    // Sends the erase instruction(s); the erase then waits for the
    // acknowledgement of the last one.
    virtual bool sendEraseInstructions(link::ProgrammerLink& link,
                                       const devices::DeviceInfo& device) const;

private:
    ChipAbilities abilities_;
};

// The driver of a device: the one place that tells the ways apart.
const ChipDriver& driverFor(const devices::DeviceInfo& device);

}  // namespace zavuv::chips
