#include "devices/LockModeName.h"

#include <array>

#include "text/UiText.h"

namespace zavuv::devices {

namespace {

using text::Msg;

constexpr std::array<Msg, kLockModeCount> kAvrModes = {Msg::AvrLockNone, Msg::AvrLockWrite,
                                                       Msg::AvrLockReadWrite, Msg::AvrLockAll};
constexpr std::array<Msg, kLockModeCount> kAt89SModes = {Msg::At89SLockNone, Msg::At89SLockLb1,
                                                         Msg::At89SLockLb12, Msg::At89SLockLb123};

}  // namespace

const char* lockModeName(LockModeTexts texts, std::int32_t mode) {
    if (mode < 0 || mode >= kLockModeCount)
        return "";
    const auto& modes = texts == LockModeTexts::Avr ? kAvrModes : kAt89SModes;
    return text::GetUiText(modes[static_cast<std::size_t>(mode)]);
}

}  // namespace zavuv::devices
