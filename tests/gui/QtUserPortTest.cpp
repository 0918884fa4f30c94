#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include "GuiTesting.h"
#include "NextModal.h"
#include "app/shell/QtUserPort.h"
#include "app/widgets/MessageBox.h"

using namespace zavuv;
using namespace zavuv::app;
using zavuv::testing::processEventsUntil;

namespace {

// Stands in for the person: records every box and answers with a set button.
struct ScriptedBoxes {
    widgets::MessageBoxShower shower() {
        return [this](QWidget* owner, const widgets::MessageBoxRequest& request) {
            owners.push_back(owner);
            requests.push_back(request);
            onWindowThread.push_back(QThread::currentThread() == qApp->thread());
            return answer;
        };
    }

    QMessageBox::StandardButton answer = QMessageBox::Ok;
    std::vector<QWidget*> owners;
    std::vector<widgets::MessageBoxRequest> requests;
    std::vector<bool> onWindowThread;
};

}  // namespace

TEST(QtUserPort, MessageBoxCarriesTextCaptionIconAndOwner) {
    QWidget window;
    ScriptedBoxes boxes;
    shell::QtUserPort port(&window, boxes.shower());

    port.showMessage("Device erased", base::MessageIcon::Information, "Programmer ZAVUV");

    ASSERT_EQ(boxes.requests.size(), 1u);
    const widgets::MessageBoxRequest& box = boxes.requests[0];
    EXPECT_EQ(box.text, "Device erased");
    EXPECT_EQ(box.caption, "Programmer ZAVUV");
    EXPECT_EQ(box.icon, base::MessageIcon::Information);
    EXPECT_EQ(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(boxes.owners[0], &window);
}

TEST(QtUserPort, QuestionsOfferTheirButtonsWithTheDefaultAndMapTheAnswer) {
    ScriptedBoxes boxes;
    shell::QtUserPort port(nullptr, boxes.shower());

    boxes.answer = QMessageBox::Yes;
    EXPECT_EQ(port.ask("Continue?", base::QuestionButtons::YesNo, base::MessageIcon::Warning,
                       base::Answer::No, "Warning"),
              base::Answer::Yes);
    boxes.answer = QMessageBox::Cancel;
    EXPECT_EQ(port.ask("Save?", base::QuestionButtons::OkCancel, base::MessageIcon::Question,
                       base::Answer::Ok, "Programmer ZAVUV"),
              base::Answer::Cancel);

    ASSERT_EQ(boxes.requests.size(), 2u);
    EXPECT_EQ(boxes.requests[0].buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(boxes.requests[0].defaultButton, QMessageBox::No);
    EXPECT_EQ(boxes.requests[0].icon, base::MessageIcon::Warning);
    EXPECT_EQ(boxes.requests[1].buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(boxes.requests[1].defaultButton, QMessageBox::Ok);
}

TEST(QtUserPort, ABoxClosedWithoutAChoiceIsTheNegativeAnswer) {
    ScriptedBoxes boxes;
    shell::QtUserPort port(nullptr, boxes.shower());
    boxes.answer = QMessageBox::NoButton;
    EXPECT_EQ(
        port.ask("?", base::QuestionButtons::YesNo, base::MessageIcon::None, base::Answer::Yes, ""),
        base::Answer::No);
    EXPECT_EQ(port.ask("?", base::QuestionButtons::OkCancel, base::MessageIcon::None,
                       base::Answer::Ok, ""),
              base::Answer::Cancel);
}

TEST(QtUserPort, StatusTextReachesTheSignalUnchanged) {
    shell::QtUserPort port(nullptr);
    QSignalSpy spy(&port, &shell::QtUserPort::statusChanged);
    port.setStatus("Программирование Flash");
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toString(), QString::fromUtf8("Программирование Flash"));
}

TEST(QtUserPort, BusyCursorIsNestedAndNeverGoesBelowZero) {
    {
        shell::QtUserPort port(nullptr);
        port.setBusy(true);
        port.setBusy(true);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        port.setBusy(false);
        EXPECT_NE(QApplication::overrideCursor(), nullptr);
        port.setBusy(false);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        port.setBusy(false);
        EXPECT_EQ(port.busyDepth(), 0);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);

        // A scope left open when the port goes takes its cursor with it.
        port.setBusy(true);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(QtUserPort, WorkerThreadCallsAreCarriedOutOnTheWindowThread) {
    ScriptedBoxes boxes;
    boxes.answer = QMessageBox::Yes;
    shell::QtUserPort port(nullptr, boxes.shower());
    QSignalSpy status(&port, &shell::QtUserPort::statusChanged);

    std::atomic<bool> done{false};
    base::Answer answer = base::Answer::No;
    int busyDuringWork = -1;
    std::thread worker([&] {
        {
            port.setStatus("Reading Flash");
            base::BusyScope busy(port);
            busyDuringWork = port.busyDepth();
            answer = port.ask("Continue?", base::QuestionButtons::YesNo,
                              base::MessageIcon::Question, base::Answer::No, "Programmer ZAVUV");
        }
        // Every call above waits for the window thread, which stops serving
        // them once it sees this.
        done = true;
    });
    const bool finished = processEventsUntil([&] { return done.load(); });
    worker.join();

    ASSERT_TRUE(finished);
    EXPECT_EQ(answer, base::Answer::Yes);
    EXPECT_EQ(busyDuringWork, 1);
    EXPECT_EQ(port.busyDepth(), 0);
    ASSERT_EQ(boxes.onWindowThread.size(), 1u);
    EXPECT_TRUE(boxes.onWindowThread[0]);
    ASSERT_EQ(status.count(), 1);
    EXPECT_EQ(status.at(0).at(0).toString(), "Reading Flash");
}

TEST(QtUserPort, RealBoxShowsTheQuestionAndReturnsTheClickedButton) {
    QWidget window;
    shell::QtUserPort port(&window);

    QString seenText;
    QString seenTitle;
    bool defaultWasNo = false;
    bool modal = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        closer.stop();
        seenText = box->text();
        seenTitle = box->windowTitle();
        defaultWasNo = box->defaultButton() == box->button(QMessageBox::No);
        modal = box->windowModality() == Qt::ApplicationModal;
        box->button(QMessageBox::Yes)->click();
    });
    closer.start(10);

    const base::Answer answer =
        port.ask("Chip is locked. Erase?", base::QuestionButtons::YesNo,
                 base::MessageIcon::Question, base::Answer::No, "Programmer ZAVUV");
    EXPECT_EQ(answer, base::Answer::Yes);
    EXPECT_EQ(seenText, "Chip is locked. Erase?");
    EXPECT_EQ(seenTitle, "Programmer ZAVUV");
    EXPECT_TRUE(defaultWasNo);
    EXPECT_TRUE(modal);
}

TEST(MessageBoxWidth, AShortTextStillLeavesRoomForTheWholeCaption) {
    const QString caption = QString::fromUtf8("Программатор ZAVUV");
    int width = 0;
    zavuv::testing::OnNextModal<QMessageBox> close([&width](QMessageBox& box) {
        width = box.width();
        box.done(QMessageBox::Ok);
    });
    zavuv::app::widgets::execMessageBox(
        nullptr, {"OK", caption, zavuv::base::MessageIcon::None, QMessageBox::Ok, QMessageBox::Ok});
    ASSERT_TRUE(close.ran());
    EXPECT_GE(width,
              QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(caption) +
                  100);
}
