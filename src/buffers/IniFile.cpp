#include "buffers/IniFile.h"

#include <algorithm>
#include <climits>
#include <fstream>
#include <iterator>
#include <system_error>

#include "base/AsciiCase.h"
#include "base/Utf8Path.h"
#include "buffers/FileIo.h"

namespace zavuv::buffers {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

#ifdef _WIN32
constexpr std::string_view kNewFileNewline = "\r\n";
#else
constexpr std::string_view kNewFileNewline = "\n";
#endif

// A carriage return counts as whitespace: the one that ends a last line
// without its line feed belongs to no name or value, as it would not once a
// later write gives that line its line ending.
std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// "[name]"; a "[" line without "]" is not a header, as in Windows.
std::optional<std::string_view> sectionName(std::string_view line) {
    const std::string_view text = trimmed(line);
    const auto close = text.rfind(']');
    if (text.empty() || text.front() != '[' || close == std::string_view::npos) {
        return std::nullopt;
    }
    return trimmed(text.substr(1, close - 1));
}

bool isComment(std::string_view line) {
    const std::string_view text = trimmed(line);
    return !text.empty() && text.front() == ';';
}

// The name of a "key=value" line; other lines hold no key.
std::optional<std::string_view> keyName(std::string_view line) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos || isComment(line) || sectionName(line)) {
        return std::nullopt;
    }
    return trimmed(line.substr(0, equals));
}

std::string_view valueOf(std::string_view keyLine) {
    return trimmed(keyLine.substr(keyLine.find('=') + 1));
}

std::optional<int> leadingNumber(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) {
        text.remove_prefix(1);
    }
    if (text.empty() || text.front() < '0' || text.front() > '9') {
        return std::nullopt;
    }
    // Saturates: a huge number in a hand-edited file reads as the extreme
    // value, not as whatever a wrapped-around sum would give.
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long magnitude = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        magnitude = std::min(magnitude * 10 + (c - '0'), limit);
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

bool hasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != text.npos;
}

bool canWrite(std::string_view section, std::string_view key, std::string_view value) {
    return !section.empty() && !key.empty() && !hasLineBreak(section) && !hasLineBreak(key) &&
           !hasLineBreak(value) && section.find(']') == section.npos && key.find('=') == key.npos &&
           key.front() != '[' && key.front() != ';';
}

std::string keyLineText(std::string_view key, std::string_view value) {
    std::string line(key);
    line += '=';
    line += value;
    return line;
}

}  // namespace

IniFile::IniFile() : newline_(kNewFileNewline) {}

std::optional<IniFile> IniFile::load(const std::string& name) {
    const fs::path path = base::utf8Path(name);
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        return IniFile{};
    }
    // Only regular files: a folder cannot be read and a pipe could block forever.
    if (error || status.type() != fs::file_type::regular) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes;
    char chunk[4096];
    while (in && bytes.size() <= kMaxIniFileBytes) {
        in.read(chunk, sizeof chunk);
        bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad() || !in.eof() || bytes.size() > kMaxIniFileBytes) {
        return std::nullopt;
    }
    return fromText(bytes);
}

IniFile IniFile::fromText(std::string_view text) {
    IniFile file;
    if (text.starts_with(kByteOrderMark)) {
        file.byteOrderMark_ = kByteOrderMark;
        text.remove_prefix(kByteOrderMark.size());
    }
    while (!text.empty()) {
        const auto newline = text.find('\n');
        if (newline == std::string_view::npos) {
            file.lines_.push_back({std::string(text), ""});
            break;
        }
        const bool crlf = newline > 0 && text[newline - 1] == '\r';
        const std::size_t textEnd = crlf ? newline - 1 : newline;
        file.lines_.push_back({std::string(text.substr(0, textEnd)), crlf ? "\r\n" : "\n"});
        text.remove_prefix(newline + 1);
    }
    if (!file.lines_.empty() && !file.lines_.front().ending.empty()) {
        file.newline_ = file.lines_.front().ending;
    }
    return file;
}

std::string IniFile::text() const {
    std::string result = byteOrderMark_;
    for (const Line& line : lines_) {
        result += line.text;
        result += line.ending;
    }
    return result;
}

IniFile::Lookup IniFile::locate(std::string_view section, std::string_view key) const {
    section = trimmed(section);
    key = trimmed(key);
    Lookup lookup;
    bool inSection = false;
    bool inFirstSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::string_view line = lines_[i].text;
        if (const auto name = sectionName(line)) {
            inSection = base::equalsIgnoringAsciiCase(*name, section);
            inFirstSection = inSection && !lookup.insertAt;
            if (inFirstSection) {
                lookup.insertAt = i + 1;
            }
            continue;
        }
        const auto name = keyName(line);
        if (!inSection || !name) {
            continue;
        }
        if (base::equalsIgnoringAsciiCase(*name, key)) {
            lookup.keyLine = i;
            return lookup;
        }
        if (inFirstSection) {
            lookup.insertAt = i + 1;
        }
    }
    return lookup;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    const Lookup lookup = locate(section, key);
    return std::string(lookup.keyLine ? valueOf(lines_[*lookup.keyLine].text) : defaultValue);
}

int IniFile::readInt(std::string_view section, std::string_view key, int defaultValue) const {
    const Lookup lookup = locate(section, key);
    if (!lookup.keyLine) {
        return defaultValue;
    }
    return leadingNumber(valueOf(lines_[*lookup.keyLine].text)).value_or(defaultValue);
}

bool IniFile::hasKey(std::string_view section, std::string_view key) const {
    return locate(section, key).keyLine.has_value();
}

bool IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    section = trimmed(section);
    key = trimmed(key);
    if (!canWrite(section, key, value)) {
        return false;
    }
    const Lookup lookup = locate(section, key);
    if (lookup.keyLine) {
        std::string& line = lines_[*lookup.keyLine].text;
        // The file's own spelling of the key stays.
        line = keyLineText(*keyName(line), value);
    } else if (lookup.insertAt) {
        insertLine(*lookup.insertAt, keyLineText(key, value));
    } else {
        appendSection(section, keyLineText(key, value));
    }
    return true;
}

bool IniFile::writeInt(std::string_view section, std::string_view key, int value) {
    return writeString(section, key, std::to_string(value));
}

void IniFile::insertLine(std::size_t at, std::string text) {
    // A last line without a line ending stays last and without one.
    Line& previous = lines_[at - 1];
    std::string ending = newline_;
    if (previous.ending.empty()) {
        std::swap(previous.ending, ending);
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), {std::move(text), ending});
}

void IniFile::appendSection(std::string_view section, std::string keyLine) {
    if (!lines_.empty()) {
        if (lines_.back().ending.empty()) {
            lines_.back().ending = newline_;
        }
        if (!trimmed(lines_.back().text).empty()) {
            lines_.push_back({"", newline_});
        }
    }
    lines_.push_back({"[" + std::string(section) + "]", newline_});
    lines_.push_back({std::move(keyLine), newline_});
}

bool IniFile::save(const std::string& path, std::string* failure) const {
    const std::string content = text();
    return writeFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()),
        failure);
}

}  // namespace zavuv::buffers
