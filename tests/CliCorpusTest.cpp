// zorvika-cli over many files: documents that are the one-file documents in the files' order
// whatever the threads, folders walked in the order of their sorted paths, a folder of its own
// for each file extract writes, whole icon and cursor groups, and the whole program's failed writes.
#include "CliRun.h"
#include "cli/CheckedWrite.h"
#include "Fixtures.h"

#include <QDir>
#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <gtest/gtest.h>
#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace {
QString Fixture(const char *name) {
    return FixturePath(QString::fromUtf8(name));
}

// A small corpus: modules in a folder and a folder inside it, a text file, links to a module and
// to the folder, a hidden module. `order`: its modules in the order of their sorted paths.
struct Corpus {
    Corpus() {
        root = files.path() + QStringLiteral("/corpus");
        QDir().mkpath(root + QStringLiteral("/a"));
        auto copy = [&](const char *fixture, const QString &to) { QFile::copy(Fixture(fixture), root + to); };
        copy("tree64.dll", QStringLiteral("/b.dll"));
        copy("menus32.dll", QStringLiteral("/a/z.dll"));
        copy("digits32.dll", QStringLiteral("/a-c.dll"));
        copy("names32.dll", QStringLiteral("/.hidden.dll"));
        files.Write(QStringLiteral("corpus/a/readme.txt"), "not a module");
        ::symlink("b.dll", QFile::encodeName(root + QStringLiteral("/link.dll")).constData());
        ::symlink("a", QFile::encodeName(root + QStringLiteral("/linked")).constData());
        // "a-c.dll" before "a/z.dll": '-' sorts before '/'.
        for (const char *p : {"/.hidden.dll", "/a-c.dll", "/a/z.dll", "/b.dll"})
            order << root + QLatin1String(p);
    }
    TempFiles files;
    QString root;
    QStringList order;
};

// The paths that begin the lines of a listing of several files, each once, in order.
QStringList ListedPaths(const QByteArray &out) {
    QStringList paths;
    for (const QString &line : QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString path = line.section(QLatin1Char('\t'), 0, 0);
        if (paths.isEmpty() || paths.back() != path) paths << path;
    }
    return paths;
}

// Every file below `folder`, by its path relative to it, with its bytes.
std::map<QString, QByteArray> Tree(const QString &folder) {
    std::map<QString, QByteArray> tree;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        tree[QDir(folder).relativeFilePath(path)] = ReadFileBytes(path);
    }
    return tree;
}

CliRun RunShell(const QString &script, const QStringList &arguments = {}) {
    return RunProgram(QStringLiteral("bash"), QStringList{QStringLiteral("-c"), script, QStringLiteral(CLI_PROGRAM)} + arguments);
}
} // namespace

TEST(CliCorpus, DocumentsAreTheOneFileDocumentsInTheFilesOrder) {
    TempFiles files;
    const QString hostile = files.Write(QStringLiteral("cut.dll"), ReadFileBytes(Fixture("tree32.dll")).left(0x40));
    const QStringList inputs{Fixture("tree64.dll"), hostile,           Fixture("pictures32.dll"),
                             files.path() + QStringLiteral("/none.dll"), Fixture("names64.dll"),
                             Fixture("verinfo32.dll"), Fixture("menus64.dll")};
    // Each command, with the files in its place.
    const std::vector<std::function<QStringList(const QStringList &)>> commands{
        [](const QStringList &f) { return QStringList{QStringLiteral("list"), QStringLiteral("--json")} + f; },
        [](const QStringList &f) {
            return QStringList{QStringLiteral("show"), QStringLiteral("--json")} + f +
                   QStringList{QStringLiteral("16"), QStringLiteral("1")};
        },
    };
    for (const auto &command : commands) {
        CliRun expected;
        for (const QString &file : inputs) {
            const CliRun one = RunCliHere(command({file}));
            expected.out += one.out;
            expected.err += one.err;
        }
        for (const char *jobs : {"-j1", "-j3"}) {
            const std::string where = command({}).join(QLatin1Char(' ')).toStdString() + " " + jobs;
            const CliRun run = RunCliHere(command(inputs) + QStringList{QLatin1String(jobs)});
            EXPECT_EQ(run.status, 1) << where;
            EXPECT_EQ(run.out, expected.out) << where;
            EXPECT_EQ(run.err, expected.err) << where;
        }
        // One document a line, each naming its file; the broken ones say why, the others are read.
        const QList<QByteArray> lines = expected.out.split('\n');
        ASSERT_EQ(lines.size(), inputs.size() + 1);
        for (qsizetype i = 0; i < inputs.size(); ++i) {
            const QJsonObject document = QJsonDocument::fromJson(lines[i]).object();
            EXPECT_EQ(document[QStringLiteral("file")].toString(), inputs[i]);
            const bool broken = i == 1 || i == 3;
            if (broken || command({})[0] == QLatin1String("list")) {
                EXPECT_EQ(document.contains(QStringLiteral("error")), broken) << lines[i].toStdString();
            }
        }
        EXPECT_TRUE(lines[1].contains("не является")) << lines[1].toStdString();
        EXPECT_TRUE(lines[3].contains("файл не найден")) << lines[3].toStdString();
    }
}

