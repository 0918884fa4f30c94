#include "buffers/ProjectSettings.h"

#include <filesystem>

#include <cstring>

#include "buffers/IniFile.h"
#include "buffers/ProjectKeys.h"
#include "devices/DeviceTable.h"
#include "devices/FuseBitCarryOver.h"
#include "text/UiText.h"

namespace zavuv::buffers {

using devices::DeviceTable;
using text::formatUiText;
using text::GetUiText;

namespace {}  // namespace

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
    flashInvert = false;
    polling = false;
    spiPeriod = 4;
    autoErase = autoEmptyCheck = autoFlashReload = autoFlashProgram = autoFlashVerify = false;
    autoEepromReload = autoEepromProgram = autoEepromVerify = false;
    autoIncrementFlash = autoIncrement = false;
    autoIncAddress = autoIncAddressFlash = 0;
    programFuse = false;
    productionLog.clear();
}

std::string ProjectSettings::productionLogPath() const {
    if (productionLog.empty())
        return {};
    const std::filesystem::path log(productionLog);
    if (log.is_absolute() || projectPath == kUnspecifiedPath)
        return productionLog;
    return (std::filesystem::path(projectPath).parent_path() / log).string();
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
    if (observer_)
        observer_->projectOptionsChanged();

    flash_.clear();
    eeprom_.clear();
    for (auto& [buffer, file] : files)
        buffer->loadFile(file);

    dirty = false;
    projectPath = path;
    notifyTitle();
    return true;
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
        if (buffer->hasFilePath()) {
            buffer->save();
        } else if (askBufferPath) {
            if (const auto chosen = askBufferPath(*buffer))
                buffer->saveAs(*chosen);
        }
    }

    if (DeviceTable::isValidIndex(deviceNo))
        fuseLayout = DeviceTable::at(deviceNo).lockFuseLayout;
    std::optional<IniFile> ini = IniFile::load(path);
    bool written = ini.has_value();
    if (written) {
        for (const ProjectKey& key : projectKeys(*this))
            if (projectKeyUsed(key) || ini->hasKey(key.section, key.name))
                written = ini->writeString(key.section, key.name, projectKeyValue(key)) && written;
        written = written && ini->save(path);
    }
    if (!written) {
        // The project's settings would be lost silently otherwise.
        port_.showMessage(GetUiText(text::Msg::CannotSaveFile), base::MessageIcon::Error,
                          GetUiText(text::Msg::ProgramTitle));
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
