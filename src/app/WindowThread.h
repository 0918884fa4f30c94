#pragma once
// Worker threads never touch a widget: they hand the call to the thread that
// owns the window and wait for it to be done, so that the worker sees the
// window in the state it asked for as soon as the call returns.

#include <type_traits>
#include <utility>

#include <QMetaObject>
#include <QObject>
#include <QThread>

namespace zavuv::app {

// Runs `call` on the thread of `context` and returns its result. Called on that
// thread itself, it runs at once. The owning thread must be running an event
// loop (a modal dialog's counts), or the caller waits for ever.
template <typename Call> auto runOnWindowThread(QObject* context, Call&& call) {
    using Result = std::invoke_result_t<Call&>;
    if (QThread::currentThread() == context->thread())
        return call();
    if constexpr (std::is_void_v<Result>) {
        QMetaObject::invokeMethod(context, std::forward<Call>(call), Qt::BlockingQueuedConnection);
    } else {
        Result result{};
        QMetaObject::invokeMethod(context, std::forward<Call>(call), Qt::BlockingQueuedConnection,
                                  &result);
        return result;
    }
}

}  // namespace zavuv::app
