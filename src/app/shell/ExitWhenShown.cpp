#include "app/shell/ExitWhenShown.h"

#include <chrono>
#include <cstdlib>
#include <string_view>

#include <fmt/core.h>

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

namespace zavuv::app::shell {

namespace {

class ExitAfterFirstPaint final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Queued, so that this paint (the children's included) is finished
            // first. Ends the dialog's own loop too, and the program then
            // closes as it always does.
            QTimer::singleShot(0, QCoreApplication::instance(), [] {
                // steady_clock is CLOCK_MONOTONIC, the clock a timing script reads.
                const auto now = std::chrono::steady_clock::now().time_since_epoch();
                fmt::print(stderr, "{}{} ns\n", kShownAtPrefix,
                           std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
                QCoreApplication::exit(0);
            });
        }
        return false;
    }
};

}  // namespace

void exitWhenShownIfAsked(QWidget& window) {
    const char* value = std::getenv(kExitWhenShownVariable);
    if (value == nullptr || std::string_view(value) != "1")
        return;
    window.installEventFilter(new ExitAfterFirstPaint(&window));
}

}  // namespace zavuv::app::shell
