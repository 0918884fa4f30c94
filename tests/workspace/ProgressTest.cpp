#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "workspace/InlineProgressRunner.h"

using namespace zavuv;

namespace {

struct RecordingDisplay : base::ProgressDisplay {
    void showSetup(const std::string& title, const std::string& text) override {
        setups.push_back(title + "|" + text);
    }
    void showPercent(int percent, const std::string& text) override {
        percents.push_back(percent);
        texts.push_back(text);
    }
    std::vector<std::string> setups;
    std::vector<int> percents;
    std::vector<std::string> texts;
};

}  // namespace

TEST(Progress, PercentageMovesOnlyWhenItChanges) {
    RecordingDisplay display;
    workspace::InlineProgressRunner runner(display);
    const base::EndCode end = runner.run([](base::ProgressSink& p) {
        p.setup("Program", "Programming Flash", 300);
        for (int done = 0; done <= 300; ++done)
            p.reportProgress(done);
        return base::EndCode::Done;
    });
    EXPECT_EQ(end, base::EndCode::Done);
    EXPECT_EQ(display.setups, std::vector<std::string>{"Program|Programming Flash"});
    ASSERT_EQ(display.percents.size(), 100u);  // 1 % .. 100 %, each once
    EXPECT_EQ(display.percents.front(), 1);
    EXPECT_EQ(display.texts.front(), "1% completed");
    EXPECT_EQ(display.texts.back(), "100% completed");
}

TEST(Progress, NoTotalShowsNoPercentage) {
    RecordingDisplay display;
    workspace::InlineProgressRunner runner(display);
    runner.run([](base::ProgressSink& p) {
        p.setup("Erase", "Erasing device", 0);
        p.reportProgress(5);
        return base::EndCode::Done;
    });
    EXPECT_TRUE(display.percents.empty());
}

TEST(Progress, SetupStartsTheCountAgainAndLargeTotalsDoNotOverflow) {
    RecordingDisplay display;
    workspace::InlineProgressRunner runner(display);
    runner.run([](base::ProgressSink& p) {
        p.setup("A", "a", 8650752);
        p.reportProgress(8650752 / 2);
        p.setup("B", "b", 10);
        p.reportProgress(5);
        return base::EndCode::Done;
    });
    EXPECT_EQ(display.percents, (std::vector<int>{50, 50}));
}

TEST(Progress, CancelIsSeenByTheBodyAndReportedAfterwards) {
    RecordingDisplay display;
    workspace::InlineProgressRunner runner(display);
    int unitsDone = 0;
    const base::EndCode end = runner.run([&](base::ProgressSink& p) {
        for (int unit = 0; unit < 10; ++unit) {
            if (p.cancelRequested())
                return base::EndCode::Cancelled;
            if (unit == 3)
                runner.requestCancel();
            ++unitsDone;
        }
        return base::EndCode::Done;
    });
    EXPECT_EQ(end, base::EndCode::Cancelled);
    EXPECT_EQ(unitsDone, 4);
    EXPECT_TRUE(runner.cancelRequested());
    runner.run([](base::ProgressSink& p) {
        return p.cancelRequested() ? base::EndCode::Cancelled : base::EndCode::Done;
    });
    EXPECT_FALSE(runner.cancelRequested());  // a new run starts clear
}
