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
    return writeFile(path_, savesAsHex(path_));
}

bool MemoryBuffer::saveAs(const std::string& path) {
    if (data_.empty())
        return false;
    return writeFile(path, savesAsHex(path));
}

bool MemoryBuffer::saveInLoadedFormat() {
    if (data_.empty() || !hasFilePath())
        return false;
    return writeFile(path_, loadedAsHex_ ? *loadedAsHex_ : savesAsHex(path_));
}

void MemoryBuffer::adoptFileImage(std::vector<std::uint8_t> image) {
    const bool hex = loadedAsHex_.value_or(false);
    takeLoadedImage({std::move(image), hex}, path_);
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
std::optional<MemoryBuffer::FileImage> MemoryBuffer::readImage(const std::string& path) {
    auto file = readWholeFile(path, kMaxInputFileSize);
    if (file.status == ReadStatus::CannotRead) {
        notify([](BufferObserver& o) { o.refreshControls(); });
        showError(text::formatUiText(text::Msg::FileUnreadable, path));
        return std::nullopt;
    }
    if (file.status == ReadStatus::Ok) {
        if (!hasExtension(path, ".bin"))
            if (auto image = readIntelHex(file.bytes, port_))
                return FileImage{std::move(*image), true};
        if (file.bytes.size() <= kMaxImageSize)
            return FileImage{std::move(file.bytes), false};
    }
    showError(text::GetUiText(text::Msg::CannotLoadFile));
    return std::nullopt;
}

void MemoryBuffer::takeLoadedImage(FileImage image, const std::string& path) {
    // Flash is programmed in 16-bit words.
    if (!isEeprom_ && image.bytes.size() % 2 != 0)
        image.bytes.push_back(0xFF);
    std::vector<ByteState> states(image.bytes.size(), ByteState::Loaded);
    data_ = std::move(image.bytes);
    states_ = std::move(states);
    busy_ = false;
    path_ = path;
    loadedAsHex_ = image.hex;
    modified_ = false;
    notify([this](BufferObserver& o) { o.bufferCleaned(*this); });
    redraw();
    rewriteCaption();
}

// Returns false when the merge does not take place.
bool MemoryBuffer::mergeAt(FileImage loaded, const std::string& path,
                           const AddressRequest& askAddress) {
    const auto answer = askAddress(static_cast<int>(data_.size()));
    if (!answer || *answer < 0 ||
        static_cast<unsigned long long>(*answer) > kMaxImageSize - loaded.bytes.size())
        return false;
    const auto address = static_cast<std::size_t>(*answer);
    if (address < data_.size() &&
        port_.ask(text::GetUiText(text::Msg::FileOverlapQuestion), base::QuestionButtons::YesNo,
                  base::MessageIcon::Question, base::Answer::Yes,
                  text::GetUiText(text::Msg::ProgramTitle)) != base::Answer::Yes)
        return false;
    std::vector<std::uint8_t> merged = data_;
    if (address + loaded.bytes.size() > merged.size())
        merged.resize(address + loaded.bytes.size(), 0xFF);
    std::ranges::copy(loaded.bytes, merged.begin() + static_cast<std::ptrdiff_t>(address));
    takeLoadedImage({std::move(merged), loaded.hex}, path);
    return true;
}

bool MemoryBuffer::writeFile(const std::string& path, bool hex) {
    bool ok;
    std::string failure;
    if (hex) {
        const std::string text = writeIntelHex(data_);
        ok = writeFileAtomically(
            path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, &failure);
    } else {
        ok = writeFileAtomically(path, data_, &failure);
    }
    if (!ok) {
        showError(text::formatUiText(text::Msg::FileNotSaved, path, failure));
        return false;
    }
    path_ = path;
    loadedAsHex_ = hex;
    modified_ = false;
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
