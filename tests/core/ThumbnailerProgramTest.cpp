// zorvika-thumbnailer run whole, as a file manager's host runs it: its statuses and its one line,
// the files it leaves, and what hostile and huge inputs cost it at most.
#include "../Fixtures.h"
#include "resources/ModuleCatalogue.h"

#include <QDir>
#include <QImageReader>
#include <QProcess>
#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {
struct ProgramRun {
    int status = -1; // the exit status; -1 when the process crashed or hung
    QByteArray out, err;
};

ProgramRun Thumbnail(const QStringList &arguments) {
    QProcess p;
    p.start(QStringLiteral(THUMBNAILER_PROGRAM), arguments);
    ProgramRun run;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) return run;
    run.status = p.exitCode();
    run.out = p.readAllStandardOutput();
    run.err = p.readAllStandardError();
    return run;
}

// The largest peak resident memory of any process this test program has run and waited for.
long ChildrenPeakKiB() {
    struct rusage usage {};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss;
}

void Put16(QByteArray &b, qsizetype at, quint16 v) {
    qToLittleEndian(v, b.data() + at);
}
void Put32(QByteArray &b, qsizetype at, quint32 v) {
    qToLittleEndian(v, b.data() + at);
}

// A PE32 file of `fileSize` bytes (sparse beyond what is written) whose one section, of resources,
// runs from 0x200 to the end of the file and starts with `directory`.
QString HostilePe(TempFiles &files, const QString &name, const QByteArray &directory, qint64 fileSize) {
    QByteArray head(0x200, '\0');
    head[0] = 'M';
    head[1] = 'Z';
    Put32(head, 0x3C, 0x40);
    Put32(head, 0x40, 0x00004550); // "PE\0\0"
    Put16(head, 0x44, 0x14C);      // i386
    Put16(head, 0x46, 1);          // one section
    Put16(head, 0x54, 0xE0);       // optional header size
    Put16(head, 0x56, 0x2102);     // a DLL
    const qsizetype optional = 0x58;
    Put16(head, optional, 0x10B);            // PE32
    Put32(head, optional + 60, 0x200);       // size of headers
    Put32(head, optional + 92, 16);          // data directories
    Put32(head, optional + 96 + 16, 0x1000); // resources: RVA and size
    Put32(head, optional + 96 + 20, static_cast<quint32>(fileSize - 0x200));
    const qsizetype section = optional + 0xE0;
    memcpy(head.data() + section, ".rsrc", 5);
    Put32(head, section + 8, static_cast<quint32>(fileSize - 0x200));  // virtual size
    Put32(head, section + 12, 0x1000);                                 // virtual address
    Put32(head, section + 16, static_cast<quint32>(fileSize - 0x200)); // raw size
    Put32(head, section + 20, 0x200);                                  // raw pointer
    const QString path = files.Write(name, head + directory);
    EXPECT_TRUE(QFile::resize(path, fileSize));
    return path;
}

// A resource directory header with `named` string entries and `ids` integer entries.
QByteArray DirectoryHeader(quint16 named, quint16 ids) {
    QByteArray b(16, '\0');
    Put16(b, 12, named);
    Put16(b, 14, ids);
    return b;
}
QByteArray DirectoryEntry(quint32 nameField, quint32 offsetField) {
    QByteArray b(8, '\0');
    Put32(b, 0, nameField);
    Put32(b, 4, offsetField);
    return b;
}

// Group 14 with 32,000 string names, each in its own 64 KiB of a 2 GiB section: a reader that
// keeps every piece it reads would hold the whole section.
QByteArray ScatteredNames() {
    constexpr quint32 kNames = 32000, kNamesAt = 0x18, kNameSpacing = 0x10000, kFirstName = 0x100000;
    QByteArray d = DirectoryHeader(0, 1) + DirectoryEntry(14, 0x80000000u | kNamesAt);
    d += DirectoryHeader(static_cast<quint16>(kNames), 0);
    for (quint32 i = 0; i < kNames; ++i)
        d += DirectoryEntry(0x80000000u | (kFirstName + i * kNameSpacing), 0x80000000u | kNamesAt);
    return d;
}

// Group 14 with 131,070 names that all share one language directory of 131,070 entries: a walk
// that looked at every language of every name would make 17 billion steps. The reader weighs that
// directory once, and no further than its first languages, so the file is read at once and its
// group found broken.
QByteArray SharedLanguages() {
    constexpr quint32 kNamesAt = 0x18, kCount = 0xFFFF;
    const quint32 languagesAt = kNamesAt + 16 + 2 * kCount * 8;
    const quint32 nameText = languagesAt + 16 + 2 * kCount * 8;
    QByteArray d = DirectoryHeader(0, 1) + DirectoryEntry(14, 0x80000000u | kNamesAt);
    d += DirectoryHeader(kCount, kCount);
    for (quint32 i = 0; i < kCount; ++i)
        d += DirectoryEntry(0x80000000u | nameText, 0x80000000u | languagesAt);
    for (quint32 i = 0; i < kCount; ++i)
        d += DirectoryEntry(i + 1, 0x80000000u | languagesAt);
    d += DirectoryHeader(kCount, kCount);
    for (quint32 i = 0; i < 2 * kCount; ++i)
        d += DirectoryEntry(0x0409, nameText + 4);
    d += QByteArray("\x01\x00X\x00", 4) + QByteArray(16, '\0');
    return d;
}

