#pragma once
// Helpers for the memory-operation tests: a progress runner that records what
// the worker reports and can press Cancel, buffers filled from files, and the
// wire trace without its times.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Progress.h"
#include "buffers/MemoryBuffer.h"
#include "support/SimulatedWorkspace.h"

namespace zavuv::testing {

// Records every setup and report; presses Cancel once `cancelAfterReports`
// reports have been made (never when negative).
class RecordingRunner final : public base::ProgressRunner, private base::ProgressSink {
public:
    explicit RecordingRunner(int cancelAfterReports = -1) : cancelAfter_(cancelAfterReports) {}

    bool cancelRequested() const override { return cancel_; }

    std::vector<int> totals;  // the total of every setup, in order
    std::vector<int> units;   // the bytes of a unit of every setup, in order
    std::vector<std::string> texts;
    std::vector<int> reports;
    std::vector<base::CancelOffer> offers;  // of every run, in order

private:
    base::EndCode runBody(const base::WorkerBody& body, base::CancelOffer offer) override {
        offers.push_back(offer);
        cancel_ = cancelAfter_ == 0;
        return body(*this);
    }
    void setup(const std::string&, const std::string& text, int total, int unitBytes) override {
        totals.push_back(total);
        units.push_back(unitBytes);
        texts.push_back(text);
    }
    void reportProgress(int done) override {
        reports.push_back(done);
        if (cancelAfter_ >= 0 && static_cast<int>(reports.size()) >= cancelAfter_)
            cancel_ = true;
    }

    int cancelAfter_;
    bool cancel_ = false;
};

// `count` bytes that differ from their neighbours and are never 0xFF.
inline std::vector<std::uint8_t> patternBytes(std::size_t count, unsigned seed = 7) {
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 31 + seed + (i >> 8)) % 251);
    return bytes;
}

// Loads the bytes into the buffer from a binary file of the test's folder.
inline void loadBytes(SimulatedWorkspace& sim, buffers::MemoryBuffer& buffer,
                      const std::vector<std::uint8_t>& bytes,
                      const std::string& name = "image.bin") {
    buffer.loadFile(sim.folder().write(name, bytes));
}

// The trace lines without their times: "> 25", "< 0D" ...
inline std::vector<std::string> wire(SimulatedWorkspace& sim) {
    std::vector<std::string> runs;
    for (const std::string& line : sim.trace())
        runs.push_back(line.substr(line.find(' ') + 1));
    return runs;
}

inline bool hasRun(const std::vector<std::string>& runs, const std::string& run) {
    return std::ranges::find(runs, run) != runs.end();
}

inline long countRunsStartingWith(const std::vector<std::string>& runs, const std::string& start) {
    return std::ranges::count_if(runs, [&](const std::string& r) { return r.starts_with(start); });
}

// True when `part` occurs in `whole` as consecutive elements.
template <typename T>
bool containsInOrder(const std::vector<T>& whole, const std::vector<T>& part) {
    return std::search(whole.begin(), whole.end(), part.begin(), part.end()) != whole.end();
}

// `times` copies of `unit` one after the other.
template <typename T> std::vector<T> repeated(const std::vector<T>& unit, std::size_t times) {
    std::vector<T> all;
    for (std::size_t i = 0; i < times; ++i)
        all.insert(all.end(), unit.begin(), unit.end());
    return all;
}

// "> 7B 20 ..." : how a run of host bytes looks in the trace.
inline std::string hostRun(const std::vector<std::uint8_t>& bytes) {
    std::string run = ">";
    static const char* digits = "0123456789ABCDEF";
    for (std::uint8_t b : bytes) {
        run += ' ';
        run += digits[b >> 4];
        run += digits[b & 15];
    }
    return run;
}

// A command byte and its arguments followed by `data[from, from + count)`.
inline std::string hostRun(std::vector<std::uint8_t> head, const std::vector<std::uint8_t>& data,
                           std::size_t from, std::size_t count) {
    head.insert(head.end(), data.begin() + static_cast<long>(from),
                data.begin() + static_cast<long>(from + count));
    return hostRun(head);
}

inline long countState(const buffers::MemoryBuffer& buffer, buffers::ByteState state,
                       std::size_t from = 0, std::size_t to = SIZE_MAX) {
    const auto states = buffer.byteStates();
    to = std::min(to, states.size());
    return std::count(states.begin() + static_cast<long>(from),
                      states.begin() + static_cast<long>(to), state);
}

}  // namespace zavuv::testing
