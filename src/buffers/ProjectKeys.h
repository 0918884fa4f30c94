#pragma once
// Every key of a project file, bound to the field it stores, in the order the
// program writes them. Loading, saving and listing a project walk this one list.

#include <string>
#include <vector>

namespace zavuv::buffers {

class MemoryBuffer;
class ProjectSettings;

struct ProjectKey {
    enum class Kind { Path, Bool, Int, Text };

    const char* section;
    std::string name;
    Kind kind;
    bool* flag = nullptr;            // Kind::Bool
    int* number = nullptr;           // Kind::Int
    MemoryBuffer* buffer = nullptr;  // Kind::Path: the buffer whose file it names
    int missingDefault = 0;          // Kind::Int and Kind::Bool (0 or 1)
    std::string* text = nullptr;     // Kind::Text
    // Written and listed only when it holds a value (or the file has it
    // already), so that projects that never use it stay as they were.
    bool optional = false;
};

// Whether the key is written and listed: not an optional one left empty.
bool projectKeyUsed(const ProjectKey& key);

std::vector<ProjectKey> projectKeys(ProjectSettings& project);

// The value as the project file stores it: paths as they are, booleans "1" or
// "0", integers in decimal.
std::string projectKeyValue(const ProjectKey& key);

}  // namespace zavuv::buffers
