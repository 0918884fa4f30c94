#pragma once
// The caption of a check box that stands beside it as a label of its own (a
// caption of several lines): a click on it toggles the box, as a click on a
// check box's own text does.

#include <QCheckBox>
#include <QLabel>
#include <QPointer>

namespace zavuv::app::widgets {

class BoxCaption final : public QLabel {
    Q_OBJECT

public:
    explicit BoxCaption(QWidget* parent) : QLabel(parent) {}

    void setBox(QCheckBox* box) { box_ = box; }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPointer<QCheckBox> box_;
};

}  // namespace zavuv::app::widgets