TEST(CliCorpus, FoldersAreWalkedInTheOrderOfTheirSortedPaths) {
    Corpus corpus;
    // What `find | LC_ALL=C sort` gives, less the file that is no module.
    const CliRun found = RunProgram(QStringLiteral("sh"), {QStringLiteral("-c"),
                                                           QStringLiteral("find \"$0\" -type f | LC_ALL=C sort"),
                                                           corpus.root});
    QStringList sorted = QString::fromUtf8(found.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    sorted.removeAll(corpus.root + QStringLiteral("/a/readme.txt"));
    ASSERT_EQ(sorted, corpus.order);

    const QString list = corpus.files.Write(QStringLiteral("list"), (corpus.order.join(QLatin1Char('\n')) +
                                                                     QStringLiteral("\n") + corpus.root +
                                                                     QStringLiteral("/a/readme.txt\n"))
                                                                        .toUtf8());
    QByteArray nul = QFile::encodeName(corpus.order.join(QChar(0)));
    const QString nulList = corpus.files.Write(QStringLiteral("list0"), nul + '\0');
    const QStringList ways[] = {
        {QStringLiteral("-r"), corpus.root},
        {QStringLiteral("-j1"), QStringLiteral("--recursive"), corpus.root},
        {QStringLiteral("--files-from"), list},
        {QStringLiteral("--files-from=") + nulList, QStringLiteral("--null")},
    };
    for (const QStringList &way : ways) {
        const CliRun run = RunCliHere(QStringList{QStringLiteral("list")} + way);
        const std::string where = way.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(run.status, 0) << where << run.err.toStdString();
        EXPECT_TRUE(run.err.isEmpty()) << where; // the text file passes without a word
        EXPECT_EQ(ListedPaths(run.out), corpus.order) << where;
    }
    // show: each text under its file's path, as head prints several files; the files without the
    // resource say so.
    const QString menus = corpus.root + QStringLiteral("/a/z.dll");
    const CliRun alone = RunCliHere({QStringLiteral("show"), menus, QStringLiteral("4"), QStringLiteral("1")});
    const CliRun shown = RunCliHere({QStringLiteral("show"), QStringLiteral("-r"), corpus.root, QStringLiteral("4"), QStringLiteral("1")});
    EXPECT_EQ(shown.status, 1);
    EXPECT_EQ(shown.out, "==> " + menus.toUtf8() + " <==\n" + alone.out + "\n");
    EXPECT_EQ(shown.err.count("в файле нет типа ресурсов 4"), 3) << shown.err.toStdString();

    // Named on the command line, what cannot be listed says why.
    const struct {
        QStringList args;
        const char *reason;
    } named[] = {
        {{QStringLiteral("list"), corpus.root + QStringLiteral("/a/readme.txt")}, "не является"},
        {{QStringLiteral("list"), corpus.root}, "это папка"},
        {{QStringLiteral("list"), QStringLiteral("--files-from"), corpus.root + QStringLiteral("/none")},
         "список файлов не читается"},
    };
    for (const auto &row : named) {
        const CliRun run = RunCliHere(row.args);
        EXPECT_EQ(run.status, 1) << row.reason;
        EXPECT_TRUE(run.err.contains(row.reason)) << run.err.toStdString();
    }
}

TEST(CliCorpus, ExtractGivesEachFileAFolderOfItsOwn) {
    Corpus corpus;
    // Two files of one name, from two folders.
    const QString again = corpus.files.Write(QStringLiteral("tree64.dll"), ReadFileBytes(Fixture("menus64.dll")));
    std::map<QString, QByteArray> one, many;
    for (const char *jobs : {"-j1", "-j3"}) {
        TempFiles out;
        const CliRun run = RunCliHere({QStringLiteral("extract"), QStringLiteral("-r"), corpus.root,
                                       Fixture("tree64.dll"), again, QStringLiteral("--raw"),
                                       QLatin1String(jobs), QStringLiteral("-o"), out.path()});
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        many = Tree(out.path());
        if (one.empty()) {
            one = many;
            continue;
        }
        EXPECT_EQ(many, one) << "threads change what is written";
    }
    // Each folder holds exactly what extract writes of its file alone.
    const std::pair<const char *, QString> folders[] = {
        {"corpus/_hidden.dll", corpus.order[0]}, {"corpus/a-c.dll", corpus.order[1]},
        {"corpus/a/z.dll", corpus.order[2]},     {"corpus/b.dll", corpus.order[3]},
        {"tree64.dll", Fixture("tree64.dll")},   {"tree64.dll~2", again},
    };
    std::size_t files = 0;
    for (const auto &[folder, source] : folders) {
        TempFiles alone;
        ASSERT_EQ(RunCliHere({QStringLiteral("extract"), source, QStringLiteral("--raw"), QStringLiteral("-o"),
                              alone.path()})
                      .status,
                  0);
        const auto expected = Tree(alone.path());
        ASSERT_FALSE(expected.empty()) << folder;
        for (const auto &[name, bytes] : expected) {
            const auto at = one.find(QLatin1String(folder) + QLatin1Char('/') + name);
            ASSERT_NE(at, one.end()) << folder << "/" << name.toStdString();
            EXPECT_EQ(at->second, bytes) << folder << "/" << name.toStdString();
        }
        files += expected.size();
    }
    EXPECT_EQ(one.size(), files); // and nothing else

    // Pictures drawn on several threads at once are the pictures drawn on one.
    const QStringList pictures{Fixture("pictures32.dll"), Fixture("pictures64.dll"), Fixture("dialogs32.dll")};
    TempFiles drawnOnOne, drawnOnThree;
    RunCliHere(QStringList{QStringLiteral("extract"), QStringLiteral("--png"), QStringLiteral("-j1"),
                           QStringLiteral("-o"), drawnOnOne.path()} + pictures + pictures);
    RunCliHere(QStringList{QStringLiteral("extract"), QStringLiteral("--png"), QStringLiteral("-j3"),
                           QStringLiteral("-o"), drawnOnThree.path()} + pictures + pictures);
    const auto drawn = Tree(drawnOnOne.path());
    EXPECT_GT(drawn.size(), 60u);
    EXPECT_EQ(Tree(drawnOnThree.path()), drawn);
}

TEST(CliIco, GroupsComeOutAsTheFilesThatWereCompiledIn) {
    for (const char *fixture : {"pictures32.dll", "pictures64.dll"}) {
        TempFiles out;
        const CliRun run = RunCliHere({QStringLiteral("extract"), Fixture(fixture), QStringLiteral("--ico"),
                                       QStringLiteral("-t"), QStringLiteral("Аппаратно-независимый ресурс иконки"),
                                       QStringLiteral("-o"), out.path()});
        const CliRun cursors = RunCliHere({QStringLiteral("extract"), Fixture(fixture), QStringLiteral("--ico"),
                                           QStringLiteral("-t12"), QStringLiteral("-o"), out.path()});
        ASSERT_EQ(run.status + cursors.status, 0) << run.err.toStdString() << cursors.err.toStdString();
        const std::pair<const char *, const char *> groups[] = {
            {"14_1.ico", "pic_icon.ico"},    {"14_2.ico", "pic_icon2.ico"}, {"14_PNGICON.ico", "pic_png.ico"},
            {"14_MONO.ico", "pic_mono.ico"}, {"12_1.cur", "pic_cursor.cur"}, {"12_MONO.cur", "pic_mono.cur"},
        };
        for (const auto &[written, source] : groups) {
            const QByteArray compiled = ReadFileBytes(Fixture(source));
            ASSERT_FALSE(compiled.isEmpty()) << source;
            EXPECT_EQ(ReadFileBytes(out.path() + QLatin1Char('/') + QLatin1String(written)), compiled)
                << fixture << " " << written;
        }
        EXPECT_EQ(Tree(out.path()).size(), std::size(groups));
    }
    // A group whose image is missing is no whole group: its bytes, and why.
    TempFiles out;
    const CliRun bad = RunCliHere({QStringLiteral("extract"), Fixture("reasons32.dll"), QStringLiteral("--ico"),
                                   QStringLiteral("-t14"), QStringLiteral("-nBADGROUP"), QStringLiteral("-o"),
                                   out.path()});
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(bad.err.contains("14 BADGROUP: Недопустимый рисунок (записаны байты ресурса)")) << bad.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(out.path() + QStringLiteral("/14_BADGROUP.bin")));
}

