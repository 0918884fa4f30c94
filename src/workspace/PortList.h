#pragma once
// The serial ports as the person sees them: each COM slot with the device it
// stands for, whether that is there and what adapter it is, then the serial
// devices found that no slot stands for. The Board Settings dialog and
// `zavuv-cli ports` show the same words.

#include <optional>
#include <string>
#include <vector>

#include "link/PortAccess.h"
#include "link/PortDetection.h"
#include "workspace/Preferences.h"

namespace zavuv::workspace {

struct PortListEntry {
    int comSlot = 0;  // 1..12; 0 for a device found that no slot stands for
    std::string device{};
    bool present = false;
    bool simulated = false;
    std::string description{};  // the USB adapter's names; empty when unknown
    std::string state{};        // "present: FTDI FT232R USB UART", "not present", ...
    std::optional<link::PortPermissionDenied> denied{};
};

// "present: FTDI FT232R USB UART", "present", "not present", "simulated board".
std::string portStateText(const std::string& device, const std::vector<link::DetectedPort>& found);

std::vector<PortListEntry> listPorts(const Preferences& preferences,
                                     const std::vector<link::DetectedPort>& found);

}  // namespace zavuv::workspace
