// The host side of the board protocol against a board that answers whatever
// the fuzz input says: every read takes the next input bytes, whatever was
// sent, and when they run out the line falls silent. The board search, the
// identity read and one of the commands that talk to the chip or the board
// (signature, erase, calibration bytes, program, read, verify, blank check,
// lock and fuse bits, auto-program, firmware upload) run one after another on
// the one stream of replies, in virtual time, and must all end.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzFolder.h"
#include "FuzzUserPort.h"
#include "base/VirtualClock.h"
#include "devices/DeviceTable.h"
#include "link/SerialPort.h"
#include "operations/AutoProgram.h"
#include "operations/CalibrationBytes.h"
#include "operations/ChipErase.h"
#include "operations/FirmwareImage.h"
#include "operations/FirmwareUpload.h"
#include "operations/LockFuseOnChip.h"
#include "operations/OperationFrame.h"
#include "operations/ReadSignatureCommand.h"
#include "workspace/Workspace.h"

using namespace zavuv;

namespace {

// A day of silence: far beyond anything the protocol waits for.
constexpr std::int64_t kHangUs = 24LL * 3600 * 1000 * 1000;

// How the line behaves, from the first input bytes.
struct Line {
    std::size_t chunk = 0;       // most bytes one read brings; 0: all it asks for
    int writesBeforeUnplug = 0;  // 0: never unplugged
};

// The replies every port reads, shared by the ports the search opens.
struct Replies {
    std::span<const std::uint8_t> bytes;
    Line line;
    int writes = 0;
    bool unplugged() const {
        return line.writesBeforeUnplug > 0 && writes >= line.writesBeforeUnplug;
    }
};

class ReplyPort : public link::SerialPort {
public:
    ReplyPort(Replies& replies, base::VirtualClock& clock) : replies_(replies), clock_(clock) {}

    bool open(int baudRate) override {
        open_ = baudRate > 0 && !replies_.unplugged();
        return open_;
    }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    bool drain() override { return open_ && !replies_.unplugged(); }

    long write(std::span<const std::uint8_t> bytes) override {
        if (!open_ || replies_.unplugged())
            return -1;
        ++replies_.writes;
        return static_cast<long>(bytes.size());
    }

    std::size_t read(std::span<std::uint8_t> into, int timeoutMs) override {
        std::size_t count = std::min(into.size(), replies_.bytes.size());
        if (replies_.line.chunk > 0)
            count = std::min(count, replies_.line.chunk);
        if (!open_ || replies_.unplugged() || count == 0) {
            clock_.advanceUs(std::int64_t{std::max(timeoutMs, 0)} * 1000);
            fuzz::require(clock_.nowUs() < kHangUs, "the host stops waiting on a silent board");
            return 0;
        }
        std::copy_n(replies_.bytes.begin(), count, into.begin());
        replies_.bytes = replies_.bytes.subspan(count);
        return count;
    }

private:
    Replies& replies_;
    base::VirtualClock& clock_;
    bool open_ = false;
};

// The first input bytes: how the program is set up and what it does.
enum Setting : std::size_t {
    kDevice,        // the project's device (modulo the table's size)
    kListedDevice,  // the device in the lists; 0xFF: the project's
    kBaud,          // baud index, modulo 3
    kSpiPeriod,     // modulo 8
    kFlags,         // bits: polling, no synchronisation, Yes to questions, boot-loader
                    // identity, signature check, fuses programmed, reduced upload speed
    kStrobe,        // reset strobe: 20, 99, 100 or 400 ms
    kChunk,         // most bytes one read brings, modulo 4; 0: all it asks for
    kUnplug,        // writes before the adapter is unplugged; 0: never
    kSteps,         // bits: search, identity, the operation
    kOperation,     // which operation (modulo their number)
    kBufferSizes,   // low and high nibble: the Flash and the EEPROM image's size
    kAutoSteps,     // bits: the auto-program steps that need no file
    kSettingCount,
};

bool flag(std::span<const std::uint8_t> settings, Setting at, int bit) {
    return (settings[at] >> bit & 1) != 0;
}

void fillBuffer(buffers::MemoryBuffer& buffer, int sizeChoice) {
    const std::size_t sizes[] = {0, 40, 300, 70000};
    buffer.create(sizes[sizeChoice % 4]);
    auto bytes = buffer.mutableData();
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 % 256 == 255 ? 0 : i * 7);
}

