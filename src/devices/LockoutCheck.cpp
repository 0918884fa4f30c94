#include "devices/LockoutCheck.h"

#include <string_view>

#include "devices/ClockSources.h"
#include "devices/FuseCoding.h"
#include "text/UiText.h"

namespace zavuv::devices {

namespace {

using text::Msg;

// The fuses that decide whether serial programming still reaches the chip,
// by name, whatever the chip: SPIEN-type fuses must stay programmed, the
// others must not be programmed.
struct SerialProgrammingFuse {
    std::string_view name;
    LockoutKind kind;
    Msg explanation;
};

constexpr SerialProgrammingFuse kSerialProgrammingFuses[] = {
    {"SPIEN", LockoutKind::SerialProgrammingOff, Msg::LockoutSpienExplained},
    {"SerialPrgEn", LockoutKind::SerialProgrammingOff, Msg::LockoutSpienExplained},
    {"RSTDISBL", LockoutKind::ResetPinOff, Msg::LockoutRstdisblExplained},
    {"DWEN", LockoutKind::DebugWireOn, Msg::LockoutDwenExplained},
};

const SerialProgrammingFuse* serialProgrammingFuse(std::string_view name) {
    for (const SerialProgrammingFuse& fuse : kSerialProgrammingFuses)
        if (fuse.name == name)
            return &fuse;
    return nullptr;
}

bool mustStayProgrammed(LockoutKind kind) {
    return kind == LockoutKind::SerialProgrammingOff;
}

// The line that names the fuse and the way it should be: the warning's old texts.
std::string shouldBeLine(const char* name, bool shouldBeProgrammed) {
    return text::formatUiText(
        shouldBeProgrammed ? Msg::FuseShouldBeProgrammed : Msg::FuseShouldBeUnprogrammed, name);
}

void checkFuses(const LockFuseLayout& layout, const LockFuseState& current,
                const LockFuseState& wanted, std::vector<LockoutFinding>& findings) {
    for (int i = 0; i < layout.fuseCount; ++i) {
        const char* name = layout.fuseName[i];
        if (const SerialProgrammingFuse* fuse = serialProgrammingFuse(name)) {
            const bool keep = mustStayProgrammed(fuse->kind);
            // RSTDISBL or DWEN already programmed on the chip is no change.
            if (wanted.fuse[i] == keep || (!keep && current.fuse[i]))
                continue;
            findings.push_back({fuse->kind, true, name,
                                shouldBeLine(name, keep) + text::GetUiText(fuse->explanation)});
            continue;
        }
        const int warn = layout.fuseWarn[i];
        if ((warn > 0 && !wanted.fuse[i]) || (warn < 0 && wanted.fuse[i] && !current.fuse[i]))
            findings.push_back(
                {LockoutKind::WarnedFuse, false, name, shouldBeLine(name, warn > 0)});
    }
}

std::string clockLine(const ClockSetting& setting) {
    switch (setting.source) {
    case ClockSource::ExternalClock:
        return text::GetUiText(Msg::ExternalClockOnly);
    case ClockSource::Crystal:
        return text::formatUiText(Msg::LockoutCrystal, setting.text);
    case ClockSource::LowFrequencyCrystal:
        return text::formatUiText(Msg::LockoutLowFrequencyCrystal, setting.text);
    case ClockSource::ExternalRc:
        return text::formatUiText(Msg::LockoutExternalRc, setting.text);
    case ClockSource::Reserved:
        return text::formatUiText(Msg::LockoutReservedClock, setting.text);
    case ClockSource::Internal:
        break;
    }
    return {};
}

// A clock source outside the chip that the current settings do not use
// already: the board may have no such clock, and then the chip stops.
void checkClock(const LockFuseLayout& layout, const LockFuseState& current,
                const LockFuseState& wanted, std::vector<LockoutFinding>& findings) {
    const std::optional<ClockSetting> next = clockSetting(layout, wanted);
    if (!next || next->source == ClockSource::Internal)
        return;
    const std::optional<ClockSetting> now = clockSetting(layout, current);
    if (now && now->source == next->source)
        return;
    findings.push_back({LockoutKind::ClockSource, false, next->text,
                        clockLine(*next) + text::GetUiText(Msg::LockoutClockUndo)});
}

// The dialogs double an ampersand that is meant to show; a message shows it once.
std::string shownOnce(std::string name) {
    for (std::size_t at = name.find("&&"); at != std::string::npos; at = name.find("&&", at + 1))
        name.erase(at, 1);
    return name;
}

// From LB1+LB2 on, the chip's memories can be neither read nor verified.
constexpr std::int32_t kReadProtectedMode = 2;

void checkLockMode(const LockFuseState& current, const LockFuseState& wanted,
                   LockModeTexts modeTexts, std::vector<LockoutFinding>& findings) {
    if (wanted.lockMode < kReadProtectedMode || current.lockMode >= kReadProtectedMode)
        return;
    const std::string mode = shownOnce(lockModeName(modeTexts, wanted.lockMode));
    findings.push_back({LockoutKind::ReadProtection, false, mode,
                        text::formatUiText(Msg::LockoutReadProtection, mode)});
}

}  // namespace

std::vector<LockoutFinding> lockoutFindings(const LockFuseLayout& layout,
                                            const LockFuseState& current,
                                            const LockFuseState& wanted, LockModeTexts modeTexts) {
    std::vector<LockoutFinding> findings;
    checkFuses(layout, current, wanted, findings);
    checkClock(layout, current, wanted, findings);
    checkLockMode(current, wanted, modeTexts, findings);
    return findings;
}

std::optional<std::string> lockoutText(const std::vector<LockoutFinding>& findings) {
    if (findings.empty())
        return std::nullopt;
    std::string text = text::GetUiText(Msg::FuseWarningIntro);
    for (const LockoutFinding& finding : findings)
        text += finding.text;
    return text;
}

LockFuseState factoryState(const DeviceInfo& device, const LockFuseLayout& layout) {
    LockFuseState state;
    state.readable = layout.lockReadable;
    const FuseValues& factory = device.factoryFuses;
    for (FuseByte which : fuseReadOrder(layout)) {
        const std::uint8_t value = which == FuseByte::Low    ? factory.low
                                   : which == FuseByte::High ? factory.high
                                                             : factory.extended;
        decodeFuseByte(layout, which, value, state);
    }
    return state;
}

bool confirmLockout(const std::vector<LockoutFinding>& findings, base::UserPort& port) {
    const std::optional<std::string> warning = lockoutText(findings);
    if (!warning)
        return true;
    return port.ask(*warning + text::GetUiText(Msg::FuseWarningContinue),
                    base::QuestionButtons::YesNo, base::MessageIcon::Question, base::Answer::No,
                    text::GetUiText(Msg::WarningCaption)) == base::Answer::Yes;
}

bool endsSerialProgramming(const std::vector<LockoutFinding>& findings) {
    for (const LockoutFinding& finding : findings)
        if (finding.endsSerialProgramming)
            return true;
    return false;
}

std::string serialProgrammingBits(const std::vector<LockoutFinding>& findings) {
    std::string names;
    for (const LockoutFinding& finding : findings) {
        if (!finding.endsSerialProgramming)
            continue;
        if (!names.empty())
            names += ", ";
        names += finding.bit;
    }
    return names;
}

}  // namespace zavuv::devices
