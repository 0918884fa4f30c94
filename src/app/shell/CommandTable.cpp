#include "app/shell/CommandTable.h"

namespace zavuv::app::shell {

void CommandTable::add(int id, Handler handler, Notification notification) {
    handlers_[{id, notification}] = std::move(handler);
}

bool CommandTable::run(int id, Notification notification) const {
    const auto found = handlers_.find({id, notification});
    if (found == handlers_.end())
        return false;
    found->second();
    return true;
}

bool CommandTable::routes(int id, Notification notification) const {
    return handlers_.contains({id, notification});
}

std::vector<int> CommandTable::ids(Notification notification) const {
    std::vector<int> all;
    for (const auto& [key, handler] : handlers_)
        if (key.second == notification)
            all.push_back(key.first);
    return all;
}

}  // namespace zavuv::app::shell
