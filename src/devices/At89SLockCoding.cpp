#include "devices/At89SLockCoding.h"

#include <algorithm>

#include "devices/InstructionBits.h"

namespace zavuv::devices {

namespace {

constexpr std::int32_t kHighestLevel = 3;

std::int32_t levelOf(const LockFuseState& state) {
    return std::clamp(state.lockMode, 0, kHighestLevel);
}

bool readsOne(std::uint8_t answer, int bit) {
    return bit >= 0 && ((answer >> bit) & 1u) != 0;
}

}  // namespace

std::vector<Instruction> encodeAt89SLockSteps(const LockFuseLayout& layout,
                                              const LockFuseState& state) {
    const Instruction& t = layout.lockWriteTemplate;
    std::vector<Instruction> steps;
    for (std::int32_t level = 1; level <= levelOf(state); ++level)
        steps.push_back({t[0], static_cast<std::uint8_t>(t[1] | level), t[2], 0xFF});
    return steps;
}

Instruction encodeAt89SLockLevel(const LockFuseLayout& layout, const LockFuseState& state) {
    const std::int32_t level = levelOf(state);
    Instruction instruction = layout.lockWriteTemplate;
    putBit(instruction, layout.lockBitPos[2], level >= 1);
    putBit(instruction, layout.lockBitPos[1], level >= 2);
    putBit(instruction, layout.lockBitPos[0], level >= 3);
    return instruction;
}

std::int32_t decodeAt89S51LockAnswer(const LockFuseLayout& layout, std::uint8_t answer) {
    for (std::int32_t level = kHighestLevel; level >= 1; --level)
        if (readsOne(answer, layout.lockReadPos[level - 1]))
            return level;
    return 0;
}

std::int32_t decodeAt89S8253LockAnswer(const LockFuseLayout& layout, std::uint8_t answer) {
    // Levels are programmed one after the other, so only these patterns occur.
    for (std::int32_t level = 0; level <= kHighestLevel; ++level) {
        bool matches = true;
        for (int k = 0; k < kLockBits; ++k)
            matches = matches && isProgrammed(answer, layout.lockReadPos[k]) == (k < level);
        if (matches)
            return level;
    }
    return 0;
}

}  // namespace zavuv::devices
