#include "support/ScriptedLine.h"

#include <algorithm>
#include <memory>

#include <fmt/format.h>

namespace zavuv::testing {

void FakeClock::sleepMs(int ms) {
    pauses_.push_back(ms);
    if (ms > 0)
        advanceMs(ms);
}

PortScript& PortScript::reply(std::string_view bytes) {
    input_.push_back({Item::Kind::Bytes, {bytes.begin(), bytes.end()}});
    return *this;
}

PortScript& PortScript::reply(std::initializer_list<std::uint8_t> bytes) {
    input_.push_back({Item::Kind::Bytes, {bytes.begin(), bytes.end()}});
    return *this;
}

PortScript& PortScript::silence() {
    input_.push_back({Item::Kind::Silence, {}});
    return *this;
}

PortScript& PortScript::gap(int ms) {
    input_.push_back({Item::Kind::Gap, {}, ms});
    return *this;
}

PortScript& PortScript::busyAfter(int opens) {
    opensLeft_ = opens;
    return *this;
}

PortScript& PortScript::failWrites(int count) {
    failingWrites_ = count;
    return *this;
}

PortScript& PortScript::failWritesOf(std::string hexBytes) {
    failingBytes_.push_back(std::move(hexBytes));
    return *this;
}

namespace {

std::string hex(std::span<const std::uint8_t> bytes) {
    std::string text;
    for (std::uint8_t b : bytes)
        text += fmt::format("{}{:02X}", text.empty() ? "" : " ", b);
    return text;
}

}  // namespace

std::string hexBytes(std::initializer_list<std::uint8_t> bytes) {
    return hex(std::span(bytes.begin(), bytes.size()));
}

class ScriptedPort : public link::SerialPort {
public:
    ScriptedPort(ScriptedLine& line, int index)
        : line_(line), index_(index), script_(line.scripts_.at(index)) {}
    ~ScriptedPort() override { close(); }

    bool open(int baudRate) override {
        if (script_.opensLeft_ == 0) {
            line_.record(fmt::format("open COM{} refused", index_ + 1));
            return false;
        }
        if (script_.opensLeft_ > 0)
            --script_.opensLeft_;
        line_.record(fmt::format("open COM{} {}", index_ + 1, baudRate));
        open_ = true;
        return true;
    }

    void close() override {
        if (open_)
            line_.record(fmt::format("close COM{}", index_ + 1));
        open_ = false;
    }

    bool isOpen() const override { return open_; }

    bool drain() override {
        drained_ = true;
        return open_;
    }

    long write(std::span<const std::uint8_t> bytes) override {
        // A failed write sent nothing, so its repetition needs no new drain.
        const auto& failing = script_.failingBytes_;
        if (script_.failingWrites_ > 0 ||
            std::find(failing.begin(), failing.end(), hex(bytes)) != failing.end()) {
            if (script_.failingWrites_ > 0)
                --script_.failingWrites_;
            line_.record("> " + hex(bytes) + " (failed)");
            return -1;
        }
        if (!drained_)
            ++line_.undrainedWrites_;
        drained_ = false;
        line_.record("> " + hex(bytes));
        return static_cast<long>(bytes.size());
    }

    std::size_t read(std::span<std::uint8_t> into, int timeoutMs) override {
        FakeClock& clock = line_.clock_;
        const std::int64_t deadline = clock.nowMs() + timeoutMs;
        const auto waitUntilDeadline = [&] { clock.advanceMs(deadline - clock.nowMs()); };
        std::size_t got = 0;
        auto& input = script_.input_;
        while (got < into.size()) {
            if (input.empty()) {
                waitUntilDeadline();
                break;
            }
            auto& item = input.front();
            if (item.kind == PortScript::Item::Kind::Silence) {
                input.pop_front();
                waitUntilDeadline();
                break;
            }
            if (item.kind == PortScript::Item::Kind::Gap) {
                const std::int64_t left = deadline - clock.nowMs();
                if (item.gapMs > left) {
                    item.gapMs -= left;
                    waitUntilDeadline();
                    break;
                }
                clock.advanceMs(item.gapMs);
                input.pop_front();
                continue;
            }
            while (got < into.size() && !item.bytes.empty()) {
                into[got++] = item.bytes.front();
                item.bytes.pop_front();
            }
            if (item.bytes.empty())
                input.pop_front();
        }
        line_.record(got ? "< " + hex(into.first(got)) : std::string("< -"));
        return got;
    }

private:
    ScriptedLine& line_;
    int index_;
    PortScript& script_;
    bool open_ = false;
    bool drained_ = false;
};

link::PortFactory ScriptedLine::factory() {
    return [this](int index) -> std::unique_ptr<link::SerialPort> {
        ++portsMade_;
        if (!scripts_.contains(index))
            return nullptr;
        return std::make_unique<ScriptedPort>(*this, index);
    };
}

void ScriptedLine::record(const std::string& event) {
    trace_.push_back(fmt::format("{} {}", clock_.nowMs(), event));
}

std::size_t ScriptedLine::unreadBytes() const {
    std::size_t count = 0;
    for (const auto& [index, script] : scripts_)
        for (const auto& item : script.input_)
            count += item.bytes.size();
    return count;
}

}  // namespace zavuv::testing
