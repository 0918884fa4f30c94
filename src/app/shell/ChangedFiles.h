#pragma once
// Before Program and Auto-program: a memory file that changed on disk since
// its buffer took it (a fresh build) is loaded again when the buffer holds no
// edits of its own, with a word on the status line, and the person is asked
// when it does, so that a chip is never programmed with a stale image.

#include <initializer_list>

#include "buffers/MemoryBuffer.h"

namespace zavuv::app::shell {

class MainDialog;

void reloadChangedFiles(MainDialog& window, std::initializer_list<buffers::MemoryBuffer*> buffers);

}  // namespace zavuv::app::shell
