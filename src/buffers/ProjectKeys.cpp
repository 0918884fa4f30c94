#include "buffers/ProjectKeys.h"

#include <fmt/format.h>

#include "buffers/MemoryBuffer.h"
#include "buffers/ProjectSettings.h"

namespace zavuv::buffers {

namespace {

ProjectKey flagKey(const char* section, std::string name, bool& field) {
    return {section, std::move(name), ProjectKey::Kind::Bool, &field};
}

ProjectKey intKey(const char* section, std::string name, int& field, int missingDefault = 0) {
    return {section, std::move(name), ProjectKey::Kind::Int, nullptr,
            &field,  nullptr,         missingDefault};
}

ProjectKey pathKey(const char* section, std::string name, MemoryBuffer& buffer) {
    return {section, std::move(name), ProjectKey::Kind::Path, nullptr, nullptr, &buffer};
}

ProjectKey optionalTextKey(const char* section, std::string name, std::string& field) {
    ProjectKey key{section, std::move(name), ProjectKey::Kind::Text};
    key.text = &field;
    key.optional = true;
    return key;
}

}  // namespace

std::vector<ProjectKey> projectKeys(ProjectSettings& p) {
    std::vector<ProjectKey> keys{
        pathKey("Files", "Flash", p.flashBuffer()),
        pathKey("Files", "Eeprom", p.eepromBuffer()),
        flagKey("Files", "FlashInvert", p.flashInvert),
        flagKey("Settings", "Polling", p.polling),
        flagKey("Settings", "CheckSign", p.checkSign),
        flagKey("Settings", "NoSynchronization", p.noSynchronization),
        flagKey("AutoProgram", "AutoErase", p.autoErase),
        flagKey("AutoProgram", "AutoEmptyCheck", p.autoEmptyCheck),
        flagKey("AutoProgram", "AutoFlashReload", p.autoFlashReload),
        flagKey("AutoProgram", "AutoFlashProgram", p.autoFlashProgram),
        flagKey("AutoProgram", "AutoFlashVerify", p.autoFlashVerify),
        flagKey("AutoProgram", "AutoEepromReload", p.autoEepromReload),
        flagKey("AutoProgram", "AutoEepromProgram", p.autoEepromProgram),
        flagKey("AutoProgram", "AutoEepromVerify", p.autoEepromVerify),
        flagKey("AutoProgram", "AutoIncrementFlash", p.autoIncrementFlash),
        flagKey("AutoProgram", "AutoIncrement", p.autoIncrement),
        flagKey("AutoProgram", "ProgramFuse", p.programFuse),
        flagKey("AutoProgram", "ProgramFuseBeforeAll", p.programFuseBeforeAll),
        intKey("AutoProgram", "LockMode", p.lockFuse.lockMode),
    };
    for (std::size_t i = 0; i < p.lockFuse.fuse.size(); ++i)
        keys.push_back(flagKey("AutoProgram", fmt::format("Fuse{}", i), p.lockFuse.fuse[i]));
    for (std::size_t i = 0; i < p.lockFuse.bootLock.size(); ++i)
        keys.push_back(
            flagKey("AutoProgram", fmt::format("BootLock{}", i), p.lockFuse.bootLock[i]));
    keys.push_back(intKey("AutoProgram", "FuseLayout", p.fuseLayout, -1));
    keys.push_back(flagKey("AutoProgram", "AllowLockout", p.allowLockout));
    keys.insert(keys.end(), {
                                intKey("Settings", "ResetStrobeLength", p.resetStrobeLength, 400),
                                intKey("Settings", "SPIPeriod", p.spiPeriod, 4),
                                intKey("AutoProgram", "AutoIncAddressFlash", p.autoIncAddressFlash),
                                intKey("AutoProgram", "AutoIncAddress", p.autoIncAddress),
                                intKey("Device", "DeviceNo", p.deviceNo, defaultDeviceIndex()),
                                flagKey("Delays", "DelayByte", p.delayByte),
                                flagKey("Delays", "DelayPage", p.delayPage),
                                intKey("Delays", "DelayByteValue", p.delayByteValue),
                                intKey("Delays", "DelayPageValue", p.delayPageValue),
                                flagKey("Delays", "DelayByte2", p.delayByte2),
                                flagKey("Delays", "DelayPage2", p.delayPage2),
                                intKey("Delays", "DelayByteValue2", p.delayByteValue2),
                                intKey("Delays", "DelayPageValue2", p.delayPageValue2),
                                optionalTextKey("Production", "Log", p.productionLog),
                            });
    return keys;
}

std::string projectKeyValue(const ProjectKey& key) {
    switch (key.kind) {
    case ProjectKey::Kind::Path:
        return key.buffer->path();
    case ProjectKey::Kind::Bool:
        return *key.flag ? "1" : "0";
    case ProjectKey::Kind::Int:
        return std::to_string(*key.number);
    case ProjectKey::Kind::Text:
        return *key.text;
    }
    return {};
}

bool projectKeyUsed(const ProjectKey& key) {
    return !key.optional || !projectKeyValue(key).empty();
}

}  // namespace zavuv::buffers
