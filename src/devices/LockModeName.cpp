#include "devices/LockModeName.h"

#include "text/UiText.h"

namespace zavuv::devices {

namespace {
constexpr int kAvrModeTexts = 1006;
constexpr int kAt89SModeTexts = 1010;
}  // namespace

const char* lockModeName(LockModeTexts texts, std::int32_t mode) {
    if (mode < 0 || mode >= kLockModeCount)
        return "";
    const int first = texts == LockModeTexts::Avr ? kAvrModeTexts : kAt89SModeTexts;
    return text::GetUiText(first + mode);
}

}  // namespace zavuv::devices
