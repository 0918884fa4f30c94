#pragma once
// The firmware update command: the board's boot loader takes the image that
// ships with the program.

#include <functional>
#include <optional>
#include <string>

#include "operations/FirmwareUpload.h"
#include "workspace/Workspace.h"

namespace zavuv::operations {

// What the update dialog shows.
struct FirmwareVersions {
    std::string
        current;  // the board's identity, "Not programmed", "Unknown firmware version" or empty
    std::string next;  // the version of the image, e.g. "1.09"
};

// The update dialog, or the command line's question: the speed to upload at,
// or nothing to leave the board alone.
using ConfirmFirmwareUpdate = std::function<std::optional<TransferSpeed>(const FirmwareVersions&)>;

// The required firmware version as the dialog shows it: "1.09"; a first
// character 'M' stands for 10.
std::string requiredFirmwareVersionText();

enum class FirmwareUpdateResult {
    Updated,        // the board runs the new firmware and told its identity
    ImageUnusable,  // the image is missing or has the wrong size (reported; nothing sent)
    NotUpdated,     // no board, declined, or the upload or the identity read failed (reported)
};

// Loads the image, reads the board's identity, asks for the power cycle and
// the confirmation, uploads the image and reads the new identity.
FirmwareUpdateResult updateFirmware(workspace::Workspace& ws, const ConfirmFirmwareUpdate& confirm);

}  // namespace zavuv::operations
