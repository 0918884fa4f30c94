#include "app/UnattendedBoxes.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace zavuv::app {

namespace {

QMessageBox::StandardButton answerUnattended(QWidget*, const MessageBoxRequest& request) {
    std::fprintf(stderr, "message: %s\n", request.text.toUtf8().constData());
    std::fflush(stderr);
    return request.defaultButton != QMessageBox::NoButton ? request.defaultButton : QMessageBox::Ok;
}

}  // namespace

MessageBoxShower messageBoxShowerFromEnvironment() {
    const char* value = std::getenv(kAnswerBoxesVariable);
    if (value != nullptr && std::string_view(value) == "1")
        return answerUnattended;
    return execMessageBox;
}

}  // namespace zavuv::app
