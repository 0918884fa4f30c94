#pragma once
// Worker threads never touch a widget: they hand the call to the thread that
// owns the window and wait for it to be done, so that the worker sees the
// window in the state it asked for as soon as the call returns.
//
// Why this is race-free, also to ThreadSanitizer, which cannot see the lock
// inside Qt's event queue (Qt is not built with it): the worker builds the
// whole call (its closure and its event) before anything of it leaves the
// thread, releases the event, and only then posts it; the window thread
// acquires the event before it reads any of it; the call's end comes back
// through a standard mutex and condition variable, which ThreadSanitizer
// intercepts. No Qt template allocates anything of the call after the release.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <type_traits>
#include <utility>

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QThread>

namespace zavuv::app::widgets {

namespace detail {

// The end of one call, on the waiting worker's stack.
class CallDone {
public:
    void signal();
    void wait();

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool done_ = false;
};

// One call for the window thread, complete before it is posted.
class WindowThreadCall : public QEvent {
public:
    // `done`: the waiting worker's end of the call; nullptr when nobody waits.
    WindowThreadCall(QObject* context, std::function<void()> body, CallDone* done);
    static QEvent::Type eventType();
    // On the window thread: takes the call over, runs it unless its context
    // is gone by now, and signals its end.
    void run();

private:
    QPointer<QObject> context_;
    std::function<void()> body_;
    CallDone* done_;
};

// Posts `body` to the thread of `context` and waits until it has run there.
void postAndWait(QObject* context, std::function<void()> body);

}  // namespace detail

// Runs `body` on the thread of `context` without waiting for it: at once when
// called on that thread, else later, and not at all once `context` is gone.
void postToWindowThread(QObject* context, std::function<void()> body);

namespace detail {}  // namespace detail

// Runs `call` on the thread of `context` and returns its result. Called on that
// thread itself, it runs at once. The owning thread must be running an event
// loop (a modal dialog's counts), or the caller waits for ever.
template <typename Call> auto runOnWindowThread(QObject* context, Call&& call) {
    using Result = std::invoke_result_t<Call&>;
    if (QThread::currentThread() == context->thread())
        return call();
    if constexpr (std::is_void_v<Result>) {
        detail::postAndWait(context, [&call] { call(); });
    } else {
        Result result{};
        detail::postAndWait(context, [&call, &result] { result = call(); });
        return result;
    }
}

}  // namespace zavuv::app::widgets