TEST(CliCorpusProcess, AFailedWriteEndsTheRunWithItsReason) {
    const QString tree = Fixture("tree64.dll");
    QStringList many;
    for (int i = 0; i < 400; ++i)
        many << tree;
    TempFiles files;
    const QString out = files.path() + QStringLiteral("/out");
    const QString big = Fixture("pictures64.dll"); // a bitmap of 1.8 MB among small resources
    const struct {
        const char *what, *script;
        QStringList args;
        const char *err; // what the error stream holds; "" for nothing, null for the reason EFBIG
    } rows[] = {
        {"list to a full device", "\"$0\" list --json \"$@\" > /dev/full", {tree}, "не удаётся записать в стандартный вывод: "},
        {"show to a full device", "\"$0\" show \"$@\" > /dev/full", {tree, QStringLiteral("10"), QStringLiteral("101")},
         "не удаётся записать в стандартный вывод: "},
        {"help to a full device", "\"$0\" --help > /dev/full", {}, "не удаётся записать в стандартный вывод: "},
        // The reader has what it wanted: the run stops, quietly.
        {"a pipe closed by head", "set -o pipefail; \"$0\" list --json \"$@\" | head -1 > /dev/null", many, ""},
        {"extract past the file-size limit", "ulimit -f 64; \"$0\" extract \"$@\"",
         {big, QStringLiteral("--raw"), QStringLiteral("-o"), out}, nullptr},
    };
    for (const auto &row : rows) {
        const CliRun run = RunShell(QString::fromUtf8(row.script), row.args);
        EXPECT_EQ(run.status, 1) << row.what << run.err.toStdString();
        const QByteArray reason = row.err ? QByteArray(row.err) : SystemReason(EFBIG).toUtf8();
        if (!reason.isEmpty()) {
            EXPECT_TRUE(run.err.contains(reason)) << row.what << run.err.toStdString();
        } else {
            EXPECT_TRUE(run.err.isEmpty()) << row.what << run.err.toStdString();
        }
    }
    // A file system of 64 KiB, in a mount namespace of the run's own: the disk fills up.
    const QString disk = files.path() + QStringLiteral("/disk");
    QDir().mkpath(disk);
    const CliRun full = RunShell(
        QStringLiteral("unshare -m bash -c 'mount -t tmpfs -o size=64k tmpfs \"$1\" || exit 124; \"$0\" extract \"$2\" "
                       "--raw -o \"$1/out\" > /dev/null; s=$?; ls -A \"$1/out\"; exit $s' \"$0\" \"$@\""),
        {disk, big});
    if (full.status == 124) {
        std::printf("[ not run: a full file system (no mount namespace here) ]\n");
    } else {
        EXPECT_EQ(full.status, 1) << full.err.toStdString();
        EXPECT_TRUE(full.err.contains(SystemReason(ENOSPC).toUtf8())) << full.err.toStdString();
        EXPECT_FALSE(full.out.isEmpty()); // the files before the one that did not fit
        EXPECT_FALSE(full.out.contains(".zorvika-cli")) << full.out.toStdString();
    }
    // Extract wrote the files before the one that failed, whole, and nothing else.
    const QStringList left = QDir(out).entryList(QDir::Files | QDir::Hidden);
    EXPECT_FALSE(left.isEmpty());
    for (const QString &name : left) {
        EXPECT_FALSE(name.startsWith(QLatin1Char('.'))) << name.toStdString();
        EXPECT_LE(QFileInfo(QDir(out).filePath(name)).size(), 64 * 1024) << name.toStdString(); // bash's blocks
    }
}

