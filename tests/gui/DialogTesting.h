#pragma once
// Helpers of the dialog tests: a stand-in for the person who reads message
// boxes, clicks on controls by id, and a way to drive a dialog that runs
// modally.

#include <functional>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>

#include "GuiTesting.h"
#include "app/widgets/DialogControls.h"
#include "app/widgets/MessageBox.h"

namespace zavuv::testing {

struct RecordedBoxes {
    app::widgets::MessageBoxShower shower() {
        return [this](QWidget* owner, const app::widgets::MessageBoxRequest& request) {
            owners.push_back(owner);
            requests.push_back(request);
            return QMessageBox::Ok;
        };
    }

    std::vector<QWidget*> owners;
    std::vector<app::widgets::MessageBoxRequest> requests;
};

inline void click(const QWidget& window, int id) {
    auto* button = control<QAbstractButton>(window, id);
    ASSERT_NE(button, nullptr) << "no button " << id;
    button->click();
}

inline void type(const QWidget& window, int id, const QString& text) {
    auto* field = control<QLineEdit>(window, id);
    ASSERT_NE(field, nullptr) << "no field " << id;
    field->selectAll();
    field->insert(text);
}

// Runs `act` on the modal dialog once the `run` call below it has shown it.
inline void whenModalShown(std::function<void(QWidget&)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        ASSERT_TRUE(
            processEventsUntil([] { return QApplication::activeModalWidget() != nullptr; }));
        act(*QApplication::activeModalWidget());
    });
}

}  // namespace zavuv::testing
