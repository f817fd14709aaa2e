// zorvika-cli's commands: show prints the window's pane text, extract writes the Save command's
// files, TYPE and NAME reach the resource they name, file names never leave the folder, broken
// files fail with a reason, and the whole program's exit statuses and streams.
#include "CliRun.h"
#include "CommandLineTheme.h"
#include "MainWindowHarness.h"
#include "app/ResourceTreeView.h"
#include "decoders/PictureDecoders.h"
#include "export/SaveForms.h"
#include "imaging/PictureFile.h"
#include "imaging/RasterPicture.h"
#include "resources/ModuleCatalogue.h"
#include "system/AnsiCodePage.h"
#include "views/display/TextBox.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QtEndian>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {
// A window with the fixture as its system library, where a person clicks a resource.
struct Window {
    explicit Window(const char *fixture) : h(QString(), QString::fromUtf8(fixture)) {
        h.window->Load();
        h.window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(h.window.get()));
    }
    void Click(const QString &typeText, const QString &nameText) {
        ResourceTreeView *tree = h.window->TVResources;
        tree->expand(h.Type(typeText));
        QModelIndex node = h.Name(typeText, nameText);
        ASSERT_TRUE(node.isValid()) << typeText.toStdString() << " " << nameText.toStdString();
        const QModelIndex index = node;
        tree->scrollTo(index);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(index).center());
    }
    QByteArray Save(const QString &file, int filterIndex) {
        h.ui.saveAnswers.push_back(file);
        h.ui.saveFilterIndexes.push_back(filterIndex);
        h.window->MnuSaveResource_Click();
        return ReadFileBytes(file);
    }
    MainWindowHarness h;
};

// The files a run of extract reported, in order.
QStringList Written(const CliRun &run) {
    QStringList files = QString::fromUtf8(run.out).split(QLatin1Char('\n'));
    files.removeAll(QString());
    return files;
}
} // namespace

TEST(CliShow, PrintsTheTextTheWindowsPaneShows) {
    const struct {
        const char *fixture, *typeText, *node, *type, *name;
    } rows[] = {
        {"strtab32.dll", "Таблица строк", "1", "6", "1"},
        {"menus32.dll", "Ресурс меню", "1", "Ресурс меню", "#1"},
        {"accel32.dll", "Таблица ассоциаций", "1", "#9", "1"},
        {"verinfo64.dll", "Ресурс версии", "1", "16", "#1"},
        {"msgtab32.dll", "Таблица сообщений", "2", "11", "2"},
        {"tree32.dll", "Определяемый приложением ресурс", "101", "10", "101"}, // hex dump
        {"tree64.dll", "HTML документ", "INDEX.HTM", "23", "index.htm"},
    };
    for (const auto &row : rows) {
        const std::string where = std::string(row.fixture) + " " + row.type;
        Window w(row.fixture);
        w.Click(QString::fromUtf8(row.typeText), QString::fromUtf8(row.node));
        const QString pane = w.h.window->TStrings->text();
        ASSERT_FALSE(pane.isEmpty()) << where;
        ASSERT_NE(pane, QStringLiteral("Невозможно загрузить ресурс.")) << where;

        const QString file = FixturePath(QString::fromUtf8(row.fixture));
        const QStringList args{QStringLiteral("show"), file, QString::fromUtf8(row.type),
                               QString::fromUtf8(row.name)};
        const CliRun utf8 = RunCliHere(args);
        EXPECT_EQ(utf8.status, 0) << where << utf8.err.toStdString();
        EXPECT_TRUE(utf8.err.isEmpty()) << where;
        EXPECT_EQ(utf8.out, QString(pane).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toUtf8())
            << where;
        const CliRun ansi = RunCliHere(args + QStringList{QStringLiteral("--raw-text")});
        EXPECT_EQ(ansi.out, UnicodeToAnsi(pane)) << where;
    }
}

TEST(CliShow, ControlsFromTheFileNeverReachATerminal) {
    const QStringList args{QStringLiteral("show"), FixturePath(QStringLiteral("names64.dll")),
                           QStringLiteral("6"), QStringLiteral("1")};
    const CliRun plain = RunCliHere(args);
    EXPECT_TRUE(plain.out.contains("\x1b[31m")); // piped: the pane's text exactly
    CliRun terminal;
    const CliStreams streams{[&](const QByteArray &b) {
                                 terminal.out += b;
                                 return 0;
                             },
                             [](const QByteArray &) {}, true};
    terminal.status = RunCli(args, streams);
    EXPECT_EQ(terminal.status, 0);
    EXPECT_FALSE(terminal.out.contains('\x1b'));
    EXPECT_TRUE(terminal.out.contains("plain \xEF\xBF\xBD[31mred")) << terminal.out.toStdString();
}

