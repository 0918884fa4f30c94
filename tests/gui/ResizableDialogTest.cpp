#include <gtest/gtest.h>

#include <map>

#include "GuiTesting.h"
#include "app/widgets/ResizableDialog.h"

using namespace zavuv::app;
using zavuv::testing::control;
using zavuv::testing::resizeAndWait;

namespace {

// A stand-in for the main window: its controls at simple positions, anchored
// as the main window anchors them.
class AnchoredDialog : public widgets::ResizableDialog {
public:
    AnchoredDialog() : widgets::ResizableDialog(102, nullptr) {
        for (const int id :
             {1057, 1148, 1112, 1004, 1060, 1007, 32791, 1001, 1111, 1002, 1079, 1009, 1003, 1059})
            addControl(id);
        AddAnchor(1057, widgets::AnchorFlag::MoveDown);
        AddAnchor(1148, widgets::AnchorFlag::MoveDown);
        AddAnchor(1112, widgets::AnchorFlag::MoveDown);
        AddAnchor(1004, widgets::AnchorFlag::MoveDown);
        AddAnchor(1060, widgets::AnchorFlag::MoveDown);
        AddAnchor(1007, widgets::AnchorFlag::MoveDown);
        AddAnchor(32791, widgets::AnchorFlag::MoveDown);
        AddAnchor(1001, widgets::AnchorFlag::MoveDown);
        AddAnchor(1111, widgets::AnchorFlag::StretchHeight);
        AddAnchor(1002, widgets::AnchorFlag::StretchHeight);
        AddAnchor(1079, {});                             // registered without flags: never moves
        AddAnchor(4242, widgets::AnchorFlag::MoveDown);  // not in the dialog: skipped
        resize(600, 400);
    }

    void addControl(int id) {
        auto* w = new QWidget(this);
        w->setObjectName(QString::number(id));
        w->setGeometry(10 + static_cast<int>(children().size()) * 3, 20, 40, 30);
    }

    std::map<int, QRect> geometries() const {
        std::map<int, QRect> all;
        for (const QObject* child : children())
            if (const auto* w = qobject_cast<const QWidget*>(child))
                all[w->objectName().toInt()] = w->geometry();
        return all;
    }
};

}  // namespace

TEST(ResizableDialog, GrowingTallerMovesAndStretchesExactlyTheAnchoredControls) {
    AnchoredDialog dialog;
    dialog.show();
    const auto before = dialog.geometries();
    ASSERT_TRUE(resizeAndWait(dialog, {600, 500}));
    const auto after = dialog.geometries();

    for (const int id : {1057, 1148, 1112, 1004, 1060, 1007, 32791, 1001})
        EXPECT_EQ(after.at(id), before.at(id).translated(0, 100)) << id;
    for (const int id : {1111, 1002})
        EXPECT_EQ(after.at(id), before.at(id).adjusted(0, 0, 0, 100)) << id;
    for (const int id : {1079, 1009, 1003, 1059})
        EXPECT_EQ(after.at(id), before.at(id)) << id;
}

TEST(ResizableDialog, TheFirstSizeIsTheMinimumAndTheWidthStays) {
    AnchoredDialog dialog;
    const auto before = dialog.geometries();
    dialog.show();
    // Showing gives the first size: remembered, nothing moved.
    EXPECT_EQ(dialog.geometries(), before);
    EXPECT_EQ(dialog.minimumSize(), QSize(600, 400));
    EXPECT_EQ(dialog.maximumWidth(), 600);

    dialog.resize(700, 300);
    EXPECT_EQ(dialog.size(), QSize(600, 400));
    EXPECT_EQ(dialog.geometries(), before);
}

TEST(ResizableDialog, WidthChangesMoveOrStretchWithStretchWinning) {
    widgets::ResizableDialog dialog(1, nullptr);
    for (const int id : {1, 2, 3}) {
        auto* w = new QWidget(&dialog);
        w->setObjectName(QString::number(id));
        w->setGeometry(10, 10, 50, 20);
    }
    dialog.AddAnchor(1, widgets::AnchorFlag::MoveRight);
    dialog.AddAnchor(2, widgets::AnchorFlag::StretchWidth | widgets::AnchorFlag::MoveRight);
    dialog.AddAnchor(3, widgets::AnchorFlag::StretchHeight | widgets::AnchorFlag::MoveDown |
                            widgets::AnchorFlag::MoveRight);
    dialog.resize(300, 200);
    dialog.show();
    dialog.setMaximumWidth(QWIDGETSIZE_MAX);
    ASSERT_TRUE(resizeAndWait(dialog, {340, 230}));

    EXPECT_EQ(control(dialog, 1)->geometry(), QRect(50, 10, 50, 20));
    EXPECT_EQ(control(dialog, 2)->geometry(), QRect(10, 10, 90, 20));
    EXPECT_EQ(control(dialog, 3)->geometry(), QRect(50, 10, 50, 50));
}
