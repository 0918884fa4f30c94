// zavuv-screenshots OUTDIR: draws the main window and every dialog in English
// and in Russian and saves each as OUTDIR/<window>-<en|ru>.png. The main window
// runs on the simulated board with a demonstration project whose Flash was
// programmed and verified, so the pictures show what a person sees.
// scripts/screenshots.sh runs it under Xvfb.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <QApplication>
#include <QPixmap>
#include <QThread>
#include <QTimer>

#include "app/dialogs/AboutDialog.h"
#include "app/dialogs/AdvancedBoardSettingsDialog.h"
#include "app/dialogs/BoardSettingsDialog.h"
#include "app/dialogs/FirmwareUpdateDialog.h"
#include "app/dialogs/LanguageDialog.h"
#include "app/dialogs/LoadAddressDialog.h"
#include "app/dialogs/LockFuseDialog.h"
#include "app/dialogs/ProjectSettingsDialog.h"
#include "app/shell/MainDialog.h"
#include "app/widgets/ProgressWindow.h"
#include "base/VirtualClock.h"
#include "devices/DeviceTable.h"
#include "operations/LockFuseOnChip.h"
#include "text/UiText.h"

namespace fs = std::filesystem;
using namespace zavuv;
using namespace zavuv::app;

namespace {

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A Flash image with code-like bytes and the texts a firmware carries.
std::string demoFlash() {
    std::string bytes;
    for (int i = 0; i < 1024; ++i)
        bytes += static_cast<char>((i * 37 + (i >> 4)) & 0xFF);
    bytes += "ZAVUV demo firmware 1.0 -- blink on PB0, 9600 baud";
    bytes.resize(1536, '\xFF');
    return bytes;
}

std::string demoEeprom() {
    std::string bytes = "CALIBRATION";
    for (int i = 0; i < 53; ++i)
        bytes += static_cast<char>(i * 5);
    return bytes;
}

// The demonstration project in `folder`: an ATmega8 with both memories.
fs::path writeDemoProject(const fs::path& folder) {
    writeFile(folder / "firmware.bin", demoFlash());
    writeFile(folder / "settings.bin", demoEeprom());
    const fs::path project = folder / "demo.kb2";
    writeFile(project, "[Files]\nFlash=" + (folder / "firmware.bin").string() +
                           "\nEeprom=" + (folder / "settings.bin").string() +
                           "\n[Settings]\nSPIPeriod=4\n[AutoProgram]\nAutoErase=1\n"
                           "AutoEmptyCheck=1\nAutoFlashProgram=1\nAutoFlashVerify=1\n"
                           "AutoEepromProgram=1\nAutoEepromVerify=1\n[Device]\nDeviceNo=12\n");
    return project;
}

// Boxes would wait for a person: each is answered with its default button.
QMessageBox::StandardButton answerBox(QWidget*, const widgets::MessageBoxRequest& request) {
    std::fprintf(stderr, "message: %s\n", request.text.toStdString().c_str());
    return request.defaultButton != QMessageBox::NoButton ? request.defaultButton : QMessageBox::Ok;
}

class Camera {
public:
    explicit Camera(fs::path folder) : folder_(std::move(folder)) {}

    void language(text::Language language) {
        suffix_ = language == text::Language::Russian ? "ru" : "en";
    }

    // Shows the window, lets it settle and saves what it draws.
    bool shoot(QWidget& window, const std::string& name) {
        window.show();
        window.raise();
        for (int i = 0; i < 20; ++i) {
            QApplication::processEvents();
            QThread::msleep(5);
        }
        const fs::path file = folder_ / (name + "-" + suffix_ + ".png");
        const bool saved = window.grab().save(QString::fromStdString(file.string()), "PNG");
        std::printf("%s %s\n", saved ? "saved" : "FAILED", file.string().c_str());
        ok_ = ok_ && saved;
        return saved;
    }

    // A dialog made for the picture and closed after it.
    void shootDialog(QWidget* dialog, const std::string& name) {
        shoot(*dialog, name);
        dialog->close();
        delete dialog;
    }

