#include "cli/CliRequest.h"

#include "ProgramVersion.h"

namespace {
struct Options {
    bool json = false, rawText = false, help = false, version = false;
    std::optional<ExportChoice> choice;
    std::optional<QString> output;
    QStringList given; // the options as written, for the mistakes
};
} // namespace

CliParse ParseCli(const QStringList &arguments) {
    Options o;
    QStringList positional;
    bool optionsEnd = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (optionsEnd || !a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) {
            positional << a;
            continue;
        }
        if (a == QLatin1String("--")) {
            optionsEnd = true;
            continue;
        }
        auto choose = [&](ExportChoice c) -> std::optional<QString> {
            if (o.choice && *o.choice != c)
                return QStringLiteral("ключи --png, --bmp и --raw взаимно исключают друг друга");
            o.choice = c;
            o.given << a;
            return std::nullopt;
        };
        std::optional<QString> mistake;
        if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            o.help = true;
        } else if (a == QLatin1String("--version")) {
            o.version = true;
        } else if (a == QLatin1String("--json")) {
            o.json = true;
            o.given << a;
        } else if (a == QLatin1String("--raw-text")) {
            o.rawText = true;
            o.given << a;
        } else if (a == QLatin1String("--png")) {
            mistake = choose(ExportChoice::Png);
        } else if (a == QLatin1String("--bmp")) {
            mistake = choose(ExportChoice::Drawn);
        } else if (a == QLatin1String("--raw")) {
            mistake = choose(ExportChoice::Raw);
        } else if (a == QLatin1String("-o") || a == QLatin1String("--output")) {
            if (i + 1 >= arguments.size())
                return {std::nullopt, QStringLiteral("после %1 нужна папка").arg(a)};
            o.output = arguments[++i];
            o.given << a;
        } else if (a.startsWith(QLatin1String("--output="))) {
            o.output = a.mid(9);
            o.given << QStringLiteral("--output");
        } else if (a.startsWith(QLatin1String("-o")) && !a.startsWith(QLatin1String("--"))) {
            o.output = a.mid(2);
            o.given << QStringLiteral("-o");
        } else {
            return {std::nullopt, QStringLiteral("неизвестный ключ %1").arg(a)};
        }
        if (mistake) return {std::nullopt, *mistake};
    }

    CliRequest r;
    if (o.help || (!positional.isEmpty() && positional[0] == QLatin1String("help"))) {
        r.command = CliCommand::Help;
        return {r, {}};
    }
    if (o.version) {
        r.command = CliCommand::Version;
        return {r, {}};
    }
    if (positional.isEmpty()) return {std::nullopt, QStringLiteral("не указана команда")};

    const QString command = positional.takeFirst();
    qsizetype least = 1, most = 1;
    QStringList allowed;
    if (command == QLatin1String("list")) {
        r.command = CliCommand::List;
        allowed = {QStringLiteral("--json")};
    } else if (command == QLatin1String("show")) {
        r.command = CliCommand::Show;
        least = most = 3;
        allowed = {QStringLiteral("--raw-text")};
    } else if (command == QLatin1String("extract")) {
        r.command = CliCommand::Extract;
        most = 3;
        allowed = {QStringLiteral("--png"), QStringLiteral("--bmp"), QStringLiteral("--raw"),
                   QStringLiteral("-o"), QStringLiteral("--output")};
    } else {
        return {std::nullopt, QStringLiteral("неизвестная команда %1").arg(command)};
    }
    for (const QString &option : o.given)
        if (!allowed.contains(option))
            return {std::nullopt, QStringLiteral("ключ %1 не относится к команде %2").arg(option, command)};
    if (positional.size() < least || positional.size() > most) {
        const QString usage = r.command == CliCommand::List ? QStringLiteral("list FILE")
                              : r.command == CliCommand::Show
                                  ? QStringLiteral("show FILE TYPE NAME")
                                  : QStringLiteral("extract FILE [TYPE [NAME]] -o DIR");
        return {std::nullopt, QStringLiteral("команда ожидает: %1").arg(usage)};
    }
    r.file = positional[0];
    if (positional.size() > 1) r.type = positional[1];
    if (positional.size() > 2) r.name = positional[2];
    r.json = o.json;
    r.rawText = o.rawText;
    r.choice = o.choice.value_or(ExportChoice::Saved);
    if (r.command == CliCommand::Extract) {
        if (!o.output || o.output->isEmpty())
            return {std::nullopt, QStringLiteral("для extract нужна папка: -o DIR")};
        r.outputFolder = *o.output;
    }
    if (r.file.isEmpty()) return {std::nullopt, QStringLiteral("пустое имя файла")};
    return {r, {}};
}

