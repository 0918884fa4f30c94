#pragma once
// The link's sequences on a scripted line, with a recording user port.

#include <stdexcept>
#include <string_view>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "devices/DeviceTable.h"
#include "link/BoardConnection.h"
#include "support/RecordingUserPort.h"
#include "support/ScriptedLine.h"

namespace zavuv::testing {

inline int deviceIndex(std::string_view name) {
    for (int i = 0; i < devices::DeviceTable::count(); ++i)
        if (devices::DeviceTable::at(i).name == name)
            return i;
    throw std::invalid_argument("no such device");
}

class LinkFixture : public ::testing::Test {
protected:
    // Later checks look only at what the user port is told from here on.
    void markEvents() { mark_ = user.events().size(); }
    std::vector<std::string> newMessages() const {
        return textsSinceMark(RecordedEvent::Kind::Message);
    }
    std::vector<std::string> newStatuses() const {
        return textsSinceMark(RecordedEvent::Kind::Status);
    }

    // The 'Connection error' report: a box, then the status line.
    void expectConnectionErrorReport() {
        EXPECT_THAT(newMessages(), ::testing::ElementsAre("Connection error"));
        EXPECT_EQ(user.lastStatus(), "Connection error");
    }

    FakeClock clock;
    ScriptedLine line{clock};
    link::SerialChannel channel{line.factory()};
    link::ProgrammerLink link{channel, clock};
    RecordingUserPort user;
    link::BoardConnection connection{link, user};

private:
    std::vector<std::string> textsSinceMark(RecordedEvent::Kind kind) const {
        std::vector<std::string> texts;
        const auto events = user.events();
        for (std::size_t i = mark_; i < events.size(); ++i)
            if (events[i].kind == kind)
                texts.push_back(events[i].text);
        return texts;
    }

    std::size_t mark_ = 0;
};

}  // namespace zavuv::testing
