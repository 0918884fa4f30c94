#pragma once
// A text's lines, for tests that compare output or files line by line.

#include <string>
#include <vector>

namespace zavuv::testing {

// Each line without its end; a final line end starts no empty line.
inline std::vector<std::string> linesOf(const std::string& text, const std::string& end = "\n") {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t found = text.find(end, at);
        lines.push_back(text.substr(at, found - at));
        at = found == std::string::npos ? text.size() : found + end.size();
    }
    return lines;
}

}  // namespace zavuv::testing
