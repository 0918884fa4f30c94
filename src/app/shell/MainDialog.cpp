#include "app/shell/MainDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/shell/BufferFileCommands.h"
#include "app/shell/ChipOperationCommands.h"
#include "app/shell/DeviceLists.h"
#include "app/shell/FileDrop.h"
#include "app/shell/MainMenu.h"
#include "app/shell/MainWindowIds.h"
#include "app/shell/ProjectCommands.h"
#include "app/shell/SaveQuestions.h"
#include "app/shell/WindowCommands.h"
#include "app/widgets/AppIcon.h"
#include "app/widgets/DialogUnits.h"
#include "app/widgets/ElidedLabel.h"
#include "app/widgets/ProgressWindow.h"
#include "app/widgets/Translation.h"
#include "app/widgets/WindowThread.h"
#include "sim/SimulatedBoard.h"
#include "workspace/CommandStates.h"

namespace zavuv::app::shell {

namespace {

enum class Kind { Group, Sunken, Check, Button, Placeholder, Status, Combo };

struct TemplateControl {
    int id;
    Kind kind;
    const char* text;
    int left, top, width, height;  // dialog units
};

// Dialog 102, 448 x 274 dialog units, in creation (and so stacking) order. The
// status line has a row of its own across the whole window, so that the
// longest status texts (the Russian auto-program results) are shown whole.
// A combo box's height is that of its dropped list.
constexpr TemplateControl kTemplate[] = {
    {id::kFlashGroup, Kind::Group, "Flash", 5, 5, 335, 120},
    {id::kFlashFileField, Kind::Sunken, "", 10, 15, 245, 10},
    {id::kFlashInvert, Kind::Check, "Inv", 265, 15, 26, 10},
    {id::kFlashLoad, Kind::Button, ">>", 298, 15, 15, 10},
    {id::kFlashReload, Kind::Button, "!", 320, 15, 15, 10},
    {id::kFlashPreviewPlace, Kind::Placeholder, "", 10, 30, 325, 90},
    {id::kEepromGroup, Kind::Group, "EEPROM", 5, 125, 335, 110},
    {id::kEepromFileField, Kind::Sunken, "", 10, 140, 245, 10},
    {id::kEepromIncrement, Kind::Check, "Inc", 260, 140, 26, 10},
    {id::kEepromLoad, Kind::Button, ">>", 293, 140, 15, 10},
    {id::kEepromReload, Kind::Button, "!", 315, 140, 15, 10},
    {id::kEepromPreviewPlace, Kind::Placeholder, "", 10, 162, 325, 69},
    {id::kStatusLine, Kind::Status, "Please wait...", 5, 258, 435, 12},
    {id::kSckList, Kind::Combo, "", 240, 240, 100, 200},
    {id::kDeviceGroup, Kind::Group, "Device", 345, 5, 95, 250},
    {id::kFamilyList, Kind::Combo, "", 350, 20, 85, 500},
    {id::kDeviceList, Kind::Combo, "", 350, 35, 85, 500},
    {id::kReadSignatureButton, Kind::Button, "Read signature", 350, 55, 85, 15},
    {id::kAutoProgram, Kind::Button, "Auto-program", 350, 75, 85, 15},
    {id::kBlankCheck, Kind::Button, "Blank check", 350, 90, 85, 15},
    {id::kProgramFlash, Kind::Button, "Program Flash", 350, 115, 85, 15},
    {id::kReadFlash, Kind::Button, "Read Flash", 350, 130, 85, 15},
    {id::kVerifyFlash, Kind::Button, "Verify Flash", 350, 145, 85, 15},
    {id::kProgramEeprom, Kind::Button, "Program EEPROM", 350, 170, 85, 15},
    {id::kReadEeprom, Kind::Button, "Read EEPROM", 350, 185, 85, 15},
    {id::kVerifyEeprom, Kind::Button, "Verify EEPROM", 350, 200, 85, 15},
    {id::kChipErase, Kind::Button, "Chip Erase", 350, 230, 85, 15},
};

constexpr int kClientWidth = 448;
constexpr int kClientHeight = 274;

QWidget* makeControl(const TemplateControl& c, QWidget* parent) {
    switch (c.kind) {
    case Kind::Group:
        return new QGroupBox(c.text, parent);
    case Kind::Check:
        return new QCheckBox(c.text, parent);
    case Kind::Button: {
        auto* button = new QPushButton(c.text, parent);
        // Enter must not press a button through the dialog's default-button rule.
        button->setAutoDefault(false);
        return button;
    }
    case Kind::Combo:
        return new QComboBox(parent);
    case Kind::Placeholder: {
        auto* frame = new QFrame(parent);
        frame->hide();
        return frame;
    }
    case Kind::Sunken:
    case Kind::Status: {
        auto* label = new widgets::ElidedLabel(c.text, parent);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (c.kind == Kind::Status)
            label->setAlignment(Qt::AlignCenter);
        return label;
    }
    }
    return nullptr;
}

template <typename T = QWidget> T* child(const QWidget* parent, int id) {
    return parent->findChild<T*>(QString::number(id));
}

}  // namespace

MainDialog::MainDialog(workspace::ProfileStore& profile, MainDialogHooks hooks)
    : widgets::ResizableDialog(kDialogId, nullptr), profile_(profile), hooks_(std::move(hooks)),
      user_(this, hooks_.showBox), ws_(user_, profile_), recent_(profile_) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowIcon(widgets::applicationIcon());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    client_ = new QWidget(this);
    layout->addWidget(client_);
    createControls();

