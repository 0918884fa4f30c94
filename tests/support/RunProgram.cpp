#include "support/RunProgram.h"

namespace zavuv::testing {

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment) {
    return collectProgram(startProgram(program, arguments, environment));
}

}  // namespace zavuv::testing
