#include "buffers/MemoryBuffer.h"

#include <algorithm>
#include <new>
#include <numeric>

#include "base/Utf8Path.h"
#include "buffers/FileFormats.h"
#include "buffers/FileIo.h"
#include "buffers/FileLimits.h"
#include "text/UiText.h"

namespace zavuv::buffers {

namespace {

// The part of a file that belongs in the buffer. avr-gcc's EEPROM lies at
// 0x810000: the EEPROM buffer takes that window from address 0 when the file
// holds data there and nowhere else (an ELF file's EEPROM always), and the
// Flash buffer leaves it out of an ELF file, whose EEPROM fills the other
// buffer. An image that runs from below into the window is one memory's.
ImageSegments imageForBuffer(const DecodedFile& file, FileFormatId format, bool isEeprom) {
    auto split = splitImage(file.image, kAvrEepromRange);
    const bool elf = format == FileFormatId::Elf;
    if (isEeprom && (elf || (!split.inside.empty() && split.outside.empty())))
        return std::move(split.inside);
    if (!isEeprom && elf)
        return std::move(split.outside);
    return file.image;
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
    if (states_[index] == ByteState::Fill)
        states_[index] = ByteState::Created;
    markModified();
}

void MemoryBuffer::setAllStates(ByteState state) {
    for (ByteState& s : states_)
        if (s != ByteState::Fill)
            s = state;
}

std::size_t MemoryBuffer::dataByteCount(std::size_t limit) const {
    const auto end = states_.begin() + static_cast<std::ptrdiff_t>(std::min(limit, size()));
    return static_cast<std::size_t>(
        std::count_if(states_.begin(), end, [](ByteState s) { return s != ByteState::Fill; }));
}

bool MemoryBuffer::holdsDataIn(std::size_t index, std::size_t count) const {
    const auto first = states_.begin() + static_cast<std::ptrdiff_t>(index);
    return std::any_of(first, first + static_cast<std::ptrdiff_t>(count),
                       [](ByteState s) { return s != ByteState::Fill; });
}

ImageSegments MemoryBuffer::dataSegments() const {
    ImageSegments runs;
    for (std::size_t i = 0; i < size();) {
        if (!holdsData(i)) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < size() && holdsData(end))
            ++end;
        runs.push_back({static_cast<std::uint32_t>(i),
                        {data_.begin() + static_cast<std::ptrdiff_t>(i),
                         data_.begin() + static_cast<std::ptrdiff_t>(end)}});
        i = end;
    }
    return runs;
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
        auto file = readImage(path);
        if (!file)
            return true;
        for (auto* o : observers_)
            if (!o->acceptsFile(*this, file->decoded, file->format))
                return true;
        takeLoadedImage(file->image, path, file->format);
        notify([&](BufferObserver& o) { o.fileTaken(*this, file->decoded, file->format, path); });
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
        auto file = readImage(path);
        if (file && !mergeAt(file->image, path, file->format, askAddress))
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

bool MemoryBuffer::savesToItsFile() const {
    return hasFilePath() && fileFormat(format_).write != nullptr;
}

bool MemoryBuffer::save() {
    if (data_.empty() || !savesToItsFile())
        return false;
    const FileFormat* format = formatForSaving(path_);
    return format != nullptr && writeFile(path_, *format);
}

bool MemoryBuffer::saveAs(const std::string& path) {
    if (data_.empty())
        return false;
    const FileFormat* format = formatForSaving(path);
    return format != nullptr && writeFile(path, *format);
}

bool MemoryBuffer::saveInLoadedFormat() {
    if (data_.empty() || !hasFilePath())
        return false;
    const FileFormat& format = fileFormat(format_);
    if (format.write == nullptr) {
        showError(text::GetUiText(text::Msg::ElfNotWritten));
        return false;
    }
    return writeFile(path_, format);
}

void MemoryBuffer::adoptFileImage(const ImageSegments& image) {
    takeLoadedImage(image, path_, format_);
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

// The file's image for this buffer, or nothing after a message. The format
// comes from the one list; a file that names or looks like a format and does
// not decode is refused, never taken byte for byte.
std::optional<MemoryBuffer::ReadFile> MemoryBuffer::readImage(const std::string& path) {
    auto content = readWholeFile(path, kMaxInputFileSize);
    if (content.status == ReadStatus::CannotRead) {
        notify([](BufferObserver& o) { o.refreshControls(); });
        showError(text::formatUiText(text::Msg::FileUnreadable, path));
        return std::nullopt;
    }
    if (content.status == ReadStatus::TooLarge) {
        showError(text::GetUiText(text::Msg::CannotLoadFile));
        return std::nullopt;
    }
    const FileFormat& format = formatForReading(path, content.bytes);
    DecodeResult result = format.read(content.bytes, ChecksumPolicy::Check);
    if (const auto* failure = std::get_if<FormatFailure>(&result);
        failure != nullptr && failure->checksumQuestion &&
        port_.ask(*failure->checksumQuestion, base::QuestionButtons::YesNo,
                  base::MessageIcon::Question, base::Answer::Yes,
                  text::GetUiText(text::Msg::ProgramTitle)) == base::Answer::Yes)
        result = format.read(content.bytes, ChecksumPolicy::Accept);
    if (const auto* failure = std::get_if<FormatFailure>(&result)) {
        // The person has said No to the checksum question: no second message.
        if (!failure->checksumQuestion)
            showError(failure->message);
        return std::nullopt;
    }
    ReadFile file{std::get<DecodedFile>(std::move(result)), {}, format.id};
    file.image = imageForBuffer(file.decoded, format.id, isEeprom_);
    return file;
}

void MemoryBuffer::takeLoadedImage(const ImageSegments& segments, const std::string& path,
                                   FileFormatId format) {
    std::vector<ByteState> states(static_cast<std::size_t>(endAddress(segments)), ByteState::Fill);
    for (const auto& segment : segments)
        std::fill_n(states.begin() + segment.address, segment.bytes.size(), ByteState::Loaded);
    takeImage(flatten(segments, 0xFF), std::move(states), path, format);
}

void MemoryBuffer::takeImage(std::vector<std::uint8_t> image, std::vector<ByteState> states,
                             const std::string& path, FileFormatId format) {
    format_ = format;
    // Flash is programmed in 16-bit words; the pad counts as data, as it always has.
    if (!isEeprom_ && image.size() % 2 != 0) {
        image.push_back(0xFF);
        states.push_back(ByteState::Loaded);
    }
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
bool MemoryBuffer::mergeAt(const ImageSegments& loaded, const std::string& path,
                           FileFormatId format, const AddressRequest& askAddress) {
    const auto answer = askAddress(static_cast<int>(data_.size()));
    if (!answer || *answer < 0 ||
        static_cast<unsigned long long>(*answer) > kMaxImageSize - endAddress(loaded))
        return false;
    const auto address = static_cast<std::size_t>(*answer);
    if (address < data_.size() &&
        port_.ask(text::GetUiText(text::Msg::FileOverlapQuestion), base::QuestionButtons::YesNo,
                  base::MessageIcon::Question, base::Answer::Yes,
                  text::GetUiText(text::Msg::ProgramTitle)) != base::Answer::Yes)
        return false;
    // The file's runs over the buffer at the address; the gaps keep what they held.
    std::vector<std::uint8_t> merged = data_;
    std::vector<ByteState> states = states_;
    const auto end = static_cast<std::size_t>(address + endAddress(loaded));
    if (end > merged.size()) {
        merged.resize(end, 0xFF);
        states.resize(end, ByteState::Fill);
    }
    for (const auto& segment : loaded) {
        const std::size_t at = address + segment.address;
        std::ranges::copy(segment.bytes, merged.begin() + static_cast<std::ptrdiff_t>(at));
        std::fill_n(states.begin() + static_cast<std::ptrdiff_t>(at), segment.bytes.size(),
                    ByteState::Loaded);
    }
    std::ranges::replace_if(
        states, [](ByteState s) { return s != ByteState::Fill; }, ByteState::Loaded);
    takeImage(std::move(merged), std::move(states), path, format);
    return true;
}

void MemoryBuffer::rememberFileTime() {
    std::error_code error;
    const auto time = std::filesystem::last_write_time(base::utf8Path(path_), error);
    fileTime_ = error ? std::nullopt : std::optional(time);
}

bool MemoryBuffer::fileChangedOnDisk() const {
    if (!fileTime_ || !hasFilePath())
        return false;
    std::error_code error;
    const auto time = std::filesystem::last_write_time(base::utf8Path(path_), error);
    return !error && time != *fileTime_;
}

bool MemoryBuffer::writeFile(const std::string& path, const FileFormat& format) {
    const std::string bytes = format.write(dataSegments(), path);
    std::string failure;
    if (!writeFileAtomically(
            path, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, &failure)) {
        showError(text::formatUiText(text::Msg::FileNotSaved, path, failure));
        return false;
    }
    path_ = path;
    format_ = format.id;
    modified_ = false;
    rememberFileTime();
    notify([this](BufferObserver& o) { o.bufferCleaned(*this); });
    setAllStates(ByteState::Saved);
    redraw();
    rewriteCaption();
    return true;
}

// The format the name asks for; a name that asks for none gets Intel HEX or
// binary as the person chooses. Nothing for a format that is never written.
const FileFormat* MemoryBuffer::formatForSaving(const std::string& path) {
    if (const FileFormat* named = formatNamedBy(path)) {
        if (named->write != nullptr)
            return named;
        showError(text::GetUiText(text::Msg::ElfNotWritten));
        return nullptr;
    }
    const bool hex =
        port_.ask(text::formatUiText(text::Msg::SaveAsIntelHexQuestion, path),
                  base::QuestionButtons::YesNo, base::MessageIcon::Question, base::Answer::Yes,
                  text::GetUiText(text::Msg::ProgramTitle)) == base::Answer::Yes;
    return &fileFormat(hex ? FileFormatId::IntelHex : FileFormatId::Binary);
}

void MemoryBuffer::showError(const std::string& text) {
    port_.showMessage(text, base::MessageIcon::Error, text::GetUiText(text::Msg::ProgramTitle));
}

}  // namespace zavuv::buffers
