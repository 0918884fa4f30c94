#pragma once
// For runs without a person (scripts, tests of the program itself): with the
// environment variable ZAVUV_ANSWER_BOXES set to 1, no message box is shown;
// each is answered with its default button (OK when it has none) and its text
// goes to standard error as "message: TEXT".

#include "app/widgets/MessageBox.h"

namespace zavuv::app::shell {

inline constexpr const char* kAnswerBoxesVariable = "ZAVUV_ANSWER_BOXES";

// Whether the environment asks for unattended answers: then no dialog but a
// message box is shown at all.
bool boxesAnsweredFromEnvironment();

// The real boxes, or the unattended answers when the environment asks for them.
widgets::MessageBoxShower messageBoxShowerFromEnvironment();

}  // namespace zavuv::app::shell
