#include "cli/PortsCommand.h"

#include <fmt/format.h>
#include <fmt/ostream.h>

#include "text/UiText.h"

namespace zavuv::cli {

namespace {

std::string slotName(int comSlot) {
    return comSlot == 0 ? std::string("-") : fmt::format("COM{}", comSlot);
}

std::string permissionText(const link::PortPermissionDenied& denied) {
    return text::formatUiText(text::Msg::PortPermissionDenied, denied.device, denied.group,
                              denied.group);
}

}  // namespace

void printPorts(const std::vector<workspace::PortListEntry>& ports, std::ostream& out) {
    for (const workspace::PortListEntry& port : ports) {
        fmt::print(out, "{}\t{}\t{}", slotName(port.comSlot), port.device, port.state);
        if (port.denied)
            fmt::print(out, "\t{}", permissionText(*port.denied));
        out << '\n';
    }
}

Json portsJson(const std::vector<workspace::PortListEntry>& ports) {
    Json list = Json::array();
    for (const workspace::PortListEntry& port : ports) {
        Json entry{{"slot", port.comSlot == 0 ? Json() : Json(slotName(port.comSlot))},
                   {"device", port.device},
                   {"present", port.present},
                   {"simulated", port.simulated},
                   {"description", port.description},
                   {"state", port.state}};
        if (port.denied)
            entry["permissionDenied"] = {{"group", port.denied->group},
                                         {"message", permissionText(*port.denied)}};
        list.push_back(std::move(entry));
    }
    return list;
}

}  // namespace zavuv::cli