void configure(workspace::Workspace& ws, std::span<const std::uint8_t> settings) {
    const int count = devices::DeviceTable::count();
    auto& project = ws.project();
    project.deviceNo = settings[kDevice] % count;
    ws.selectDevice(settings[kListedDevice] == 0xFF ? project.deviceNo
                                                    : settings[kListedDevice] % count);
    ws.baudIndex = settings[kBaud] % 3;
    project.spiPeriod = settings[kSpiPeriod] % 8;
    project.polling = flag(settings, kFlags, 0);
    project.noSynchronization = flag(settings, kFlags, 1);
    project.checkSign = flag(settings, kFlags, 4);
    const int strobes[] = {20, 99, 100, 400};
    project.resetStrobeLength = strobes[settings[kStrobe] % 4];
    project.autoErase = flag(settings, kAutoSteps, 0);
    project.autoEmptyCheck = flag(settings, kAutoSteps, 1);
    project.autoFlashProgram = flag(settings, kAutoSteps, 2);
    project.autoFlashVerify = flag(settings, kAutoSteps, 3);
    project.autoEepromProgram = flag(settings, kAutoSteps, 4);
    project.autoEepromVerify = flag(settings, kAutoSteps, 5);
    project.programFuse = flag(settings, kAutoSteps, 6);
    project.programFuseBeforeAll = flag(settings, kAutoSteps, 7);
    project.lockFuse.lockMode = settings[kAutoSteps] % 4;
    project.lockFuse.fuse[0] = project.lockFuse.fuse[3] = true;
    fillBuffer(ws.flash(), settings[kBufferSizes] & 0x0F);
    fillBuffer(ws.eeprom(), settings[kBufferSizes] >> 4);
}

void uploadFirmware(workspace::Workspace& ws, std::span<const std::uint8_t> settings) {
    if (!ws.connection().openAndCheckVersion(ws.comPort(), {.openOnly = true}))
        return;
    const std::vector<std::uint8_t> image(operations::kFirmwareImageSize, 0x5A);
    const auto speed = flag(settings, kFlags, 6) ? operations::TransferSpeed::Reduced
                                                 : operations::TransferSpeed::Normal;
    ws.progressRunner().run([&](base::ProgressSink& sink) {
        return operations::uploadFirmware(ws.link(), ws.connection().messages(), image, speed,
                                          sink);
    });
}

using Operation = void (*)(workspace::Workspace&, std::span<const std::uint8_t> settings);

// Every command that talks to the chip or the board.
constexpr Operation kOperations[] = {
    [](workspace::Workspace& ws, auto) { operations::readSignatureCommand(ws); },
    [](workspace::Workspace& ws, auto) { operations::readSignatureButton(ws); },
    [](workspace::Workspace& ws, auto) { operations::chipErase(ws); },
    [](workspace::Workspace& ws, auto) { operations::readCalibrationBytes(ws); },
    [](workspace::Workspace& ws, auto) { operations::programFlash(ws); },
    [](workspace::Workspace& ws, auto) { operations::programEeprom(ws); },
    [](workspace::Workspace& ws, auto) { operations::readFlash(ws); },
    [](workspace::Workspace& ws, auto) { operations::readEeprom(ws); },
    [](workspace::Workspace& ws, auto) { operations::verifyFlash(ws); },
    [](workspace::Workspace& ws, auto) { operations::verifyEeprom(ws); },
    [](workspace::Workspace& ws, auto) { operations::blankCheck(ws); },
    [](workspace::Workspace& ws, auto) {
        devices::LockFuseState state;
        operations::readLockFuse(ws, state);
    },
    [](workspace::Workspace& ws, auto settings) {
        operations::programLockFuse(ws, ws.project().lockFuse, flag(settings, kFlags, 5));
    },
    [](workspace::Workspace& ws, auto) { operations::autoProgram(ws); },
    uploadFirmware,
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kSettingCount)
        return 0;
    const std::span settings(data, kSettingCount);
    fuzz::FuzzUserPort person;
    person.agree = flag(settings, kFlags, 2);
    workspace::ProfileStore profile(fuzz::fuzzFolder().file("profile.ini"));
    workspace::Workspace ws(person, profile);
    configure(ws, settings);
    Replies replies;
    replies.bytes = std::span(data + kSettingCount, size - kSettingCount);
    replies.line.chunk = settings[kChunk] % 4;
    replies.line.writesBeforeUnplug = settings[kUnplug];

    base::VirtualClock& clock = ws.clock().virtualClock();
    ws.clock().setVirtualWhen([] { return true; });
    ws.ports().setPortMaker([&](int) { return std::make_unique<ReplyPort>(replies, clock); });

    if (flag(settings, kSteps, 0))
        ws.connection().searchBoard();
    ws.setComPort(1);
    if (flag(settings, kSteps, 1))
        ws.connection().readBoardIdentity(flag(settings, kFlags, 3));
    if (flag(settings, kSteps, 2))
        kOperations[settings[kOperation] % std::size(kOperations)](ws, settings);
    return 0;
}