    progress_ = new widgets::ProgressWindow(this);
    ws_.setProgressRunner(*progress_);
    // A COM slot the person maps to "sim" gets the simulated board's default chip.
    ws_.ports().setSimulatorMaker(sim::simulatorMaker({}));
    connect(&user_, &QtUserPort::statusChanged, status_, [this](const QString& text) {
        status_->setText(text, QString::fromStdString(text::formatUiText(text::Msg::StatusLineTip,
                                                                         text.toStdString())));
    });

    deviceLists_ = std::make_unique<DeviceLists>(
        ws_, child<QComboBox>(client_, id::kFamilyList), child<QComboBox>(client_, id::kDeviceList),
        child<QComboBox>(client_, id::kSckList), [this] { UpdateControls(); });
    addProjectCommands(*this);
    addBufferFileCommands(*this);
    addChipOperationCommands(*this);
    addWindowCommands(*this);
    connectControls();
}

MainDialog::~MainDialog() {
    if (started_) {
        const workspace::ProfileStore::ChangeSet exitWrites(profile_);
        auto& preferences = ws_.preferences();
        preferences.setComPort(profileComPort_);
        preferences.setBaudIndex(ws_.baudIndex);
        preferences.setLanguage(text::language());
        ws_.project().setObserver(nullptr);
        recent_.save();
    }
    // The previews outlive the buffers (they go with the window's children).
    for (widgets::BufferPreview* preview : {flashPreview_, eepromPreview_})
        if (preview != nullptr)
            preview->setBuffer(nullptr);
    ws_.flash().removeObserver(*this);
    ws_.eeprom().removeObserver(*this);
}

void MainDialog::createControls() {
    const widgets::DialogUnits units(font());
    client_->setFixedWidth(units.toPixelsX(kClientWidth));
    client_->setMinimumHeight(units.toPixelsY(kClientHeight));
    for (const TemplateControl& c : kTemplate) {
        QWidget* control = makeControl(c, client_);
        control->setObjectName(QString::number(c.id));
        QRect r = units.rect(c.left, c.top, c.width, c.height);
        if (c.kind == Kind::Combo)
            r.setHeight(control->sizeHint().height());
        control->setGeometry(r);
    }
    status_ = child<widgets::ElidedLabel>(client_, id::kStatusLine);
    status_->installEventFilter(this);
    client_->installEventFilter(this);
}

