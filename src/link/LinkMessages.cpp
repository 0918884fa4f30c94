#include "link/LinkMessages.h"

#include "text/UiText.h"

namespace zavuv::link {

namespace {
constexpr int kCannotOpenPort = 1173;
}

void LinkMessages::status(const std::string& text) {
    user_.setStatus(text);
}

void LinkMessages::status(int key) {
    user_.setStatus(text::GetUiText(key));
}

void LinkMessages::box(const std::string& text) {
    user_.showMessage(text, base::MessageIcon::Information, text::GetUiText(msg::kCaption));
}

void LinkMessages::box(int key) {
    box(std::string(text::GetUiText(key)));
}

void LinkMessages::connectionError() {
    box(msg::kConnectionError);
    status(msg::kConnectionError);
}

void LinkMessages::cannotOpenPort() {
    status(msg::kConnectionError);
    box(kCannotOpenPort);
}

}  // namespace zavuv::link
