#pragma once

#include <string>
#include <vector>

#include "base/UserPort.h"

namespace zavuv::cli {

struct ConvertRequest {
    std::string input;
    std::string output;
    bool eeprom = false;
    std::vector<std::string> loadAt;  // "FILE@ADDRESS", merged in order after the input
};

// `convert IN OUT`: Load into a buffer, optional Load At merges, then Save As.
int convertFile(const ConvertRequest& request, base::UserPort& port);

}  // namespace zavuv::cli
