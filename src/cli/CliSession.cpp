#include "cli/CliSession.h"

#include <charconv>

#include "cli/CliApp.h"
#include "devices/DeviceNames.h"
#include "devices/DeviceTable.h"
#include "sim/SimulatedBoard.h"
#include "text/UiText.h"

namespace zavuv::cli {

std::optional<int> comNumber(const std::string& text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 1 ||
        value > workspace::kComPortCount)
        return std::nullopt;
    return value;
}

namespace {

// "0", "13", "-1": a number meant as a COM port, not a device path.
bool looksLikeNumber(const std::string& text) {
    const std::size_t first = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    return text.size() > first && text.find_first_not_of("0123456789", first) == std::string::npos;
}

}  // namespace

CliSession::CliSession(const CliOptions& options, base::UserPort& user,
                       workspace::ProfileStore& profile)
    : options_(options), user_(user), workspace_(user, profile) {}

CliSession::~CliSession() = default;

std::optional<int> CliSession::usageError(const std::string& text) {
    user_.showMessage(text, base::MessageIcon::Error,
                      text::GetUiText(text::Msg::ProgrammerCaption));
    return kExitUsage;
}

std::optional<int> CliSession::prepare() {
    auto& ws = workspace_;
    // Nobody watches a command line: program-flash and program-eeprom reserve
    // the project's serial numbers as the auto-program does.
    ws.unattended = true;
    ws.readPreferences();
    if (options_.baud)
        ws.baudIndex = *options_.baud;
    if (!options_.port.empty()) {
        if (const auto com = comNumber(options_.port)) {
            ws.setComPort(*com);
        } else if (looksLikeNumber(options_.port)) {
            return usageError(text::formatUiText(text::Msg::PortNumberOutOfRange, options_.port,
                                                 workspace::kComPortCount));
        } else {
            // A device path or "sim" stands in for COM1 during this run.
            ws.setComPort(1);
            ws.ports().mapForThisRun(1, options_.port);
        }
    }

    if (!options_.project.empty() && !ws.project().loadProject(options_.project))
        return kExitUsage;
    if (!options_.device.empty()) {
        const auto device = devices::findDeviceByName(options_.device);
        if (!device)
            return usageError("Unknown device '" + options_.device +
                              "'; 'zavuv-cli devices' lists the names");
        ws.project().deviceNo = device->index;
    }
    ws.selectDevice(ws.project().deviceNo);

    sim::SimOptions sim;
    // Without --sim-chip the simulated chip is the selected one, under the name
    // -d gave it: an alias such as ATmega3250 reports its own signature.
    if (!options_.simChip.empty())
        sim.chip = options_.simChip;
    else if (!options_.device.empty())
        sim.chip = options_.device;
    else
        sim.chip = ws.selectedDeviceInfo().name;
    sim.stateDir = options_.simState;
    sim.traceFile = options_.simTrace;
    sim.faults = options_.simFaults;
    ws.ports().setSimulatorMaker(sim::simulatorMaker(sim));
    if (ws.ports().deviceOf(ws.comPort()) == std::string(workspace::kSimulatedPortName)) {
        // Bad simulator options are a usage error before anything is sent.
        if (const std::string error = ws.ports().startSimulator(); !error.empty())
            return usageError(error);
    }
    return std::nullopt;
}

std::optional<std::string> CliSession::portLabel() const {
    if (!options_.portLabel.empty())
        return options_.portLabel;
    if (!options_.port.empty() && !comNumber(options_.port))
        return options_.port;
    const int com = workspace_.comPort();
    return com == 0 ? std::nullopt : std::optional<std::string>("COM" + std::to_string(com));
}

int CliSession::finish(int exitCode) {
    workspace_.channel().close();
    if (const std::string error = workspace_.ports().stopSimulator(); !error.empty()) {
        user_.showMessage(error, base::MessageIcon::Error,
                          text::GetUiText(text::Msg::ProgrammerCaption));
        return kExitUsage;
    }
    return exitCode;
}

}  // namespace zavuv::cli
