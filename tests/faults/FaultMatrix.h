#pragma once
// The fault matrix: every board operation against every fault the simulated
// board can show. An operation row says how to stage and run the operation and
// which texts tell that it failed; a fault row says which fault, and where in
// the operation's traffic it strikes. Positions are found on a healthy run of
// the same operation (its baseline), so that "the middle of the transfer" is
// the middle whatever the chip.

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "sim/ChipImage.h"
#include "support/SimulatedWorkspace.h"

namespace zavuv::testing {

inline buffers::MemoryBuffer& bufferOf(SimulatedWorkspace& sim, bool flash) {
    return flash ? sim.ws().flash() : sim.ws().eeprom();
}

// What the operation does to the buffers, which decides what is checked there.
enum class Work {
    Program,   // writes a buffer into the chip
    Read,      // fills a buffer from the chip
    Verify,    // compares a buffer with the chip
    Sequence,  // auto-program: several of the above
    None,      // touches no buffer
};

// How the operation's last exchange closes the line.
enum class Closing {
    EndSession,  // '-' and the mode packet: 5 host bytes
    Escape,      // ESC: 1 host byte
};

// What a reply garbled inside the work tells the host.
enum class GarbledReply {
    Noticed,  // an acknowledgement the host checks: the operation must fail
    Data,     // data or an unchecked reply: the operation may finish
};

enum class Expect { Fails, MaySucceed, Succeeds };

struct OperationRow {
    std::string name;  // part of the test name
    std::string chip;  // simulated chip and the device chosen
    Work work = Work::None;
    bool flash = true;     // the buffer and memory of Program, Read and Verify
    std::size_t unit = 1;  // Program: bytes one acknowledged unit carries
    Closing closing = Closing::EndSession;
    bool connects = true;       // the work starts after a connectTarget
    bool checksVersion = true;  // synchronises and checks the firmware version first
    bool ownsStatus = false;    // leaves its verdict in lastOperationStatus
    bool writeBlocks = false;   // sends the board's write blocks, which polling-fail refuses
    GarbledReply garbled = GarbledReply::Noticed;
    // Loads buffers, sets project options and chip contents.
    std::function<void(SimulatedWorkspace&)> prepare;
    // Runs the operation; true when it reports success.
    std::function<bool(SimulatedWorkspace&)> run;
    // Last status-line texts that report a failure; a trailing '*' matches any rest.
    std::vector<std::string> failureStatuses;
    // Message boxes that report a failure where the status line does not.
    std::vector<std::string> failureMessages;
    // When false, a failed connect does not leave its own text last (a read
    // always ends with the length and checksum).
    bool connectStatusLast = true;
    // The locked chip: whether the operation succeeds, and its last status.
    bool lockedSucceeds = false;
    std::string lockedStatus;
    // Faults (by name) whose outcome differs from the general rule, with the reason.
    std::vector<std::pair<std::string, Expect>> overrides;
};

enum class FaultKind { Silent, Garbage, Hangup, NoFirmware, Version, PollingFail, Locked };

// Where a byte-counted fault strikes.
enum class Where { Connect, Early, Middle, LastUnit, Nowhere };

struct FaultRow {
    std::string name;
    FaultKind kind;
    Where where = Where::Nowhere;
};

// Test names and failure output show the rows by name.
inline void PrintTo(const OperationRow& row, std::ostream* out) {
    *out << row.name;
}
inline void PrintTo(const FaultRow& fault, std::ostream* out) {
    *out << fault.name;
}

const std::vector<OperationRow>& operationRows();

// What the operation must do under the fault.
Expect expectationOf(const OperationRow& row, const FaultRow& fault);
const std::vector<FaultRow>& faultRows();

// A healthy run of an operation.
struct Baseline {
    std::vector<std::string> runs;  // the wire runs ("> 25", "< 2B" ...)
    std::int64_t hostBytes = 0;
    std::int64_t workStart = 0;  // host bytes before the operation's own work
    std::int64_t elapsedUs = 0;  // virtual time the operation took
};

const Baseline& baselineOf(const OperationRow& row);

// The --sim-fault text for this fault on this operation ("silent-after=123").
std::string faultSpec(const OperationRow& row, const FaultRow& fault);

// The wire runs of a simulated workspace, without their times.
std::vector<std::string> wireRunsOf(SimulatedWorkspace& sim);
// Host bytes in a trace run ("> 25 40" holds 2); 0 for a board run.
std::int64_t hostBytesIn(const std::string& run);

}  // namespace zavuv::testing
