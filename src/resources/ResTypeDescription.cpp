#include "resources/ResTypeDescription.h"

QString ResTypeDescription(std::uint32_t type) {
    switch (type) {
    case 1:
        return QStringLiteral("Аппаратно-зависимый ресурс курсора");
    case 2:
        return QStringLiteral("Точечный рисунок");
    case 3:
        return QStringLiteral("Аппаратно-зависимый ресурс иконки");
    case 4:
        return QStringLiteral("Ресурс меню");
    case 5:
        return QStringLiteral("Диалоговое окно");
    case 6:
        return QStringLiteral("Таблица строк");
    case 7:
        return QStringLiteral("Ресурс каталога шрифта");
    case 8:
        return QStringLiteral("Ресурс шрифта");
    case 9:
        return QStringLiteral("Таблица ассоциаций");
    case 10:
        return QStringLiteral("Определяемый приложением ресурс");
    case 11:
        return QStringLiteral("Таблица сообщений");
    case 12:
        return QStringLiteral("Аппаратно-независимый ресурс курсора");
    case 14:
        return QStringLiteral("Аппаратно-независимый ресурс иконки");
    case 16:
        return QStringLiteral("Ресурс версии");
    case 17:
        return QStringLiteral("Файл, который содержит определения меню и диалоговых окон");
    case 19:
        return QStringLiteral("Plug and play ресурс");
    case 20:
        return QStringLiteral("VXD ресурс");
    case 21:
        return QStringLiteral("Анимированный курсор");
    case 22:
        return QStringLiteral("Анимированная иконка");
    case 23:
        return QStringLiteral("HTML документ");
    default:
        return QStringLiteral("Определяемый пользователем ресурс");
    }
}
