#include "workspace/PortList.h"

#include <algorithm>
#include <filesystem>

#include "text/UiText.h"
#include "workspace/BoardPorts.h"

namespace zavuv::workspace {

namespace fs = std::filesystem;

namespace {

// Where a path leads in the end, so that a /dev/serial/by-id link and the node
// it names are one device; empty when the path leads nowhere.
fs::path resolved(const std::string& path) {
    std::error_code error;
    fs::path target = fs::weakly_canonical(path, error);
    return error ? fs::path() : target;
}

const link::DetectedPort* findPort(const std::string& device,
                                   const std::vector<link::DetectedPort>& found) {
    const fs::path target = resolved(device);
    for (const link::DetectedPort& port : found)
        if (port.path == device || (!target.empty() && resolved(port.device) == target))
            return &port;
    return nullptr;
}

PortListEntry entryFor(int comSlot, const std::string& device,
                       const std::vector<link::DetectedPort>& found) {
    PortListEntry entry{.comSlot = comSlot, .device = device};
    entry.simulated = device == kSimulatedPortName;
    if (const link::DetectedPort* port = findPort(device, found)) {
        entry.present = true;
        entry.description = port->description;
    } else {
        std::error_code error;
        // A pseudo-terminal of zavuv-boardsim, say: there, though no adapter.
        entry.present = !entry.simulated && !device.empty() && fs::exists(device, error);
    }
    entry.state = portStateText(device, found);
    if (entry.present)
        entry.denied = link::portPermissionDenied(device);
    return entry;
}

}  // namespace

std::string portStateText(const std::string& device, const std::vector<link::DetectedPort>& found) {
    if (device == kSimulatedPortName)
        return text::GetUiText(text::Msg::PortSimulated);
    if (const link::DetectedPort* port = findPort(device, found)) {
        if (port->description.empty())
            return text::GetUiText(text::Msg::PortPresent);
        return std::string(text::GetUiText(text::Msg::PortPresent)) + ": " + port->description;
    }
    std::error_code error;
    return text::GetUiText(!device.empty() && fs::exists(device, error)
                               ? text::Msg::PortPresent
                               : text::Msg::PortNotPresent);
}

std::vector<PortListEntry> listPorts(const Preferences& preferences,
                                     const std::vector<link::DetectedPort>& found) {
    std::vector<PortListEntry> entries;
    for (int slot = 1; slot <= kComPortCount; ++slot)
        entries.push_back(entryFor(slot, preferences.portDevice(slot).value_or(""), found));
    for (const link::DetectedPort& port : found) {
        const fs::path target = resolved(port.device);
        const bool inSlot = std::any_of(entries.begin(), entries.end(), [&](const auto& entry) {
            return entry.comSlot != 0 && (entry.device == port.path ||
                                          (!target.empty() && resolved(entry.device) == target));
        });
        if (!inSlot)
            entries.push_back(entryFor(0, port.path, found));
    }
    return entries;
}

}  // namespace zavuv::workspace