bool NeedsPictures(const CliRequest &request) {
    return request.command == CliCommand::Extract && request.choice != ExportChoice::Raw;
}

QString CliVersionText() {
    return QStringLiteral("zorvika-cli (Зорвика) %1.%2\n")
        .arg(ProgramVersion::Major)
        .arg(ProgramVersion::Minor);
}

QString CliHelpText() {
    return QStringLiteral(R"(Зорвика в командной строке: ресурсы исполняемых файлов и библиотек Windows.

Использование:
  zorvika-cli list FILE [--json]
  zorvika-cli show FILE TYPE NAME [--raw-text]
  zorvika-cli extract FILE [TYPE [NAME]] -o DIR [--png | --bmp | --raw]
  zorvika-cli --help | --version

list FILE
  По строке на ресурс в порядке дерева программы, поля через табуляцию: тип,
  описание типа, имя, язык (десятичный код), размер в байтах. Язык и размер —
  того языка, который выбирает и показывает программа. Тип и имя печатаются в
  точной форме, которую принимают show и extract.
  --json  один документ JSON: {"file": ..., "resources": [...]}, у каждого ресурса
          ключи type, typeId, typeName, typeText, name, nameId, nameName,
          language, languages, size (typeId и nameId — целый идентификатор или
          null, typeName и nameName — строковый или null).

show FILE TYPE NAME
  Текст, который показала бы текстовая панель окна: таблица строк, меню,
  таблица ассоциаций, ресурс версии, таблица сообщений, HTML-документ; для
  прочих ресурсов (и для рисунков, диалогов, мультимедиа) — шестнадцатеричный
  дамп. Вывод в UTF-8, строки разделены LF; на терминале управляющие символы
  из файла заменяются знаком �.
  --raw-text  байты в кодировке Windows-1251 с CR LF, как их сохраняет программа.

extract FILE [TYPE [NAME]] -o DIR
  Каждый подходящий ресурс (все ресурсы файла, все ресурсы типа или один) —
  в отдельный файл в папке DIR (она создаётся, если её нет), в том виде, в
  каком его сохраняет команда «Сохранить ресурс как...» при первом пункте
  списка типов: курсоры — .cur, иконки — .ico, точечные рисунки — .bmp; меню,
  таблицы ассоциаций, строк и сообщений, ресурсы версии — текст .txt в
  Windows-1251; остальное — байты ресурса (.avi, .wav, .mid, .html, .gif,
  .jpg, .wmf, .emf по типу, иначе .bin). Ресурс, который не удаётся
  декодировать, записывается байтами (.bin), причина — в потоке ошибок.
  --png  рисунки (точечные рисунки, иконки, курсоры, их группы, JPEG, GIF,
         WMF, EMF) — PNG с прозрачностью, в размере, в каком их показывает окно.
  --bmp  иконки и курсоры — BMP, нарисованный на фоне окна (второй пункт
         списка типов при сохранении).
  --raw  байты каждого ресурса без преобразования.
  Имя файла: ТИП_ИМЯ.расширение. Символы, недопустимые в именах файлов,
  заменяются на «_»; строковое имя из одних цифр пишется как name-77; при
  совпадении имён (без учёта регистра) добавляется ~2, ~3, ... Каждый файл
  пишется во временный файл в DIR и переименовывается, когда записан целиком:
  ни один файл не пишется вне DIR, недописанных файлов не остаётся.
  Записанные файлы печатаются по одному в строке.

TYPE — тип ресурса:
  14 или #14          целый тип (#14 — только целый; 14 — целый, а если его
                      нет — строковый тип «14»)
  Таблица строк       описание типа, как в дереве; описание, общее для
                      нескольких типов («Определяемый пользователем ресурс»),
                      выбирает их все
  AVI                 строковый тип (без учёта регистра)
  name:TEXT           только строковый тип TEXT
NAME — имя ресурса:
  #101 или 101        целое имя (#101 — только целое; 101 — целое, а если
                      его нет — строковое имя «101»)
  MENU_001            строковое имя (без учёта регистра)
  name:TEXT           только строковое имя TEXT
  Так строковое имя «77» рядом с целым 77 достигается как name:77, а целое —
  как 77 или #77; list печатает их именно так. В форме name: \\ — обратная
  косая черта, \xHH и \uHHHH — символ с этим кодом (list пишет так
  управляющие и невидимые символы, а также имена, начинающиеся с «-» или «#»).
  Аргументы после «--» не читаются как ключи.

Коды завершения:
  0  успех
  1  файл не открывается как модуль, ресурс не найден или не декодируется
     (причина — в потоке ошибок; extract записывает всё, что может)
  2  неверный вызов, или тип и имя подходят к нескольким ресурсам (show)
)");
}
