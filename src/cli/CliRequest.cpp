#include "cli/CliRequest.h"

#include "ProgramVersion.h"

#include <QFileInfo>
#include <algorithm>

namespace {
struct Options {
    bool json = false, rawText = false, help = false, version = false, recursive = false, nul = false;
    std::optional<ExportChoice> choice;
    std::optional<QString> output, type, name, fileList, jobs;
    QStringList given; // the options as written (their long form where they have one), for the mistakes
};

// The options that take a value: -o DIR, -oDIR, --output DIR, --output=DIR.
struct ValueOption {
    const char *shortName, *longName;
    std::optional<QString> Options::*value;
    const char *what; // what must follow, for the mistake
};
constexpr ValueOption kValueOptions[] = {
    {"-o", "--output", &Options::output, "папка"},
    {"-t", "--type", &Options::type, "тип"},
    {"-n", "--name", &Options::name, "имя"},
    {"-j", "--jobs", &Options::jobs, "число"},
    {nullptr, "--files-from", &Options::fileList, "файл со списком"},
};

struct Flag {
    const char *shortName, *longName;
    bool Options::*value;
};
constexpr Flag kFlags[] = {
    {"-h", "--help", &Options::help},           {nullptr, "--version", &Options::version},
    {nullptr, "--json", &Options::json},        {nullptr, "--raw-text", &Options::rawText},
    {"-r", "--recursive", &Options::recursive}, {"-0", "--null", &Options::nul},
};

struct Choice {
    const char *name;
    ExportChoice choice;
};
constexpr Choice kChoices[] = {{"--png", ExportChoice::Png},
                               {"--bmp", ExportChoice::Drawn},
                               {"--raw", ExportChoice::Raw},
                               {"--ico", ExportChoice::Groups}};

bool Is(const QString &argument, const char *name) {
    return name != nullptr && argument == QLatin1String(name);
}

// Reads the option at arguments[i] (advancing i past its value); a mistake when it is wrong.
std::optional<QString> ReadOption(const QStringList &arguments, qsizetype &i, Options &o) {
    const QString &a = arguments[i];
    for (const Flag &f : kFlags) {
        if (!Is(a, f.shortName) && !Is(a, f.longName)) continue;
        o.*f.value = true;
        if (f.value != &Options::help && f.value != &Options::version)
            o.given << QString::fromLatin1(f.longName);
        return std::nullopt;
    }
    for (const Choice &c : kChoices) {
        if (!Is(a, c.name)) continue;
        if (o.choice && *o.choice != c.choice)
            return QStringLiteral("ключи --png, --bmp, --raw и --ico взаимно исключают друг друга");
        o.choice = c.choice;
        o.given << a;
        return std::nullopt;
    }
    for (const ValueOption &v : kValueOptions) {
        const QString longName = QString::fromLatin1(v.longName);
        std::optional<QString> value;
        if (Is(a, v.shortName) || a == longName) {
            if (i + 1 >= arguments.size())
                return QStringLiteral("после %1 нужен аргумент: %2").arg(a, QString::fromUtf8(v.what));
            value = arguments[++i];
        } else if (a.startsWith(longName + QLatin1Char('='))) {
            value = a.mid(longName.size() + 1);
        } else if (v.shortName != nullptr && a.size() > 2 && a.startsWith(QLatin1String(v.shortName))) {
            value = a.mid(2);
        } else {
            continue;
        }
        o.*v.value = std::move(value);
        o.given << longName;
        return std::nullopt;
    }
    return QStringLiteral("неизвестный ключ %1").arg(a);
}

struct CommandRule {
    const char *name;
    CliCommand command;
    qsizetype resourceArguments; // positional arguments after the files: TYPE NAME for show
    QStringList allowed;         // long forms
    const char *usage;
};

const CommandRule *RuleOf(const QString &command) {
    static const QStringList common{QStringLiteral("--recursive"), QStringLiteral("--jobs"),
                                    QStringLiteral("--files-from"), QStringLiteral("--null")};
    static const CommandRule rules[] = {
        {"list", CliCommand::List, 0, common + QStringList{QStringLiteral("--json")}, "list FILE..."},
        {"show", CliCommand::Show, 2,
         common + QStringList{QStringLiteral("--json"), QStringLiteral("--raw-text")},
         "show FILE... TYPE NAME"},
        {"extract", CliCommand::Extract, 0,
         common + QStringList{QStringLiteral("--png"), QStringLiteral("--bmp"), QStringLiteral("--raw"),
                              QStringLiteral("--ico"), QStringLiteral("--output"), QStringLiteral("--type"),
                              QStringLiteral("--name")},
         "extract FILE... [-t TYPE [-n NAME]] -o DIR"},
    };
    for (const CommandRule &rule : rules)
        if (command == QLatin1String(rule.name)) return &rule;
    return nullptr;
}
} // namespace

