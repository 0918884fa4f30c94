#include "link/PortDetection.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <string_view>
#include <tuple>

namespace zavuv::link {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefixes[] = {"ttyUSB", "ttyACM", "ttyS"};

struct TtyName {
    std::string_view prefix;
    std::string_view number;
};

// ttyUSB0, ttyACM12, ttyS3; nothing for any other name.
std::optional<TtyName> splitTtyName(std::string_view name) {
    for (std::string_view prefix : kPrefixes) {
        if (!name.starts_with(prefix))
            continue;
        const std::string_view number = name.substr(prefix.size());
        if (!number.empty() &&
            std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return TtyName{prefix, number};
    }
    return std::nullopt;
}

// Lists a directory; a missing or unreadable one is empty.
std::vector<fs::path> entriesOf(const fs::path& dir) {
    std::vector<fs::path> entries;
    std::error_code error;
    for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error))
        entries.push_back(it->path());
    return entries;
}

std::string firstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    return line;
}

// The kernel registers every possible 8250 port as a platform device whether or
// not a chip answers there; ports found by ACPI, PnP or PCI are real.
bool isRealPort(const fs::path& sysDevice, const TtyName& name) {
    std::error_code error;
    if (!fs::exists(sysDevice, error))
        return false;
    if (name.prefix != "ttyS")
        return true;
    return fs::read_symlink(sysDevice / "subsystem", error).filename() != "platform";
}

// Walks up from the tty's device to the USB device that carries its names.
std::string usbDescription(const fs::path& sysDevice, const fs::path& sysRoot) {
    std::error_code error;
    const fs::path root = fs::canonical(sysRoot, error);
    fs::path dir = fs::canonical(sysDevice, error);
    if (error)
        return {};
    for (; dir != root && dir != dir.root_path(); dir = dir.parent_path()) {
        if (!fs::exists(dir / "idVendor", error))
            continue;
        std::string text = firstLine(dir / "manufacturer");
        const std::string product = firstLine(dir / "product");
        if (!text.empty() && !product.empty())
            text += ' ';
        return text + product;
    }
    return {};
}

// ttyUSB2 before ttyUSB10: by prefix, then by number (a shorter digit string is
// the smaller number). Only names that passed splitTtyName are compared.
bool naturalLess(const DetectedPort& a, const DetectedPort& b) {
    const auto key = [](const DetectedPort& port) {
        const std::string name = fs::path(port.path).filename().string();
        const auto tty = splitTtyName(name);
        return std::tuple(std::string(tty->prefix), tty->number.size(), std::string(tty->number));
    };
    return key(a) < key(b);
}

fs::path resolved(const fs::path& path) {
    std::error_code error;
    fs::path target = fs::weakly_canonical(path, error);
    return error ? fs::path() : target;
}

}  // namespace

std::vector<DetectedPort> detectSerialPorts(const fs::path& devRoot, const fs::path& sysRoot) {
    std::vector<DetectedPort> ports;
    for (const fs::path& tty : entriesOf(sysRoot / "class" / "tty")) {
        const std::string name = tty.filename().string();
        const auto ttyName = splitTtyName(name);
        std::error_code error;
        const fs::path node = devRoot / name;
        if (!ttyName || !isRealPort(tty / "device", *ttyName) || !fs::exists(node, error))
            continue;
        ports.push_back({node.string(), node.string(), usbDescription(tty / "device", sysRoot)});
    }
    std::sort(ports.begin(), ports.end(), naturalLess);

    std::vector<DetectedPort> links;
    for (const fs::path& link : entriesOf(devRoot / "serial" / "by-id")) {
        const fs::path target = resolved(link);
        const auto known = std::find_if(ports.begin(), ports.end(), [&](const DetectedPort& port) {
            return !target.empty() && resolved(port.device) == target;
        });
        if (known != ports.end())
            links.push_back({link.string(), known->device, known->description});
    }
    std::sort(links.begin(), links.end(),
              [](const DetectedPort& a, const DetectedPort& b) { return a.path < b.path; });
    ports.insert(ports.end(), links.begin(), links.end());
    return ports;
}

}  // namespace zavuv::link
