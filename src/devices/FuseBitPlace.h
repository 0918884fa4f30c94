#pragma once
// Where a chip keeps a fuse of a given name: which of its fuse bytes, and
// which bit of that byte.

#include <optional>
#include <string_view>

#include "devices/LockFuseLayout.h"

namespace zavuv::devices {

struct FuseBitPlace {
    FuseByte byte;
    int bit;  // 0..7

    friend bool operator==(const FuseBitPlace&, const FuseBitPlace&) = default;
};

// The place of the fuse of this name (SPIEN, EESAVE, RSTDISBL, ...), or nothing
// when the layout writes no fuse of that name.
std::optional<FuseBitPlace> fuseBitPlace(const LockFuseLayout& layout, std::string_view name);

}  // namespace zavuv::devices