TEST(CliSelectors, TypeAndNameFormsReachTheirResource) {
    const struct {
        const char *fixture, *type, *name;
        int status;
        const char *dumped; // the start of the resource's bytes, as the dump's character column shows them
    } rows[] = {
        {"tree64.dll", "10", "#101", 0, "russian"}, // the language the program prefers
        {"tree64.dll", "#10", "101", 0, "russian"},
        {"tree64.dll", "определяемый приложением ресурс", "101", 0, "russian"},
        {"tree64.dll", "mytype", "alpha", 0, "alpha"},
        {"tree64.dll", "name:MYTYPE", "7", 0, "seven"},
        {"tree64.dll", "Определяемый пользователем ресурс", "#1", 0, "custom integer t"},
        {"digits64.dll", "10", "77", 0, "integer 77"},
        {"digits64.dll", "10", "#77", 0, "integer 77"},
        {"digits64.dll", "10", "name:77", 0, "string 77"},
        {"names64.dll", "10", "name:ESC\\x1b[31MRED", 0, "escape"},
        {"names64.dll", "10", "../../Escape", 0, "up"},
        {"names64.dll", "RCDATA", "1", 1, nullptr}, // no such type
        {"tree64.dll", "10", "999", 1, nullptr},
        {"tree64.dll", "#240", "name:1", 1, nullptr},
        {"names64.dll", "Определяемый пользователем ресурс", "1", 2, nullptr}, // 241 and 242
        {"names64.dll", "241", "1", 0, "type 241"},
    };
    for (const auto &row : rows) {
        const std::string where = std::string(row.fixture) + " " + row.type + " " + row.name;
        const CliRun run = RunCliHere({QStringLiteral("show"), FixturePath(QString::fromUtf8(row.fixture)),
                                       QString::fromUtf8(row.type), QString::fromUtf8(row.name)});
        EXPECT_EQ(run.status, row.status) << where << run.err.toStdString();
        if (row.dumped) {
            EXPECT_TRUE(run.out.contains(row.dumped)) << where << run.out.toStdString();
        }
        EXPECT_EQ(run.err.isEmpty(), row.status == 0) << where;
    }
}

TEST(CliSelectors, EveryListedFormReadsBackAsItsOwnResource) {
    for (const char *fixture : {"tree64.dll", "digits32.dll", "names64.dll", "pictures32.dll"}) {
        const QString file = FixturePath(QString::fromUtf8(fixture));
        const auto module = ModuleCatalogue::Open(file);
        ASSERT_NE(module, nullptr);
        const CliRun list = RunCliHere({QStringLiteral("list"), QStringLiteral("--json"), file});
        ASSERT_EQ(list.status, 0);
        const QJsonArray resources = QJsonDocument::fromJson(list.out)[QStringLiteral("resources")].toArray();
        ASSERT_GT(resources.size(), 3);
        for (const QJsonValue value : resources) {
            const QJsonObject r = value.toObject();
            auto id = [&](const char *key) {
                const QJsonValue number = r[QLatin1String(key) + QStringLiteral("Id")];
                return number.isNull()
                           ? ResourceId::fromName(r[QLatin1String(key) + QStringLiteral("Name")].toString())
                           : ResourceId::fromNumber(static_cast<std::uint16_t>(number.toInt()));
            };
            const auto bytes = module->Bytes({id("type"), id("name")});
            ASSERT_TRUE(bytes);
            TempFiles out;
            const QString type = r[QStringLiteral("type")].toString(),
                          name = r[QStringLiteral("name")].toString();
            const CliRun run =
                RunCliHere({QStringLiteral("extract"), file, QStringLiteral("-t"), type, QStringLiteral("-n"), name,
                            QStringLiteral("--raw"), QStringLiteral("-o"), out.path()});
            const std::string where =
                std::string(fixture) + " " + type.toStdString() + " " + name.toStdString();
            ASSERT_EQ(run.status, 0) << where << run.err.toStdString();
            ASSERT_EQ(Written(run).size(), 1) << where;
            EXPECT_EQ(ReadFileBytes(Written(run)[0]),
                      QByteArray(reinterpret_cast<const char *>(bytes->data()),
                                 static_cast<qsizetype>(bytes->size())))
                << where;
        }
    }
}

