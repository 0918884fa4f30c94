#include "buffers/MemoryBuffer.h"

#include <algorithm>
#include <cctype>
#include <new>
#include <numeric>
#include <string_view>

#include "buffers/FileIo.h"
#include "buffers/FileLimits.h"
#include "buffers/IntelHex.h"
#include "text/UiText.h"

namespace zavuv::buffers {

namespace {

// Whether the path ends in this extension, compared without regard to case.
bool hasExtension(const std::string& path, std::string_view extension) {
    if (path.size() < extension.size())
        return false;
    return std::equal(extension.begin(), extension.end(), path.end() - extension.size(),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

bool namesNoFile(const std::string& path) {
    return path.empty() || path == kUnspecifiedPath;
}

}  // namespace

template <typename Call> void MemoryBuffer::notify(Call call) {
    // A copy, so that an observer may remove itself while it is told.
    const auto observers = observers_;
    for (auto* o : observers)
        call(*o);
}

MemoryBuffer::MemoryBuffer(bool isEeprom, base::UserPort& port)
    : isEeprom_(isEeprom), port_(port) {}

bool MemoryBuffer::hasFilePath() const {
    return !namesNoFile(path_);
}

void MemoryBuffer::setByte(std::size_t index, std::uint8_t value) {
    data_.at(index) = value;
    markModified();
}

void MemoryBuffer::setAllStates(ByteState state) {
    std::ranges::fill(states_, state);
}

void MemoryBuffer::redraw() {
    notify([this](BufferObserver& o) { o.bufferRedraw(*this); });
}

void MemoryBuffer::rewriteCaption() {
    notify([this](BufferObserver& o) { o.captionChanged(*this); });
}

void MemoryBuffer::clear() {
    data_ = {};
    states_ = {};
    busy_ = false;
    path_ = kUnspecifiedPath;
    fileTime_.reset();
    redraw();
    rewriteCaption();
}

void MemoryBuffer::create(std::size_t n) {
    std::vector<std::uint8_t> image(n, 0xFF);
    std::vector<ByteState> states(n, ByteState::Created);
    data_ = std::move(image);
    states_ = std::move(states);
    busy_ = false;
    markModified();
    redraw();
    rewriteCaption();
    notify([](BufferObserver& o) { o.refreshControls(); });
}

void MemoryBuffer::markModified() {
    if (!modified_) {
        modified_ = true;
        rewriteCaption();
    }
    notify([this](BufferObserver& o) { o.bufferModified(*this); });
}

bool MemoryBuffer::loadFile(const std::string& path) {
    if (namesNoFile(path)) {
        clear();
        return true;
    }
    try {
        auto image = readImage(path);
        if (!image)
            return true;
        takeLoadedImage(std::move(*image), path);
    } catch (const std::bad_alloc&) {
        showError(text::GetUiText(text::Msg::NotEnoughMemory));
        return false;
    }
    notify([](BufferObserver& o) { o.refreshControls(); });
    return true;
}

bool MemoryBuffer::loadAt(const std::string& path, const AddressRequest& askAddress) {
    if (data_.empty())
        return false;
    if (namesNoFile(path)) {
        clear();
        return true;
    }
    try {
        auto image = readImage(path);
        if (image && !mergeAt(std::move(*image), path, askAddress))
            showError(text::GetUiText(text::Msg::CannotLoadFile));
    } catch (const std::bad_alloc&) {
        showError(text::GetUiText(text::Msg::NotEnoughMemory));
        return false;
    }
    return true;
}

bool MemoryBuffer::reload() {
    if (!hasFilePath()) {
        clear();
        return true;
    }
    const std::string path = path_;
    clear();
    // Kept while the file is read, so that a failed reload can be tried again.
    path_ = path;
    rewriteCaption();
    return loadFile(path);
}

bool MemoryBuffer::save() {
    if (data_.empty() || !hasFilePath())
        return false;
    return writeFile(path_);
}

bool MemoryBuffer::saveAs(const std::string& path) {
    if (data_.empty())
        return false;
    return writeFile(path);
}

std::uint16_t MemoryBuffer::checksum16() const {
    // Wraps modulo 65536 by the type itself.
    return std::accumulate(
        data_.begin(), data_.end(), std::uint16_t{0},
        [](std::uint16_t sum, std::uint8_t b) { return static_cast<std::uint16_t>(sum + b); });
}

std::string MemoryBuffer::captionText() const {
    return modified_ && !data_.empty() ? path_ + "*" : path_;
}

void MemoryBuffer::addObserver(BufferObserver& observer) {
    observers_.push_back(&observer);
}

void MemoryBuffer::removeObserver(BufferObserver& observer) {
    std::erase(observers_, &observer);
}

// The file's image, or nothing after a message. Names ending in ".bin" are
// binary; anything else is tried as Intel HEX first and taken byte for byte
// when that fails.
std::optional<std::vector<std::uint8_t>> MemoryBuffer::readImage(const std::string& path) {
    auto file = readWholeFile(path, kMaxInputFileSize);
    if (file.status == ReadStatus::CannotRead) {
        notify([](BufferObserver& o) { o.refreshControls(); });
        showError(text::formatUiText(text::Msg::FileUnreadable, path));
        return std::nullopt;
    }
    if (file.status == ReadStatus::Ok) {
        if (!hasExtension(path, ".bin"))
            if (auto image = readIntelHex(file.bytes, port_))
                return image;
        if (file.bytes.size() <= kMaxImageSize)
            return std::move(file.bytes);
    }
    showError(text::GetUiText(text::Msg::CannotLoadFile));
    return std::nullopt;
}

void MemoryBuffer::takeLoadedImage(std::vector<std::uint8_t> image, const std::string& path) {
    // Flash is programmed in 16-bit words.
    if (!isEeprom_ && image.size() % 2 != 0)
        image.push_back(0xFF);
    std::vector<ByteState> states(image.size(), ByteState::Loaded);
    data_ = std::move(image);
    states_ = std::move(states);
    busy_ = false;
    path_ = path;
    modified_ = false;
    rememberFileTime();
    notify([this](BufferObserver& o) { o.bufferCleaned(*this); });
    redraw();
    rewriteCaption();
}

// Returns false when the merge does not take place.
bool MemoryBuffer::mergeAt(std::vector<std::uint8_t> loaded, const std::string& path,
                           const AddressRequest& askAddress) {
    const auto answer = askAddress(static_cast<int>(data_.size()));
    if (!answer || *answer < 0 ||
        static_cast<unsigned long long>(*answer) > kMaxImageSize - loaded.size())
        return false;
    const auto address = static_cast<std::size_t>(*answer);
    if (address < data_.size() &&
        port_.ask(text::GetUiText(text::Msg::FileOverlapQuestion), base::QuestionButtons::YesNo,
                  base::MessageIcon::Question, base::Answer::Yes,
                  text::GetUiText(text::Msg::ProgramTitle)) != base::Answer::Yes)
        return false;
    std::vector<std::uint8_t> merged = data_;
    if (address + loaded.size() > merged.size())
        merged.resize(address + loaded.size(), 0xFF);
    std::ranges::copy(loaded, merged.begin() + static_cast<std::ptrdiff_t>(address));
    takeLoadedImage(std::move(merged), path);
    return true;
}

void MemoryBuffer::rememberFileTime() {
    std::error_code error;
    const auto time = std::filesystem::last_write_time(path_, error);
    fileTime_ = error ? std::nullopt : std::optional(time);
}

bool MemoryBuffer::fileChangedOnDisk() const {
    if (!fileTime_ || !hasFilePath())
        return false;
    std::error_code error;
    const auto time = std::filesystem::last_write_time(path_, error);
    return !error && time != *fileTime_;
}

bool MemoryBuffer::writeFile(const std::string& path) {
    bool ok;
    if (savesAsHex(path)) {
        const std::string hex = writeIntelHex(data_);
        ok = writeFileAtomically(path,
                                 {reinterpret_cast<const std::uint8_t*>(hex.data()), hex.size()});
    } else {
        ok = writeFileAtomically(path, data_);
    }
    if (!ok) {
        showError(text::GetUiText(text::Msg::CannotSaveFile));
        return false;
    }
    path_ = path;
    modified_ = false;
    rememberFileTime();
    notify([this](BufferObserver& o) { o.bufferCleaned(*this); });
    setAllStates(ByteState::Saved);
    redraw();
    rewriteCaption();
    return true;
}

bool MemoryBuffer::savesAsHex(const std::string& path) {
    if (hasExtension(path, ".bin"))
        return false;
    if (hasExtension(path, ".hex") || hasExtension(path, ".eep"))
        return true;
    return port_.ask(text::formatUiText(text::Msg::SaveAsIntelHexQuestion, path),
                     base::QuestionButtons::YesNo, base::MessageIcon::Question, base::Answer::Yes,
                     text::GetUiText(text::Msg::ProgramTitle)) == base::Answer::Yes;
}

void MemoryBuffer::showError(const std::string& text) {
    port_.showMessage(text, base::MessageIcon::Error, text::GetUiText(text::Msg::ProgramTitle));
}

}  // namespace zavuv::buffers
