#include "link/LinkMessages.h"

#include "text/UiText.h"

namespace zavuv::link {

void LinkMessages::status(const std::string& text) {
    user_.setStatus(text);
}

void LinkMessages::status(text::Msg key) {
    user_.setStatus(text::GetUiText(key));
}

void LinkMessages::box(const std::string& text) {
    user_.showMessage(text, base::MessageIcon::Information,
                      text::GetUiText(text::Msg::ProgrammerCaption));
}

void LinkMessages::box(text::Msg key) {
    box(std::string(text::GetUiText(key)));
}

void LinkMessages::connectionError() {
    box(text::Msg::ConnectionError);
    status(text::Msg::ConnectionError);
}

void LinkMessages::cannotOpenPort(const std::optional<PortPermissionDenied>& denied) {
    status(text::Msg::ConnectionError);
    if (denied)
        box(text::formatUiText(text::Msg::PortPermissionDenied, denied->device, denied->group,
                               denied->group));
    else
        box(text::Msg::CannotOpenPort);
}

}  // namespace zavuv::link