    bool ok() const { return ok_; }

private:
    fs::path folder_;
    std::string suffix_ = "en";
    bool ok_ = true;
};

// The progress window almost halfway through programming the Flash: at first
// sight, and ten minutes into an AT45DB161 (4096 pages of 528 bytes) at 19200
// baud, with the time left.
void shootProgress(Camera& camera, QWidget* parent) {
    base::VirtualClock clock;
    widgets::ProgressWindow window(parent, clock);
    const auto shootAt = [&](int pagesDone, std::int64_t elapsedUs, const std::string& name) {
        std::atomic<bool> shot{false};
        window.run([&](base::ProgressSink& sink) {
            sink.setup(text::GetUiText(text::Msg::ProgramProgressTitle),
                       text::GetUiText(text::Msg::ProgrammingFlash), 4096, 528);
            clock.advanceUs(elapsedUs);
            sink.reportProgress(pagesDone);
            QTimer::singleShot(0, &window, [&] {
                camera.shoot(window, name);
                shot = true;
            });
            while (!shot)
                QThread::msleep(5);
            return base::EndCode::Done;
        });
    };
    shootAt(1843, 0, "progress");
    shootAt(1843, 600'000'000, "progress-time-left");
}

void shootDialogs(Camera& camera, shell::MainDialog& main) {
    workspace::Workspace& ws = main.workspace();
    const std::vector<link::DetectedPort> ports = {
        {"/dev/ttyUSB0", "/dev/ttyUSB0", "FTDI FT232R USB UART"}};
    camera.shootDialog(
        new dialogs::BoardSettingsDialog(1, 1, ws.preferences(), ports, &main, answerBox),
        "board-settings");
    camera.shootDialog(
        new dialogs::AdvancedBoardSettingsDialog(ws.preferences().boardDelays(), &main, answerBox),
        "advanced-board-settings");
    camera.shootDialog(new dialogs::LanguageDialog(text::language(), &main), "language");
    camera.shootDialog(new dialogs::LoadAddressDialog(0x1000, &main, answerBox), "load-address");
    camera.shootDialog(new dialogs::AboutDialog(&main), "about");

    devices::LockFuseState chipBits;
    if (operations::readLockFuse(ws, chipBits))
        camera.shootDialog(new dialogs::LockFuseDialog(&main, ws.selectedDevice(), chipBits,
                                                       ws.user(), dialogs::boardLockFuseChip(ws)),
                           "lock-fuse-atmega8");
    // Only OK would write the project; the picture is taken before.
    camera.shootDialog(new dialogs::ProjectSettingsDialog(&main, ws.project(), ws.user(),
                                                          dialogs::boardLockFuseChip(ws)),
                       "project-settings");
    camera.shootDialog(new dialogs::FirmwareUpdateDialog("1.09", "1.10", &main), "firmware-update");
    shootProgress(camera, &main);
}

// Every picture of the main window on the demonstration project in `work`.
bool shootAll(const fs::path& out, const fs::path& work) {
    writeFile(work / "profile.ini", "[Connect]\nCOM=1\nHighSpeed=1\n[Ports]\nCOM1=sim\n");
    workspace::ProfileStore profile(work / "profile.ini");
    shell::MainDialogHooks hooks;
    hooks.showBox = answerBox;
    shell::MainDialog main(profile, hooks);
    shell::StartOptions options;
    options.commandLine.projectPath = writeDemoProject(work).string();
    main.initDialog(options);
    main.show();
    // Programmed and verified: the Flash preview in its verified colour.
    main.commands().run(1009);
    main.commands().run(1010);

    Camera camera(out);
    for (const text::Language language : {text::Language::English, text::Language::Russian}) {
        main.applyLanguage(language);
        camera.language(language);
        // The status line keeps the language it was written in: written anew.
        main.setStatus(text::formatUiText(text::Msg::FlashVerifyOk,
                                          static_cast<int>(main.workspace().flash().size())));
        camera.shoot(main, "main-window");
        shootDialogs(camera, main);
    }
    return camera.ok();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zavuv-screenshots OUTDIR\n");
        return 2;
    }
    const fs::path out = fs::absolute(argv[1]);
    fs::create_directories(out);
    const fs::path work = fs::temp_directory_path() / "zavuv-demo";
    fs::remove_all(work);
    fs::create_directories(work);
    const bool ok = shootAll(out, work);
    fs::remove_all(work);
    return ok ? 0 : 1;
}
