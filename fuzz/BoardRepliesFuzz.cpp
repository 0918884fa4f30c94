// The host side of the board protocol against a board that answers whatever
// the fuzz input says: every read takes the next input bytes, whatever was
// sent, and when they run out the line falls silent. The board search, the
// identity read and a chip operation (connect, signature check, session end)
// run one after another on the one stream of replies, in virtual time, and
// must all end.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "FuzzCheck.h"
#include "FuzzFolder.h"
#include "FuzzUserPort.h"
#include "devices/DeviceTable.h"
#include "link/SerialPort.h"
#include "operations/BoardAccess.h"
#include "operations/Signature.h"
#include "sim/VirtualClock.h"
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
    ReplyPort(Replies& replies, sim::VirtualClock& clock) : replies_(replies), clock_(clock) {}

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
    sim::VirtualClock& clock_;
    bool open_ = false;
};

// The first input bytes: how the program is set up and which steps run.
enum Setting : std::size_t {
    kDevice,        // the project's device (modulo the table's size)
    kListedDevice,  // the device in the lists; 0xFF: the project's
    kBaud,          // baud index, modulo 3
    kSpiPeriod,     // modulo 8
    kFlags,         // bits: polling, no synchronisation, Yes to questions, boot-loader identity
    kStrobe,        // reset strobe: 20, 99, 100 or 400 ms
    kChunk,         // most bytes one read brings, modulo 4; 0: all it asks for
    kUnplug,        // writes before the adapter is unplugged; 0: never
    kSteps,         // bits: search, identity, connect with the signature check
    kSettingCount,
};

bool flag(std::span<const std::uint8_t> settings, Setting at, int bit) {
    return (settings[at] >> bit & 1) != 0;
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
    const int strobes[] = {20, 99, 100, 400};
    project.resetStrobeLength = strobes[settings[kStrobe] % 4];
}

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

    sim::VirtualClock& clock = ws.clock().virtualClock();
    ws.clock().setVirtualWhen([] { return true; });
    ws.ports().setPortMaker([&](int) { return std::make_unique<ReplyPort>(replies, clock); });

    if (flag(settings, kSteps, 0))
        ws.connection().searchBoard();
    ws.setComPort(1);
    if (flag(settings, kSteps, 1))
        ws.connection().readBoardIdentity(flag(settings, kFlags, 3));
    if (flag(settings, kSteps, 2) && operations::requireBoard(ws) &&
        operations::connect(ws, operations::memorySpeed(ws))) {
        operations::verifySignature(ws);
        operations::endSessionWarning(ws);
    }
    return 0;
}
