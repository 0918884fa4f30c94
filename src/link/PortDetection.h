#pragma once
// The serial devices present on a Linux system, for the board settings: USB
// adapters (ttyUSB, ttyACM), built-in ports (ttyS) that have hardware behind
// them, and the stable /dev/serial/by-id names of USB adapters.

#include <filesystem>
#include <string>
#include <vector>

namespace zavuv::link {

struct DetectedPort {
    std::string path;         // what a COM slot can map to
    std::string device;       // the device node it is, or a by-id link resolves to
    std::string description;  // "manufacturer product" of a USB adapter; empty when unknown
};

// Device nodes first, in natural order (ttyACM0, ttyS0, ttyUSB2, ttyUSB10), then
// the by-id links. The roots are parameters so that tests can lay out a tree.
std::vector<DetectedPort> detectSerialPorts(const std::filesystem::path& devRoot = "/dev",
                                            const std::filesystem::path& sysRoot = "/sys");

}  // namespace zavuv::link
