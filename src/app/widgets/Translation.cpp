#include "app/widgets/Translation.h"

#include <QAction>
#include <QGroupBox>
#include <QMenu>

#include "app/widgets/CaptionFit.h"
#include "text/UiText.h"

namespace zavuv::app::widgets {

namespace {

constexpr int kHelpMenuRow = -5;

QAction* findCommand(const QList<QAction*>& actions, int commandId) {
    for (QAction* action : actions) {
        if (QMenu* menu = action->menu()) {
            if (QAction* found = findCommand(menu->actions(), commandId))
                return found;
        } else if (action->data().isValid() && action->data().toInt() == commandId) {
            return action;
        }
    }
    return nullptr;
}

// A child of this window itself, not of a window it happens to own.
template <typename T> T* findOwn(QWidget* window, const QString& name = {}) {
    for (T* child : window->findChildren<T*>(name))
        if (child->window() == window)
            return child;
    return nullptr;
}

void setControlText(QWidget* control, const QString& text) {
    if (auto* group = qobject_cast<QGroupBox*>(control))
        group->setTitle(text);
    else
        control->setProperty("text", text);
}

}  // namespace

QAction* findMenuCommand(const QMenuBar* menuBar, int commandId) {
    return findCommand(menuBar->actions(), commandId);
}

void TranslateMenu(QMenuBar* menuBar) {
    using text::inLanguage;
    for (const text::MenuCaptionRow& row : text::menuCaptionTable()) {
        const QString caption = QString::fromUtf8(inLanguage(row.english, row.russian));
        if (row.id > 0) {
            if (QAction* action = findMenuCommand(menuBar, row.id))
                action->setText(caption);
            continue;
        }
        const QList<QAction*> topLevel = menuBar->actions();
        const auto position = static_cast<qsizetype>(-row.id);
        if (position >= topLevel.size())
            continue;
        QAction* menu = topLevel[position];
        menu->setText(caption);
        // Help belongs at the right end of the bar, whatever was added after it.
        if (row.id == kHelpMenuRow && menu != topLevel.back()) {
            menuBar->removeAction(menu);
            menuBar->addAction(menu);
        }
    }
}

void TranslateWindow(QWidget* window, int dialogId, const MessageBoxShower& shower) {
    if (dialogId == kMainWindowDialogId) {
        if (auto* menuBar = findOwn<QMenuBar>(window))
            TranslateMenu(menuBar);
        else
            shower(nullptr, {"Cannot translate menu.", "Error", base::MessageIcon::Error,
                             QMessageBox::Ok, QMessageBox::Ok});
    }
    const text::DialogCaptions* captions = text::findDialogCaptions(dialogId);
    if (captions == nullptr)
        return;
    window->setWindowTitle(
        QString::fromUtf8(text::inLanguage(captions->englishTitle, captions->russianTitle)));
    for (const text::CaptionRow& row : captions->rows)
        if (auto* control = findOwn<QWidget>(window, QString::number(row.controlId))) {
            setControlText(control, QString::fromUtf8(text::inLanguage(row.english, row.russian)));
            fitCaption(control);
        }
    evenOutGroupFonts(window);
}

}  // namespace zavuv::app::widgets
