#pragma once
// A simulated board behind a simulated port in virtual time, with helpers that
// talk to it the way the host does.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/VirtualClock.h"
#include "sim/SimulatedBoard.h"
#include "sim/SimulatedPort.h"

namespace zavuv::sim::testing {

using Bytes = std::vector<std::uint8_t>;

inline SimOptions chipOptions(const char* chip) {
    SimOptions options;
    options.chip = chip;
    return options;
}

class SimHarness {
public:
    explicit SimHarness(SimOptions options = {}, int baudRate = 19200) {
        options.traceInMemory = true;
        std::string error;
        board = SimulatedBoard::create(options, error);
        if (!board) {
            ADD_FAILURE() << error;
            return;
        }
        port = std::make_unique<SimulatedPort>(*board, clock);
        port->open(baudRate);
    }

    void send(const Bytes& bytes) {
        ASSERT_EQ(port->write(bytes), static_cast<long>(bytes.size()));
    }

    // Reads up to `count` bytes, as the channel does: until they are all there
    // or one read brings nothing within the 2800 ms silence limit.
    Bytes receive(std::size_t count) {
        Bytes got(count);
        std::size_t have = 0;
        while (have < count) {
            const std::size_t n = port->read(std::span(got).subspan(have), 2800);
            if (n == 0) {
                break;
            }
            have += n;
        }
        got.resize(have);
        return got;
    }

    Bytes exchange(const Bytes& command, std::size_t replyLength) {
        send(command);
        return receive(replyLength);
    }

    // The connect sequence's board commands up to programming enable.
    void connect(std::uint8_t deviceCode, std::uint8_t baudCode = 0, std::uint8_t polling = 0) {
        EXPECT_EQ(exchange({'%'}, 1), Bytes{'+'});
        EXPECT_EQ(exchange({'@'}, 3), (Bytes{'1', '0', '9'}));
        EXPECT_EQ(exchange({'&', deviceCode}, 1), Bytes{0x0D});
        EXPECT_EQ(exchange({':', 0x00, 0x00}, 1), Bytes{0x0D});
        EXPECT_EQ(exchange({'#', baudCode, 0x82, polling}, 1), Bytes{0x0D});
        if (baudCode != 0) {
            port->close();
            port->open(baudCode == 1 ? 115200 : 921600);
        }
    }

    void connectAvr(std::uint8_t polling = 0) {
        connect(2, 0, polling);
        EXPECT_EQ(exchange({'Q'}, 1).size(), 1u);
        EXPECT_EQ(exchange({'='}, 1), Bytes{0x0D});
    }

    std::unique_ptr<SimulatedBoard> board;
    base::VirtualClock clock;
    std::unique_ptr<SimulatedPort> port;
};

}  // namespace zavuv::sim::testing
