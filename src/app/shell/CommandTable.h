#pragma once
// The main window's one routing table: a command id and the kind of
// notification lead to one handler, so a menu item and a button with the same
// id run the same code.

#include <functional>
#include <map>
#include <utility>
#include <vector>

namespace zavuv::app::shell {

enum class Notification {
    Command,           // a menu item, a button or a check box
    SelectionChanged,  // a combo box's selection
};

class CommandTable {
public:
    using Handler = std::function<void()>;

    // A later handler for the same id and notification replaces the earlier.
    void add(int id, Handler handler, Notification notification = Notification::Command);
    // False when nothing is routed for the id.
    bool run(int id, Notification notification = Notification::Command) const;
    bool routes(int id, Notification notification = Notification::Command) const;
    std::vector<int> ids(Notification notification = Notification::Command) const;

private:
    std::map<std::pair<int, Notification>, Handler> handlers_;
};

}  // namespace zavuv::app::shell
