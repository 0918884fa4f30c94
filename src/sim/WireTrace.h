#pragma once
// The bytes on the wire as the board sees them: one line per run of bytes in one
// direction, "<ms> > 25" from the host, "<ms> < 2B" from the board, the time being
// the board's clock when the run began. Lines go to a file, to memory, or both.

#include <cstdint>
#include <fstream>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace zavuv::sim {

enum class Direction { HostToBoard, BoardToHost };

class WireTrace {
public:
    // A pause longer than this inside one direction starts a new line: the
    // shortest protocol pause (5 ms) always shows, a byte time never does.
    static constexpr std::int64_t kRunGapUs = 2000;

    WireTrace() = default;
    WireTrace(const WireTrace&) = delete;
    WireTrace& operator=(const WireTrace&) = delete;

    // Starts writing lines to this file (truncated). False when it cannot be opened.
    bool openFile(const std::string& path);
    void keepInMemory(bool keep) { keepInMemory_ = keep; }

    void record(Direction direction, std::span<const std::uint8_t> bytes, std::int64_t atUs);
    // Ends the open run, so that every byte so far is in the lines and the file.
    void flush();

    // The finished lines kept in memory (after flush, every line).
    const std::vector<std::string>& lines() const { return lines_; }
    void clearLines() { lines_.clear(); }

    // One line in the trace format.
    static std::string formatLine(Direction direction, std::span<const std::uint8_t> bytes,
                                  std::int64_t atUs);

private:
    void endRun();

    bool keepInMemory_ = false;
    std::unique_ptr<std::ofstream> file_;
    bool runOpen_ = false;
    Direction runDirection_ = Direction::HostToBoard;
    std::int64_t runStartUs_ = 0;
    std::int64_t runLastUs_ = 0;
    std::vector<std::uint8_t> runBytes_;
    std::vector<std::string> lines_;
};

}  // namespace zavuv::sim
