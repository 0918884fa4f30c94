// The fault table, and where each fault strikes an operation: positions are
// counted in the host bytes (and board replies) of the operation's healthy run.

#include <map>

#include <gtest/gtest.h>

#include <fmt/format.h>

#include "FaultMatrix.h"
#include "operations/BoardAccess.h"

namespace zavuv::testing {

const std::vector<FaultRow>& faultRows() {
    static const std::vector<FaultRow> rows = {
        {"SilentInConnect", FaultKind::Silent, Where::Connect},
        {"SilentEarly", FaultKind::Silent, Where::Early},
        {"SilentMiddle", FaultKind::Silent, Where::Middle},
        {"SilentAtLastUnit", FaultKind::Silent, Where::LastUnit},
        {"GarbageInConnect", FaultKind::Garbage, Where::Connect},
        {"GarbageEarly", FaultKind::Garbage, Where::Early},
        {"GarbageMiddle", FaultKind::Garbage, Where::Middle},
        {"GarbageAtLastUnit", FaultKind::Garbage, Where::LastUnit},
        {"HangupInConnect", FaultKind::Hangup, Where::Connect},
        {"HangupEarly", FaultKind::Hangup, Where::Early},
        {"HangupMiddle", FaultKind::Hangup, Where::Middle},
        {"HangupAtLastUnit", FaultKind::Hangup, Where::LastUnit},
        {"NoFirmware", FaultKind::NoFirmware},
        {"WrongVersion", FaultKind::Version},
        {"PollingFails", FaultKind::PollingFail},
        {"LockedChip", FaultKind::Locked},
    };
    return rows;
}

std::int64_t hostBytesIn(const std::string& run) {
    return run.starts_with(">") ? static_cast<std::int64_t>(run.size() / 3) : 0;
}

std::vector<std::string> wireRunsOf(SimulatedWorkspace& sim) {
    sim.board().trace().flush();
    std::vector<std::string> runs;
    for (const std::string& line : sim.trace())
        runs.push_back(line.substr(line.find(' ') + 1));
    return runs;
}

namespace {

std::int64_t hostBytesOf(const std::vector<std::string>& runs) {
    std::int64_t bytes = 0;
    for (const std::string& run : runs)
        bytes += hostBytesIn(run);
    return bytes;
}

std::int64_t nowUs(SimulatedWorkspace& sim) {
    return sim.ws().clock().virtualClock().nowUs();
}

Baseline measure(const OperationRow& row) {
    Baseline baseline;
    {
        SimulatedWorkspace sim(row.chip);
        row.prepare(sim);
        const std::int64_t start = nowUs(sim);
        EXPECT_TRUE(row.run(sim)) << row.name << " fails on a healthy board";
        baseline.elapsedUs = nowUs(sim) - start;
        baseline.runs = wireRunsOf(sim);
        baseline.hostBytes = hostBytesOf(baseline.runs);
    }
    if (row.connects) {
        SimulatedWorkspace sim(row.chip);
        row.prepare(sim);
        EXPECT_TRUE(operations::connect(sim.ws(), operations::memorySpeed(sim.ws())));
        baseline.workStart = hostBytesOf(wireRunsOf(sim));
    }
    return baseline;
}

// The host byte after which the fault strikes.
std::int64_t hostPosition(const OperationRow& row, const Baseline& baseline, Where where) {
    const std::int64_t closing = row.closing == Closing::EndSession ? 5 : 1;
    const std::int64_t workEnd = baseline.hostBytes - closing;
    const std::int64_t work = workEnd - baseline.workStart;
    switch (where) {
    case Where::Connect:
        return 1;  // the synchronisation was answered, the next byte is not
    case Where::Early:
        return baseline.workStart + std::max<std::int64_t>(1, work / 10);
    case Where::Middle:
        return baseline.workStart + std::max<std::int64_t>(1, work / 2);
    case Where::LastUnit:
    case Where::Nowhere:
        break;
    }
    // Two bytes before the end: the reply to the last unit is still to come.
    return std::max(baseline.workStart + 1, workEnd - 2);
}

// The board reply that follows the host byte `position` (replies count from 1).
std::int64_t replyAfter(const Baseline& baseline, std::int64_t position) {
    std::int64_t hostBytes = 0;
    std::int64_t replies = 0;
    for (const std::string& run : baseline.runs) {
        hostBytes += hostBytesIn(run);
        if (hostBytes >= position && run.starts_with("<"))
            return replies + 1;
        replies += run.starts_with("<") ? 1 : 0;
    }
    return replies + 1;
}

}  // namespace

const Baseline& baselineOf(const OperationRow& row) {
    static std::map<std::string, Baseline> cache;
    auto found = cache.find(row.name);
    if (found == cache.end())
        found = cache.emplace(row.name, measure(row)).first;
    return found->second;
}

Expect expectationOf(const OperationRow& row, const FaultRow& fault) {
    for (const auto& [name, expect] : row.overrides)
        if (name == fault.name)
            return expect;
    switch (fault.kind) {
    case FaultKind::Silent:
    case FaultKind::Hangup:
        return Expect::Fails;
    case FaultKind::Garbage:
        if (fault.where == Where::Connect)
            return row.checksVersion ? Expect::Fails : Expect::MaySucceed;
        return row.garbled == GarbledReply::Noticed ? Expect::Fails : Expect::MaySucceed;
    case FaultKind::NoFirmware:
    case FaultKind::Version:
        return row.checksVersion ? Expect::Fails : Expect::Succeeds;
    case FaultKind::PollingFail:
        return row.writeBlocks ? Expect::Fails : Expect::Succeeds;
    case FaultKind::Locked:
        return row.lockedSucceeds ? Expect::Succeeds : Expect::Fails;
    }
    return Expect::Fails;
}

std::string faultSpec(const OperationRow& row, const FaultRow& fault) {
    const Baseline& baseline = baselineOf(row);
    switch (fault.kind) {
    case FaultKind::Silent:
        return fmt::format("silent-after={}", hostPosition(row, baseline, fault.where));
    case FaultKind::Hangup:
        return fmt::format("hangup-after={}", hostPosition(row, baseline, fault.where));
    case FaultKind::Garbage:
        // In the connect: the version answer, the second reply of every synchronised exchange.
        return fmt::format("garbage-after={}",
                           fault.where == Where::Connect
                               ? 2
                               : replyAfter(baseline, hostPosition(row, baseline, fault.where)));
    case FaultKind::NoFirmware:
        return "no-firmware";
    case FaultKind::Version:
        return "version=108";
    case FaultKind::PollingFail:
        return "polling-fail";
    case FaultKind::Locked:
        return "locked";
    }
    return {};
}

}  // namespace zavuv::testing
