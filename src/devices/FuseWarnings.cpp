#include "devices/FuseWarnings.h"

#include <cstring>

#include "text/UiText.h"

namespace zavuv::devices {

namespace {

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
            lines += text::formatUiText(text::Msg::FuseShouldBeUnprogrammed, layout.fuseName[i]);
        else if (!state.fuse[i] && layout.fuseWarn[i] > 0)
            lines += text::formatUiText(text::Msg::FuseShouldBeProgrammed, layout.fuseName[i]);
    }
    if (selectsExternalClock(layout, state))
        lines += text::GetUiText(text::Msg::ExternalClockOnly);
    if (lines.empty())
        return std::nullopt;
    return text::GetUiText(text::Msg::FuseWarningIntro) + lines +
           text::GetUiText(text::Msg::FuseWarningContinue);
}

bool confirmFuseWarnings(const LockFuseLayout& layout, const LockFuseState& state,
                         base::UserPort& port) {
    const std::optional<std::string> warning = fuseWarnings(layout, state);
    if (!warning)
        return true;
    return port.ask(*warning, base::QuestionButtons::YesNo, base::MessageIcon::Question,
                    base::Answer::No,
                    text::GetUiText(text::Msg::WarningCaption)) == base::Answer::Yes;
}

}  // namespace zavuv::devices
