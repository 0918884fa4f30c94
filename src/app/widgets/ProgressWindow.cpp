#include "app/widgets/ProgressWindow.h"

#include <memory>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>

#include "app/widgets/ChipAnimation.h"
#include "app/widgets/DialogControls.h"
#include "app/widgets/DialogUnits.h"
#include "app/widgets/Translation.h"
#include "app/widgets/WindowThread.h"
#include "workspace/ProgressTracker.h"

namespace zavuv::app::widgets {

namespace {

constexpr int kCloseTickMs = 150;
constexpr int kTimeLeftId = 1053;
constexpr int kRateId = 1054;

}  // namespace

ProgressWindow::ProgressWindow(QWidget* parent) : QDialog(parent) {
    const DialogUnits units(font());
    setFixedSize(units.size(202, 116));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    message_ = placeControl(new QLabel(this), 1051, units.rect(8, 5, 185, 10));
    message_->setAlignment(Qt::AlignCenter);
    animation_ = placeControl(new ChipAnimation(this), 1136, units.rect(8, 20, 185, 30));
    bar_ = placeControl(new QProgressBar(this), 1050, units.rect(8, 60, 185, 15));
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    // The time left shares the percentage's line; the rate stands beside Cancel.
    timeLeft_ = placeControl(new QLabel(this), kTimeLeftId, units.rect(8, 80, 120, 10));
    percent_ = placeControl(new QLabel(this), 1052, units.rect(130, 80, 60, 10));
    percent_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    rate_ = placeControl(new QLabel(this), kRateId, units.rect(8, 98, 112, 10));
    cancelButton_ = placeControl(new QPushButton("Cancel", this), 2, units.rect(123, 95, 70, 15));
    // Enter must not reach the button through the dialog's default-button rule.
    cancelButton_->setAutoDefault(false);
    connect(cancelButton_, &QPushButton::clicked, this, &ProgressWindow::reject);

    TranslateWindow(this, kDialogId);

    closeTimer_.setInterval(kCloseTickMs);
    connect(&closeTimer_, &QTimer::timeout, this, &ProgressWindow::closeWhenFinished);
}

ProgressWindow::ProgressWindow(QWidget* parent, const base::Clock& clock) : ProgressWindow(parent) {
    clock_ = &clock;
}

ProgressWindow::~ProgressWindow() = default;

base::EndCode ProgressWindow::runBody(const base::WorkerBody& body, base::CancelOffer cancel) {
    cancellable_ = cancel == base::CancelOffer::Offered;
    cancelButton_->setVisible(cancellable_);
    finished_.store(false);
    cancel_.store(stop_.load());
    result_.store(base::EndCode::Done);
    bar_->setValue(0);
    percent_->clear();
    timeLeft_->clear();
    rate_->clear();

    std::unique_ptr<QThread> worker(QThread::create([this, &body] {
        workspace::ProgressTracker tracker(*this, cancel_, *clock_);
        result_.store(body(tracker));
        finished_.store(true);
    }));
    worker->start(QThread::HighPriority);
    if (!worker->isRunning() && !worker->isFinished())
        return base::EndCode::NotStarted;

    closeTimer_.start();
    // Only the timer ends the loop for good: should anything else hide the
    // window, it comes back, since the worker may still be waiting on it.
    do
        exec();
    while (!finished_.load());
    closeTimer_.stop();
    // The body has returned; what is left of the thread is its exit.
    worker->wait();
    return result_.load();
}

void ProgressWindow::showSetup(const std::string& title, const std::string& text) {
    runOnWindowThread(
        this, [this, title = QString::fromStdString(title), text = QString::fromStdString(text)] {
            setWindowTitle(title);
            message_->setText(text);
            bar_->setValue(0);
        });
}

void ProgressWindow::showPercent(int percent, const std::string& text) {
    runOnWindowThread(this, [this, percent, text = QString::fromStdString(text)] {
        if (percent_->text() != text)
            percent_->setText(text);
        bar_->setValue(percent);
    });
}

void ProgressWindow::showEstimate(const std::string& timeLeft, const std::string& rate) {
    runOnWindowThread(this, [this, timeLeft = QString::fromStdString(timeLeft),
                             rate = QString::fromStdString(rate)] {
        timeLeft_->setText(timeLeft);
        rate_->setText(rate);
    });
}

// The language may have changed since the last time.
void ProgressWindow::showEvent(QShowEvent* event) {
    TranslateWindow(this, kDialogId);
    QDialog::showEvent(event);
}

void ProgressWindow::reject() {
    if (!cancellable_)
        return;
    result_.store(base::EndCode::CancelAfterFinish);
    cancel_.store(true);
}

void ProgressWindow::closeWhenFinished() {
    if (finished_.load())
        done(QDialog::Accepted);
}

}  // namespace zavuv::app::widgets
