#include "devices/LockByteCoding.h"

#include <algorithm>
#include <span>

#include "devices/InstructionBits.h"
#include "text/UiText.h"

namespace zavuv::devices {

std::optional<Instruction> encodeLockInstruction(const LockFuseLayout& layout,
                                                 const LockFuseState& state) {
    const auto bootLocks =
        std::span(state.bootLock).first(static_cast<std::size_t>(layout.bootLockCount));
    const bool anyBootLock = std::ranges::any_of(bootLocks, [](bool b) { return b; });
    if (state.lockMode <= 0 && !anyBootLock)
        return std::nullopt;
    Instruction instruction = layout.lockWriteTemplate;
    putBit(instruction, layout.lockBitPos[0], state.lockMode >= 1);
    putBit(instruction, layout.lockBitPos[1], state.lockMode >= 2);
    for (int j = 0; j < layout.bootLockCount; ++j)
        putBit(instruction, {3, layout.bootLockPos[j]}, state.bootLock[j]);
    return instruction;
}

void decodeLockByte(const LockFuseLayout& layout, std::uint8_t answer, LockFuseState& state,
                    base::UserPort& port) {
    const bool lb1 = isProgrammed(answer, layout.lockReadPos[0]);
    const bool lb2 = isProgrammed(answer, layout.lockReadPos[1]);
    if (lb2 && !lb1) {
        port.showMessage(text::GetUiText(text::Msg::UnrecognisedLockBits),
                         base::MessageIcon::Warning, text::GetUiText(text::Msg::ProgrammerCaption));
        state.lockMode = 0;
    } else {
        state.lockMode = lb2 ? 2 : lb1 ? 1 : 0;
    }
    for (int j = 0; j < kMaxBootLocks; ++j)
        state.bootLock[j] = j < layout.bootLockCount && isProgrammed(answer, layout.bootLockPos[j]);
}

std::uint8_t lockByteValue(const LockFuseLayout& layout, const LockFuseState& state) {
    std::uint8_t value = 0xFF;
    const auto clear = [&value](int bit, bool programmed) {
        if (bit >= 0 && programmed)
            value = static_cast<std::uint8_t>(value & ~(1u << bit));
    };
    clear(layout.lockReadPos[0], state.lockMode >= 1);
    clear(layout.lockReadPos[1], state.lockMode >= 2);
    for (int j = 0; j < layout.bootLockCount; ++j)
        clear(layout.bootLockPos[j], state.bootLock[j]);
    return value;
}

bool lockByteToState(const LockFuseLayout& layout, std::uint8_t value, LockFuseState& state) {
    const bool lb1 = isProgrammed(value, layout.lockReadPos[0]);
    const bool lb2 = isProgrammed(value, layout.lockReadPos[1]);
    if (lb2 && !lb1)
        return false;
    state.lockMode = lb2 ? 2 : lb1 ? 1 : 0;
    for (int j = 0; j < kMaxBootLocks; ++j)
        state.bootLock[j] = j < layout.bootLockCount && isProgrammed(value, layout.bootLockPos[j]);
    return true;
}

}  // namespace zavuv::devices
