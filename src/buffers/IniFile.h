#pragma once
// The INI text files of the profile and of projects: "[Section]" lines, then
// "key=value" lines. Editing keeps the file as the user left it: every line
// that is not the key being written (comments, blank lines, unknown keys and
// sections) stays byte for byte, and so does the line-ending style.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zavuv::buffers {

// An INI file is a few kilobytes; anything this large is not one, and is
// refused rather than read into memory.
inline constexpr std::size_t kMaxIniFileBytes = 16 * 1024 * 1024;

// Section and key names compare without regard to ASCII letter case, and
// whitespace around names and values does not count, as with the Windows
// profile functions. Where a section or key occurs twice, its first occurrence
// is the one read and written.
class IniFile {
public:
    IniFile();

    // A missing file reads as an empty one. Nothing when the path exists but is
    // not a readable regular file of at most kMaxIniFileBytes.
    static std::optional<IniFile> load(const std::string& path);
    static IniFile fromText(std::string_view text);
    std::string text() const;

    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // The leading decimal number of the value (an optional minus sign, then
    // digits), limited to the int range; the default when the key is missing
    // or its value does not begin with a number.
    int readInt(std::string_view section, std::string_view key, int defaultValue) const;
    bool hasKey(std::string_view section, std::string_view key) const;

    // Replaces the key's line, or adds the key at the end of its section, or
    // the section at the end of the file. False, with nothing changed, when
    // the text cannot stand in an INI line: a line break anywhere, an empty
    // name, "]" in a section name, "=" in a key name, or a key name starting
    // with "[" or ";". A value's surrounding whitespace is written but, like
    // any value's, not read back.
    bool writeString(std::string_view section, std::string_view key, std::string_view value);
    bool writeInt(std::string_view section, std::string_view key, int value);

    // Atomic: on false the file at `path` is as it was, and *failure (when
    // given) holds the system's reason.
    bool save(const std::string& path, std::string* failure = nullptr) const;

private:
    struct Line {
        std::string text;    // without its line ending
        std::string ending;  // "\n", "\r\n", or "" for a last line without one
    };
    struct Lookup {
        std::optional<std::size_t> keyLine;
        std::optional<std::size_t> insertAt;  // where the key goes when it is missing
    };

    Lookup locate(std::string_view section, std::string_view key) const;
    void insertLine(std::size_t at, std::string text);
    void appendSection(std::string_view section, std::string keyLine);

    std::string byteOrderMark_;
    std::vector<Line> lines_;
    std::string newline_;
};

}  // namespace zavuv::buffers
