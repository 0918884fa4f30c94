#pragma once
// The byte pipe to the board: opens a port with the fixed line settings, sends
// single bytes or blocks, and receives an exact number of bytes, giving up when
// the line stays silent for one whole read attempt. It knows no commands.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "link/SerialPort.h"

namespace zavuv::link {

// Makes the port with this index (0 = COM1); nullptr when there is none.
using PortFactory = std::function<std::unique_ptr<SerialPort>(int portIndex)>;

class SerialChannel {
public:
    static constexpr std::size_t kRxBufferSize = 32768;
    // One read attempt waits this long for the bytes it asks for.
    static constexpr int kReadTimeoutMs = 2800;

    explicit SerialChannel(PortFactory factory);
    ~SerialChannel();
    SerialChannel(const SerialChannel&) = delete;
    SerialChannel& operator=(const SerialChannel&) = delete;

    // Closes any open port first, also when this open then fails.
    bool open(int portIndex, int baudRate);
    bool close();

    bool sendByte(std::uint8_t byte);
    // True only when every byte went out.
    bool sendBlock(std::span<const std::uint8_t> bytes);

    // Exactly count bytes, or nothing when one read attempt brought none. The view
    // stays valid until the next receive.
    std::optional<std::span<const std::uint8_t>> receive(std::size_t count);
    // 0..255, or -1 when nothing came or the channel is closed.
    int receiveByte();

    // After a failed open: set when this user may not use the device.
    const std::optional<PortPermissionDenied>& openDenied() const { return openDenied_; }

    bool connected() const { return connected_; }
    int portIndex() const { return portIndex_; }
    int baudRate() const { return baudRate_; }

private:
    bool write(std::span<const std::uint8_t> bytes);

    PortFactory factory_;
    std::unique_ptr<SerialPort> port_;
    std::vector<std::uint8_t> rxBuffer_;
    int portIndex_ = -1;
    int baudRate_ = 0;
    bool connected_ = false;
    std::optional<PortPermissionDenied> openDenied_;
};

}  // namespace zavuv::link
