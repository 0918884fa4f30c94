#pragma once
// Long work (erase, program, read, verify, blank check, firmware upload) runs as
// a worker body that reports its progress and polls for Cancel. A runner runs the
// body — behind the GUI's progress window, a terminal bar, or inline in tests —
// and returns the body's end code.

#include <functional>
#include <string>

namespace zavuv::base {

// End codes of a worker body and of its runner.
enum class EndCode {
    Done,
    Cancelled,
    LinkFailure,
    PollingFailure,     // the board's data polling gave up on a write
    NotBlank,           // a blank check found a programmed byte
    NotStarted,         // the runner could not start the worker
    CancelAfterFinish,  // Cancel came after the worker had finished
};

// What a worker body sees.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    // `total` is the amount of work that stands for 100 %; 0 shows no percentage.
    // A unit of work moves `unitBytes` bytes (a page, a block), for the rate.
    virtual void setup(const std::string& title, const std::string& text, int total,
                       int unitBytes = 1) = 0;
    virtual void reportProgress(int done) = 0;
    virtual bool cancelRequested() const = 0;
};

using WorkerBody = std::function<EndCode(ProgressSink&)>;

// How a runner shows progress to the person.
class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;
    virtual void showSetup(const std::string& title, const std::string& text) = 0;
    // The bar moves to `percent`; `text` is the percentage line ("45% completed").
    virtual void showPercent(int percent, const std::string& text) = 0;
    // The time left and the rate ("Time left: 1:05", "1234 bytes/s"), once
    // the work has run long enough to tell.
    virtual void showEstimate(const std::string& timeLeft, const std::string& rate) = 0;
};

// For runs that show nothing.
class SilentProgressDisplay final : public ProgressDisplay {
public:
    void showSetup(const std::string&, const std::string&) override {}
    void showPercent(int, const std::string&) override {}
    void showEstimate(const std::string&, const std::string&) override {}
};

// Work that cannot be stopped part-way (the firmware upload) withholds Cancel.
enum class CancelOffer { Offered, Withheld };

class ProgressRunner {
public:
    virtual ~ProgressRunner() = default;
    // Runs the body to its end and returns its end code.
    EndCode run(const WorkerBody& body, CancelOffer cancel = CancelOffer::Offered) {
        return runBody(body, cancel);
    }
    // Whether Cancel was asked for during the last run.
    virtual bool cancelRequested() const = 0;
    // Whether everything is to stop (a signal, the window closing): the body
    // that runs and every one after it are cancelled.
    virtual bool stopRequested() const { return false; }
    // Asks for that stop. Safe from a signal handler (atomic stores only).
    virtual void stop() {}

protected:
    virtual EndCode runBody(const WorkerBody& body, CancelOffer cancel) = 0;
};

}  // namespace zavuv::base
