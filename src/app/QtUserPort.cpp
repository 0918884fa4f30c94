#include "app/QtUserPort.h"

#include <QApplication>
#include <QCursor>

#include "app/WindowThread.h"

namespace zavuv::app {

namespace {

QString toQString(const std::string& text) {
    return QString::fromStdString(text);
}

QMessageBox::StandardButton boxButton(Answer answer) {
    switch (answer) {
    case Answer::Yes:
        return QMessageBox::Yes;
    case Answer::No:
        return QMessageBox::No;
    case Answer::Ok:
        return QMessageBox::Ok;
    case Answer::Cancel:
        break;
    }
    return QMessageBox::Cancel;
}

// A box closed without a positive choice counts as the negative answer.
Answer answerOf(QMessageBox::StandardButton button, QuestionButtons buttons) {
    if (buttons == QuestionButtons::YesNo)
        return button == QMessageBox::Yes ? Answer::Yes : Answer::No;
    return button == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

}  // namespace

QtUserPort::QtUserPort(QWidget* owner, MessageBoxShower shower)
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
    runOnWindowThread(this, [this, status] { emit statusChanged(status); });
}

void QtUserPort::showMessage(const std::string& text, MessageIcon icon,
                             const std::string& caption) {
    show({toQString(text), toQString(caption), icon, QMessageBox::Ok, QMessageBox::Ok});
}

Answer QtUserPort::ask(const std::string& text, QuestionButtons buttons, MessageIcon icon,
                       Answer defaultAnswer, const std::string& caption) {
    const auto choice = buttons == QuestionButtons::YesNo
                            ? QMessageBox::StandardButtons(QMessageBox::Yes | QMessageBox::No)
                            : QMessageBox::StandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    const auto button =
        show({toQString(text), toQString(caption), icon, choice, boxButton(defaultAnswer)});
    return answerOf(button, buttons);
}

void QtUserPort::setBusy(bool busy) {
    runOnWindowThread(this, [this, busy] {
        if (busy) {
            if (busyDepth_++ == 0)
                QApplication::setOverrideCursor(Qt::WaitCursor);
        } else if (busyDepth_ > 0) {
            if (--busyDepth_ == 0)
                QApplication::restoreOverrideCursor();
        }
    });
}

QMessageBox::StandardButton QtUserPort::show(const MessageBoxRequest& request) {
    return runOnWindowThread(this, [this, &request] { return shower_(owner_.data(), request); });
}

}  // namespace zavuv::app
