#include "app/shell/QtUserPort.h"

#include <QApplication>
#include <QCursor>

#include "app/widgets/WindowThread.h"

namespace zavuv::app::shell {

namespace {

QString toQString(const std::string& text) {
    return QString::fromStdString(text);
}

QMessageBox::StandardButton boxButton(base::Answer answer) {
    switch (answer) {
    case base::Answer::Yes:
        return QMessageBox::Yes;
    case base::Answer::No:
        return QMessageBox::No;
    case base::Answer::Ok:
        return QMessageBox::Ok;
    case base::Answer::Cancel:
        break;
    }
    return QMessageBox::Cancel;
}

// A box closed without a positive choice counts as the negative answer.
base::Answer answerOf(QMessageBox::StandardButton button, base::QuestionButtons buttons) {
    if (buttons == base::QuestionButtons::YesNo)
        return button == QMessageBox::Yes ? base::Answer::Yes : base::Answer::No;
    return button == QMessageBox::Ok ? base::Answer::Ok : base::Answer::Cancel;
}

}  // namespace

QtUserPort::QtUserPort(QWidget* owner, widgets::MessageBoxShower shower)
    : owner_(owner), shower_(std::move(shower)) {}

QtUserPort::~QtUserPort() {
    // A busy scope that is still open must not leave the hourglass behind.
    while (busyDepth_ > 0) {
        QApplication::restoreOverrideCursor();
        --busyDepth_;
    }
}

void QtUserPort::setStatus(const std::string& text) {
    const QString status = toQString(text);
    widgets::runOnWindowThread(this, [this, status] { emit statusChanged(status); });
}

void QtUserPort::showMessage(const std::string& text, base::MessageIcon icon,
                             const std::string& caption) {
    show({toQString(text), toQString(caption), icon, QMessageBox::Ok, QMessageBox::Ok});
}

base::Answer QtUserPort::ask(const std::string& text, base::QuestionButtons buttons,
                             base::MessageIcon icon, base::Answer defaultAnswer,
                             const std::string& caption) {
    const auto choice = buttons == base::QuestionButtons::YesNo
                            ? QMessageBox::StandardButtons(QMessageBox::Yes | QMessageBox::No)
                            : QMessageBox::StandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    const auto button =
        show({toQString(text), toQString(caption), icon, choice, boxButton(defaultAnswer)});
    return answerOf(button, buttons);
}

void QtUserPort::setBusy(bool busy) {
    widgets::runOnWindowThread(this, [this, busy] {
        if (busy) {
            if (busyDepth_++ == 0)
                QApplication::setOverrideCursor(Qt::WaitCursor);
        } else if (busyDepth_ > 0) {
            if (--busyDepth_ == 0)
                QApplication::restoreOverrideCursor();
        }
    });
}

QMessageBox::StandardButton QtUserPort::show(const widgets::MessageBoxRequest& request) {
    return widgets::runOnWindowThread(this,
                                      [this, &request] { return shower_(owner_.data(), request); });
}

}  // namespace zavuv::app::shell
