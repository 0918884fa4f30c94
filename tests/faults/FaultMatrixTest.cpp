// Every board operation under every fault of the simulated board: it ends
// within the protocol's time limits, says that it failed (or succeeds where the
// fault does not concern it), leaves the line closed and the board idle, keeps
// the buffers and files consistent with what was acknowledged, and the next
// run on a healthy board with the same chip succeeds.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "FaultMatrix.h"

namespace zavuv::testing {

namespace {

using buffers::ByteState;

// A silent read gives up after 2800 ms; a failing operation may meet a few of
// them (the failed reply, the drain, the two replies of endSession) but never
// one per unit of the transfer.
constexpr std::int64_t kReadLimitUs = 2'800'000;
constexpr std::int64_t kSilentReadsAllowed = 10;

bool matches(const std::string& text, const std::string& expected) {
    if (expected.ends_with('*'))
        return text.starts_with(expected.substr(0, expected.size() - 1));
    return text == expected;
}

bool matchesAny(const std::string& text, const std::vector<std::string>& expected) {
    return std::ranges::any_of(expected, [&](const std::string& e) { return matches(text, e); });
}

std::map<std::string, std::string> filesIn(const ScratchFolder& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        files[entry.path().filename().string()] = content.str();
    }
    return files;
}

struct BufferSnapshot {
    std::vector<std::uint8_t> data;
    std::vector<ByteState> states;
};

BufferSnapshot snapshot(const buffers::MemoryBuffer& buffer) {
    const auto data = buffer.data();
    const auto states = buffer.byteStates();
    return {{data.begin(), data.end()}, {states.begin(), states.end()}};
}

const std::vector<std::uint8_t>& memoryOf(const sim::ChipImage& chip, bool flash) {
    return flash ? chip.flash : chip.eeprom;
}

// Program: the buffer's data is unchanged; a byte marked programmed is on the
// chip, and the chip changed only where bytes were handed over, give or take
// the one unit in flight when the fault struck.
void checkProgrammed(const OperationRow& row, const BufferSnapshot& before,
                     const buffers::MemoryBuffer& buffer,
                     const std::vector<std::uint8_t>& chipBefore,
                     const std::vector<std::uint8_t>& chip, bool succeeded) {
    EXPECT_EQ(snapshot(buffer).data, before.data);
    const auto data = buffer.data();
    const auto states = buffer.byteStates();
    if (!succeeded && snapshot(buffer).states == before.states)
        return;  // the worker never started: nothing was handed over
    const std::size_t n = std::min(data.size(), chip.size());
    std::size_t markedNotOnChip = 0;
    std::size_t onChipNotMarked = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const bool marked = states[i] == ByteState::Programmed;
        EXPECT_TRUE(marked || states[i] == ByteState::Created) << "byte " << i;
        if (marked && chip[i] != data[i])
            ++markedNotOnChip;
        if (!marked && chip[i] != chipBefore[i])
            ++onChipNotMarked;
    }
    EXPECT_TRUE(std::equal(chip.begin() + static_cast<long>(n), chip.end(),
                           chipBefore.begin() + static_cast<long>(n)))
        << "the chip changed beyond the image";
    if (succeeded) {
        EXPECT_EQ(markedNotOnChip + onChipNotMarked, 0u);
        return;
    }
    EXPECT_LE(markedNotOnChip, row.unit);
    EXPECT_LE(onChipNotMarked, row.unit);
}

// Read: every byte received is in state 4 and holds the chip's byte (a garbled
// reply may spoil one); the others are 0xFF in state 5.
void checkRead(const buffers::MemoryBuffer& buffer, const std::vector<std::uint8_t>& chip,
               std::size_t spoilt, bool succeeded) {
    const auto data = buffer.data();
    const auto states = buffer.byteStates();
    // A read that never reached the chip leaves the buffer as it was.
    if (!succeeded && data.size() != chip.size()) {
        EXPECT_TRUE(std::ranges::none_of(states, [](ByteState s) { return s == ByteState::Read; }));
        return;
    }
    ASSERT_EQ(data.size(), chip.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (states[i] == ByteState::Read) {
            differing += data[i] != chip[i] ? 1 : 0;
        } else {
            EXPECT_FALSE(succeeded) << "byte " << i << " not read";
            EXPECT_EQ(states[i], ByteState::Created) << "byte " << i;
            EXPECT_EQ(data[i], 0xFF) << "byte " << i;
        }
    }
    EXPECT_LE(differing, spoilt);
}

