#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "GuiTesting.h"
#include "app/widgets/ChipAnimation.h"
#include "app/widgets/DialogUnits.h"
#include "app/widgets/ProgressWindow.h"
#include "app/widgets/WindowThread.h"
#include "base/VirtualClock.h"
#include "text/LanguageFixture.h"

using namespace zavuv;
using namespace zavuv::app;
using zavuv::testing::control;
using zavuv::testing::processEventsUntil;

namespace {

// A body that works until something outside lets it go (or Cancel comes).
// The bound only keeps a broken test from hanging.
bool waitFor(const std::function<bool()>& condition) {
    for (int i = 0; i < 20000; ++i) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

// Runs `action` on the window thread once the modal loop is up.
void whenShown(const std::function<void()>& action) {
    QTimer::singleShot(0, action);
}

class ProgressWindowTest : public zavuv::text::testing::LanguageFixture {
protected:
    widgets::ProgressWindow window{nullptr};

    template <typename T = QWidget> T* item(int id) { return control<T>(window, id); }

    // A control's property, read on the window thread from the worker.
    QString textOf(int id) {
        return widgets::runOnWindowThread(&window, [this, id] { return item<QLabel>(id)->text(); });
    }
    int barValue() {
        return widgets::runOnWindowThread(&window,
                                          [this] { return item<QProgressBar>(1050)->value(); });
    }
};

}  // namespace

TEST_F(ProgressWindowTest, SetupAndProgressAreShownBeforeTheWorkerGoesOn) {
    QString title;
    QString message;
    QString half;
    int halfBar = -1;
    QString full;
    const base::EndCode end = window.run([&](base::ProgressSink& sink) {
        sink.setup("Read", "Reading Flash", 300);
        title = widgets::runOnWindowThread(&window, [this] { return window.windowTitle(); });
        message = textOf(1051);
        sink.reportProgress(150);
        half = textOf(1052);
        halfBar = barValue();
        sink.reportProgress(300);
        full = textOf(1052);
        return base::EndCode::Done;
    });
    EXPECT_EQ(end, base::EndCode::Done);
    EXPECT_FALSE(window.cancelRequested());
    EXPECT_EQ(title, "Read");
    EXPECT_EQ(message, "Reading Flash");
    EXPECT_EQ(half, "50% completed");
    EXPECT_EQ(halfBar, 50);
    EXPECT_EQ(full, "100% completed");
    EXPECT_FALSE(window.isVisible());
}

TEST_F(ProgressWindowTest, NoTotalShowsNoPercentage) {
    QString percent = "unset";
    window.run([&](base::ProgressSink& sink) {
        sink.setup("Erase", "Erasing device", 0);
        sink.reportProgress(5);
        percent = textOf(1052);
        return base::EndCode::Done;
    });
    EXPECT_EQ(percent, "");
    EXPECT_EQ(item<QProgressBar>(1050)->value(), 0);
}

TEST_F(ProgressWindowTest, BodyRunsOnAnAboveNormalWorkerThread) {
    bool onWorker = false;
    QThread::Priority priority = QThread::InheritPriority;
    window.run([&](base::ProgressSink&) {
        onWorker = QThread::currentThread() != qApp->thread();
        priority = QThread::currentThread()->priority();
        return base::EndCode::Done;
    });
    EXPECT_TRUE(onWorker);
    EXPECT_EQ(priority, QThread::HighPriority);
}

TEST_F(ProgressWindowTest, CancelWaitsForTheBodyWhoseEndCodeStands) {
    whenShown([this] { item<QPushButton>(2)->click(); });
    bool shownAfterCancel = false;
    const base::EndCode end = window.run([&](base::ProgressSink& sink) -> base::EndCode {
        if (!waitFor([&] { return sink.cancelRequested(); }))
            return base::EndCode::LinkFailure;
        shownAfterCancel =
            widgets::runOnWindowThread(&window, [this] { return window.isVisible(); });
        return base::EndCode::PollingFailure;
    });
    EXPECT_EQ(end, base::EndCode::PollingFailure);
    EXPECT_TRUE(window.cancelRequested());
    EXPECT_TRUE(shownAfterCancel);
}

TEST_F(ProgressWindowTest, CancelAfterTheBodyReturnedEndsWithThree) {
    whenShown([this] {
        // The close timer cannot tick while this handler holds the window thread.
        waitFor([this] { return window.workerFinished(); });
        item<QPushButton>(2)->click();
    });
    const base::EndCode end = window.run([](base::ProgressSink&) { return base::EndCode::Done; });
    EXPECT_EQ(end, base::EndCode::CancelAfterFinish);
    EXPECT_TRUE(window.cancelRequested());
}

TEST_F(ProgressWindowTest, EscapeCancelsAndEnterDoesNothing) {
    bool cancelAfterEnter = true;
    const base::EndCode end = window.run([&](base::ProgressSink& sink) {
        cancelAfterEnter = widgets::runOnWindowThread(&window, [this] {
            QTest::keyClick(&window, Qt::Key_Return);
            QTest::keyClick(item<QPushButton>(2), Qt::Key_Return);
            QTest::keyClick(item<QPushButton>(2), Qt::Key_Enter);
            return window.cancelRequested() || !window.isVisible();
        });
        widgets::runOnWindowThread(&window, [this] { QTest::keyClick(&window, Qt::Key_Escape); });
        return sink.cancelRequested() ? base::EndCode::Cancelled : base::EndCode::Done;
    });
    EXPECT_FALSE(cancelAfterEnter);
    EXPECT_EQ(end, base::EndCode::Cancelled);
}

TEST_F(ProgressWindowTest, WorkThatCannotBeStoppedHidesCancelAndIgnoresEscape) {
    bool buttonShown = true;
    const auto update = [&](base::ProgressSink& sink) {
        sink.setup("Update", "Updating firmware version", 3072);
        buttonShown = widgets::runOnWindowThread(&window, [this] {
            QTest::keyClick(&window, Qt::Key_Escape);
            return item(2)->isVisibleTo(&window);
        });
        return sink.cancelRequested() ? base::EndCode::Cancelled : base::EndCode::Done;
    };
    EXPECT_EQ(window.run(update, base::CancelOffer::Withheld), base::EndCode::Done);
    EXPECT_FALSE(buttonShown);
    EXPECT_FALSE(window.cancelRequested());
    // The next piece of work may be cancelled again.
    EXPECT_EQ(window.run(update), base::EndCode::Cancelled);
    EXPECT_TRUE(buttonShown);
}

TEST_F(ProgressWindowTest, AWindowRunsAgainFromAClearState) {
    whenShown([this] { item<QPushButton>(2)->click(); });
    window.run([](base::ProgressSink& sink) {
        sink.setup("Read", "Reading Flash", 10);
        sink.reportProgress(10);
        waitFor([&] { return sink.cancelRequested(); });
        return base::EndCode::Cancelled;
    });
    ASSERT_TRUE(window.cancelRequested());

    QString percent = "unset";
    const base::EndCode end = window.run([&](base::ProgressSink& sink) {
        percent = textOf(1052);
        return sink.cancelRequested() ? base::EndCode::Cancelled : base::EndCode::Done;
    });
    EXPECT_EQ(end, base::EndCode::Done);
    EXPECT_FALSE(window.cancelRequested());
    EXPECT_EQ(percent, "");
}

TEST_F(ProgressWindowTest, ControlsSitAtTheirTemplatePositions) {
    const widgets::DialogUnits units(window.font());
    EXPECT_EQ(window.size(), units.size(202, 116));
    EXPECT_EQ(item(1051)->geometry(), units.rect(8, 5, 185, 10));
    EXPECT_EQ(item(1136)->geometry(), units.rect(8, 20, 185, 30));
    EXPECT_EQ(item(1050)->geometry(), units.rect(8, 60, 185, 15));
    // The time left and the rate moved in beside the percentage and Cancel.
    EXPECT_EQ(item(1052)->geometry(), units.rect(130, 80, 60, 10));
    EXPECT_EQ(item(1053)->geometry(), units.rect(8, 80, 120, 10));
    EXPECT_EQ(item(1054)->geometry(), units.rect(8, 98, 112, 10));
    EXPECT_EQ(item(2)->geometry(), units.rect(123, 95, 70, 15));
    EXPECT_NE(qobject_cast<widgets::ChipAnimation*>(item(1136)), nullptr);
    EXPECT_EQ(item<QPushButton>(2)->text(), "Cancel");
    EXPECT_EQ(window.windowTitle(), "");
}

TEST_F(ProgressWindowTest, CancelIsCaptionedInTheLanguageOfTheTimeItIsShown) {
    // The window is made before the profile's language is known.
    QString shownCaption;
    text::setLanguage(text::Language::Russian);
    window.run([&](base::ProgressSink&) {
        shownCaption =
            widgets::runOnWindowThread(&window, [this] { return item<QPushButton>(2)->text(); });
        return base::EndCode::Done;
    });
    EXPECT_EQ(shownCaption, QString::fromUtf8("Отмена"));

    text::setLanguage(text::Language::English);
    window.run([&](base::ProgressSink&) {
        shownCaption =
            widgets::runOnWindowThread(&window, [this] { return item<QPushButton>(2)->text(); });
        return base::EndCode::Done;
    });
    EXPECT_EQ(shownCaption, "Cancel");
}

TEST_F(ProgressWindowTest, TimeLeftAndRateAppearAfterTwoSecondsAndGoWithTheNextRun) {
    base::VirtualClock clock;
    widgets::ProgressWindow timed(nullptr, clock);
    const auto textIn = [&timed](int id) {
        return widgets::runOnWindowThread(
            &timed, [&timed, id] { return control<QLabel>(timed, id)->text(); });
    };
    QString early;
    QString later;
    QString laterRate;
    timed.run([&](base::ProgressSink& sink) {
        sink.setup("Program", "Programming Flash", 64, 128);  // an ATmega8's 8 KB
        clock.advanceUs(1'900'000);
        sink.reportProgress(8);
        early = textIn(1053);
        clock.advanceUs(100'000);
        sink.reportProgress(16);  // a quarter in 2 s
        later = textIn(1053);
        laterRate = textIn(1054);
        return base::EndCode::Done;
    });
    EXPECT_EQ(early, "");
    EXPECT_EQ(later, "Time left: 0:06");
    EXPECT_EQ(laterRate, "1024 bytes/s");

    text::setLanguage(text::Language::Russian);
    timed.run([&](base::ProgressSink& sink) {
        sink.setup("Program", "Programming Flash", 64, 128);
        early = textIn(1053);
        clock.advanceUs(4'000'000);
        sink.reportProgress(32);
        later = textIn(1053);
        return base::EndCode::Done;
    });
    EXPECT_EQ(early, "");
    EXPECT_EQ(later, QString::fromUtf8("Осталось: 0:04"));
}

TEST(DialogUnits, EdgesAreConvertedSoThatNeighboursStayFlush) {
    QFont font;
    font.setPixelSize(13);
    const widgets::DialogUnits units(font);
    ASSERT_GT(units.baseWidth(), 0);
    EXPECT_EQ(units.toPixelsX(4), units.baseWidth());
    EXPECT_EQ(units.toPixelsY(8), units.baseHeight());
    const QRect left = units.rect(8, 60, 115, 15);
    const QRect right = units.rect(123, 60, 70, 15);
    EXPECT_EQ(left.right() + 1, right.left());
    EXPECT_EQ(right.right() + 1, units.toPixelsX(193));
}

TEST(ChipAnimation, EveryFrameMovesThePictureAndTheLoopCloses) {
    widgets::ChipAnimation animation;
    animation.resize(280, 50);
    const QImage first = animation.grab().toImage();
    animation.advance();
    EXPECT_NE(animation.grab().toImage(), first);
    for (int i = 1; i < widgets::ChipAnimation::kLoopFrames; ++i)
        animation.advance();
    EXPECT_EQ(animation.frame(), 0);
    EXPECT_EQ(animation.grab().toImage(), first);
}
