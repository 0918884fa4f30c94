#include "link/SerialChannel.h"

#include <utility>

namespace zavuv::link {

SerialChannel::SerialChannel(PortFactory factory)
    : factory_(std::move(factory)), rxBuffer_(kRxBufferSize) {}

SerialChannel::~SerialChannel() {
    close();
}

bool SerialChannel::open(int portIndex, int baudRate) {
    close();
    portIndex_ = portIndex;
    baudRate_ = baudRate;
    openDenied_.reset();
    auto port = factory_ ? factory_(portIndex) : nullptr;
    if (!port)
        return false;
    if (!port->open(baudRate)) {
        openDenied_ = port->permissionDenied();
        return false;
    }
    port_ = std::move(port);
    connected_ = true;
    return true;
}

bool SerialChannel::close() {
    connected_ = false;
    if (port_) {
        port_->close();
        port_.reset();
    }
    return true;
}

bool SerialChannel::write(std::span<const std::uint8_t> bytes) {
    if (!connected_)
        return false;
    // Each write starts on an empty transmit queue, so a sender that goes byte by
    // byte paces itself on the line. A failed drain shows in the write after it.
    port_->drain();
    long written = port_->write(bytes);
    if (written < 0)
        written = port_->write(bytes);
    return written >= static_cast<long>(bytes.size());
}

bool SerialChannel::sendByte(std::uint8_t byte) {
    return write(std::span(&byte, 1));
}

bool SerialChannel::sendBlock(std::span<const std::uint8_t> bytes) {
    return write(bytes);
}

std::optional<std::span<const std::uint8_t>> SerialChannel::receive(std::size_t count) {
    if (!connected_ || count == 0 || count > rxBuffer_.size())
        return std::nullopt;
    std::size_t received = 0;
    while (received < count) {
        const std::size_t got =
            port_->read(std::span(rxBuffer_).subspan(received, count - received), kReadTimeoutMs);
        // A whole attempt in silence ends the reply; a trickle keeps it going.
        if (got == 0)
            return std::nullopt;
        received += got;
    }
    return std::span<const std::uint8_t>(rxBuffer_.data(), count);
}

int SerialChannel::receiveByte() {
    auto reply = receive(1);
    return reply ? (*reply)[0] : -1;
}

}  // namespace zavuv::link
