#ifndef _WIN32

#include "base/Console.h"

#include <sys/stat.h>
#include <unistd.h>

namespace zavuv::base {

bool isConsole(std::FILE* stream) {
    return ::isatty(::fileno(stream)) != 0;
}

bool namesStandardOutput(const std::string& path) {
    struct stat named, out;
    return ::stat(path.c_str(), &named) == 0 && ::fstat(STDOUT_FILENO, &out) == 0 &&
           named.st_dev == out.st_dev && named.st_ino == out.st_ino;
}

// A terminal takes UTF-8 and escape sequences as it is.
void prepareConsole() {}

}  // namespace zavuv::base

#endif
