#include "buffers/ProjectSettings.h"

#include <filesystem>

#include <cstring>

#include <fmt/format.h>

#include "base/Utf8Path.h"
#include "buffers/IniFile.h"
#include "buffers/ProjectDelays.h"
#include "buffers/ProjectKeys.h"
#include "devices/DeviceTable.h"
#include "devices/FuseBitCarryOver.h"
#include "devices/FuseCoding.h"
#include "devices/LockByteCoding.h"
#include "text/UiText.h"

namespace zavuv::buffers {

using devices::DeviceTable;
using text::formatUiText;
using text::GetUiText;

namespace fs = std::filesystem;

namespace {

bool namesNoFile(const std::string& name) {
    return name.empty() || name == kUnspecifiedPath;
}

// A relative name is taken from the project's folder, so that a project and
// its files can move together (and an example works from any folder).
std::string memoryFilePath(const std::string& name, const std::string& projectFile) {
    if (namesNoFile(name) || base::utf8Path(name).is_absolute())
        return name;
    return base::utf8Name(base::utf8Path(projectFile).parent_path() / base::utf8Path(name));
}

fs::path normalAbsolute(const fs::path& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    return (error ? path : absolute).lexically_normal();
}

}  // namespace

int defaultDeviceIndex() {
    for (int i = 0; i < DeviceTable::count(); ++i)
        if (std::strcmp(DeviceTable::at(i).name, "ATmega8") == 0)
            return i;
    return 0;
}

ProjectSettings::ProjectSettings(MemoryBuffer& flash, MemoryBuffer& eeprom, base::UserPort& port)
    : flash_(flash), eeprom_(eeprom), port_(port) {
    flash_.addObserver(*this);
    eeprom_.addObserver(*this);
}

ProjectSettings::~ProjectSettings() {
    flash_.removeObserver(*this);
    eeprom_.removeObserver(*this);
}

void ProjectSettings::reset() {
    projectPath = kUnspecifiedPath;
    lockFuse = {};
    lockFuseFile.clear();
    flashInvert = false;
    polling = false;
    spiPeriod = 4;
    autoErase = autoEmptyCheck = autoFlashReload = autoFlashProgram = autoFlashVerify = false;
    autoEepromReload = autoEepromProgram = autoEepromVerify = false;
    autoIncrementFlash = autoIncrement = false;
    autoIncAddress = autoIncAddressFlash = 0;
    programFuse = false;
    allowLockout = false;
    productionLog.clear();
    flashFile_ = {};
    eepromFile_ = {};
}

std::string ProjectSettings::productionLogPath() const {
    if (productionLog.empty())
        return {};
    const std::filesystem::path log = base::utf8Path(productionLog);
    if (log.is_absolute() || projectPath == kUnspecifiedPath)
        return productionLog;
    return base::utf8Name(base::utf8Path(projectPath).parent_path() / log);
}

void ProjectSettings::newProject() {
    reset();
    if (observer_) {
        observer_->projectOptionsChanged();
        observer_->projectTitleChanged();
    }
}

bool ProjectSettings::loadProject(const std::string& path) {
    if (path == kUnspecifiedPath) {
        newProject();
        return true;
    }
    const std::optional<IniFile> ini = IniFile::load(path);
    if (!ini || !ini->hasKey("Files", "Flash")) {
        port_.showMessage(formatUiText(text::Msg::ErrorReadingProjectFile, path),
                          base::MessageIcon::Error, GetUiText(text::Msg::ProgramTitle));
        return false;
    }
    reset();

    std::vector<std::pair<MemoryBuffer*, std::string>> files;
    for (const ProjectKey& key : projectKeys(*this)) {
        switch (key.kind) {
        case ProjectKey::Kind::Path:
            files.emplace_back(key.buffer,
                               ini->readString(key.section, key.name, kUnspecifiedPath));
            break;
        case ProjectKey::Kind::Bool:
            *key.flag = ini->readInt(key.section, key.name, key.missingDefault) != 0;
            break;
        case ProjectKey::Kind::Int:
            *key.number = ini->readInt(key.section, key.name, key.missingDefault);
            break;
        case ProjectKey::Kind::Text:
            *key.text = ini->readString(key.section, key.name, "");
            break;
        }
    }
    if (!DeviceTable::isValidIndex(deviceNo)) {
        const int unknown = deviceNo;
        deviceNo = defaultDeviceIndex();
        port_.setStatus(
            formatUiText(text::Msg::UnknownDeviceNumber, unknown, DeviceTable::at(deviceNo).name));
    } else {
        const devices::CarriedFuseBits bits =
            devices::carryFuseBitsOver(lockFuse, fuseLayout, deviceNo);
        lockFuse = bits.state;
        if (bits.layoutChanged)
            port_.setStatus(
                formatUiText(text::Msg::FuseNamesChanged, DeviceTable::at(deviceNo).name));
    }
    fuseLayout = DeviceTable::at(deviceNo).lockFuseLayout;
    holdDelaysInRange(*this, port_);
    if (observer_)
        observer_->projectOptionsChanged();

    flash_.clear();
    eeprom_.clear();
    loadingProject_ = true;
    for (auto& [buffer, file] : files)
        loadMemoryFile(*buffer, file, path);
    loadingProject_ = false;

    dirty = false;
    projectPath = path;
    notifyTitle();
    return true;
}

bool ProjectSettings::acceptsFile(const MemoryBuffer&, const DecodedFile& file, FileFormatId) {
    if (!file.signature || fillingEeprom_ || !DeviceTable::isValidIndex(deviceNo))
        return true;
    const devices::DeviceInfo& device = DeviceTable::at(deviceNo);
    if (*file.signature == device.signature || *file.signature == device.altSignature)
        return true;
    const auto hex = [](const std::array<std::uint8_t, 3>& s) {
        return fmt::format("{:02X} {:02X} {:02X}", s[0], s[1], s[2]);
    };
    return port_.ask(formatUiText(text::Msg::ElfSignatureQuestion, hex(*file.signature),
                                  device.name, hex(device.signature)),
                     base::QuestionButtons::YesNo, base::MessageIcon::Question, base::Answer::No,
                     text::GetUiText(text::Msg::ProgramTitle)) == base::Answer::Yes;
}

void ProjectSettings::fileTaken(const MemoryBuffer& buffer, const DecodedFile& file,
                                FileFormatId format, const std::string& path) {
    if (&buffer != &flash_ || format != FileFormatId::Elf)
        return;
    if (!splitImage(file.image, kAvrEepromRange).inside.empty()) {
        fillingEeprom_ = true;
        eeprom_.loadFile(path);
        fillingEeprom_ = false;
        if (eeprom_.path() == path)
            port_.setStatus(formatUiText(text::Msg::EepromFilledFrom, eeprom_.size(), path));
    }
    const devices::LockFuseLayout* layout = devices::layoutOf(deviceNo);
    if (loadingProject_ || layout == nullptr || (file.fuses.empty() && !file.lock))
        return;
    for (std::size_t i = 0; i < file.fuses.size(); ++i) {
        const auto which = static_cast<devices::FuseByte>(i);
        if (layout->fuseByte(which).present)
            devices::decodeFuseByte(*layout, which, file.fuses[i], lockFuse);
    }
    if (file.lock)
        devices::decodeLockByte(*layout, *file.lock, lockFuse, port_);
    lockFuseFile = path;
    port_.setStatus(formatUiText(text::Msg::LockFuseFromFile, path));
    setDirty();
}

void ProjectSettings::loadMemoryFile(MemoryBuffer& buffer, const std::string& name,
                                     const std::string& projectFile) {
    NamedFile& named = namedFile(buffer);
    named = {name, memoryFilePath(name, projectFile), buffer.path()};
    if (namesNoFile(name))
        return;
    std::error_code error;
    const fs::file_status status = fs::status(base::utf8Path(named.path), error);
    if (status.type() == fs::file_type::not_found) {
        port_.setStatus(formatUiText(text::Msg::MemoryFileMissing, named.path));
        return;
    }
    if (status.type() != fs::file_type::regular) {
        port_.showMessage(formatUiText(text::Msg::MemoryFileNotRegular, named.path),
                          base::MessageIcon::Error, GetUiText(text::Msg::ProgramTitle));
        return;
    }
    buffer.loadFile(named.path);
    named.loadedAs = buffer.path();
}

std::string ProjectSettings::storedFileName(MemoryBuffer& buffer, const std::string& projectFile) {
    const NamedFile& named = namedFile(buffer);
    if (namesNoFile(named.name) || buffer.path() != named.loadedAs)
        return buffer.path();
    if (base::utf8Path(named.name).is_absolute())
        return named.name;
    // Saved into another folder, a relative name is made relative to that one.
    const fs::path file = normalAbsolute(base::utf8Path(named.path));
    const fs::path folder = normalAbsolute(base::utf8Path(projectFile).parent_path());
    if (normalAbsolute(folder / base::utf8Path(named.name)) == file)
        return named.name;
    // With forward slashes, which every system reads: the project may move
    // between Windows and Linux with its files.
    const fs::path relative = file.lexically_relative(folder);
    return relative.empty() ? base::utf8Name(file) : base::utf8GenericName(relative);
}

bool ProjectSettings::reloadProject() {
    if (projectPath.empty())
        return false;
    const std::string path = projectPath;
    reset();
    return loadProject(path);
}

bool ProjectSettings::saveProject(const std::string& path, const BufferPathPrompt& askBufferPath) {
    for (MemoryBuffer* buffer : {&flash_, &eeprom_}) {
        if (buffer->size() == 0)
            continue;
        if (buffer->savesToItsFile()) {
            buffer->save();
        } else if (askBufferPath && (!buffer->hasFilePath() || buffer->modified())) {
            if (const auto chosen = askBufferPath(*buffer))
                buffer->saveAs(*chosen);
        }
    }

    if (DeviceTable::isValidIndex(deviceNo))
        fuseLayout = DeviceTable::at(deviceNo).lockFuseLayout;
    std::optional<IniFile> ini = IniFile::load(path);
    std::string failure = "not a regular file";
    bool written = ini.has_value();
    if (written) {
        for (const ProjectKey& key : projectKeys(*this)) {
            const std::string value = key.kind == ProjectKey::Kind::Path
                                          ? storedFileName(*key.buffer, path)
                                          : projectKeyValue(key);
            if (projectKeyUsed(key) || ini->hasKey(key.section, key.name))
                written = ini->writeString(key.section, key.name, value) && written;
        }
        if (!written)
            failure = "a value cannot be stored in the file";
        written = written && ini->save(path, &failure);
    }
    if (!written) {
        // The project's settings would be lost silently otherwise.
        port_.showMessage(formatUiText(text::Msg::FileNotSaved, path, failure),
                          base::MessageIcon::Error, GetUiText(text::Msg::ProgramTitle));
        return false;
    }
    dirty = false;
    notifyTitle();
    return true;
}

bool ProjectSettings::saveOrSaveAs(const ProjectPathPrompt& askProjectPath,
                                   const BufferPathPrompt& askBufferPath) {
    if (!projectPath.empty() && projectPath != kUnspecifiedPath)
        return saveProject(projectPath, askBufferPath);
    const auto chosen = askProjectPath ? askProjectPath() : std::nullopt;
    if (!chosen)
        return false;
    projectPath = *chosen;
    return saveProject(projectPath, askBufferPath);
}

void ProjectSettings::setDirty() {
    if (dirty)
        return;
    dirty = true;
    notifyTitle();
}

void ProjectSettings::buffersClean() {
    if (flash_.modified() || eeprom_.modified())
        return;
    dirty = false;
    notifyTitle();
}

std::string ProjectSettings::titleText() const {
    return projectPath + (dirty ? "*" : "") + " - " + GetUiText(text::Msg::ProgramTitle);
}

void ProjectSettings::notifyTitle() {
    if (observer_)
        observer_->projectTitleChanged();
}

}  // namespace zavuv::buffers
