#pragma once
// The terminal the program may be talking to.

#include <cstdio>
#include <string>

namespace zavuv::base {

// Whether the stream is an interactive terminal (a console window on
// Windows; the NUL device is none, though the C library calls it a tty).
bool isConsole(std::FILE* stream);

// Whether the file named is this process's standard output, under any name
// (/dev/stdout, /dev/fd/1, the file or pipe it was redirected to).
bool namesStandardOutput(const std::string& path);

// Readies the console for the program's output: UTF-8 texts and the escape
// sequences of the progress bar (Windows consoles need both switched on).
void prepareConsole();

}  // namespace zavuv::base