void MainDialog::BuildMenu() {
    QMenuBar* fresh = shell::BuildMenu(recent_, this);
    for (QAction* action : fresh->findChildren<QAction*>()) {
        if (!action->data().isValid())
            continue;
        const int id = action->data().toInt();
        connect(action, &QAction::triggered, this, [this, id] { commands_.run(id); });
    }
    if (menuBar_ != nullptr) {
        // The old bar may be the one whose item is being handled right now.
        menuBar_->setParent(nullptr);
        menuBar_->deleteLater();
    }
    menuBar_ = fresh;
    layout()->setMenuBar(menuBar_);
}

void MainDialog::connectControls() {
    for (QPushButton* button : client_->findChildren<QPushButton*>()) {
        const int id = button->objectName().toInt();
        connect(button, &QPushButton::clicked, this, [this, id] { commands_.run(id); });
    }
    for (QCheckBox* box : client_->findChildren<QCheckBox*>()) {
        const int id = box->objectName().toInt();
        connect(box, &QCheckBox::clicked, this, [this, id] { commands_.run(id); });
    }
    for (QComboBox* list : client_->findChildren<QComboBox*>()) {
        const int id = list->objectName().toInt();
        connect(list, &QComboBox::currentIndexChanged, this,
                [this, id] { commands_.run(id, Notification::SelectionChanged); });
    }
}

bool MainDialog::initDialog(const StartOptions& options) {
    started_ = true;
    simulate_ = options.simulate;
    bool automatic = false;
    {
        // Everything the start-up writes to the profile reaches it in one write.
        const workspace::ProfileStore::ChangeSet startupWrites(profile_);
        automatic = setUpWindow(options);
    }
    if (!automatic)
        return true;
    ws_.results.autoprogramOk = false;
    if (ws_.comPort() == 0)
        hooks_.showBox(this, {text::GetUiText(text::Msg::NoPortForUnattendedRun),
                              text::GetUiText(text::Msg::ProgrammerCaption),
                              base::MessageIcon::Error, QMessageBox::Ok, QMessageBox::Ok});
    else
        runAutoProgramUnattended(*this);
    hooks_.showBox(this, {text::GetUiText(autoprogramOk() ? text::Msg::AutoProgramOk
                                                          : text::Msg::AutoProgramError),
                          text::GetUiText(text::Msg::ProgrammerCaption), base::MessageIcon::None,
                          QMessageBox::Ok, QMessageBox::Ok});
    done(1);
    return false;
}

bool MainDialog::setUpWindow(const StartOptions& options) {
    // The Flash pane keeps its height; the window's extra height goes to the
    // Flash preview, and the EEPROM pane, status line and SCK list move down.
    for (const int control :
         {id::kStatusLine, id::kSckList, id::kEepromGroup, id::kEepromFileField,
          id::kEepromIncrement, id::kEepromLoad, id::kEepromReload, id::kEepromPreviewPlace})
        AddAnchor(control, widgets::AnchorFlag::MoveDown);
    AddAnchor(id::kFlashGroup, widgets::AnchorFlag::StretchHeight);
    AddAnchor(id::kFlashPreviewPlace, widgets::AnchorFlag::StretchHeight);
    // The Device box reaches down with the panes; Chip Erase stays at its foot.
    AddAnchor(id::kDeviceGroup, widgets::AnchorFlag::StretchHeight);
    AddAnchor(id::kChipErase, widgets::AnchorFlag::MoveDown);

    setStatus(text::GetUiText(text::Msg::ProgramTitle));
    recent_.load();

    ws_.readPreferences();
    text::setLanguage(ws_.preferences().language());
    qtTranslation_.use(text::language());
    profileComPort_ = ws_.comPort();
    if (simulate_) {
        ws_.setComPort(1);
        ws_.ports().mapForThisRun(1, workspace::kSimulatedPortName);
    }
    // A run nobody watches shows no dialog: without a port it ends below.
    const bool automaticAsked = workspace::isAutoProgramSwitch(options.commandLine.switchText);
    if (ws_.comPort() == 0 && !hooks_.unattended && !automaticAsked) {
        // The window is not shown yet: the dialog stands in the screen's middle.
        QWidget* owner = isVisible() ? this : nullptr;
        if (const auto choice = hooks_.boardSettings(owner, 0, 0, ws_.preferences()))
            takeBoardChoice(*choice);
    }
    ws_.preferences().setComPort(profileComPort_);
    ws_.preferences().setBaudIndex(ws_.baudIndex);
    ws_.preferences().setLanguage(text::language());

    std::string candidate = ws_.preferences().loadMostRecent()
                                ? recent_.paths()[0]
                                : std::string(workspace::kUnspecifiedPath);
    if (!options.commandLine.projectPath.empty())
        candidate = options.commandLine.projectPath;
    // The menu is built once, with the start's project already in its list,
    // and the window takes its size with it.
    if (candidate != workspace::kUnspecifiedPath)
        recent_.add(candidate);
    BuildMenu();
    adjustSize();

    ws_.project().setObserver(this);
    ws_.flash().addObserver(*this);
    ws_.eeprom().addObserver(*this);
    ws_.flash().clear();
    ws_.eeprom().clear();
    createPreviews();
    placePreviews();
    deviceLists_->FillDeviceLists();

    bool automatic = false;
    if (candidate != workspace::kUnspecifiedPath) {
        ws_.project().loadProject(candidate);
        automatic = workspace::isAutoProgramSwitch(options.commandLine.switchText);
    }

    deviceLists_->FillSckList();
    deviceLists_->SelectSckPeriod(ws_.project().spiPeriod);
    setAcceptDrops(true);
    widgets::TranslateWindow(this, kDialogId, hooks_.showBox);
    deviceLists_->SelectDevice(ws_.project().deviceNo);
    deviceLists_->OnDeviceChanged();
    UpdateControls();
    return automatic;
}

