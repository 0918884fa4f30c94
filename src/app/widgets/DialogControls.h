#pragma once
// Building a dialog from its template: every control gets its control id as
// object name (translation and tests find it by that) and a place given in
// dialog units.

#include <QDialog>
#include <QPushButton>
#include <QRect>
#include <QString>

#include "app/widgets/DialogUnits.h"

namespace zavuv::app::widgets {

// The ids every dialog gives its OK and Cancel buttons.
inline constexpr int kOkButtonId = 1;
inline constexpr int kCancelButtonId = 2;

// Id 0 is a control nobody refers to (a plain label): it keeps no name.
template <typename Control> Control* placeControl(Control* control, int id, const QRect& geometry) {
    if (id != 0)
        control->setObjectName(QString::number(id));
    control->setGeometry(geometry);
    return control;
}

// A new control of the dialog at its template place.
template <typename Control>
Control* place(QWidget* parent, int id, const DialogUnits& units, int x, int y, int w, int h) {
    return placeControl(new Control(parent), id, units.rect(x, y, w, h));
}

// OK (the default button) accepts the dialog, Cancel rejects it.
inline QPushButton* addOkButton(QDialog* dialog, const QString& text, const QRect& geometry) {
    auto* button = placeControl(new QPushButton(text, dialog), kOkButtonId, geometry);
    button->setDefault(true);
    QObject::connect(button, &QPushButton::clicked, dialog, &QDialog::accept);
    return button;
}

inline QPushButton* addCancelButton(QDialog* dialog, const QRect& geometry) {
    auto* button = placeControl(new QPushButton("Cancel", dialog), kCancelButtonId, geometry);
    QObject::connect(button, &QPushButton::clicked, dialog, &QDialog::reject);
    return button;
}

}  // namespace zavuv::app::widgets
