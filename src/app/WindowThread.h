#pragma once
// Worker threads never touch a widget: they hand the call to the thread that
// owns the window and wait for it to be done, so that the worker sees the
// window in the state it asked for as soon as the call returns.

#include <type_traits>
#include <utility>

#include <QMetaObject>
#include <QObject>
#include <QThread>

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

namespace zavuv::app {

namespace detail {
// The blocking call waits inside Qt, which ThreadSanitizer does not see (Qt is
// not built with it). These tell it what that wait guarantees: the caller's
// work before the call happens before the call, and the call before the
// caller goes on.
inline void handOver([[maybe_unused]] void* token) {
#ifdef ZAVUV_THREAD_SANITIZER
    __tsan_release(token);
#endif
}
inline void takeOver([[maybe_unused]] void* token) {
#ifdef ZAVUV_THREAD_SANITIZER
    __tsan_acquire(token);
#endif
}
}  // namespace detail

// Runs `call` on the thread of `context` and returns its result. Called on that
// thread itself, it runs at once. The owning thread must be running an event
// loop (a modal dialog's counts), or the caller waits for ever.
template <typename Call> auto runOnWindowThread(QObject* context, Call&& call) {
    using Result = std::invoke_result_t<Call&>;
    if (QThread::currentThread() == context->thread())
        return call();
    int token = 0;
    detail::handOver(&token);
    if constexpr (std::is_void_v<Result>) {
        QMetaObject::invokeMethod(
            context,
            [&] {
                detail::takeOver(&token);
                call();
                detail::handOver(&token);
            },
            Qt::BlockingQueuedConnection);
        detail::takeOver(&token);
    } else {
        Result result{};
        QMetaObject::invokeMethod(
            context,
            [&] {
                detail::takeOver(&token);
                result = call();
                detail::handOver(&token);
            },
            Qt::BlockingQueuedConnection);
        detail::takeOver(&token);
        return result;
    }
}

}  // namespace zavuv::app