TEST(CliExtract, WritesWhatTheSaveCommandWrites) {
    const struct {
        const char *fixture, *typeText, *node;
        int filterIndex;
        const char *type, *name, *choice; // choice: "" for the default form
        const char *extension;
        int status;
    } rows[] = {
        {"pictures32.dll", "Аппаратно-независимый ресурс иконки", "1", 1, "14", "1", "", "ico", 0},
        {"pictures32.dll", "Аппаратно-независимый ресурс иконки", "1", 2, "14", "1", "--bmp", "bmp", 0},
        {"pictures32.dll", "Аппаратно-независимый ресурс курсора", "1", 1, "12", "1", "", "cur", 0},
        {"pictures32.dll", "Аппаратно-независимый ресурс курсора", "1", 2, "12", "1", "--bmp", "bmp", 0},
        {"pictures32.dll", "Аппаратно-зависимый ресурс иконки", "2", 1, "3", "2", "", "ico", 0},
        {"pictures32.dll", "Точечный рисунок", "109", 1, "2", "109", "", "bmp", 0},
        {"pictures32.dll", "Точечный рисунок", "109", 1, "2", "109", "--bmp", "bmp", 0},
        {"pictures32.dll", "GIF", "ANIM", 1, "GIF", "ANIM", "", "gif", 0},
        // A bitmap that cannot be made: its raw bytes, and the reason.
        {"pictures32.dll", "Точечный рисунок", "201", 1, "2", "201", "", "bin", 1},
        {"menus32.dll", "Ресурс меню", "1", 1, "4", "1", "", "txt", 0},
        {"menus32.dll", "Ресурс меню", "1", 2, "4", "1", "--raw", "bin", 0},
        {"strtab32.dll", "Таблица строк", "1", 1, "6", "1", "", "txt", 0},
        {"verinfo32.dll", "Ресурс версии", "1", 1, "16", "1", "", "txt", 0},
        {"tree32.dll", "HTML документ", "INDEX.HTM", 1, "23", "INDEX.HTM", "", "html", 0},
    };
    // The window draws in the desktop theme's colours, the command in fixed ones: here they agree.
    const CommandLineTheme theme;
    for (const auto &row : rows) {
        const std::string where =
            std::string(row.fixture) + " " + row.type + " " + row.name + " " + row.choice;
        Window w(row.fixture);
        w.Click(QString::fromUtf8(row.typeText), QString::fromUtf8(row.node));
        TempFiles saved, out;
        const QByteArray expected = w.Save(saved.path() + QStringLiteral("/saved"), row.filterIndex);
        ASSERT_FALSE(expected.isEmpty()) << where;

        QStringList args{QStringLiteral("extract"),   FixturePath(QString::fromUtf8(row.fixture)),
                         QStringLiteral("-t"),        QString::fromUtf8(row.type),
                         QStringLiteral("-n"),        QString::fromUtf8(row.name),
                         QStringLiteral("-o"),        out.path()};
        if (*row.choice) args << QString::fromUtf8(row.choice);
        const CliRun run = RunCliHere(args);
        EXPECT_EQ(run.status, row.status) << where << run.err.toStdString();
        EXPECT_EQ(run.err.isEmpty(), row.status == 0) << where;
        ASSERT_EQ(Written(run).size(), 1) << where;
        EXPECT_TRUE(Written(run)[0].endsWith(QLatin1Char('.') + QString::fromUtf8(row.extension)))
            << where << Written(run)[0].toStdString();
        EXPECT_EQ(ReadFileBytes(Written(run)[0]), expected) << where;
    }
}

