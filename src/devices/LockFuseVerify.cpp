#include "devices/LockFuseVerify.h"

#include "devices/LockModeName.h"
#include "text/UiText.h"

namespace zavuv::devices {

namespace {

constexpr int kVerifyOk = 1159;
constexpr int kVerifyFailed = 1160;
constexpr int kLockModeLine = 1161;
constexpr int kShouldBeProgrammedLine = 1162;
constexpr int kShouldBeUnprogrammedLine = 1163;

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
        return {true, text::GetUiText(kVerifyOk)};
    std::string report = text::GetUiText(kVerifyFailed);
    if (comparison.lockMode)
        report +=
            text::formatUiText(kLockModeLine, lockModeName(texts, comparison.lockMode->expected),
                               lockModeName(texts, comparison.lockMode->actual));
    for (const BitMismatch& mismatch : comparison.bits)
        report += text::formatUiText(mismatch.programmedOnChip ? kShouldBeUnprogrammedLine
                                                               : kShouldBeProgrammedLine,
                                     nameOf(layout, mismatch));
    return {false, report};
}

}  // namespace zavuv::devices
