#include "operations/CalibrationBytes.h"

#include "chips/ChipDriver.h"
#include "link/LinkMessages.h"
#include "operations/BoardAccess.h"
#include "text/UiText.h"

namespace zavuv::operations {

namespace {

// The chip settles in programming mode before its calibration bytes are asked for.
constexpr int kReadPauseMs = 40;

}  // namespace

std::string calibrationBoxText(const std::vector<std::uint8_t>& bytes,
                               std::span<const char* const> clocksMHz) {
    std::string text = text::GetUiText(bytes.size() <= 1 ? text::Msg::CalibrationBoxOne
                                                         : text::Msg::CalibrationBoxMany);
    for (std::size_t i = 0; i < bytes.size() && i < clocksMHz.size(); ++i)
        text += fmt::sprintf("\n    %s MHz: 0x%02X", clocksMHz[i], bytes[i]);
    return text;
}

std::string calibrationStatusText(const std::vector<std::uint8_t>& bytes) {
    std::string text = text::GetUiText(bytes.size() <= 1 ? text::Msg::CalibrationStatusOne
                                                         : text::Msg::CalibrationStatusMany);
    for (std::uint8_t byte : bytes)
        text += fmt::sprintf(" %02X", byte);
    return text;
}

bool readCalibrationBytes(workspace::Workspace& ws) {
    base::BusyScope busy(ws.user());
    auto& messages = ws.connection().messages();
    const devices::DeviceInfo& device = ws.projectDeviceInfo();
    if (device.calibrationBytes() == 0) {
        messages.box(text::formatUiText(text::Msg::NoCalibrationBytes, device.name));
        return false;
    }
    if (!requireBoard(ws) || !connect(ws, link::SpeedCode::Baud19200))
        return false;
    messages.status(text::Msg::ReadingCalibration);
    ws.link().pause(kReadPauseMs);
    const chips::ChipDriver& driver = chips::driverFor(device);
    const auto clocks = device.calibrationMHz();
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < device.calibrationBytes(); ++i) {
        const auto value = driver.readCalibrationByte(ws.link(), i);
        if (!value) {
            ws.link().endSession();
            messages.status(text::Msg::ErrorReadingCalibration);
            messages.box(text::Msg::ConnectionError);
            return false;
        }
        bytes.push_back(*value);
    }
    messages.status(calibrationStatusText(bytes));
    messages.box(calibrationBoxText(bytes, clocks));
    ws.link().endSession();
    return true;
}

}  // namespace zavuv::operations
