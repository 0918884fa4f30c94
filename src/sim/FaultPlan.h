#pragma once
// The faults a simulated board can be told to show (--sim-fault FAULT, repeatable).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zavuv::sim {

struct FaultPlan {
    std::optional<std::int64_t> silentAfter;    // host bytes answered before the board goes quiet
    std::optional<std::int64_t> garbageAfter;   // the reply (counted from 1) that gets a wrong byte
    std::optional<std::int64_t> hangupAfter;    // host bytes before the line goes dead
    std::optional<std::int64_t> swapChipAfter;  // sessions before the chip is changed
    bool noFirmware = false;                    // boot loader only until an image is uploaded
    std::optional<std::array<char, 3>> version;
    bool locked = false;       // the chip starts with its memories read and write protected
    bool pollingFail = false;  // every write block is answered with ESC
};

// Adds one fault to the plan. On a bad one the plan is unchanged and the result
// is the message to show; on success it is empty.
std::string addFault(FaultPlan& plan, const std::string& fault);

// All faults, stopping at the first bad one (its message is returned).
std::string parseFaults(FaultPlan& plan, const std::vector<std::string>& faults);

}  // namespace zavuv::sim
