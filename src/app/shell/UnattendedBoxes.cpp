#include "app/shell/UnattendedBoxes.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace zavuv::app::shell {

namespace {

QMessageBox::StandardButton answerUnattended(QWidget*, const widgets::MessageBoxRequest& request) {
    std::fprintf(stderr, "message: %s\n", request.text.toUtf8().constData());
    std::fflush(stderr);
    return request.defaultButton != QMessageBox::NoButton ? request.defaultButton : QMessageBox::Ok;
}

}  // namespace

bool boxesAnsweredFromEnvironment() {
    const char* value = std::getenv(kAnswerBoxesVariable);
    return value != nullptr && std::string_view(value) == "1";
}

widgets::MessageBoxShower messageBoxShowerFromEnvironment() {
    return boxesAnsweredFromEnvironment() ? answerUnattended : widgets::execMessageBox;
}

}  // namespace zavuv::app::shell
