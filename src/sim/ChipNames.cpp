#include "sim/ChipNames.h"

#include <algorithm>
#include <cctype>

namespace zavuv::sim {

namespace {

bool sameLetters(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// "ATmega325/3250" -> "ATmega3250": the digits after the slash replace the
// trailing digits of the first name.
std::string secondNameOfPair(const std::string& name) {
    const auto slash = name.find('/');
    if (slash == std::string::npos) {
        return {};
    }
    std::string first = name.substr(0, slash);
    while (!first.empty() && std::isdigit(static_cast<unsigned char>(first.back()))) {
        first.pop_back();
    }
    return first + name.substr(slash + 1);
}

}  // namespace

std::optional<ChipChoice> findChip(const std::string& name) {
    for (int i = 0; i < devices::DeviceTable::count(); ++i) {
        const devices::DeviceInfo& device = devices::DeviceTable::at(i);
        if (sameLetters(name, device.name)) {
            return ChipChoice{i, device.signature};
        }
        const std::string second = secondNameOfPair(device.name);
        if (!second.empty() && sameLetters(name, second)) {
            return ChipChoice{i, device.altSignature};
        }
    }
    return std::nullopt;
}

}  // namespace zavuv::sim
