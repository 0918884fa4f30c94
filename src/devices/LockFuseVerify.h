#pragma once
// Comparing the bits the person expects with the bits read from the chip, and
// the report that the lock/fuse dialog and the command line both show.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "devices/DeviceTable.h"
#include "devices/LockFuseLayout.h"
#include "devices/LockModeName.h"

namespace zavuv::devices {

struct LockModeMismatch {
    std::int32_t expected;
    std::int32_t actual;
};

struct BitMismatch {
    enum class Kind { Fuse, BootLock };
    Kind kind;
    int index;              // fuse index or boot lock index of the layout
    bool programmedOnChip;  // the chip's value; the expected one is the other
};

struct LockFuseComparison {
    std::optional<LockModeMismatch> lockMode;
    std::vector<BitMismatch> bits;  // fuses by index, then boot lock bits by index

    bool equal() const { return !lockMode && bits.empty(); }
};

// Compares lock mode, the layout's fuses and its boot lock bits. `readable`
// is not compared, nor entries beyond the layout's counts, which name no bit.
LockFuseComparison compareLockFuse(const LockFuseLayout& layout, const LockFuseState& expected,
                                   const LockFuseState& actual);

struct VerifyReport {
    bool ok;
    std::string text;  // shown with an information icon when ok, an error icon otherwise
};

// "Lock&Fuse bits verify: OK", or the failure heading with one line per mismatch.
VerifyReport verifyReport(LockModeTexts texts, const LockFuseLayout& layout,
                          const LockFuseState& expected, const LockFuseState& actual);

}  // namespace zavuv::devices
