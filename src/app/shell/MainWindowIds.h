#pragma once
// The ids of the main window's controls (dialog 102) and of its menu commands.
// A control and a menu command may share a number (the device list and the
// Lock/Fuse command are both 1016); the command table tells them apart by the
// kind of notification.

namespace zavuv::app::shell::id {

// Controls of the Flash pane.
inline constexpr int kFlashGroup = 1111;
inline constexpr int kFlashFileField = 1003;
inline constexpr int kFlashInvert = 1059;
inline constexpr int kFlashPreviewPlace = 1002;
// Controls of the EEPROM pane.
inline constexpr int kEepromGroup = 1112;
inline constexpr int kEepromFileField = 1004;
inline constexpr int kEepromIncrement = 1060;
inline constexpr int kEepromPreviewPlace = 1001;
// The device box and the SCK period below the panes.
inline constexpr int kDeviceGroup = 1079;
inline constexpr int kFamilyList = 1005;
inline constexpr int kDeviceList = 1016;
inline constexpr int kSckList = 1148;
inline constexpr int kReadSignatureButton = 1103;
inline constexpr int kStatusLine = 1057;

// Commands of the buttons and the menu.
inline constexpr int kNewProject = 32784;
inline constexpr int kOpenProject = 32780;
inline constexpr int kReloadProject = 32783;
inline constexpr int kSaveProject = 32781;
inline constexpr int kSaveProjectAs = 32782;
inline constexpr int kCloseProject = 32792;
inline constexpr int kAutoProgram = 1015;
inline constexpr int kExit = 1056;
inline constexpr int kFlashLoad = 1006;
inline constexpr int kFlashLoadAt = 32908;
inline constexpr int kFlashReload = 32790;
inline constexpr int kFlashSave = 32776;
inline constexpr int kFlashSaveAs = 32774;
inline constexpr int kFlashClose = 32771;
inline constexpr int kProgramFlash = 1009;
inline constexpr int kVerifyFlash = 1010;
inline constexpr int kReadFlash = 1013;
inline constexpr int kEepromLoad = 1007;
inline constexpr int kEepromLoadAt = 32909;
inline constexpr int kEepromReload = 32791;
inline constexpr int kEepromSave = 32772;
inline constexpr int kEepromSaveAs = 32775;
inline constexpr int kEepromClose = 32773;
inline constexpr int kProgramEeprom = 1011;
inline constexpr int kVerifyEeprom = 1012;
inline constexpr int kReadEeprom = 1014;
inline constexpr int kChipErase = 1008;
inline constexpr int kProjectSettings = 32795;
inline constexpr int kLockFuseBits = 1016;
inline constexpr int kBoardSettings = 32785;
inline constexpr int kAdvancedBoardSettings = 32786;
inline constexpr int kSelectLanguage = 32907;
inline constexpr int kBlankCheck = 32779;
inline constexpr int kReadSignature = 32777;
inline constexpr int kReadCalibration = 32904;
inline constexpr int kUpdateFirmware = 32910;
inline constexpr int kBoardInformation = 32901;
inline constexpr int kSearchBoard = 32788;
inline constexpr int kHelp = 32789;
inline constexpr int kAbout = 16;
// Accepted and left alone: no menu item or control sends them.
inline constexpr int kQuietCommand = 32778;
inline constexpr int kOtherQuietCommand = 32794;
// The Recent Projects item, replaced by one entry per project (the first at
// kFirstRecentProject, the next one above it).
inline constexpr int kRecentProjectsItem = 32800;
inline constexpr int kFirstRecentProject = 32801;

}  // namespace zavuv::app::shell::id