TEST(CliExtract, PicturesAsPngKeepTheirTransparency) {
    TempFiles out;
    const QString file = FixturePath(QStringLiteral("pictures64.dll"));
    const CliRun run = RunCliHere(
        {QStringLiteral("extract"), file, QStringLiteral("--png"), QStringLiteral("-o"), out.path()});
    EXPECT_EQ(run.status, 1); // the three broken bitmaps and the JPG that holds no picture
    const QStringList written = Written(run);
    const auto module = ModuleCatalogue::Open(file);
    int pictures = 0;
    for (const QString &path : written) {
        if (!path.endsWith(QLatin1String(".png"))) continue;
        const QImage png(path);
        ASSERT_FALSE(png.isNull()) << path.toStdString();
        ++pictures;
    }
    EXPECT_EQ(pictures, static_cast<int>(written.size()) - 4);
    for (const char *broken : {"2_201.bin", "2_202.bin", "2_203.bin", "JPG_NOTAPICTURE.bin"})
        EXPECT_TRUE(written.contains(QDir(out.path()).filePath(QLatin1String(broken)))) << broken;

    // The icon group: the image the window shows, with its transparent pixels.
    const auto shown = std::dynamic_pointer_cast<RasterPicture>(
        DecodeResourcePicture(*module, {ResourceId::fromNumber(14), ResourceId::fromNumber(1)}, {}).take());
    ASSERT_TRUE(shown);
    const QImage icon(QDir(out.path()).filePath(QStringLiteral("14_1.png")));
    EXPECT_TRUE(icon.hasAlphaChannel());
    EXPECT_EQ(icon.convertToFormat(QImage::Format_ARGB32_Premultiplied),
              shown->image().convertToFormat(QImage::Format_ARGB32_Premultiplied));
    // A metafile at the size the window draws it.
    const QImage drawing(QDir(out.path()).filePath(QStringLiteral("EMF_DRAWING.png")));
    const auto emf = LoadPictureFromData(*module->Bytes(
        {ResourceId::fromName(QStringLiteral("EMF")), ResourceId::fromName(QStringLiteral("DRAWING"))}));
    EXPECT_EQ(drawing.size(), PicturePixelSize(*emf));
    int transparent = 0, opaque = 0;
    for (int y = 0; y < drawing.height(); ++y)
        for (int x = 0; x < drawing.width(); ++x)
            (qAlpha(drawing.pixel(x, y)) == 0 ? transparent : opaque) +=
                qAlpha(drawing.pixel(x, y)) % 255 == 0;
    EXPECT_GT(transparent, 0);
    EXPECT_GT(opaque, 0);
}

TEST(CliExtract, FileNamesAreSafeDistinctAndStayInTheFolder) {
    TempFiles root;
    const QString folder = root.path() + QStringLiteral("/out");
    QDir().mkpath(folder);
    // A link in the folder under a name extract will write, pointing at a file outside it.
    const QString victim = root.Write(QStringLiteral("victim"), "keep me");
    ASSERT_EQ(::symlink(QFile::encodeName(victim).constData(),
                        QFile::encodeName(folder + QStringLiteral("/10_CON.bin")).constData()),
              0);
    const CliRun run = RunCliHere({QStringLiteral("extract"), FixturePath(QStringLiteral("names64.dll")),
                                   QStringLiteral("-t10"), QStringLiteral("-o"), folder});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(ReadFileBytes(victim), QByteArray("keep me"));
    EXPECT_EQ(QDir(root.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("out"), QStringLiteral("victim")}));
    // Each name as written, with the bytes that prove which resource it holds.
    const std::map<QString, QByteArray> expected{
        {QStringLiteral("10__RF.bin"), "dash"},
        {QStringLiteral("10__.bin"), "dot"},
        {QStringLiteral("10__..bin"), "dotdot"},
        {QStringLiteral("10__._.._ESCAPE.bin"), "up"},
        {QStringLiteral("10_name-77.bin"), "string 77"},
        {QStringLiteral("10_77.bin"), "integer 77"},
        {QStringLiteral("10_A_B_C.bin"), "slashes"},
        {QStringLiteral("10_A_B_C~2.bin"), "underscores"},
        {QStringLiteral("10_A_B_C__D__E_F.bin"), "windows"},
        {QStringLiteral("10_CON.bin"), "device"},
        {QStringLiteral("10_ESC__31MRED.bin"), "escape"},
        {QStringLiteral("10_TAB_HERE.bin"), "tab"},
        {QStringLiteral("10_Ж01234567890123456789012345678901234567890123456789012345678901.bin"), "long"},
    };
    const QFileInfoList files =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    EXPECT_EQ(files.size(), static_cast<qsizetype>(expected.size()));
    for (const QFileInfo &f : files) {
        const auto at = expected.find(f.fileName());
        ASSERT_NE(at, expected.end()) << f.fileName().toStdString();
        EXPECT_FALSE(f.isSymLink()) << f.fileName().toStdString();
        EXPECT_EQ(ReadFileBytes(f.filePath()), at->second) << f.fileName().toStdString();
    }
}

