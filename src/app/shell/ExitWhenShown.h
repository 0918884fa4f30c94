#pragma once
// For timing the start-up: with the environment variable ZAVUV_EXIT_WHEN_SHOWN
// set to 1, the program ends as soon as its main window has been painted once,
// as a person would first see it. Before it ends it writes the moment that
// paint was done to standard error, as "shown at: N ns" on the monotonic
// clock (CLOCK_MONOTONIC), so that a caller who read the same clock before
// starting the program has the start-up without the exit.

#include <QWidget>

namespace zavuv::app::shell {

inline constexpr const char* kExitWhenShownVariable = "ZAVUV_EXIT_WHEN_SHOWN";
inline constexpr const char* kShownAtPrefix = "shown at: ";

// Ends the event loops after the window's first paint, when the environment
// asks for it; otherwise does nothing.
void exitWhenShownIfAsked(QWidget& window);

}  // namespace zavuv::app::shell
