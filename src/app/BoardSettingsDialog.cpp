#include "app/BoardSettingsDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/Translation.h"

namespace zavuv::app {

namespace {

// The radio buttons of COM1..COM12, in port order.
constexpr std::array<int, 12> kPortIds = {1056, 1057, 1058, 1059, 1149, 1150,
                                          1151, 1152, 1153, 1154, 1155, 1156};
// The radio buttons of baud index 0, 1 and 2.
constexpr std::array<int, 3> kSpeedIds = {1055, 1054, 1060};
constexpr std::array<const char*, 3> kSpeedTexts = {"Low speed", "Standard speed", "USB interface"};

QRadioButton* radio(QWidget* parent, int id, const QString& text) {
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(QString::number(id));
    return button;
}

QGroupBox* group(QWidget* parent, int id, const QString& title) {
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(QString::number(id));
    return box;
}

}  // namespace

BoardSettingsDialog::BoardSettingsDialog(const BoardChoice& initial, QWidget* parent)
    : QDialog(parent), initialPort_(initial.port) {
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);

    QGroupBox* portBox = group(this, 1113, "Communication port");
    auto* portGrid = new QGridLayout(portBox);
    for (std::size_t i = 0; i < ports_.size(); ++i) {
        ports_[i] = radio(portBox, kPortIds[i], QString("COM%1").arg(i + 1));
        portGrid->addWidget(ports_[i], static_cast<int>(i % 4), static_cast<int>(i / 4));
    }
    const bool known = initial.port >= 1 && initial.port <= static_cast<int>(ports_.size());
    ports_[known ? static_cast<std::size_t>(initial.port - 1) : 0]->setChecked(true);
    layout->addWidget(portBox);

    QGroupBox* speedBox = group(this, 1114, "Baud rate");
    auto* speedColumn = new QVBoxLayout(speedBox);
    for (std::size_t i = 0; i < speeds_.size(); ++i) {
        speeds_[i] = radio(speedBox, kSpeedIds[i], kSpeedTexts[i]);
        speedColumn->addWidget(speeds_[i]);
    }
    const bool knownSpeed = initial.baudIndex >= 0 && initial.baudIndex < 3;
    speeds_[knownSpeed ? static_cast<std::size_t>(initial.baudIndex) : 0]->setChecked(true);
    layout->addWidget(speedBox);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("1");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("2");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    TranslateWindow(this, kDialogId);
}

BoardChoice BoardSettingsDialog::choice() const {
    BoardChoice result{initialPort_, 0};
    for (std::size_t i = 0; i < ports_.size(); ++i)
        if (ports_[i]->isChecked())
            result.port = static_cast<int>(i) + 1;
    result.baudIndex = speeds_[2]->isChecked() ? 2 : speeds_[1]->isChecked() ? 1 : 0;
    return result;
}

std::optional<BoardChoice> runBoardSettingsDialog(QWidget* parent, const BoardChoice& initial) {
    BoardSettingsDialog dialog(initial, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

}  // namespace zavuv::app