TEST(CliHostile, BrokenFilesGiveAReasonAndNeverAHalfFile) {
    for (const char *fixture : {"tree32.dll", "pictures32.dll", "names64.dll"}) {
        const QByteArray intact = ReadFileBytes(FixturePath(QString::fromUtf8(fixture)));
        ASSERT_FALSE(intact.isEmpty());
        std::vector<QByteArray> broken;
        const qsizetype step = std::max<qsizetype>(1, intact.size() / 40);
        for (qsizetype cut = 0; cut < intact.size(); cut += step)
            broken.push_back(intact.left(cut));
        // Offsets, sizes and counts made huge, a dword at a time, from the headers on.
        const qsizetype pe = qFromLittleEndian<quint32>(intact.constData() + 0x3C);
        for (qsizetype at = pe; at + 4 <= intact.size(); at += std::max<qsizetype>(4, (2 * step) & ~3)) {
            QByteArray damaged = intact;
            qToLittleEndian<quint32>(0xFFFFFFF0u, damaged.data() + at);
            broken.push_back(damaged);
        }
        int failures = 0;
        for (const QByteArray &bytes : broken) {
            TempFiles files;
            const QString path = files.Write(QStringLiteral("x.dll"), bytes);
            const QString folder = files.path() + QStringLiteral("/out");
            const CliRun list = RunCliHere({QStringLiteral("list"), path});
            const CliRun extract =
                RunCliHere({QStringLiteral("extract"), path, QStringLiteral("-o"), folder});
            const CliRun show =
                RunCliHere({QStringLiteral("show"), path, QStringLiteral("10"), QStringLiteral("1")});
            for (const CliRun *run : {&list, &extract, &show}) {
                ASSERT_TRUE(run->status == 0 || run->status == 1) << fixture << " " << bytes.size();
                EXPECT_EQ(run->status != 0, !run->err.isEmpty()) << fixture;
                failures += run->status;
            }
            // Nothing but whole files, one for every line extract printed.
            const QStringList left =
                QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
            EXPECT_EQ(left.size(), Written(extract).size()) << fixture;
            EXPECT_EQ(QDir(files.path()).entryList(QDir::Files | QDir::Hidden),
                      QStringList{QStringLiteral("x.dll")});
        }
        EXPECT_GT(failures, 0) << fixture;
    }
}

TEST(CliProcess, ExitStatusesAndStreams) {
    TempFiles files;
    const QString tree = FixturePath(QStringLiteral("tree64.dll"));
    const QString garbage = files.Write(QStringLiteral("garbage.dll"), QByteArray(4096, 'M'));
    const QString pictures = FixturePath(QStringLiteral("pictures32.dll"));
    const QString out = files.path() + QStringLiteral("/out");
    const struct {
        QStringList args;
        int status;
        const char *out, *err; // what the stream holds; "" for empty
    } rows[] = {
        {{QStringLiteral("--help")}, 0, "zorvika-cli list FILE... [--json]", ""},
        {{QStringLiteral("--version")}, 0, "zorvika-cli (Зорвика) 1.0\n", ""},
        {{}, 2, "", "не указана команда"},
        {{QStringLiteral("list")}, 2, "", "list FILE"},
        {{QStringLiteral("list"), tree, QStringLiteral("--png")}, 2, "", "--png"},
        {{QStringLiteral("extract"), tree}, 2, "", "-o DIR"},
        {{QStringLiteral("unpack"), tree}, 2, "", "unpack"},
        {{QStringLiteral("list"), tree}, 0, "240\tОпределяемый пользователем ресурс\t#1\t1033\t19\n", ""},
        {{QStringLiteral("list"), files.path() + QStringLiteral("/none.dll")}, 1, "", "файл не найден"},
        {{QStringLiteral("list"), garbage}, 1, "", "не является"},
        {{QStringLiteral("list"), files.path()}, 1, "", "это папка"},
        {{QStringLiteral("show"), tree, QStringLiteral("10"), QStringLiteral("999")},
         1,
         "",
         "ресурс не найден: 10 999"},
        {{QStringLiteral("show"), tree, QStringLiteral("10"), QStringLiteral("EMPTY")},
         1,
         "",
         "10 EMPTY: Индекс выходит за пределы"},
        {{QStringLiteral("extract"), pictures, QStringLiteral("--type=2"), QStringLiteral("--name=203"),
          QStringLiteral("-o"), out},
         1,
         "2_203.bin",
         "2 #203: Недопустимый рисунок"},
        // The form of one file that scripts wrote before extract took several files.
        {{QStringLiteral("extract"), pictures, QStringLiteral("2"), QStringLiteral("203"), QStringLiteral("-o"),
          out + QStringLiteral("/old")},
         1,
         "2_203.bin",
         "2 #203: Недопустимый рисунок"},
    };
    for (const auto &row : rows) {
        const std::string where = row.args.join(QLatin1Char(' ')).toStdString();
        const CliRun run = RunCliProcess(row.args);
        EXPECT_EQ(run.status, row.status) << where << run.err.toStdString();
        const QByteArray wantOut(row.out);
        if (wantOut.isEmpty())
            EXPECT_TRUE(run.out.isEmpty()) << where;
        else
            EXPECT_TRUE(run.out.contains(wantOut)) << where << run.out.toStdString();
        if (!*row.err) {
            EXPECT_TRUE(run.err.isEmpty()) << where << run.err.toStdString();
        } else {
            EXPECT_TRUE(run.err.contains(row.err)) << where << run.err.toStdString();
        }
        if (row.status == 2) {
            EXPECT_TRUE(run.err.contains("--help")) << where;
        }
    }
    // The whole listing is the in-process one.
    EXPECT_EQ(RunCliProcess({QStringLiteral("list"), QStringLiteral("--json"), tree}).out,
              RunCliHere({QStringLiteral("list"), QStringLiteral("--json"), tree}).out);
}

