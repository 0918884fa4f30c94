#pragma once
// Setting this process's environment variables in tests, on either system.

#include <cstdlib>
#include <optional>
#include <string>

#include "base/ProcessEnvironment.h"
#include "base/Utf8Path.h"

namespace zavuv::testing {

inline void setVariable(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
    // An empty value removes the variable.
    _wputenv_s(base::utf8Path(name).c_str(), base::utf8Path(value.value_or("")).c_str());
#else
    if (value)
        setenv(name.c_str(), value->c_str(), 1);
    else
        unsetenv(name.c_str());
#endif
}

// The variable has this value while the object lives, and its old one after.
class ScopedVariable {
public:
    ScopedVariable(std::string name, const std::optional<std::string>& value)
        : name_(std::move(name)), saved_(base::environmentValue(name_.c_str())) {
        setVariable(name_, value);
    }
    ~ScopedVariable() { setVariable(name_, saved_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::string name_;
    std::optional<std::string> saved_;
};

}  // namespace zavuv::testing
