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

// A text as written on this system, with Unix line ends: Windows programs end
// the lines of their output, and of text files they create, with CR LF.
inline std::string unixLineEnds(std::string text) {
#ifdef _WIN32
    std::string lines;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            lines += text[i];
    return lines;
#else
    return text;
#endif
}

}  // namespace zavuv::testing