CliParse ParseCli(const QStringList &arguments) {
    Options o;
    QStringList positional;
    bool optionsEnd = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (optionsEnd || !a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) {
            positional << a;
        } else if (a == QLatin1String("--")) {
            optionsEnd = true;
        } else if (const auto mistake = ReadOption(arguments, i, o)) {
            return {std::nullopt, *mistake};
        }
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
    const CommandRule *rule = RuleOf(command);
    if (rule == nullptr) return {std::nullopt, QStringLiteral("неизвестная команда %1").arg(command)};
    r.command = rule->command;
    for (const QString &option : o.given)
        if (!rule->allowed.contains(option))
            return {std::nullopt, QStringLiteral("ключ %1 не относится к команде %2").arg(option, command)};
    // Files come first; with a list of files, the command line may name none.
    const qsizetype leastFiles = o.fileList ? 0 : 1;
    if (positional.size() < leastFiles + rule->resourceArguments)
        return {std::nullopt, QStringLiteral("команда ожидает: %1").arg(QLatin1String(rule->usage))};
    r.files = positional.mid(0, positional.size() - rule->resourceArguments);
    if (rule->resourceArguments == 2) {
        r.type = positional[positional.size() - 2];
        r.name = positional.back();
    } else {
        r.type = o.type;
        r.name = o.name;
    }
    // extract FILE TYPE [NAME], as it was written before extract took several files, is still read
    // so where nothing after FILE names a path on disk.
    if (r.command == CliCommand::Extract && !r.type && !o.fileList && !o.recursive &&
        (r.files.size() == 2 || r.files.size() == 3) &&
        std::none_of(r.files.begin() + 1, r.files.end(),
                     [](const QString &f) { return QFileInfo::exists(f); })) {
        r.type = r.files[1];
        if (r.files.size() == 3) r.name = r.files[2];
        r.files.resize(1);
    }
    if (r.name && !r.type) return {std::nullopt, QStringLiteral("ключ --name нужен вместе с --type")};
    for (const QString &file : r.files)
        if (file.isEmpty()) return {std::nullopt, QStringLiteral("пустое имя файла")};
    if (o.fileList && o.fileList->isEmpty())
        return {std::nullopt, QStringLiteral("пустое имя списка файлов")};
    if (o.nul && !o.fileList) return {std::nullopt, QStringLiteral("ключ --null относится к --files-from")};
    if (o.json && o.rawText)
        return {std::nullopt, QStringLiteral("ключи --json и --raw-text взаимно исключают друг друга")};
    if (o.jobs) {
        bool ok = false;
        const int jobs = o.jobs->toInt(&ok);
        if (!ok || jobs < 1 || jobs > kMostJobs)
            return {std::nullopt, QStringLiteral("после --jobs нужно число от 1 до %1").arg(kMostJobs)};
        r.jobs = jobs;
    }
    r.fileList = o.fileList;
    r.nulSeparated = o.nul;
    r.recursive = o.recursive;
    r.json = o.json;
    r.rawText = o.rawText;
    r.choice = o.choice.value_or(ExportChoice::Saved);
    if (r.command == CliCommand::Extract) {
        if (!o.output || o.output->isEmpty())
            return {std::nullopt, QStringLiteral("для extract нужна папка: -o DIR")};
        r.outputFolder = *o.output;
    }
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
  zorvika-cli list FILE... [--json]
  zorvika-cli show FILE... TYPE NAME [--json | --raw-text]
  zorvika-cli extract FILE... [-t TYPE [-n NAME]] -o DIR [--png | --bmp | --raw | --ico]
  zorvika-cli --help | --version
Каждая команда принимает и ключи выбора файлов (ниже).

list FILE...
  По строке на ресурс в порядке дерева программы, поля через табуляцию: тип,
  описание типа, имя, язык (десятичный код), размер в байтах. Язык и размер —
  того языка, который выбирает и показывает программа. Тип и имя печатаются в
  точной форме, которую принимают show и extract.
  --json  по документу JSON в строке на файл: {"file": ..., "resources": [...]},
          у каждого ресурса ключи type, typeId, typeName, typeText, name,
          nameId, nameName, language, languages, size (typeId и nameId — целый
          идентификатор или null, typeName и nameName — строковый или null).

show FILE... TYPE NAME
  Текст, который показала бы текстовая панель окна: таблица строк, меню,
  таблица ассоциаций, ресурс версии, таблица сообщений, HTML-документ; для
  прочих ресурсов (и для рисунков, диалогов, мультимедиа) — шестнадцатеричный
  дамп. Вывод в UTF-8, строки разделены LF; на терминале управляющие символы
  из файла заменяются знаком �.
  --json      по документу JSON в строке на файл: {"file": ..., "type": ...,
              "name": ..., "text": ...}.
  --raw-text  байты в кодировке Windows-1251 с CR LF, как их сохраняет программа.

extract FILE... [-t TYPE [-n NAME]] -o DIR
  Каждый подходящий ресурс (все ресурсы файла, все ресурсы типа TYPE или один
  ресурс TYPE NAME) — в отдельный файл в папке DIR (она создаётся, если её
  нет), в том виде, в каком его сохраняет команда «Сохранить ресурс как...»
  при первом пункте списка типов: курсоры — .cur, иконки — .ico, точечные
  рисунки — .bmp; меню, таблицы ассоциаций, строк и сообщений, ресурсы
  версии — текст .txt в Windows-1251; остальное — байты ресурса (.avi, .wav,
  .mid, .html, .gif, .jpg, .wmf, .emf по типу, иначе .bin). Ресурс, который не
  удаётся декодировать, записывается байтами (.bin), причина — в потоке ошибок.
  -t, --type TYPE  только ресурсы этого типа
  -n, --name NAME  только ресурс с этим именем (вместе с -t); с одним файлом
                   можно и как прежде: extract FILE TYPE [NAME]
  --png  рисунки (точечные рисунки, иконки, курсоры, их группы, JPEG, GIF,
         WMF, EMF) — PNG с прозрачностью, в размере, в каком их показывает окно.
  --bmp  иконки и курсоры — BMP, нарисованный на фоне (второй пункт списка
         типов при сохранении).
  Цвета постоянные, а не цвета темы рабочего стола, поэтому записанное
  зависит только от файла и ключей: фон --bmp — (240,240,240); серые
  (128,128,128), (192,192,192), (223,223,223) точечных рисунков становятся
  (160,160,160), (240,240,240), (227,227,227) — цвета объёмных элементов
  стандартной темы платформы.
  --raw  байты каждого ресурса без преобразования.
  --ico  группы иконок (14) и курсоров (12) — целиком: файл .ico или .cur со
         всеми образами группы в её порядке (образы PNG — как есть, у курсоров —
         их горячие точки); остальное — как без ключа.
  Имя файла: ТИП_ИМЯ.расширение. Символы, недопустимые в именах файлов,
  заменяются на «_»; строковое имя из одних цифр пишется как name-77; при
  совпадении имён (без учёта регистра) добавляется ~2, ~3, ... Каждый файл
  пишется во временный файл в DIR, сбрасывается на диск и переименовывается,
  когда записан целиком, после чего на диск сбрасывается и папка: ни один
  файл не пишется вне DIR, недописанных файлов не остаётся, в том числе
  после прерывания (Ctrl+C, SIGTERM). Записанные файлы печатаются по одному
  в строке. С несколькими файлами ресурсы каждого — в своей папке в DIR,
  названной по имени файла по тем же правилам (файлы, найденные в папках, —
  в папках, повторяющих их путь от названной папки).

Выбор файлов:
  FILE...             один файл или несколько
  -r, --recursive     FILE может быть папкой: читаются все файлы в ней и во
                      вложенных папках, в порядке полных путей, как их
                      сортирует `LC_ALL=C sort`; символические ссылки внутри
                      папок не открываются
  --files-from LIST   ещё файлы: пути из файла LIST по одному в строке («-» —
                      стандартный ввод)
  -0, --null          пути в LIST разделены символом NUL (как у find -print0)
  -j, --jobs N        читать N файлов одновременно (1–256; по умолчанию — по
                      числу доступных ядер); порядок вывода от этого не зависит
  Файл, найденный в папке или в списке, который не является исполняемым
  файлом или библиотекой Windows, пропускается молча; названный в командной
  строке — с сообщением об ошибке. С несколькими файлами (или с -r,
  --files-from) вывод каждого файла помечен его путём: у list путь — первое
  поле каждой строки, у show перед текстом — строка «==> FILE <==», после
  него — пустая строка; с --json вывод — JSON Lines: документ каждого файла
  в строке, в порядке файлов. Файл, который не удаётся прочитать, даёт
  документ {"file": ..., "error": причина}, и работа продолжается.

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
     (причина — в потоке ошибок; extract записывает всё, что может), хотя бы
     у одного из файлов; или не удаётся записать вывод или файл (причина — в
     потоке ошибок; если читатель вывода закрыл канал, как head, — молча)
  2  неверный вызов, или тип и имя подходят к нескольким ресурсам (show)
)");
}
