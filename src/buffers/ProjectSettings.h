#pragma once
// The one project of the program: the chip, the two memory files, the
// programming options, the auto-program steps with their lock and fuse bits,
// serial-number auto-increment and delay overrides, stored as an INI file.

#include <functional>
#include <optional>
#include <string>

#include "base/UserPort.h"
#include "buffers/MemoryBuffer.h"
#include "devices/LockFuseState.h"

namespace zavuv::buffers {

// The device a project starts with, and falls back to: "ATmega8".
int defaultDeviceIndex();

// What the main window does when the project changes under it.
class ProjectObserver {
public:
    virtual ~ProjectObserver() = default;
    // The title (path or dirty flag) changed.
    virtual void projectTitleChanged() {}
    // The options were reset or loaded: check boxes and previews follow them.
    virtual void projectOptionsChanged() {}
};

class ProjectSettings : public BufferObserver {
public:
    // Asks where to save a buffer that has no file yet; nullopt: cancelled.
    using BufferPathPrompt = std::function<std::optional<std::string>(const MemoryBuffer&)>;
    // Asks for the project file name; nullopt: cancelled.
    using ProjectPathPrompt = std::function<std::optional<std::string>()>;

    ProjectSettings(MemoryBuffer& flash, MemoryBuffer& eeprom, base::UserPort& port);
    ~ProjectSettings() override;
    ProjectSettings(const ProjectSettings&) = delete;
    ProjectSettings& operator=(const ProjectSettings&) = delete;

    std::string projectPath = kUnspecifiedPath;
    bool dirty = false;
    bool flashInvert = false;
    bool polling = false;
    int resetStrobeLength = 20;
    bool checkSign = false;
    bool noSynchronization = false;
    bool autoErase = false;
    bool autoEmptyCheck = false;
    bool autoFlashReload = false;
    bool autoFlashProgram = false;
    bool autoFlashVerify = false;
    bool autoEepromReload = false;
    bool autoEepromProgram = false;
    bool autoEepromVerify = false;
    bool autoIncrementFlash = false;
    bool autoIncrement = false;
    bool programFuse = false;
    bool programFuseBeforeAll = false;
    devices::LockFuseState lockFuse;
    // The file whose lock and fuse bits lockFuse holds (an ELF file just
    // loaded); empty when they are the project's own.
    std::string lockFuseFile;
    // The lock/fuse layout lockFuse is stored by: the device's when saved; -1
    // in a file that does not say (one written before the layouts changed).
    int fuseLayout = -1;
    // The person confirmed that lockFuse may lock the chip out (a warning
    // answered Yes in Project Settings): unattended runs program it.
    bool allowLockout = false;
    int autoIncAddressFlash = 0;
    int autoIncAddress = 0;
    int deviceNo = defaultDeviceIndex();
    int spiPeriod = 4;
    bool delayByte = false;
    bool delayPage = false;
    int delayByteValue = 15;
    int delayPageValue = 15;
    bool delayByte2 = false;
    bool delayPage2 = false;
    int delayByteValue2 = 10;
    int delayPageValue2 = 10;
    // [Production] Log=: the production log as the file names it; empty: none.
    std::string productionLog;
    // The production log's path, a relative name taken from the project's
    // folder as the memory files are; empty when the project names none.
    std::string productionLogPath() const;

    MemoryBuffer& flashBuffer() { return flash_; }
    MemoryBuffer& eepromBuffer() { return eeprom_; }
    const MemoryBuffer& flashBuffer() const { return flash_; }
    const MemoryBuffer& eepromBuffer() const { return eeprom_; }

    void setObserver(ProjectObserver* observer) { observer_ = observer; }

    // New and Close: the job's options go back to their defaults; the chip,
    // the connection options, the delays and the buffers stay.
    void newProject();
    bool loadProject(const std::string& path);
    bool reloadProject();
    // Saves both buffers, then writes every key. False when the project file
    // could not be written (reported; the project stays dirty).
    bool saveProject(const std::string& path, const BufferPathPrompt& askBufferPath);
    bool saveOrSaveAs(const ProjectPathPrompt& askProjectPath,
                      const BufferPathPrompt& askBufferPath);

    void setDirty();
    void buffersClean();

    // "path[*] - program title"
    std::string titleText() const;

    // BufferObserver: a modified buffer makes the project dirty; a buffer that
    // was saved or loaded may make it clean again.
    void bufferModified(const MemoryBuffer&) override { setDirty(); }
    void bufferCleaned(const MemoryBuffer&) override { buffersClean(); }
    // An ELF file built for another chip than the project's is loaded only
    // when the person says so.
    bool acceptsFile(const MemoryBuffer& buffer, const DecodedFile& file,
                     FileFormatId format) override;
    // An ELF file loaded into the Flash buffer fills the EEPROM buffer with its
    // EEPROM and the project's lock and fuse bits with its own (but not while
    // a project loads, whose file has the last word on its bits).
    void fileTaken(const MemoryBuffer& buffer, const DecodedFile& file, FileFormatId format,
                   const std::string& path) override;

private:
    // A memory file as the project file names it (relative names stand for a
    // file in the project's folder), the file that name stands for, and the
    // buffer's path once it was loaded: as long as the buffer keeps that path,
    // a save writes the name back as it was, even when the file was missing.
    struct NamedFile {
        std::string name;
        std::string path;
        std::string loadedAs;
    };

    void reset();
    void notifyTitle();
    NamedFile& namedFile(const MemoryBuffer& buffer) {
        return &buffer == &flash_ ? flashFile_ : eepromFile_;
    }
    // Loads the file a project names into the buffer; a missing file or one
    // that is not a regular file (it could block the start) is not loaded.
    void loadMemoryFile(MemoryBuffer& buffer, const std::string& name,
                        const std::string& projectFile);
    // The name a project saved as `projectFile` stores for the buffer's file.
    std::string storedFileName(MemoryBuffer& buffer, const std::string& projectFile);

    MemoryBuffer& flash_;
    MemoryBuffer& eeprom_;
    base::UserPort& port_;
    ProjectObserver* observer_ = nullptr;
    bool loadingProject_ = false;
    NamedFile flashFile_;
    NamedFile eepromFile_;
    bool fillingEeprom_ = false;
};

}  // namespace zavuv::buffers
