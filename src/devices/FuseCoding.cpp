#include "devices/FuseCoding.h"

#include "devices/InstructionBits.h"

namespace zavuv::devices {

namespace {
constexpr FuseByte kWriteOrder[] = {FuseByte::Low, FuseByte::High, FuseByte::Extended};
}  // namespace

std::optional<Instruction> encodeFuseInstruction(const LockFuseLayout& layout, FuseByte which,
                                                 const LockFuseState& state) {
    const FuseByteLayout& byte = layout.fuseByte(which);
    if (!byte.present)
        return std::nullopt;
    Instruction instruction = byte.writeTemplate;
    for (int i = 0; i < layout.fuseCount; ++i)
        putBit(instruction, byte.writePos[i], state.fuse[i]);
    return instruction;
}

std::optional<std::uint8_t> fuseByteValue(const LockFuseLayout& layout, FuseByte which,
                                          const LockFuseState& state) {
    const std::optional<Instruction> instruction = encodeFuseInstruction(layout, which, state);
    if (!instruction)
        return std::nullopt;
    const FuseByteLayout& byte = layout.fuseByte(which);
    for (int i = 0; i < layout.fuseCount; ++i)
        if (byte.writePos[i].present())
            return (*instruction)[byte.writePos[i].byte];
    return std::nullopt;
}

std::vector<Instruction> encodeFuseInstructions(const LockFuseLayout& layout,
                                                const LockFuseState& state) {
    std::vector<Instruction> instructions;
    for (FuseByte which : kWriteOrder)
        if (auto instruction = encodeFuseInstruction(layout, which, state))
            instructions.push_back(*instruction);
    return instructions;
}

void decodeFuseByte(const LockFuseLayout& layout, FuseByte which, std::uint8_t answer,
                    LockFuseState& state) {
    const FuseByteLayout& byte = layout.fuseByte(which);
    for (int i = 0; i < kMaxFuses; ++i) {
        const int bit = byte.readPos[i];
        if (which == FuseByte::Low || bit >= 0)
            state.fuse[i] = isProgrammed(answer, bit);
    }
}

std::vector<FuseByte> fuseReadOrder(const LockFuseLayout& layout) {
    std::vector<FuseByte> order;
    if (!layout.fuseByte(FuseByte::Low).readable)
        return order;
    order.push_back(FuseByte::Low);
    if (layout.fuseByte(FuseByte::High).present) {
        order.push_back(FuseByte::High);
        if (layout.fuseByte(FuseByte::Extended).present)
            order.push_back(FuseByte::Extended);
    }
    return order;
}

void decodeFuseBytes(const LockFuseLayout& layout, std::uint8_t lockAnswer,
                     std::span<const std::uint8_t> answers, LockFuseState& state) {
    const std::vector<FuseByte> order = fuseReadOrder(layout);
    if (order.empty()) {
        if (layout.lockReadable)
            decodeFuseByte(layout, FuseByte::Low, lockAnswer, state);
        return;
    }
    for (std::size_t n = 0; n < order.size() && n < answers.size(); ++n)
        decodeFuseByte(layout, order[n], answers[n], state);
}

}  // namespace zavuv::devices
