#pragma once
// Acting on a modal window that the code under test opens and runs itself:
// the action waits on a timer until the window is the active modal one.

#include <functional>

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace zavuv::testing {

// Runs `act` on the first modal window of type T to show up, once. Create the
// guard before the call that runs the window; it stops looking when it goes.
template <typename T> class OnNextModal {
public:
    explicit OnNextModal(std::function<void(T&)> act) : act_(std::move(act)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* window = qobject_cast<T*>(QApplication::activeModalWidget())) {
                timer_.stop();
                ran_ = true;
                act_(*window);
            }
        });
        timer_.start(5);
    }

    bool ran() const { return ran_; }

private:
    std::function<void(T&)> act_;
    QTimer timer_;
    bool ran_ = false;
};

}  // namespace zavuv::testing
