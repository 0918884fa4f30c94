#include "app/shell/BufferFileCommands.h"

#include <functional>

#include "app/dialogs/LoadAddressDialog.h"
#include "app/shell/MainDialog.h"
#include "app/shell/MainWindowIds.h"
#include "app/shell/SaveQuestions.h"
#include "operations/BufferCommands.h"
#include "text/UiText.h"

namespace zavuv::app::shell {

using buffers::MemoryBuffer;

namespace {

// A buffer reports a file it could not load to the person and keeps its
// image; it tells its observers it is clean only when it took the file.
class LoadWatch final : public buffers::BufferObserver {
public:
    explicit LoadWatch(MemoryBuffer& buffer) : buffer_(buffer) { buffer_.addObserver(*this); }
    ~LoadWatch() override { buffer_.removeObserver(*this); }
    LoadWatch(const LoadWatch&) = delete;
    LoadWatch& operator=(const LoadWatch&) = delete;

    void bufferCleaned(const MemoryBuffer&) override { took_ = true; }
    bool took() const { return took_; }

private:
    MemoryBuffer& buffer_;
    bool took_ = false;
};

void showBufferText(MainDialog& window, const MemoryBuffer& buffer) {
    window.setStatus(operations::bufferText(buffer));
}

MemoryBuffer& otherBuffer(MainDialog& window, const MemoryBuffer& buffer) {
    auto& ws = window.workspace();
    return &buffer == &ws.flash() ? ws.eeprom() : ws.flash();
}

// The buffer text when the buffer took the file; and what the other buffer
// took from the same file (an ELF file's EEPROM).
void loadWatched(MainDialog& window, MemoryBuffer& buffer, const std::function<bool()>& load) {
    LoadWatch watch(buffer);
    MemoryBuffer& other = otherBuffer(window, buffer);
    LoadWatch otherWatch(other);
    if (load() && watch.took()) {
        std::string text = operations::bufferText(buffer);
        if (otherWatch.took() && other.path() == buffer.path())
            text +=
                "; " + text::formatUiText(text::Msg::EepromFilledFrom, other.size(), other.path());
        window.setStatus(text);
    }
    window.UpdateControls();
}

void load(MainDialog& window, MemoryBuffer& buffer) {
    if (!offerToSaveBuffer(window, buffer))
        return;
    if (const auto path = window.chooseFile(bufferOpenRequest(buffer.isEeprom())))
        loadIntoBuffer(window, buffer, *path);
}

// Merges a file into the image at an address the Load Address dialog asks for.
void loadAt(MainDialog& window, MemoryBuffer& buffer) {
    const auto path = window.chooseFile(bufferOpenRequest(buffer.isEeprom()));
    if (!path)
        return;
    loadWatched(window, buffer,
                [&] { return buffer.loadAt(*path, dialogs::loadAddressRequest(&window)); });
}

// Without a file of its own the buffer asks for one, as Save As does.
void save(MainDialog& window, MemoryBuffer& buffer) {
    if (buffer.savesToItsFile()) {
        buffer.save();
    } else if (buffer.size() != 0) {
        if (const auto path = window.chooseFile(bufferSaveRequest(buffer.isEeprom())))
            buffer.saveAs(*path);
    }
    showBufferText(window, buffer);
}

void saveAs(MainDialog& window, MemoryBuffer& buffer) {
    if (buffer.size() == 0)
        return;
    const auto path = window.chooseFile(bufferSaveRequest(buffer.isEeprom()));
    if (path && buffer.saveAs(*path))
        showBufferText(window, buffer);
}

void close(MainDialog& window, MemoryBuffer& buffer) {
    buffer.clear();
    window.UpdateControls();
}

struct BufferIds {
    int load, loadAt, reload, save, saveAs, close;
};

void addCommandsOf(MainDialog& window, MemoryBuffer& buffer, const BufferIds& ids) {
    CommandTable& table = window.commands();
    table.add(ids.load, [&window, &buffer] { load(window, buffer); });
    table.add(ids.loadAt, [&window, &buffer] { loadAt(window, buffer); });
    table.add(ids.reload, [&window, &buffer] {
        operations::reloadBuffer(window.workspace(), buffer);
        window.UpdateControls();
    });
    table.add(ids.save, [&window, &buffer] { save(window, buffer); });
    table.add(ids.saveAs, [&window, &buffer] { saveAs(window, buffer); });
    table.add(ids.close, [&window, &buffer] { close(window, buffer); });
}

}  // namespace

void loadIntoBuffer(MainDialog& window, MemoryBuffer& buffer, const std::string& path) {
    loadWatched(window, buffer, [&] { return buffer.loadFile(path); });
}

void addBufferFileCommands(MainDialog& window) {
    auto& ws = window.workspace();
    addCommandsOf(window, ws.flash(),
                  {id::kFlashLoad, id::kFlashLoadAt, id::kFlashReload, id::kFlashSave,
                   id::kFlashSaveAs, id::kFlashClose});
    addCommandsOf(window, ws.eeprom(),
                  {id::kEepromLoad, id::kEepromLoadAt, id::kEepromReload, id::kEepromSave,
                   id::kEepromSaveAs, id::kEepromClose});
}

}  // namespace zavuv::app::shell
