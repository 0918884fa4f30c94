#pragma once
// A dialog laid out at a fixed size that may still be made taller: its first
// size is its minimum, its width stays, and registered controls follow the
// bottom and right edges by their anchors.

#include <vector>

#include <QDialog>
#include <QFlags>

namespace zavuv::app::widgets {

enum class AnchorFlag : unsigned {
    MoveRight = 1,
    MoveDown = 2,
    StretchWidth = 4,   // moves the right edge only; wins over MoveRight
    StretchHeight = 8,  // moves the bottom edge only; wins over MoveDown
};
Q_DECLARE_FLAGS(AnchorFlags, AnchorFlag)

class ResizableDialog : public QDialog {
    Q_OBJECT

public:
    ResizableDialog(int dialogId, QWidget* parent);

    int dialogId() const { return dialogId_; }

    // Registers a control (by its id, the object name) to follow the edges.
    // Register before the window is first shown; flags of 0 are not kept.
    void AddAnchor(int controlId, AnchorFlags flags);

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Maximised, the window keeps its width, stands in the middle of the
    // screen's work area and takes its whole height.
    void changeEvent(QEvent* event) override;

private:
    struct Anchor {
        int controlId;
        AnchorFlags flags;
    };

    void followEdges(int dx, int dy);

    int dialogId_;
    std::vector<Anchor> anchors_;
    QSize lastSize_;  // empty until the first size change
};

}  // namespace zavuv::app::widgets

Q_DECLARE_OPERATORS_FOR_FLAGS(zavuv::app::widgets::AnchorFlags)
