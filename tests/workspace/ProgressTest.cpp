#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/VirtualClock.h"
#include "text/LanguageFixture.h"
#include "workspace/InlineProgressRunner.h"
#include "workspace/RemainingTime.h"

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
    void showEstimate(const std::string& timeLeft, const std::string& rate) override {
        estimates.push_back(timeLeft + " | " + rate);
    }
    std::vector<std::string> setups;
    std::vector<std::string> estimates;
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

TEST(RemainingTime, NoEstimateBeforeTwoSecondsOrBeforeTheFirstUnitOrAtTheEnd) {
    EXPECT_FALSE(workspace::estimateProgress(1999, 50, 100, 1));
    EXPECT_FALSE(workspace::estimateProgress(5000, 0, 100, 1));
    EXPECT_FALSE(workspace::estimateProgress(5000, 100, 100, 1));
    EXPECT_FALSE(workspace::estimateProgress(5000, 10, 0, 1));
    ASSERT_TRUE(workspace::estimateProgress(2000, 1, 100, 1));
}

TEST(RemainingTime, LeftTimeIsRoundedUpAndTheRateCountsBytes) {
    // A quarter of 2048 pages of 256 bytes in 10 s: 30 s to go, 13107 bytes/s.
    const auto estimate = workspace::estimateProgress(10000, 512, 2048, 256);
    ASSERT_TRUE(estimate);
    EXPECT_EQ(estimate->secondsLeft, 30);
    EXPECT_EQ(estimate->bytesPerSecond, 13107);
    // 1 unit left after 2.5 s for 999 units: 2.5 ms rounds up to a second.
    EXPECT_EQ(workspace::estimateProgress(2500, 999, 1000, 1)->secondsLeft, 1);
}

class RemainingTimeText : public zavuv::text::testing::LanguageFixture {};

TEST_F(RemainingTimeText, MinutesOrHoursInTheCurrentLanguage) {
    EXPECT_EQ(workspace::timeLeftText({.secondsLeft = 65, .bytesPerSecond = 0}), "Time left: 1:05");
    EXPECT_EQ(workspace::timeLeftText({.secondsLeft = 3723, .bytesPerSecond = 0}),
              "Time left: 1:02:03");
    EXPECT_EQ(workspace::transferRateText({.secondsLeft = 0, .bytesPerSecond = 1920}),
              "1920 bytes/s");
    zavuv::text::setLanguage(zavuv::text::Language::Russian);
    EXPECT_EQ(workspace::timeLeftText({.secondsLeft = 5, .bytesPerSecond = 0}), "Осталось: 0:05");
    EXPECT_EQ(workspace::transferRateText({.secondsLeft = 0, .bytesPerSecond = 7}), "7 байт/с");
}

TEST(Progress, EstimateComesAfterTwoSecondsAndThenAtMostOnceASecond) {
    RecordingDisplay display;
    base::VirtualClock clock;
    workspace::InlineProgressRunner runner(display, clock);
    runner.run([&clock](base::ProgressSink& p) {
        p.setup("Read", "Reading Flash", 100, 128);
        // One unit every 100 ms: 10 s for the lot.
        for (int done = 1; done < 100; ++done) {
            clock.advanceUs(100'000);
            p.reportProgress(done);
        }
        return base::EndCode::Done;
    });
    // At 2, 3, ... 9 s; the first says 8 s are left at 1280 bytes/s.
    ASSERT_EQ(display.estimates.size(), 8u);
    EXPECT_EQ(display.estimates.front(), "Time left: 0:08 | 1280 bytes/s");
    EXPECT_EQ(display.estimates.back(), "Time left: 0:01 | 1280 bytes/s");
}