TEST(CliProcess, DrawsPicturesWithoutAnyDisplay) {
    QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
    for (const char *variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
        bare.remove(QString::fromLatin1(variable));
    TempFiles out;
    const CliRun run =
        RunCliProcess({QStringLiteral("extract"), FixturePath(QStringLiteral("pictures64.dll")),
                       QStringLiteral("-t"), QStringLiteral("EMF"), QStringLiteral("-o"), out.path(),
                       QStringLiteral("--png")},
                      bare);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString(); // not even Qt's own notes
    EXPECT_FALSE(QImage(QDir(out.path()).filePath(QStringLiteral("EMF_DRAWING.png"))).isNull());

    // An icon drawn over the scratch box's colour: the same colour as in the window.
    TempFiles alone, here;
    const QStringList drawn{QStringLiteral("extract"), FixturePath(QStringLiteral("pictures64.dll")),
                            QStringLiteral("-t14"),    QStringLiteral("-n1"),
                            QStringLiteral("--bmp"),   QStringLiteral("-o")};
    ASSERT_EQ(RunCliProcess(drawn + QStringList{alone.path()}, bare).status, 0);
    ASSERT_EQ(RunCliHere(drawn + QStringList{here.path()}).status, 0);
    const QString bmp = QStringLiteral("/14_1.bmp");
    EXPECT_EQ(ReadFileBytes(alone.path() + bmp), ReadFileBytes(here.path() + bmp));
    EXPECT_FALSE(ReadFileBytes(here.path() + bmp).isEmpty());
}

TEST(CliProcess, StartsOnQtCoreAndLoadsExtractOnlyWhenAsked) {
    // What the loader maps at start: Qt Core, never Qt GUI, which only extract needs.
    QProcessEnvironment trace = QProcessEnvironment::systemEnvironment();
    trace.insert(QStringLiteral("LD_TRACE_LOADED_OBJECTS"), QStringLiteral("1"));
    const CliRun loaded = RunCliProcess({}, trace);
    EXPECT_TRUE(loaded.out.contains("libQt6Core.so")) << loaded.out.toStdString();
    EXPECT_FALSE(loaded.out.contains("libQt6Gui.so")) << loaded.out.toStdString();

    // A copy of the program without its module beside it lists as well, and says why it cannot extract.
    TempFiles alone;
    const QString program = alone.path() + QStringLiteral("/zorvika-cli");
    ASSERT_TRUE(QFile::copy(QStringLiteral(CLI_PROGRAM), program));
    const QString tree = FixturePath(QStringLiteral("tree64.dll"));
    const CliRun list = RunProgram(program, {QStringLiteral("list"), tree});
    EXPECT_EQ(list.status, 0) << list.err.toStdString();
    EXPECT_EQ(list.out, RunCliProcess({QStringLiteral("list"), tree}).out);
    const QString out = alone.path() + QStringLiteral("/out");
    const CliRun extract = RunProgram(program, {QStringLiteral("extract"), tree, QStringLiteral("-o"), out});
    EXPECT_EQ(extract.status, 1);
    EXPECT_TRUE(extract.out.isEmpty());
    EXPECT_TRUE(extract.err.contains("не найден модуль команды extract " + QFile::encodeName(alone.path())))
        << extract.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out));
}
