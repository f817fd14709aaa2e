#include "system/SystemErrorText.h"

#include <cerrno>
#include <cstring>

namespace {
struct Wording {
    int error;
    const char16_t *text;
};
constexpr Wording kWordings[] = {
    {ENOSPC, u"Нет места на устройстве"},
    {EDQUOT, u"Превышена дисковая квота"},
    {EACCES, u"Отказано в доступе"},
    {EPERM, u"Операция не разрешена"},
    {EROFS, u"Файловая система только для чтения"},
    {EFBIG, u"Файл слишком велик"},
    {ENOENT, u"Нет такого файла или папки"},
    {ENOTDIR, u"Часть пути не является папкой"},
    {EISDIR, u"Это папка"},
    {ENAMETOOLONG, u"Слишком длинное имя файла"},
    {ELOOP, u"Слишком много уровней символических ссылок"},
    {EIO, u"Ошибка ввода-вывода"},
    {ETXTBSY, u"Файл занят выполняемой программой"},
    {EEXIST, u"Файл уже существует"},
    {EXDEV, u"Ссылка между разными файловыми системами невозможна"},
    {EMFILE, u"Слишком много открытых файлов"},
    {ENFILE, u"Слишком много открытых файлов в системе"},
    {ENOMEM, u"Недостаточно памяти"},
    {EPIPE, u"Канал закрыт читающей стороной"},
    {EINVAL, u"Недопустимый аргумент"},
    {EBUSY, u"Устройство или ресурс заняты"},
};
} // namespace

QString SystemErrorText(int errnoValue) {
    for (const Wording &w : kWordings)
        if (w.error == errnoValue) return QString::fromUtf16(w.text);
    char buffer[256];
    // The GNU form, safe on every thread: the text, in `buffer` or in static storage.
    return QStringLiteral("%1 (ошибка %2)")
        .arg(QString::fromLocal8Bit(strerror_r(errnoValue, buffer, sizeof buffer)))
        .arg(errnoValue);
}
