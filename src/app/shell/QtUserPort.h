#pragma once
// The user port of the windows: message boxes over the main window, the status
// line through a signal, the busy cursor. Worker threads may call every
// operation; the call is carried out on the window thread while the worker
// waits, so a question's answer is there when `ask` returns.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "app/widgets/MessageBox.h"
#include "base/UserPort.h"

namespace zavuv::app::shell {

class QtUserPort final : public QObject, public base::UserPort {
    Q_OBJECT

public:
    // Create it on the window thread. `owner` is the window the boxes belong
    // to; it may be null or go away before the port.
    explicit QtUserPort(QWidget* owner, widgets::MessageBoxShower shower = widgets::execMessageBox);
    ~QtUserPort() override;

    void setStatus(const std::string& text) override;
    void showMessage(const std::string& text, base::MessageIcon icon,
                     const std::string& caption) override;
    base::Answer ask(const std::string& text, base::QuestionButtons buttons, base::MessageIcon icon,
                     base::Answer defaultAnswer, const std::string& caption) override;
    void setBusy(bool busy) override;

    int busyDepth() const { return busyDepth_; }

signals:
    // Emitted on the window thread.
    void statusChanged(const QString& text);

private:
    QMessageBox::StandardButton show(const widgets::MessageBoxRequest& request);

    QPointer<QWidget> owner_;
    widgets::MessageBoxShower shower_;
    int busyDepth_ = 0;
};

}  // namespace zavuv::app::shell