// The GRPICONDIR of pic_icon.ico (5 entries, the first 16 x 16 in 4 bits), found in the fixture by
// its bytes, not by the reader under test.
const QByteArray kGroupStart("\x00\x00\x01\x00\x05\x00\x10\x10\x10\x00\x01\x00\x04\x00", 14);

// The fixture with the bytes that start with `signature` changed by `patch`.
QByteArray Patched(const QByteArray &signature, const std::function<void(QByteArray &, qsizetype)> &patch) {
    QByteArray bytes = ReadFileBytes(FixturePath(QStringLiteral("digits32.dll")));
    const qsizetype at = bytes.indexOf(signature);
    EXPECT_GT(at, 0);
    if (at > 0) patch(bytes, at);
    return bytes;
}

#if defined(ZORVIKA_SANITIZED)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
// Far above what any run needs (about 20 MiB): the program's own data bound (256 MiB) plus its
// libraries.
constexpr long kPeakBoundKiB = 320 * 1024;
constexpr qint64 kTwoGiB = qint64{2} << 30;
} // namespace

TEST(ThumbnailerProgram, WritesOnePngAndSaysNothing) {
    TempFiles files;
    const QDir dir(files.path());
    // The same file and one whose icons are followed by 2 GiB of nothing: only what the icon
    // needs is read.
    QFile::copy(FixturePath(QStringLiteral("digits64.dll")), dir.filePath(QStringLiteral("big.dll")));
    ASSERT_TRUE(QFile::resize(dir.filePath(QStringLiteral("big.dll")), kTwoGiB));
    for (const QString &input :
         {FixturePath(QStringLiteral("digits64.dll")), dir.filePath(QStringLiteral("big.dll"))}) {
        const QString out = dir.filePath(QStringLiteral("thumb.png"));
        const ProgramRun run = Thumbnail({QStringLiteral("-s"), QStringLiteral("64"), input, out});
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
        QImageReader reader(out, "png");
        EXPECT_EQ(reader.size(), QSize(64, 64)) << input.toStdString();
        QFile::remove(out);
        EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden).size(), 1); // big.dll alone
    }
    EXPECT_LT(ChildrenPeakKiB(), kPeakBoundKiB);
}

