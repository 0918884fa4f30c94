#include "text/UiText.h"

namespace zavuv::text {

namespace {

// Positive ids name menu commands; zero and negative ids name top-level
// positions. "&Flash" (1) and "&Eeprom" (2) have no row on purpose.
// clang-format off
constexpr MenuCaptionRow kMenu[] = {
    {0, "&Project", "&Проект"},
    {32784, "&New", "&Новый"},
    {32780, "&Open...", "&Открыть..."},
    {32783, "&Reload", "&Перезагрузить"},
    {32781, "&Save", "&Сохранить"},
    {32782, "Save &As...", "Сохранить &как..."},
    {32792, "&Close", "&Закрыть"},
    {1015, "Auto-&Program", "&Автопрограммирование"},
    {32800, "Recent Pro&jects", "Проек&ты"},
    {1056, "&Exit", "В&ыход"},
    {1006, "&Load...", "&Открыть..."},
    {32908, "Load A&t...", "Открыть по &адресу..."},
    {32790, "&Reload...", "&Перезагрузить"},
    {32776, "&Save", "&Сохранить"},
    {32774, "Save &As...", "Сохранить &как..."},
    {32771, "&Close", "&Закрыть"},
    {1009, "&Program", "Про&граммировать"},
    {1010, "&Verify", "Пров&ерить"},
    {1013, "R&ead", "Прочи&тать"},
    {1007, "&Load...", "&Открыть..."},
    {32909, "Load A&t...", "Открыть по &адресу..."},
    {32791, "&Reload...", "&Перезагрузить"},
    {32772, "&Save", "&Сохранить"},
    {32775, "Save &As...", "Сохранить &как..."},
    {32773, "&Close", "&Закрыть"},
    {1011, "&Program", "Про&граммировать"},
    {1012, "&Verify", "Пров&ерить"},
    {1014, "R&ead", "Прочи&тать"},
    {-3, "&Settings", "&Настройки"},
    {32795, "&Project Settings...", "Настройки &проекта..."},
    {1016, "&Lock&&Fuse Bits...", "&Lock/Fuse биты..."},
    {32785, "&Board Settings...", "Настройки пл&аты..."},
    {32907, "Select La&nguage...", "&Язык/Language..."},
    {-4, "&Advanced", "&Дополнительно"},
    {32779, "&Empty Check...", "Проверка на &чистоту..."},
    {32777, "&Read Signature...", "Чтение &сигнатуры..."},
    {32904, "Read &Calibration Bytes...", "Чтение &калибровочных байтов..."},
    {32901, "&ZAVUV Info...", "&Информация о плате..."},
    {32910, "&Update firmware version...", "&Обновить версию платы..."},
    {32788, "&Search Board", "&Поиск платы"},
    {-5, "&Help", "П&омощь"},
    {32789, "&Help", "&Помощь"},
    {16, "&About", "&О программе..."},
};
// clang-format on

}  // namespace

std::span<const MenuCaptionRow> menuCaptionTable() {
    return kMenu;
}

}  // namespace zavuv::text