TEST(CliCorpusProcess, TheProgramsMainInstallsTheSignalHandlingALibraryDoesNot) {
    // In-process, extract leaves the test's signals as they were.
    TempFiles out;
    ASSERT_EQ(RunCliHere({QStringLiteral("extract"), Fixture("tree32.dll"), QStringLiteral("-o"), out.path()}).status, 0);
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGXFSZ}) {
        struct sigaction now {};
        sigaction(s, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_DFL) << s;
    }
    // The program, waiting for its list on standard input, catches INT, TERM and HUP and ignores
    // PIPE and XFSZ.
    QProcess p;
    p.start(QStringLiteral(CLI_PROGRAM), {QStringLiteral("list"), QStringLiteral("--files-from"), QStringLiteral("-")});
    ASSERT_TRUE(p.waitForStarted());
    auto mask = [&](const char *field) {
        QFile status(QStringLiteral("/proc/%1/status").arg(p.processId()));
        if (!status.open(QIODevice::ReadOnly)) return 0ull;
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith(field)) return line.mid(static_cast<qsizetype>(qstrlen(field))).trimmed().toULongLong(nullptr, 16);
        return 0ull;
    };
    auto bit = [](int s) { return 1ull << (s - 1); };
    const unsigned long long caught = bit(SIGINT) | bit(SIGTERM) | bit(SIGHUP);
    for (int i = 0; i < 500 && (mask("SigCgt:") & caught) != caught; ++i)
        QThread::msleep(10);
    EXPECT_EQ(mask("SigCgt:") & caught, caught);
    EXPECT_EQ(mask("SigIgn:") & (bit(SIGPIPE) | bit(SIGXFSZ)), bit(SIGPIPE) | bit(SIGXFSZ));
    p.write(QFile::encodeName(Fixture("tree32.dll")) + '\n');
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_TRUE(p.readAllStandardOutput().startsWith(QFile::encodeName(Fixture("tree32.dll")) + '\t'));
}