void MainDialog::takeBoardChoice(const dialogs::BoardChoice& choice) {
    ws_.setComPort(choice.comPort);
    ws_.baudIndex = choice.baudIndex;
    profileComPort_ = choice.comPort;
}

void MainDialog::createPreviews() {
    const auto make = [this](buffers::MemoryBuffer& buffer, const char* title) {
        auto* preview = new widgets::BufferPreview(client_);
        preview->setObjectName(QString::number(widgets::BufferPreview::kControlId));
        preview->setWindowTitle(title);
        preview->setBuffer(&buffer);
        preview->show();
        return preview;
    };
    flashPreview_ = make(ws_.flash(), "Preview Flash");
    eepromPreview_ = make(ws_.eeprom(), "Preview Eeprom");
}

void MainDialog::placePreviews() {
    if (flashPreview_ != nullptr)
        flashPreview_->setGeometry(child(client_, id::kFlashPreviewPlace)->geometry());
    if (eepromPreview_ != nullptr)
        eepromPreview_->setGeometry(child(client_, id::kEepromPreviewPlace)->geometry());
    update();
}

std::optional<std::string> MainDialog::chooseFile(const FileRequest& request) {
    return hooks_.chooseFile(this, request);
}

void MainDialog::UpdateControls() {
    widgets::runOnWindowThread(this, [this] {
        setWindowTitle(QString::fromStdString(workspace::windowTitle(ws_)));
        const workspace::CommandStates states = workspace::commandStates(ws_);
        const std::pair<int, bool> buttons[] = {
            {id::kReadSignatureButton, states.readSignature},
            {id::kReadFlash, states.readFlash},
            {id::kProgramFlash, states.programFlash},
            {id::kVerifyFlash, states.programFlash},
            {id::kReadEeprom, states.readEeprom},
            {id::kProgramEeprom, states.programEeprom},
            {id::kVerifyEeprom, states.programEeprom},
            {id::kChipErase, states.chipErase},
            {id::kBlankCheck, states.chipErase},
            {id::kAutoProgram, states.autoProgram},
        };
        for (const auto& [id, enabled] : buttons)
            child(client_, id)->setEnabled(enabled);
        if (QAction* calibration = widgets::findMenuCommand(menuBar_, id::kReadCalibration))
            calibration->setEnabled(states.readCalibration);
    });
}

void MainDialog::AddRecentProject(const std::string& path) {
    recent_.add(path);
    BuildMenu();
}

