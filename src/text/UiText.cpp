#include "text/UiText.h"

#include <atomic>

namespace zavuv::text {

namespace {
std::atomic<Language> gLanguage{Language::English};
}  // namespace

void setLanguage(Language language) {
    gLanguage.store(language, std::memory_order_relaxed);
}

Language language() {
    return gLanguage.load(std::memory_order_relaxed);
}

const char* inLanguage(const char* english, const char* russian) {
    return language() == Language::English ? english : russian;
}

const char* GetUiText(Msg key) {
    for (const MessageRow& row : messageTable())
        if (row.key == key)
            return inLanguage(row.english, row.russian);
    return kNotTranslated;
}

const DialogCaptions* findDialogCaptions(int dialogId) {
    for (const DialogCaptions& dialog : dialogCaptionTable())
        if (dialog.dialogId == dialogId)
            return &dialog;
    return nullptr;
}

const char* menuCaption(int id) {
    for (const MenuCaptionRow& row : menuCaptionTable())
        if (row.id == id)
            return inLanguage(row.english, row.russian);
    return nullptr;
}

}  // namespace zavuv::text
