#include "cli/FuseByteOptions.h"

#include <charconv>
#include <string_view>

#include "chips/ChipDriver.h"
#include "devices/FuseCoding.h"
#include "devices/LockByteCoding.h"
#include "operations/LockFuseOnChip.h"
#include "text/UiText.h"

namespace zavuv::cli {

namespace {

using devices::FuseByte;
using devices::LockFuseLayout;
using devices::LockFuseState;

constexpr const char* kLockOption = "--lock";

struct FuseByteOption {
    const char* name;
    FuseByte byte;
};

// In the order the bytes are decoded: the low byte sets every fuse, the
// others correct the fuses they carry.
constexpr FuseByteOption kFuseByteOptions[] = {
    {"--low", FuseByte::Low}, {"--high", FuseByte::High}, {"--ext", FuseByte::Extended}};

void refuse(workspace::Workspace& ws, const std::string& text) {
    ws.user().showMessage(text, base::MessageIcon::Error,
                          text::GetUiText(text::Msg::ProgrammerCaption));
}

// 0x-prefixed hexadecimal or decimal, 0..255.
std::optional<std::uint8_t> parseByte(std::string_view given) {
    int base = 10;
    if (given.size() > 2 && given[0] == '0' && (given[1] == 'x' || given[1] == 'X')) {
        given.remove_prefix(2);
        base = 16;
    }
    unsigned value = 0;
    const auto [end, error] =
        std::from_chars(given.data(), given.data() + given.size(), value, base);
    if (given.empty() || error != std::errc{} || end != given.data() + given.size() || value > 0xFF)
        return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

// Only AVR chips keep their lock bits in a byte that reads back as one.
bool hasLockByte(const workspace::Workspace& ws, const LockFuseLayout& layout) {
    return layout.lockReadable &&
           chips::driverFor(ws.projectDeviceInfo()).abilities().lockModeTexts ==
               devices::LockModeTexts::Avr;
}

std::string lockByteName() {
    return text::GetUiText(text::Msg::LockByte);
}

// The given value of an option, parsed; nothing after a message.
std::optional<std::uint8_t> givenByte(workspace::Workspace& ws, const std::string& option,
                                      const std::string& value) {
    const auto byte = parseByte(value);
    if (!byte)
        refuse(ws, text::formatUiText(text::Msg::InvalidByteValue, value, option));
    return byte;
}

}  // namespace

std::vector<ValueOption> fuseByteOptions() {
    return {{"--low", "low fuse byte to program (0xE2 or 226)"},
            {"--high", "high fuse byte to program"},
            {"--ext", "extended fuse byte to program"},
            {kLockOption, "lock byte to program"}};
}

bool fuseBytesGiven(const CommandArguments& arguments) {
    return !arguments.values.empty();
}

std::optional<LockFuseState> fuseBytesState(workspace::Workspace& ws, const LockFuseLayout& layout,
                                            const CommandArguments& arguments) {
    const char* device = ws.projectDeviceInfo().name;
    LockFuseState state;
    state.readable = layout.lockReadable;
    for (const FuseByteOption& option : kFuseByteOptions) {
        const bool onChip = layout.fuseByte(option.byte).present && layout.fuseCount > 0;
        const auto given = arguments.values.find(option.name);
        const std::string name = operations::fuseByteName(option.byte);
        if (given == arguments.values.end()) {
            if (onChip) {
                refuse(ws, text::formatUiText(text::Msg::ByteMissing, device, name, option.name));
                return std::nullopt;
            }
            continue;
        }
        if (!onChip) {
            refuse(ws, text::formatUiText(text::Msg::ByteNotOnChip, device, name, option.name));
            return std::nullopt;
        }
        const auto byte = givenByte(ws, option.name, given->second);
        if (!byte)
            return std::nullopt;
        devices::decodeFuseByte(layout, option.byte, *byte, state);
    }
    if (const auto lock = arguments.values.find(kLockOption); lock != arguments.values.end()) {
        if (!hasLockByte(ws, layout)) {
            refuse(ws, text::formatUiText(text::Msg::ByteNotOnChip, device, lockByteName(),
                                          kLockOption));
            return std::nullopt;
        }
        const auto byte = givenByte(ws, kLockOption, lock->second);
        if (!byte)
            return std::nullopt;
        if (!devices::lockByteToState(layout, *byte, state)) {
            refuse(ws, text::formatUiText(text::Msg::RawLockNoMode, *byte));
            return std::nullopt;
        }
    }
    return state;
}

void printFuseBytes(workspace::Workspace& ws, const LockFuseLayout& layout,
                    const LockFuseState& state) {
    const auto line = [&ws](const std::string& name, std::uint8_t value) {
        ws.user().setStatus(text::formatUiText(text::Msg::RawByteLine, name, value));
    };
    if (hasLockByte(ws, layout))
        line(lockByteName(), devices::lockByteValue(layout, state));
    for (const FuseByteOption& option : kFuseByteOptions)
        if (const auto value = devices::fuseByteValue(layout, option.byte, state))
            line(operations::fuseByteName(option.byte), *value);
}

}  // namespace zavuv::cli
