#pragma once
// The modal progress window of long work: the worker body runs on its own
// thread while this window shows its title, message, a looping animation, the
// bar, the percentage, the time left and the rate, and offers Cancel. It is
// captioned in the current language each time it is shown. The window closes on the first
// tick of a 150 ms timer after the body has returned, and `run` hands back the
// body's end code.

#include <atomic>

#include <QDialog>
#include <QTimer>

#include "base/Progress.h"
#include "base/SystemClock.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace zavuv::app::widgets {

class ChipAnimation;

class ProgressWindow final : public QDialog,
                             public base::ProgressRunner,
                             public base::ProgressDisplay {
    Q_OBJECT

public:
    // The progress window's dialog id (template and captions).
    static constexpr int kDialogId = 129;

    explicit ProgressWindow(QWidget* parent);
    // The time left is measured on `clock` (tests: a virtual one).
    ProgressWindow(QWidget* parent, const base::Clock& clock);
    ~ProgressWindow() override;

    bool cancelRequested() const override { return cancel_.load(); }
    bool stopRequested() const override { return stop_.load(); }
    // Safe from a signal handler.
    void stop() override {
        stop_.store(true);
        cancel_.store(true);
    }

    // True once the body of the current run has returned.
    bool workerFinished() const { return finished_.load(); }

    // ProgressDisplay, called by the worker: each call returns once the window
    // shows it.
    void showSetup(const std::string& title, const std::string& text) override;
    void showPercent(int percent, const std::string& text) override;
    void showEstimate(const std::string& timeLeft, const std::string& rate) override;

public slots:
    // Cancel: button 2 and Escape. The window stays until the body returns.
    void reject() override;
    // Enter does nothing.
    void accept() override {}

protected:
    void showEvent(QShowEvent* event) override;
    // Shows the window modally until the body has returned; NotStarted when
    // no worker thread could be made. Withheld Cancel: no button, and Escape
    // does nothing.
    base::EndCode runBody(const base::WorkerBody& body, base::CancelOffer cancel) override;

private:
    void closeWhenFinished();

    QLabel* message_;
    ChipAnimation* animation_;
    QProgressBar* bar_;
    QLabel* percent_;
    QLabel* timeLeft_;
    QLabel* rate_;
    QPushButton* cancelButton_;
    QTimer closeTimer_;
    base::SystemClock systemClock_;
    const base::Clock* clock_ = &systemClock_;
    bool cancellable_ = true;

    std::atomic<bool> finished_{false};
    std::atomic<bool> cancel_{false};
    std::atomic<bool> stop_{false};
    std::atomic<base::EndCode> result_{base::EndCode::Done};
};

}  // namespace zavuv::app::widgets
