#include "devices/LockFuseVerify.h"

#include "devices/LockModeName.h"
#include "text/UiText.h"

namespace zavuv::devices {

namespace {

const char* nameOf(const LockFuseLayout& layout, const BitMismatch& mismatch) {
    return mismatch.kind == BitMismatch::Kind::Fuse ? layout.fuseName[mismatch.index]
                                                    : layout.bootLockName[mismatch.index];
}

}  // namespace

LockFuseComparison compareLockFuse(const LockFuseLayout& layout, const LockFuseState& expected,
                                   const LockFuseState& actual) {
    LockFuseComparison comparison;
    if (expected.lockMode != actual.lockMode)
        comparison.lockMode = LockModeMismatch{expected.lockMode, actual.lockMode};
    for (int i = 0; i < layout.fuseCount; ++i)
        if (expected.fuse[i] != actual.fuse[i])
            comparison.bits.push_back({BitMismatch::Kind::Fuse, i, actual.fuse[i]});
    for (int j = 0; j < layout.bootLockCount; ++j)
        if (expected.bootLock[j] != actual.bootLock[j])
            comparison.bits.push_back({BitMismatch::Kind::BootLock, j, actual.bootLock[j]});
    return comparison;
}

VerifyReport verifyReport(LockModeTexts texts, const LockFuseLayout& layout,
                          const LockFuseState& expected, const LockFuseState& actual) {
    const LockFuseComparison comparison = compareLockFuse(layout, expected, actual);
    if (comparison.equal())
        return {true, text::GetUiText(text::Msg::LockFuseVerifyOk)};
    std::string report = text::GetUiText(text::Msg::LockFuseVerifyFailed);
    if (comparison.lockMode)
        report += text::formatUiText(text::Msg::LockModeMismatchLine,
                                     lockModeName(texts, comparison.lockMode->expected),
                                     lockModeName(texts, comparison.lockMode->actual));
    for (const BitMismatch& mismatch : comparison.bits)
        report += text::formatUiText(mismatch.programmedOnChip ? text::Msg::ShouldBeUnprogrammedLine
                                                               : text::Msg::ShouldBeProgrammedLine,
                                     nameOf(layout, mismatch));
    return {false, report};
}

}  // namespace zavuv::devices
