#include "text/UiText.h"

namespace zavuv::text {

namespace {

// clang-format off
constexpr CaptionRow kDialog138[] = {
    {3001, "Enable data polling", "Включить polling"},
    {3002, "Auto check signature\nbefore each operation", "Проверять сигнатуру\nперед каждой операцией"},
    {3003, "Disable Synchronization", "Отменить синхронизацию"},
    {1063, "Erase Chip", "Стереть"},
    {1069, "Blank Check", "Проверить"},
    {1060, "Reload", "Перезагр."},
    {1061, "Program", "Запрогр."},
    {1062, "Verify", "Проверить"},
    {1064, "Reload", "Перезагр."},
    {1065, "Program", "Запрогр."},
    {1066, "Verify", "Проверить"},
    {1117, "SCK Settings", "Настройка SCK"},
    {1116, "Programming Settings", "Настройки программирования"},
    {1119, "Autoprogram Settings", "Настройки автопрограммирования"},
    {1120, "General", "Основные"},
    {1121, "Flash", "Flash"},
    {1122, "Eeprom", "Eeprom"},
    {2, "&Cancel", "Отмена"},
    {1124, "Autoincrement", "Автоинкремент"},
    {1118, "Reset strobe length", "Длина импульса сброса"},
    {1123, "Lock and Fuse Bits", "Биты защиты и Fuse-биты"},
    {1144, "Autoprogram", "Автопрограммировать"},
    {1151, "Fuses first operation", "Fuses первой операцией"},
    {3, "Configure...", "Настроить..."},
    {1126, "Device:", "Микросхема:"},
    {1125, "Delays overriring", "Переопределение времен задержек"},
    {1140, "Flash BYTE", "Flash, байт"},
    {1141, "Flash PAGE", "Flash, страница"},
    {1147, "Eeprom BYTE", "Eeprom, байт"},
    {1149, "Eeprom PAGE", "Eeprom, страница"},
};
constexpr CaptionRow kDialog130[] = {
    {1113, "Communication port", "Коммуникационный порт"},
    {1114, "Baud rate", "Скорость обмена"},
    {1055, "Low speed", "Низкая скорость"},
    {1054, "Standard speed", "Стандартная скорость"},
    {1060, "USB interface", "Интерфейс USB"},
    {2, "Cancel", "Отмена"},
};
constexpr CaptionRow kDialog132[] = {
    {1104, "In-System Programmer", "Внутрисхемный программатор ZAVUV"},
    {1107, "Version 11.15, November 2006", "версия 11.15, ноябрь 2006"},
    {1105, "For Windows XP/2000", "Для Windows XP/2000"},
    {1106, "Links:", "Ссылки:"},
    {1108, "Help page", "Страница помощи"},
    {1109, "Documentation", "Документация"},
    {1110, "Licence (GPL 3 or later)", "Лицензия (GPL 3 или новее)"},
    {1111, "Last version:", "Последняя версия:"},
};
constexpr CaptionRow kDialog148[] = {
    {2, "Cancel", "Отмена"},
    {1104, "Language", "Язык"},
    {1125, "English/Английский", "English/Английский"},
    {1126, "Russian/Русский", "Russian/Русский"},
};
constexpr CaptionRow kDialog102[] = {
    {1079, "Device", "Микросхема"},
    {1009, "Program Flash", "Программир. Flash"},
    {1013, "Read Flash", "Чтение Flash"},
    {1010, "Verify Flash", "Проверка Flash"},
    {1011, "Program Eeprom", "Программир. Eeprom"},
    {1014, "Read Eeprom", "Чтение Eeprom"},
    {1012, "Verify Eeprom", "Проверка Eeprom"},
    {1015, "Autoprogram", "Автопрограммирование"},
    {1103, "Read signature", "Чтение сигнатуры"},
    {1008, "Chip erase", "Стирание микросхемы"},
    {32779, "Blank check", "Проверка на чистоту"},
};
constexpr CaptionRow kDialog129[] = {
    {2, "Cancel", "Отмена"},
};
constexpr CaptionRow kDialog140[] = {
    {1114, "Lock Bits", "Биты защиты"},
    {1115, "Fuse Bits", "Fuse биты"},
    {1134, "Boot Lock Bits", "Boot Lock биты"},
    {1132, "Program", "Программировать"},
    {3, "Read", "Прочитать"},
    {4, "Verify", "Проверить"},
    {5, "Chip Erase", "Стереть микросхему"},
    {2, "Close without saving", "Выйти без сохранения"},
    {1160, "Close and save settings", "Сохранить и выйти"},
    {1138, "A button is pressed if the fuse bit is programmed", "Нажатая кнопка обозначает, что fuse бит запрограммирован (0)"},
};
constexpr CaptionRow kDialog149[] = {
    {2, "Cancel", "Отмена"},
    {1131, "Address", "Адрес"},
    {1129, "Decimal", "Десятичный"},
    {1130, "Hexadecimal", "Шестнадцатеричный"},
};
constexpr CaptionRow kDialog150[] = {
    {1153, "Settings", "Настройки"},
    {1154, "Current version", "Текущая версия"},
    {1156, "New firmware version", "Новая версия прошивки"},
    {1155, "", ""},
    {1157, "", ""},
    {1158, "Program at normal speed", "Стандартная скорость"},
    {1159, "Program at reduced speed", "Замедленная скорость"},
    {1155, "-", "-"},
    {1157, "-", "-"},
    {1, "Update", "Обновить"},
    {2, "Cancel", "Отмена"},
};

constexpr DialogCaptions kDialogs[] = {
    {138, "Project Settings", "Настройки проекта", kDialog138},
    {130, "Programmer Settings", "Настройки программатора", kDialog130},
    {132, "About", "О программе", kDialog132},
    {148, "Language", "Язык", kDialog148},
    {102, "", "", kDialog102},
    {129, "", "", kDialog129},
    {140, "", "", kDialog140},
    {149, "Load Address", "Загрузить по адресу", kDialog149},
    {150, "Self-Program Settings", "Настройки обновления версии", kDialog150},
};
// clang-format on

}  // namespace

std::span<const DialogCaptions> dialogCaptionTable() {
    return kDialogs;
}

}  // namespace zavuv::text
