#include "sim/BoardIdentity.h"

#include <algorithm>

#include "sim/BoardCommand.h"

namespace zavuv::sim {

std::vector<std::uint8_t> identityReply(std::string_view text) {
    std::vector<std::uint8_t> reply(text.size() + 2, kCr);
    reply[0] = static_cast<std::uint8_t>(text.size());
    std::copy(text.begin(), text.end(), reply.begin() + 1);
    return reply;
}

std::vector<std::uint8_t> serialNumberReply() {
    std::vector<std::uint8_t> reply(kSerialNumber.begin(), kSerialNumber.end());
    reply.push_back(kCr);
    return reply;
}

}  // namespace zavuv::sim
