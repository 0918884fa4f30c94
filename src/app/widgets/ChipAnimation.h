#pragma once
// The small picture that tells the person the progress window is alive: a chip
// with bits streaming in on the left and out on the right, looping for as long
// as it is shown.

#include <QTimer>
#include <QWidget>

namespace zavuv::app::widgets {

class ChipAnimation final : public QWidget {
    Q_OBJECT

public:
    // The animation repeats after this many frames.
    static constexpr int kLoopFrames = 64;

    explicit ChipAnimation(QWidget* parent = nullptr);

    int frame() const { return frame_; }

public slots:
    // The next frame; the timer calls it while the widget is shown.
    void advance();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QTimer timer_;
    int frame_ = 0;
};

}  // namespace zavuv::app::widgets
