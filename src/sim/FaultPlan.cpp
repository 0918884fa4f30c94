#include "sim/FaultPlan.h"

#include <charconv>

#include <fmt/format.h>

namespace zavuv::sim {

namespace {

constexpr const char* kKnownFaults =
    "silent-after=N, garbage-after=N, hangup-after=N, swap-chip-after=N, no-firmware, "
    "version=XYZ, locked, polling-fail";

std::optional<std::int64_t> parseCount(const std::string& text) {
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || ptr != end || value < 0) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::string addFault(FaultPlan& plan, const std::string& fault) {
    const auto equals = fault.find('=');
    const std::string name = fault.substr(0, equals);
    const bool hasValue = equals != std::string::npos;
    const std::string value = hasValue ? fault.substr(equals + 1) : std::string();

    std::optional<std::int64_t>* counter = nullptr;
    std::int64_t least = 0;
    if (name == "silent-after") {
        counter = &plan.silentAfter;
    } else if (name == "garbage-after") {
        counter = &plan.garbageAfter;
        least = 1;  // replies are counted from 1
    } else if (name == "hangup-after") {
        counter = &plan.hangupAfter;
    } else if (name == "swap-chip-after") {
        counter = &plan.swapChipAfter;
    }
    if (counter != nullptr) {
        const auto count = hasValue ? parseCount(value) : std::nullopt;
        if (!count || *count < least) {
            return fmt::format("fault '{}' needs a whole number N >= {}, as in {}=N; got '{}'",
                               name, least, name, fault);
        }
        *counter = *count;
        return {};
    }
    if (name == "version") {
        if (!hasValue || value.size() != 3) {
            return fmt::format("fault 'version' needs exactly three characters, as in "
                               "version=108; got '{}'",
                               fault);
        }
        plan.version = std::array<char, 3>{value[0], value[1], value[2]};
        return {};
    }
    bool* flag = nullptr;
    if (name == "no-firmware") {
        flag = &plan.noFirmware;
    } else if (name == "locked") {
        flag = &plan.locked;
    } else if (name == "polling-fail") {
        flag = &plan.pollingFail;
    }
    if (flag == nullptr) {
        return fmt::format("unknown fault '{}'; known faults: {}", fault, kKnownFaults);
    }
    if (hasValue) {
        return fmt::format("fault '{}' takes no value; got '{}'", name, fault);
    }
    *flag = true;
    return {};
}

std::string parseFaults(FaultPlan& plan, const std::vector<std::string>& faults) {
    for (const std::string& fault : faults) {
        std::string error = addFault(plan, fault);
        if (!error.empty()) {
            return error;
        }
    }
    return {};
}

}  // namespace zavuv::sim
