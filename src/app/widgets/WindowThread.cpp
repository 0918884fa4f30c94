#include "app/widgets/WindowThread.h"

#include <QCoreApplication>

#if defined(__SANITIZE_THREAD__)
#define ZAVUV_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define ZAVUV_THREAD_SANITIZER 1
#endif
#endif
#ifdef ZAVUV_THREAD_SANITIZER
#include <sanitizer/tsan_interface.h>
#endif

namespace zavuv::app::widgets::detail {

namespace {

// The hand-over through Qt's event queue, told to ThreadSanitizer: everything
// a worker wrote before a release happens before everything the window thread
// reads after the next acquire. One address for every call, never freed: the
// receiver must acquire before it reads even the event's type, and an event's
// own address is reused by Qt's later events.
#ifdef ZAVUV_THREAD_SANITIZER
char gCallOrder = 0;
#endif

void release() {
#ifdef ZAVUV_THREAD_SANITIZER
    __tsan_release(&gCallOrder);
#endif
}

void acquire() {
#ifdef ZAVUV_THREAD_SANITIZER
    __tsan_acquire(&gCallOrder);
#endif
}

// Receives the calls on the window thread. It holds no state, so one serves
// every window: they all live on the application's thread.
class CallReceiver : public QObject {
public:
    bool event(QEvent* event) override {
        acquire();
        if (event->type() != WindowThreadCall::eventType())
            return QObject::event(event);
        static_cast<WindowThreadCall*>(event)->run();
        return true;
    }
};

QObject* receiverOn(QThread* thread) {
    static CallReceiver* const receiver = [thread] {
        auto* made = new CallReceiver;
        made->moveToThread(thread);
        return made;
    }();
    Q_ASSERT(receiver->thread() == thread);
    return receiver;
}

}  // namespace

void CallDone::signal() {
    const std::lock_guard lock(mutex_);
    done_ = true;
    // Notified under the lock: the waiter cannot wake, return and destroy this
    // object before the notification is complete.
    changed_.notify_one();
}

void CallDone::wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return done_; });
}

WindowThreadCall::WindowThreadCall(QObject* context, std::function<void()> body, CallDone* done)
    : QEvent(eventType()), context_(context), body_(std::move(body)), done_(done) {}

QEvent::Type WindowThreadCall::eventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void WindowThreadCall::run() {
    if (context_)
        body_();
    if (done_)
        done_->signal();
}

namespace {

void post(QObject* context, std::function<void()> body, CallDone* done) {
    QObject* receiver = receiverOn(context->thread());
    auto* call = new WindowThreadCall(context, std::move(body), done);
    release();
    // From here on the worker touches nothing of the call: Qt owns it and
    // deletes it on the window thread after run().
    QCoreApplication::postEvent(receiver, call);
}

}  // namespace

void postAndWait(QObject* context, std::function<void()> body) {
    CallDone done;
    post(context, std::move(body), &done);
    done.wait();
}

}  // namespace zavuv::app::widgets::detail

namespace zavuv::app::widgets {

void postToWindowThread(QObject* context, std::function<void()> body) {
    if (QThread::currentThread() == context->thread())
        body();
    else
        detail::post(context, std::move(body), nullptr);
}

}  // namespace zavuv::app::widgets
