#include "thumbnailer/ThumbnailCommand.h"

#include "ProgramVersion.h"
#include "imaging/PngImage.h"
#include "thumbnailer/ShellIcon.h"
#include "thumbnailer/ThumbnailFile.h"

#include <new>

namespace {
constexpr int kDefaultSize = 128;

const char kHelp[] = R"(Миниатюры для файловых менеджеров: значок исполняемого файла или библиотеки Windows.

Использование:
  zorvika-thumbnailer [-s SIZE] INPUT OUTPUT
  zorvika-thumbnailer --help | --version

Записывает в OUTPUT рисунок PNG: значок, который оболочка Windows показывает
для файла INPUT (первая группа значков в порядке каталога ресурсов: строковые
имена раньше целых), в том изображении группы, которое лучше всего служит
размеру SIZE: наименьшем из тех, что не меньше SIZE по обеим сторонам, иначе
наибольшем; при равном размере — в более глубоком цвете. Изображение больше
SIZE × SIZE плавно уменьшается с сохранением пропорций, меньшее не
увеличивается; прозрачность сохраняется.
  -s, --size SIZE  сторона миниатюры в точках, от 1 до 1024 (по умолчанию 128)

OUTPUT пишется целиком или не пишется вовсе. Программа читает только INPUT и
пишет только в папку OUTPUT; ей не нужны ни дисплей, ни шрифты, ни сеть.

Коды завершения:
  0  миниатюра записана
  1  миниатюры нет: INPUT не исполняемый файл Windows, в нём нет значков или
     он повреждён, или OUTPUT не записывается (причина — одной строкой в
     потоке ошибок)
  2  неверный вызов
)";

// A path as one line of text: control characters shown as "?", so a name with a line break in it
// cannot make two lines of the one error line.
QString OneLine(QString text) {
    for (QChar &c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = QLatin1Char('?');
    return text;
}

ThumbnailerOutcome Mistake(const QString &what) {
    return {2, QStringLiteral("zorvika-thumbnailer: %1 (см. --help)").arg(what)};
}

} // namespace

ThumbnailerOutcome RunThumbnailer(const QStringList &arguments) {
    QString sizeText;
    QStringList files;
    bool options = true;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (options && a == QLatin1String("--")) {
            options = false;
        } else if (options && (a == QLatin1String("-h") || a == QLatin1String("--help"))) {
            return {0, QString::fromUtf8(kHelp)};
        } else if (options && a == QLatin1String("--version")) {
            return {0, QStringLiteral("zorvika-thumbnailer (Зорвика) %1.%2\n")
                           .arg(ProgramVersion::Major)
                           .arg(ProgramVersion::Minor)};
        } else if (options && (a == QLatin1String("-s") || a == QLatin1String("--size"))) {
            if (++i == arguments.size()) return Mistake(QStringLiteral("после %1 нужен размер").arg(a));
            sizeText = arguments[i];
        } else if (options && a.startsWith(QLatin1String("--size="))) {
            sizeText = a.mid(7);
        } else if (options && a.startsWith(QLatin1String("-s")) && !a.startsWith(QLatin1String("--"))) {
            sizeText = a.mid(2);
        } else if (options && a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            return Mistake(QStringLiteral("неизвестный ключ %1").arg(OneLine(a)));
        } else {
            files << a;
        }
    }
    if (files.size() != 2) return Mistake(QStringLiteral("нужны два файла: INPUT и OUTPUT"));
    int size = kDefaultSize;
    if (!sizeText.isNull()) {
        bool number = false;
        size = sizeText.toInt(&number);
        if (!number || size < 1 || size > kMaxThumbnailSize)
            return Mistake(QStringLiteral("размер %1 не число от 1 до %2")
                               .arg(OneLine(sizeText))
                               .arg(kMaxThumbnailSize));
    }
    const QString &input = files[0], &output = files[1];
    const auto fail = [&](const QString &why) {
        return ThumbnailerOutcome{1, QStringLiteral("zorvika-thumbnailer: %1: %2").arg(OneLine(input), why)};
    };

    QByteArray png;
    try {
        const Made<Pixels> thumbnail = ShellIconThumbnail(input, size);
        if (!thumbnail) return fail(thumbnail.failure()->description());
        png = EncodePng(thumbnail.value());
    } catch (const std::bad_alloc &) {
        // The data bound the program runs under (see main.cpp) was met.
        return fail(QStringLiteral("файлу нужно больше памяти, чем отведено"));
    }
    if (png.isEmpty()) return fail(QStringLiteral("не удаётся закодировать PNG"));
    try {
        WriteThumbnailFile(output, png);
    } catch (const ErrorReport &failure) {
        return fail(failure.description());
    }
    return {};
}