// Verify: the data is unchanged, and a byte marked verified matches the chip.
void checkVerified(const BufferSnapshot& before, const buffers::MemoryBuffer& buffer,
                   const std::vector<std::uint8_t>& chip, std::size_t spoilt) {
    EXPECT_EQ(snapshot(buffer).data, before.data);
    const auto data = buffer.data();
    const auto states = buffer.byteStates();
    if (snapshot(buffer).states == before.states)
        return;  // the worker never started
    std::size_t wrong = 0;
    for (std::size_t i = 0; i < data.size() && i < chip.size(); ++i) {
        EXPECT_TRUE(states[i] == ByteState::Verified || states[i] == ByteState::Created)
            << "byte " << i;
        wrong += states[i] == ByteState::Verified && data[i] != chip[i] ? 1 : 0;
    }
    EXPECT_LE(wrong, spoilt);
}

std::string contentOf(const buffers::MemoryBuffer& buffer) {
    const auto data = buffer.data();
    return {data.begin(), data.end()};
}

// A failed operation writes no file. The one exception: an unattended
// auto-program reserves its serial numbers before it sends anything, so the
// image files hold the next number, whole, beside their empty lock files.
void checkFilesAfterFailure(const OperationRow& row, SimulatedWorkspace& sim,
                            const std::map<std::string, std::string>& before) {
    const bool reserves = row.work == Work::Sequence;
    for (const auto& [name, content] : filesIn(sim.folder())) {
        if (!before.contains(name)) {
            EXPECT_TRUE(reserves && name.ends_with(".bin.lock") && content.empty())
                << name << " was added";
            continue;
        }
        if (content == before.at(name))
            continue;
        const bool savedNumber =
            reserves && ((name == "flash.bin" && content == contentOf(sim.ws().flash())) ||
                         (name == "eeprom.bin" && content == contentOf(sim.ws().eeprom())));
        EXPECT_TRUE(savedNumber) << name << " was written";
    }
}

std::string faultMessage(FaultKind kind) {
    switch (kind) {
    case FaultKind::NoFirmware:
        return "Programmer has no firmware and should be updated. Use \"Update firmware "
               "version\" command from \"Advanced\" menu.";
    case FaultKind::Version:
        return "Version conflict.\nFW version: 1.08\nRequired version 1.09.\nUpdate version and "
               "try again.";
    default:
        return {};
    }
}

class FaultMatrixTest : public ::testing::TestWithParam<std::tuple<OperationRow, FaultRow>> {};

