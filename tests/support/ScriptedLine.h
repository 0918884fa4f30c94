#pragma once
// A fake clock and scripted serial lines for the link's tests. The script says
// what the board sends and when the line stays silent; the trace records what
// the host did, with the virtual time of each step, so that tests can assert
// exact bytes and pauses:
//   "0 open COM1 19200"   "50 > 25"   "50 < 2B"   "2850 < -"   "400 close COM1"

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "base/Clock.h"
#include "link/SerialChannel.h"

namespace zavuv::testing {

class FakeClock : public base::Clock {
public:
    void sleepMs(int ms) override;
    std::int64_t nowUs() const override { return nowUs_; }
    void advanceMs(std::int64_t ms) { nowUs_ += ms * 1000; }
    const std::vector<int>& pauses() const { return pauses_; }

private:
    std::int64_t nowUs_ = 0;
    std::vector<int> pauses_;
};

// What one port's board sends, in order.
class PortScript {
public:
    // Bytes the board has ready for the host's next reads.
    PortScript& reply(std::string_view bytes);
    PortScript& reply(std::initializer_list<std::uint8_t> bytes);
    // The next read attempt that reaches this point brings nothing more.
    PortScript& silence();
    // The line stays quiet this long before what follows arrives.
    PortScript& gap(int ms);
    // The port exists but another program holds it.
    PortScript& busy() { return busyAfter(0); }
    // Another program takes the port after this many opens.
    PortScript& busyAfter(int opens);
    // The next count write calls fail.
    PortScript& failWrites(int count);
    // Every write of exactly these bytes fails ("4E", "23 00 82 00").
    PortScript& failWritesOf(std::string hexBytes);

private:
    friend class ScriptedPort;
    friend class ScriptedLine;
    struct Item {
        enum class Kind { Bytes, Silence, Gap } kind;
        std::deque<std::uint8_t> bytes;
        std::int64_t gapMs = 0;
    };
    std::deque<Item> input_;
    int opensLeft_ = -1;  // -1: no limit
    int failingWrites_ = 0;
    std::vector<std::string> failingBytes_;
};

class ScriptedLine {
public:
    explicit ScriptedLine(FakeClock& clock) : clock_(clock) {}

    // The board on this port (0 = COM1); ports without one do not exist.
    PortScript& board(int portIndex) { return scripts_[portIndex]; }

    link::PortFactory factory();

    const std::vector<std::string>& trace() const { return trace_; }
    void clearTrace() { trace_.clear(); }
    // Writes that went out without a drain of the line since the last one.
    int undrainedWrites() const { return undrainedWrites_; }
    int portsMade() const { return portsMade_; }
    // Bytes the scripts still hold for the host.
    std::size_t unreadBytes() const;

private:
    friend class ScriptedPort;
    void record(const std::string& event);

    FakeClock& clock_;
    std::map<int, PortScript> scripts_;
    std::vector<std::string> trace_;
    int undrainedWrites_ = 0;
    int portsMade_ = 0;
};

// Hex bytes as the trace writes them: "2B 0D".
std::string hexBytes(std::initializer_list<std::uint8_t> bytes);

}  // namespace zavuv::testing