TEST(ThumbnailerProgram, BadInputGivesStatusOneOneLineAndNoFile) {
    TempFiles files;
    const QDir dir(files.path());
    QDir().mkpath(dir.filePath(QStringLiteral("in")));
    auto input = [&](const QString &name, const QByteArray &bytes) {
        return files.Write(QStringLiteral("in/") + name, bytes);
    };
    const QString zeros = input(QStringLiteral("zeros.exe"), {});
    ASSERT_TRUE(QFile::resize(zeros, kTwoGiB));
    const QByteArray digits = ReadFileBytes(FixturePath(QStringLiteral("digits32.dll")));
    struct Case {
        QString label, path, reason;
        int size = 16; // the 16 x 16 image is the one the DIB case damages
        bool skip = false;
    };
    const Case cases[] = {
        {QStringLiteral("no icons"), FixturePath(QStringLiteral("strtab32.dll")),
         QStringLiteral("нет значков")},
        {QStringLiteral("text"), input(QStringLiteral("a.txt"), "not a module\n"),
         QStringLiteral("не исполняемый файл")},
        {QStringLiteral("missing"), dir.filePath(QStringLiteral("in/none.dll")), QStringLiteral("не найден")},
        {QStringLiteral("folder"), dir.filePath(QStringLiteral("in")), QStringLiteral("не обычный файл")},
        {QStringLiteral("2 GiB of zeros"), zeros, QStringLiteral("не исполняемый файл")},
        {QStringLiteral("cut in the headers"), input(QStringLiteral("cut.dll"), digits.left(0x100)),
         QStringLiteral("не исполняемый файл")},
        {QStringLiteral("cut before the group"),
         input(QStringLiteral("cut2.dll"), digits.left(digits.indexOf(kGroupStart))),
         QStringLiteral("группа значков вне файла")},
        {QStringLiteral("group count past its end"),
         input(QStringLiteral("count.dll"),
               Patched(kGroupStart, [](QByteArray &b, qsizetype at) { Put16(b, at + 4, 0xFFFF); })),
         QStringLiteral("группа значков не читается")},
        {QStringLiteral("image that is not there"),
         input(QStringLiteral("id.dll"), Patched(kGroupStart,
                                                 [](QByteArray &b, qsizetype at) {
                                                     for (int i = 0; i < 5; ++i)
                                                         Put16(b, at + 6 + 14 * i + 12, 999);
                                                 })),
         QStringLiteral("значка 999 нет в файле")},
        {QStringLiteral("PNG claiming 100,000 pixels a side"),
         input(QStringLiteral("png.dll"), Patched(QByteArray("\x89PNG\r\n\x1a\n", 8),
                                                  [](QByteArray &b, qsizetype at) {
                                                      qToBigEndian<quint32>(100000, b.data() + at + 16);
                                                      qToBigEndian<quint32>(100000, b.data() + at + 20);
                                                  })),
         QStringLiteral("больше 2048 точек"), 256},
        {QStringLiteral("DIB claiming 2^31 pixels a side"),
         input(QStringLiteral("dib.dll"), Patched(QByteArray("\x28\0\0\0\x10\0\0\0\x20\0\0\0", 12),
                                                  [](QByteArray &b, qsizetype at) {
                                                      Put32(b, at + 4, 0x7FFFFFFF);
                                                      Put32(b, at + 8, 0x7FFFFFFE);
                                                  })),
         QStringLiteral("значок")},
        {QStringLiteral("names scattered over a 2 GiB section"),
         HostilePe(files, QStringLiteral("in/scattered.dll"), ScatteredNames(), kTwoGiB),
         QStringLiteral("больше памяти"), 16, kSanitized},
        {QStringLiteral("names sharing a huge language directory"),
         HostilePe(files, QStringLiteral("in/languages.dll"), SharedLanguages(), 4 << 20),
         QStringLiteral("группа значков не читается")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label.toStdString());
        if (c.skip) continue; // the sanitizers' shadow memory leaves no data bound to meet
        const ProgramRun run =
            Thumbnail({QStringLiteral("-s%1").arg(c.size), c.path, dir.filePath(QStringLiteral("out.png"))});
        EXPECT_EQ(run.status, 1);
        const QString err = QString::fromUtf8(run.err);
        EXPECT_TRUE(err.startsWith(QStringLiteral("zorvika-thumbnailer: "))) << err.toStdString();
        EXPECT_EQ(err.count(QLatin1Char('\n')), 1) << err.toStdString();
        EXPECT_TRUE(err.contains(c.reason)) << err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        // Nothing written: the folder holds the inputs alone.
        EXPECT_EQ(dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{QStringLiteral("in")});
    }
    EXPECT_LT(ChildrenPeakKiB(), kPeakBoundKiB);
}

TEST(HostileCatalogue, NamesSharingAHugeLanguageDirectoryAreListedAtOnce) {
    TempFiles files;
    const auto module =
        ModuleCatalogue::Open(HostilePe(files, QStringLiteral("languages.dll"), SharedLanguages(), 4 << 20));
    ASSERT_NE(module, nullptr);
    const std::vector<ResourceId> &names = module->Names(ResourceId::fromNumber(14));
    EXPECT_EQ(names.size(), 2u * 0xFFFF);
    // Every name has its language and data; no name is read in more languages than any has.
    const ResourceEntry last{ResourceId::fromNumber(14), names.back()};
    EXPECT_EQ(module->Languages(last).size(), 1024u);
    EXPECT_EQ(module->Size(last), 0u);
}

TEST(ThumbnailerProgram, UsageMistakesGiveStatusTwo) {
    TempFiles files;
    const QDir dir(files.path());
    const QString in = FixturePath(QStringLiteral("digits32.dll")),
                  out = dir.filePath(QStringLiteral("o.png"));
    const QStringList mistakes[] = {{},
                                    {in},
                                    {in, out, out},
                                    {QStringLiteral("-s"), QStringLiteral("0"), in, out},
                                    {QStringLiteral("-s"), QStringLiteral("1025"), in, out},
                                    {QStringLiteral("--size=12px"), in, out},
                                    {in, out, QStringLiteral("-s")},
                                    {QStringLiteral("--sizes"), in, out}};
    for (const QStringList &arguments : mistakes) {
        const ProgramRun run = Thumbnail(arguments);
        EXPECT_EQ(run.status, 2) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(run.err.count('\n'), 1);
        EXPECT_FALSE(QFile::exists(out));
    }
    // "--" ends the options: a file may be named "-s".
    QFile::copy(in, dir.filePath(QStringLiteral("-s")));
    const ProgramRun named = Thumbnail({QStringLiteral("--"), dir.filePath(QStringLiteral("-s")), out});
    EXPECT_EQ(named.status, 0) << named.err.toStdString();
    EXPECT_EQ(QImageReader(out).size(), QSize(128, 128));
    const ProgramRun help = Thumbnail({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains("zorvika-thumbnailer [-s SIZE] INPUT OUTPUT"));
}
