#pragma once
// A memory image (the Flash or the EEPROM buffer) with the file it came from, a
// modified flag and one state per byte, and its loading and saving. Messages and
// questions go to the user port; the preview, the caption, the project and the
// main window hear about changes through observers.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/UserPort.h"
#include "buffers/FileFormats.h"
#include "buffers/UnspecifiedPath.h"

namespace zavuv::buffers {

// What happened to a byte last; the preview colours bytes by it. Fill is a
// byte no record of the file gave (a gap of a HEX, S-record or ELF image): it
// stays fill until it is read or edited, and is never programmed or verified.
enum class ByteState : std::uint8_t {
    Loaded = 0,
    Saved = 1,
    Programmed = 2,
    Verified = 3,
    Read = 4,
    Created = 5,
    Incremented = 6,
    Fill = 7,
};

class MemoryBuffer;

class BufferObserver {
public:
    virtual ~BufferObserver() = default;
    // The bytes, their states or the size changed: repaint the preview.
    virtual void bufferRedraw(const MemoryBuffer&) {}
    // The caption text may have changed (path, modified flag or size).
    virtual void captionChanged(const MemoryBuffer&) {}
    // The buffer was marked modified: the project becomes dirty.
    virtual void bufferModified(const MemoryBuffer&) {}
    // The buffer was saved or loaded: the project re-evaluates its dirty flag.
    virtual void bufferCleaned(const MemoryBuffer&) {}
    // The main window refreshes its commands.
    virtual void refreshControls() {}
    // Load by name decoded a file: false refuses it (after saying why), before
    // the buffer changes.
    virtual bool acceptsFile(const MemoryBuffer&, const DecodedFile&, FileFormatId) { return true; }
    // Load by name took a file; `file` is all of it, the other memories too.
    virtual void fileTaken(const MemoryBuffer&, const DecodedFile&, FileFormatId,
                           const std::string& /*path*/) {}
};

// Asks for the Load At address, proposing one; nothing means Cancel.
using AddressRequest = std::function<std::optional<long long>(int proposedAddress)>;

class MemoryBuffer {
public:
    MemoryBuffer(bool isEeprom, base::UserPort& port);
    MemoryBuffer(const MemoryBuffer&) = delete;
    MemoryBuffer& operator=(const MemoryBuffer&) = delete;

    bool isEeprom() const { return isEeprom_; }
    // Set by an operation while its progress window works on this buffer.
    bool busy() const { return busy_; }
    void setBusy(bool busy) { busy_ = busy; }
    bool modified() const { return modified_; }
    std::size_t size() const { return data_.size(); }
    const std::string& path() const { return path_; }
    bool hasFilePath() const;
    // False when there is no file to save to, or the file is of a format that
    // is never written (ELF): the caller asks for a name and uses saveAs.
    bool savesToItsFile() const;
    // The format of the buffer's file, as loaded or last saved.
    FileFormatId loadedFormat() const { return format_; }

    std::span<const std::uint8_t> data() const { return data_; }
    std::span<const ByteState> byteStates() const { return states_; }
    // Whether the byte came from a file, the chip or an edit (not fill).
    bool holdsData(std::size_t index) const { return states_[index] != ByteState::Fill; }
    // Whether any of `count` bytes from `index` holds data.
    bool holdsDataIn(std::size_t index, std::size_t count) const;
    // Sets the state of a byte that holds data; fill stays fill.
    void markData(std::size_t index, ByteState state) {
        if (holdsData(index))
            states_[index] = state;
    }
    // The data bytes among the first `limit` bytes.
    std::size_t dataByteCount(std::size_t limit = SIZE_MAX) const;
    // The runs of data bytes, as the writers save them.
    ImageSegments dataSegments() const;
    // For operations that fill the image (reading the chip); tells no observer.
    std::span<std::uint8_t> mutableData() { return data_; }
    // An edit of one byte: marks the buffer modified; fill becomes data.
    void setByte(std::size_t index, std::uint8_t value);
    void setState(std::size_t index, ByteState state) { states_.at(index) = state; }
    // Every data byte; fill stays fill.
    void setAllStates(ByteState state);
    // Tells the observers to repaint after an operation changed bytes or states.
    void redraw();

    // Empties the buffer; the modified flag stays as it is.
    void clear();
    // n bytes of 0xFF, not yet read from the chip; the buffer becomes modified.
    void create(std::size_t n);
    void markModified();

    // Loads a memory file in any format of the list (buffers/FileFormats.h). False only when memory
    // runs out; every other failure is reported to the person and leaves the buffer as it was.
    bool loadFile(const std::string& path);
    // Merges a file into the image at an address asked from the person. False
    // when the buffer is empty (nothing happens) or memory runs out.
    bool loadAt(const std::string& path, const AddressRequest& askAddress);
    // Loads the buffer's file again; empties the buffer first.
    bool reload();
    // Writes the image to its file. False, doing nothing, when the buffer is
    // empty or does not save to its file; false after "Cannot save file".
    bool save();
    bool saveAs(const std::string& path);
    // Writes the image back to its file in the format the file was loaded in,
    // asking nothing (a serial number saved back). False, as save().
    bool saveInLoadedFormat();
    // Bytes that the buffer's own file holds or held (a reserved serial
    // number): they replace the image, the path and format stay, and the
    // buffer is not modified.
    void adoptFileImage(const ImageSegments& image);

    // The sum of all bytes modulo 65536.
    std::uint16_t checksum16() const;
    // The path, with "*" when the buffer holds modified data.
    std::string captionText() const;
    // The file was written by someone else since this buffer loaded or saved
    // it (a fresh build); false while the buffer has no file or it is gone.
    bool fileChangedOnDisk() const;

    void addObserver(BufferObserver& observer);
    void removeObserver(BufferObserver& observer);

private:
    struct ReadFile {
        DecodedFile decoded;  // the whole file
        ImageSegments image;  // the part of it for this buffer
        FileFormatId format;
    };
    std::optional<ReadFile> readImage(const std::string& path);
    void takeLoadedImage(const ImageSegments& image, const std::string& path, FileFormatId format);
    void takeImage(std::vector<std::uint8_t> image, std::vector<ByteState> states,
                   const std::string& path, FileFormatId format);
    bool mergeAt(const ImageSegments& loaded, const std::string& path, FileFormatId format,
                 const AddressRequest& askAddress);
    bool writeFile(const std::string& path, const FileFormat& format);
    const FileFormat* formatForSaving(const std::string& path);
    void rewriteCaption();
    void rememberFileTime();
    void showError(const std::string& text);
    template <typename Call> void notify(Call call);

    const bool isEeprom_;
    base::UserPort& port_;
    std::vector<BufferObserver*> observers_;
    bool busy_ = false;
    bool modified_ = false;
    std::string path_ = kUnspecifiedPath;
    FileFormatId format_ = FileFormatId::Binary;
    std::optional<std::filesystem::file_time_type> fileTime_;
    std::vector<std::uint8_t> data_;
    std::vector<ByteState> states_;
};

}  // namespace zavuv::buffers
