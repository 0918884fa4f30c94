#pragma once
// Where the board puts its replies: one call per command's complete reply.

#include <cstdint>
#include <span>

namespace zavuv::sim {

class ReplySink {
public:
    virtual ~ReplySink() = default;
    virtual void reply(std::span<const std::uint8_t> bytes) = 0;
};

}  // namespace zavuv::sim
