#pragma once
// The bilingual text tables: messages by key (text/MessageKeys.h), dialog
// captions by dialog id, menu captions by menu id. One process-wide language
// flag picks the column.

#include <cstdint>
#include <span>
#include <string>

#include <fmt/printf.h>

#include "text/MessageKeys.h"

namespace zavuv::text {

enum class Language : std::uint8_t { English = 0, Russian = 1 };

// The language flag is deliberately process-wide: every lookup, on the window
// thread and on worker threads alike, reads it. It changes only while no
// operation runs.
void setLanguage(Language language);
Language language();

struct MessageRow {
    Msg key;
    const char* english;
    const char* russian;
};

struct CaptionRow {
    int controlId;
    const char* english;
    const char* russian;
};

struct DialogCaptions {
    int dialogId;
    const char* englishTitle;
    const char* russianTitle;
    std::span<const CaptionRow> rows;  // applied in order; a later row for the same id wins
};

struct MenuCaptionRow {
    int id;  // > 0: command id; <= 0: top-level position -id
    const char* english;
    const char* russian;
};

inline constexpr const char* kNotTranslated = "NOT TRANSLATED";

std::span<const MessageRow> messageTable();
std::span<const DialogCaptions> dialogCaptionTable();
std::span<const MenuCaptionRow> menuCaptionTable();

// The text of the first row with this key in the current language, or
// "NOT TRANSLATED". The pointer is to constant data and never freed.
const char* GetUiText(Msg key);

// The first record for this dialog id, or nullptr (the window keeps its
// template texts).
const DialogCaptions* findDialogCaptions(int dialogId);

// The caption of the first menu row with this id in the current language, or
// nullptr when the table has no row for it.
const char* menuCaption(int id);

// Picks the column of the current language.
const char* inLanguage(const char* english, const char* russian);

// A message-table text with its printf-style placeholders filled in.
template <typename... Args> std::string formatUiText(Msg key, const Args&... args) {
    return fmt::sprintf(GetUiText(key), args...);
}

}  // namespace zavuv::text
