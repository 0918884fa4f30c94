#pragma once
// One serial line as the operating system (or the simulated board) offers it.
// The channel above it adds the protocol's rules: drain before every write, one
// repeated write, the receive loop and the 2800 ms silence limit.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "link/PortAccess.h"

namespace zavuv::link {

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Opens the line at this baud rate, 8N1, raw, exclusive. False when the device
    // does not exist, is held by another program or refuses the settings.
    virtual bool open(int baudRate) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // After a failed open: set when it failed because this user may not use the device.
    virtual std::optional<PortPermissionDenied> permissionDenied() const { return std::nullopt; }

    // Waits until every byte written so far has left the driver.
    virtual bool drain() = 0;

    // Writes the bytes; returns how many were written, or -1 on error.
    virtual long write(std::span<const std::uint8_t> bytes) = 0;

    // One read attempt: waits at most timeoutMs for bytes and returns how many it
    // stored (up to into.size()); it may return before `into` is full. 0 means
    // nothing came: silence, a hang-up or an I/O error; it never blocks past
    // timeoutMs.
    virtual std::size_t read(std::span<std::uint8_t> into, int timeoutMs) = 0;
};

}  // namespace zavuv::link
