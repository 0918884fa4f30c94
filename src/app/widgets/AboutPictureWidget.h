#pragma once
// The About box's picture: the programmer board as a drawing, a chip on a
// green board with its programming header and the traces between them.

#include <QWidget>

namespace zavuv::app::widgets {

class AboutPictureWidget final : public QWidget {
    Q_OBJECT

public:
    explicit AboutPictureWidget(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace zavuv::app::widgets
