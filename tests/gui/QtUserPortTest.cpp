#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include "GuiTesting.h"
#include "app/QtUserPort.h"

using namespace zavuv;
using namespace zavuv::app;
using zavuv::testing::processEventsUntil;

namespace {

// Stands in for the person: records every box and answers with a set button.
struct ScriptedBoxes {
    MessageBoxShower shower() {
        return [this](QWidget* owner, const MessageBoxRequest& request) {
            owners.push_back(owner);
            requests.push_back(request);
            onWindowThread.push_back(QThread::currentThread() == qApp->thread());
            return answer;
        };
    }

    QMessageBox::StandardButton answer = QMessageBox::Ok;
    std::vector<QWidget*> owners;
    std::vector<MessageBoxRequest> requests;
    std::vector<bool> onWindowThread;
};

}  // namespace

TEST(QtUserPort, MessageBoxCarriesTextCaptionIconAndOwner) {
    QWidget window;
    ScriptedBoxes boxes;
    QtUserPort port(&window, boxes.shower());

    port.showMessage("Device erased", MessageIcon::Information, "Programmer ZAVUV");

    ASSERT_EQ(boxes.requests.size(), 1u);
    const MessageBoxRequest& box = boxes.requests[0];
    EXPECT_EQ(box.text, "Device erased");
    EXPECT_EQ(box.caption, "Programmer ZAVUV");
    EXPECT_EQ(box.icon, MessageIcon::Information);
    EXPECT_EQ(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(boxes.owners[0], &window);
}

TEST(QtUserPort, QuestionsOfferTheirButtonsWithTheDefaultAndMapTheAnswer) {
    ScriptedBoxes boxes;
    QtUserPort port(nullptr, boxes.shower());

    boxes.answer = QMessageBox::Yes;
    EXPECT_EQ(
        port.ask("Continue?", QuestionButtons::YesNo, MessageIcon::Warning, Answer::No, "Warning"),
        Answer::Yes);
    boxes.answer = QMessageBox::Cancel;
    EXPECT_EQ(port.ask("Save?", QuestionButtons::OkCancel, MessageIcon::Question, Answer::Ok,
                       "Programmer ZAVUV"),
              Answer::Cancel);

    ASSERT_EQ(boxes.requests.size(), 2u);
    EXPECT_EQ(boxes.requests[0].buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(boxes.requests[0].defaultButton, QMessageBox::No);
    EXPECT_EQ(boxes.requests[0].icon, MessageIcon::Warning);
    EXPECT_EQ(boxes.requests[1].buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(boxes.requests[1].defaultButton, QMessageBox::Ok);
}

TEST(QtUserPort, ABoxClosedWithoutAChoiceIsTheNegativeAnswer) {
    ScriptedBoxes boxes;
    QtUserPort port(nullptr, boxes.shower());
    boxes.answer = QMessageBox::NoButton;
    EXPECT_EQ(port.ask("?", QuestionButtons::YesNo, MessageIcon::None, Answer::Yes, ""),
              Answer::No);
    EXPECT_EQ(port.ask("?", QuestionButtons::OkCancel, MessageIcon::None, Answer::Ok, ""),
              Answer::Cancel);
}

TEST(QtUserPort, StatusTextReachesTheSignalUnchanged) {
    QtUserPort port(nullptr);
    QSignalSpy spy(&port, &QtUserPort::statusChanged);
    port.setStatus("Программирование Flash");
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toString(), QString::fromUtf8("Программирование Flash"));
}

TEST(QtUserPort, BusyCursorIsNestedAndNeverGoesBelowZero) {
    {
        QtUserPort port(nullptr);
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
    QtUserPort port(nullptr, boxes.shower());
    QSignalSpy status(&port, &QtUserPort::statusChanged);

    std::atomic<bool> done{false};
    Answer answer = Answer::No;
    int busyDuringWork = -1;
    std::thread worker([&] {
        {
            port.setStatus("Reading Flash");
            BusyScope busy(port);
            busyDuringWork = port.busyDepth();
            answer = port.ask("Continue?", QuestionButtons::YesNo, MessageIcon::Question,
                              Answer::No, "Programmer ZAVUV");
        }
        // Every call above waits for the window thread, which stops serving
        // them once it sees this.
        done = true;
    });
    const bool finished = processEventsUntil([&] { return done.load(); });
    worker.join();

    ASSERT_TRUE(finished);
    EXPECT_EQ(answer, Answer::Yes);
    EXPECT_EQ(busyDuringWork, 1);
    EXPECT_EQ(port.busyDepth(), 0);
    ASSERT_EQ(boxes.onWindowThread.size(), 1u);
    EXPECT_TRUE(boxes.onWindowThread[0]);
    ASSERT_EQ(status.count(), 1);
    EXPECT_EQ(status.at(0).at(0).toString(), "Reading Flash");
}

TEST(QtUserPort, RealBoxShowsTheQuestionAndReturnsTheClickedButton) {
    QWidget window;
    QtUserPort port(&window);

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

    const Answer answer = port.ask("Chip is locked. Erase?", QuestionButtons::YesNo,
                                   MessageIcon::Question, Answer::No, "Programmer ZAVUV");
    EXPECT_EQ(answer, Answer::Yes);
    EXPECT_EQ(seenText, "Chip is locked. Erase?");
    EXPECT_EQ(seenTitle, "Programmer ZAVUV");
    EXPECT_TRUE(defaultWasNo);
    EXPECT_TRUE(modal);
}