TEST_P(FaultMatrixTest, EndsReportsAndRecovers) {
    const auto& [row, fault] = GetParam();
    const Baseline& baseline = baselineOf(row);
    const std::string spec = faultSpec(row, fault);
    const Expect expect = expectationOf(row, fault);
    SCOPED_TRACE(spec);

    SimulatedWorkspace sim(row.chip, {spec});
    row.prepare(sim);
    if (row.ownsStatus)
        sim.ws().results.lastOperationStatus =
            zavuv::workspace::OperationStatus::Succeeded;  // the operation must set it itself
    const auto filesBefore = filesIn(sim.folder());
    const sim::ChipImage chipBefore = sim.board().chip();
    const BufferSnapshot flashBefore = snapshot(sim.ws().flash());
    const BufferSnapshot eepromBefore = snapshot(sim.ws().eeprom());
    const std::int64_t start = sim.ws().clock().virtualClock().nowUs();

    const bool succeeded = row.run(sim);

    const std::int64_t elapsed = sim.ws().clock().virtualClock().nowUs() - start;
    EXPECT_LE(elapsed, baseline.elapsedUs + kSilentReadsAllowed * kReadLimitUs)
        << "took " << elapsed / 1000 << " ms against " << baseline.elapsedUs / 1000
        << " ms on a healthy board";
    EXPECT_FALSE(sim.ws().channel().connected()) << "the port was left open";
    if (fault.kind != FaultKind::Hangup) {  // an unplugged board cannot be told anything
        EXPECT_TRUE(sim.boardIdle()) << "the board was left in a session";
    }
    EXPECT_EQ(sim.user().busyDepth(), 0);
    EXPECT_EQ(sim.user().unansweredQuestions(), 0);

    const std::string last = sim.user().lastStatus();
    const auto messages = sim.user().messages();
    const zavuv::workspace::OperationStatus status = sim.ws().results.lastOperationStatus;
    const bool mustFail = expect == Expect::Fails || (expect == Expect::MaySucceed && !succeeded);
    if (expect == Expect::Succeeds) {
        EXPECT_TRUE(succeeded) << "last status: " << last;
    } else if (mustFail) {
        EXPECT_FALSE(succeeded) << "a failure reported as success; last status: " << last;
    }
    if (succeeded && row.ownsStatus) {
        EXPECT_EQ(status, zavuv::workspace::OperationStatus::Succeeded);
    }
    if (mustFail) {
        if (row.ownsStatus) {
            EXPECT_NE(status, zavuv::workspace::OperationStatus::Succeeded);
        }
        std::vector<std::string> allowed = row.failureStatuses;
        if (row.connectStatusLast)
            allowed.insert(allowed.end(),
                           {"Connection error", "Version conflict. You need to update firmware "
                                                "version."});
        if (fault.kind == FaultKind::Locked)
            allowed = {row.lockedStatus};
        const bool boxed = std::ranges::any_of(
            messages, [&](const std::string& m) { return matchesAny(m, row.failureMessages); });
        EXPECT_TRUE(matchesAny(last, allowed) || boxed) << "last status: " << last;
    }
    if (fault.kind == FaultKind::Locked && !row.lockedStatus.empty()) {
        EXPECT_TRUE(matches(last, row.lockedStatus)) << "last status: " << last;
    }
    if (row.checksVersion && !faultMessage(fault.kind).empty()) {
        EXPECT_NE(std::ranges::find(messages, faultMessage(fault.kind)), messages.end());
    }

    if (!succeeded)
        checkFilesAfterFailure(row, sim, filesBefore);
    const std::size_t spoilt = fault.kind == FaultKind::Garbage ? 1 : 0;
    const auto& chip = sim.board().chip();
    switch (row.work) {
    case Work::Program:
        if (fault.kind == FaultKind::Locked) {
            // A locked chip ignores the writes, and nothing on the line says so.
            EXPECT_EQ(snapshot(bufferOf(sim, row.flash)).data,
                      (row.flash ? flashBefore : eepromBefore).data);
            break;
        }
        checkProgrammed(row, row.flash ? flashBefore : eepromBefore, bufferOf(sim, row.flash),
                        memoryOf(chipBefore, row.flash), memoryOf(chip, row.flash), succeeded);
        break;
    case Work::Read:
        if (fault.kind != FaultKind::Locked)  // a locked chip reads as it likes
            checkRead(row.flash ? sim.ws().flash() : sim.ws().eeprom(), memoryOf(chip, row.flash),
                      spoilt, succeeded);
        break;
    case Work::Verify:
        checkVerified(row.flash ? flashBefore : eepromBefore,
                      row.flash ? sim.ws().flash() : sim.ws().eeprom(), memoryOf(chip, row.flash),
                      spoilt);
        break;
    case Work::None: {
        const BufferSnapshot flashAfter = snapshot(sim.ws().flash());
        const BufferSnapshot eepromAfter = snapshot(sim.ws().eeprom());
        EXPECT_EQ(flashAfter.data, flashBefore.data);
        EXPECT_EQ(flashAfter.states, flashBefore.states);
        EXPECT_EQ(eepromAfter.data, eepromBefore.data);
        EXPECT_EQ(eepromAfter.states, eepromBefore.states);
        break;
    }
    case Work::Sequence:
        break;  // its steps are the rows above; the files are checked
    }

    // The same operation on a healthy board, with the chip as the fault left it.
    SimulatedWorkspace next(row.chip);
    next.board().chip() = sim.board().chip();
    if (fault.kind == FaultKind::Locked)
        next.board().chip().lock = 0xFF;
    row.prepare(next);
    EXPECT_TRUE(row.run(next)) << "the next run fails: " << next.user().lastStatus();
}

std::vector<std::tuple<OperationRow, FaultRow>> allCases() {
    std::vector<std::tuple<OperationRow, FaultRow>> cases;
    for (const OperationRow& row : operationRows())
        for (const FaultRow& fault : faultRows())
            cases.emplace_back(row, fault);
    return cases;
}

INSTANTIATE_TEST_SUITE_P(
    Matrix, FaultMatrixTest, ::testing::ValuesIn(allCases()),
    [](const ::testing::TestParamInfo<std::tuple<OperationRow, FaultRow>>& info) {
        return std::get<0>(info.param).name + "_" + std::get<1>(info.param).name;
    });

}  // namespace

}  // namespace zavuv::testing
