#include "sim/WireTrace.h"

#include <fmt/format.h>

#include "base/Utf8Path.h"

namespace zavuv::sim {

bool WireTrace::openFile(const std::string& path) {
    auto file =
        std::make_unique<std::ofstream>(base::utf8Path(path), std::ios::binary | std::ios::trunc);
    if (!*file) {
        return false;
    }
    file_ = std::move(file);
    return true;
}

void WireTrace::record(Direction direction, std::span<const std::uint8_t> bytes,
                       std::int64_t atUs) {
    if (bytes.empty()) {
        return;
    }
    if (runOpen_ && (direction != runDirection_ || atUs - runLastUs_ > kRunGapUs)) {
        endRun();
    }
    if (!runOpen_) {
        runOpen_ = true;
        runDirection_ = direction;
        runStartUs_ = atUs;
    }
    runLastUs_ = atUs;
    runBytes_.insert(runBytes_.end(), bytes.begin(), bytes.end());
}

void WireTrace::flush() {
    endRun();
    if (file_) {
        file_->flush();
    }
}

std::string WireTrace::formatLine(Direction direction, std::span<const std::uint8_t> bytes,
                                  std::int64_t atUs) {
    std::string line = fmt::format("{}.{:03} {}", atUs / 1000, atUs % 1000,
                                   direction == Direction::HostToBoard ? '>' : '<');
    for (std::uint8_t byte : bytes) {
        line += fmt::format(" {:02X}", byte);
    }
    return line;
}

void WireTrace::endRun() {
    if (!runOpen_) {
        return;
    }
    std::string line = formatLine(runDirection_, runBytes_, runStartUs_);
    if (file_) {
        *file_ << line << '\n';
    }
    if (keepInMemory_) {
        lines_.push_back(std::move(line));
    }
    runOpen_ = false;
    runBytes_.clear();
}

}  // namespace zavuv::sim