void MainDialog::showProjectSelection() {
    deviceLists_->SelectSckPeriod(ws_.project().spiPeriod);
    deviceLists_->SelectDevice(ws_.project().deviceNo);
}

void MainDialog::applyLanguage(text::Language language) {
    text::setLanguage(language);
    qtTranslation_.use(language);
    widgets::TranslateWindow(this, kDialogId, hooks_.showBox);
    UpdateControls();
}

void MainDialog::prepareSimulatedBoard() {
    auto& ports = ws_.ports();
    if (!simulate_ || ports.simulator() != nullptr)
        return;
    sim::SimOptions options;
    options.chip = ws_.selectedDeviceInfo().name;
    ports.setSimulatorMaker(sim::simulatorMaker(options));
}

void MainDialog::exitProgram() {
    done(QDialog::Rejected);
}

void MainDialog::projectOptionsChanged() {
    widgets::runOnWindowThread(this, [this] {
        const auto& project = ws_.project();
        child<QCheckBox>(client_, id::kFlashInvert)->setChecked(project.flashInvert);
        child<QCheckBox>(client_, id::kEepromIncrement)->setChecked(project.autoIncrement);
        if (flashPreview_ != nullptr)
            flashPreview_->setSwapBytes(project.flashInvert);
    });
}

void MainDialog::captionChanged(const buffers::MemoryBuffer& buffer) {
    const QString caption = QString::fromStdString(buffer.captionText());
    const int field = buffer.isEeprom() ? id::kEepromFileField : id::kFlashFileField;
    widgets::runOnWindowThread(this, [this, caption, field] {
        child<widgets::ElidedLabel>(client_, field)->setText(caption);
    });
}

void MainDialog::resizeEvent(QResizeEvent* event) {
    widgets::ResizableDialog::resizeEvent(event);
    placePreviews();
}

void MainDialog::closeEvent(QCloseEvent* event) {
    if (!offerToSaveWork(*this)) {
        event->ignore();
        return;
    }
    exitProgram();
    event->accept();
}

void MainDialog::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainDialog::dropEvent(QDropEvent* event) {
    event->acceptProposedAction();
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1)
        return;
    const std::string path = urls.front().toLocalFile().toStdString();
    const QPoint point = client_->mapFrom(this, event->position().toPoint());
    DropPlace place = DropPlace::Elsewhere;
    if (child(client_, id::kFlashPreviewPlace)->geometry().contains(point))
        place = DropPlace::FlashPreview;
    else if (child(client_, id::kEepromPreviewPlace)->geometry().contains(point))
        place = DropPlace::EepromPreview;

    switch (dropAction(path, place)) {
    case DropAction::Ignore:
        break;
    case DropAction::OpenProject:
        if (offerToSaveWork(*this))
            loadProjectFile(*this, path);
        break;
    case DropAction::LoadFlash:
        if (offerToSaveBuffer(*this, ws_.flash()))
            loadIntoBuffer(*this, ws_.flash(), path);
        break;
    case DropAction::LoadEeprom:
        if (offerToSaveBuffer(*this, ws_.eeprom()))
            loadIntoBuffer(*this, ws_.eeprom(), path);
        break;
    case DropAction::Beep:
        hooks_.beep();
        break;
    }
}

bool MainDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == status_ && event->type() == QEvent::MouseButtonRelease) {
        commands_.run(id::kStatusLine);
        return true;
    }
    if (watched == client_ && event->type() == QEvent::MouseButtonDblClick) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton && onDialogSurface(mouse->position().toPoint())) {
            commands_.run(id::kAdvancedBoardSettings);
            return true;
        }
    }
    return widgets::ResizableDialog::eventFilter(watched, event);
}

// Group boxes and plain texts let the mouse through to the window behind
// them; buttons, lists, check boxes, the previews and the status line do not.
bool MainDialog::onDialogSurface(const QPoint& clientPoint) const {
    QWidget* hit = client_->childAt(clientPoint);
    if (hit == nullptr || qobject_cast<QGroupBox*>(hit) != nullptr)
        return true;
    return qobject_cast<QLabel*>(hit) != nullptr && hit != status_;
}

}  // namespace zavuv::app::shell
