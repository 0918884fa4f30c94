#include "workspace/Preferences.h"

#include <algorithm>
#include <array>

#include <fmt/format.h>

namespace zavuv::workspace {

namespace {

constexpr std::string_view kConnect = "Connect";
constexpr std::string_view kPorts = "Ports";

constexpr std::array<const char*, 4> kDelayKeys = {"Special1", "Special2", "Special3", "Special4"};

bool isPort(int port) {
    return port >= 1 && port <= kComPortCount;
}
bool isBaudIndex(int index) {
    return index >= 0 && index <= 2;
}
bool isDelay(int ms) {
    return ms >= 0 && ms <= link::kMaxBoardDelayMs;
}

std::string portKey(int port) {
    return fmt::format("COM{}", port);
}

}  // namespace

int baudRate(int baudIndex) {
    switch (baudIndex) {
    case 1:
        return 115200;
    case 2:
        return 921600;
    default:
        return 19200;
    }
}

std::string defaultPortDevice(int port) {
#ifdef _WIN32
    return portKey(port);
#else
    constexpr int kUsbAdapters = 8;
    return port <= kUsbAdapters ? fmt::format("/dev/ttyUSB{}", port - 1)
                                : fmt::format("/dev/ttyACM{}", port - kUsbAdapters - 1);
#endif
}

int Preferences::comPort() const {
    const int port = profile_.readInt(kConnect, "COM", 0);
    return isPort(port) ? port : 0;
}

bool Preferences::setComPort(int port) {
    return (port == 0 || isPort(port)) && profile_.writeInt(kConnect, "COM", port);
}

int Preferences::baudIndex() const {
    const int index = profile_.readInt(kConnect, "HighSpeed", 0);
    return isBaudIndex(index) ? index : 0;
}

bool Preferences::setBaudIndex(int baudIndex) {
    return isBaudIndex(baudIndex) && profile_.writeInt(kConnect, "HighSpeed", baudIndex);
}

link::BoardDelays Preferences::boardDelays() const {
    std::array<int, kDelayKeys.size()> ms{};
    for (std::size_t i = 0; i < ms.size(); ++i) {
        ms[i] = std::clamp(profile_.readInt(kConnect, kDelayKeys[i], 0), 0, link::kMaxBoardDelayMs);
    }
    return {ms[0], ms[1], ms[2], ms[3]};
}

bool Preferences::setBoardDelays(const link::BoardDelays& delays) {
    const std::array<int, kDelayKeys.size()> ms = {delays.preReadDelayMs, delays.pageReadDelayMs,
                                                   delays.pageWriteDelayMs, delays.postSendDelayMs};
    if (!std::ranges::all_of(ms, isDelay)) {
        return false;
    }
    bool saved = true;
    for (std::size_t i = 0; i < ms.size(); ++i) {
        saved = profile_.writeInt(kConnect, kDelayKeys[i], ms[i]) && saved;
    }
    return saved;
}

text::Language Preferences::language() const {
    return profile_.readInt("Language", "Russian", 0) != 0 ? text::Language::Russian
                                                           : text::Language::English;
}

bool Preferences::setLanguage(text::Language language) {
    return profile_.writeInt("Language", "Russian", language == text::Language::Russian ? 1 : 0);
}

bool Preferences::loadMostRecent() const {
    return profile_.readInt("Recent", "LoadMostRecent", 0) != 0;
}

bool Preferences::setLoadMostRecent(bool enabled) {
    return profile_.writeInt("Recent", "LoadMostRecent", enabled ? 1 : 0);
}

std::optional<std::string> Preferences::portDevice(int port) const {
    if (!isPort(port)) {
        return std::nullopt;
    }
    std::string device = profile_.readString(kPorts, portKey(port), "");
    return device.empty() ? defaultPortDevice(port) : device;
}

bool Preferences::setPortDevice(int port, std::string_view device) {
    return isPort(port) && profile_.writeString(kPorts, portKey(port), device);
}

}  // namespace zavuv::workspace
