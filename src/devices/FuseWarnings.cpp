#include "devices/FuseWarnings.h"

#include <cstring>

#include "text/UiText.h"

namespace zavuv::devices {

namespace {

constexpr int kWarningIntro = 1001;
constexpr int kShouldBeUnprogrammed = 1002;
constexpr int kShouldBeProgrammed = 1003;
constexpr int kContinue = 1004;
constexpr int kWarningCaption = 1005;
constexpr int kExternalClockOnly = 1165;

constexpr const char* kClockSelect[] = {"CKSEL0", "CKSEL1", "CKSEL2", "CKSEL3"};
constexpr int kClockSelectCount = 4;

// All four clock-select fuses programmed select an external clock, on which a
// crystal no longer runs the chip. Only layouts that start with exactly these
// four fuses are tested.
bool selectsExternalClock(const LockFuseLayout& layout, const LockFuseState& state) {
    if (layout.fuseCount < kClockSelectCount)
        return false;
    for (int i = 0; i < kClockSelectCount; ++i)
        if (std::strcmp(layout.fuseName[i], kClockSelect[i]) != 0 || !state.fuse[i])
            return false;
    return true;
}

}  // namespace

std::optional<std::string> fuseWarnings(const LockFuseLayout& layout, const LockFuseState& state) {
    std::string lines;
    for (int i = 0; i < layout.fuseCount; ++i) {
        if (state.fuse[i] && layout.fuseWarn[i] < 0)
            lines += text::formatUiText(kShouldBeUnprogrammed, layout.fuseName[i]);
        else if (!state.fuse[i] && layout.fuseWarn[i] > 0)
            lines += text::formatUiText(kShouldBeProgrammed, layout.fuseName[i]);
    }
    if (selectsExternalClock(layout, state))
        lines += text::GetUiText(kExternalClockOnly);
    if (lines.empty())
        return std::nullopt;
    return text::GetUiText(kWarningIntro) + lines + text::GetUiText(kContinue);
}

bool confirmFuseWarnings(const LockFuseLayout& layout, const LockFuseState& state,
                         base::UserPort& port) {
    const std::optional<std::string> warning = fuseWarnings(layout, state);
    if (!warning)
        return true;
    return port.ask(*warning, base::QuestionButtons::YesNo, base::MessageIcon::Question,
                    base::Answer::No, text::GetUiText(kWarningCaption)) == base::Answer::Yes;
}

}  // namespace zavuv::devices
