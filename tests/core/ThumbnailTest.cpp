// The thumbnail of a module: which group and which image of it, fitted to the size asked for, and
// the file it is written to, whatever stands at OUTPUT.
#include "../Fixtures.h"
#include "../fixtures/gen/PicturePattern.h"
#include "system/ErrorReport.h"
#include "thumbnailer/ShellIcon.h"
#include "thumbnailer/ThumbnailFile.h"

#include <QDir>
#include <QImage>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The images of pic_icon.ico (the group "0" of digits*.dll) as the fixture generator draws them:
// 16 x 16 in 4 bits, 32 x 32 in 8 and in 32 bits with alpha, 48 x 48 in 32 bits with no alpha (so
// the AND mask decides), and a 256 x 256 PNG with alpha.
QImage PatternIcon(int entry) {
    static const int sides[] = {16, 32, 32, 48, 256};
    const int side = sides[entry];
    QImage image(side, side, QImage::Format_ARGB32);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            QRgb c = PatternColor(x, y);
            if (entry == 0) c = PatternPalette(16)[PatternIndex(x, y, 16)];
            if (entry == 1) c = PatternPalette(256)[PatternIndex(x, y, 256)];
            const bool ownAlpha = entry == 2 || entry == 4;
            const int alpha = ownAlpha ? IconAlpha(x, y) : IconMasked(x, y) ? 0 : 255;
            image.setPixel(x, y, qRgba(qRed(c), qGreen(c), qBlue(c), alpha));
        }
    return image;
}

// The monochrome icon "MONO": black and white halves, the lower half masked (transparent, or
// inverting what is behind, which a thumbnail has nothing of).
QImage PatternMono() {
    QImage image(kMonoSize, kMonoSize, QImage::Format_ARGB32);
    for (int y = 0; y < kMonoSize; ++y)
        for (int x = 0; x < kMonoSize; ++x)
            image.setPixel(x, y, MonoMasked(x, y) ? 0u : MonoWhite(x, y) ? 0xFFFFFFFFu : 0xFF000000u);
    return image;
}

// Pixels as they are seen: colour under zero alpha does not count.
QImage Seen(const QImage &image) {
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}
} // namespace

TEST(Thumbnail, ChoosesTheImageThatServesTheSizeAndOnlyScalesDown) {
    struct Case {
        int size;
        int entry; // of PatternIcon
        int side;  // of the thumbnail
    };
    const Case cases[] = {
        {16, 0, 16},   // exactly there
        {20, 2, 20},   // the smallest at least as large: 32, in the deeper of its two depths
        {32, 2, 32},   //
        {48, 3, 48},   // a 32-bit image without alpha draws through its mask
        {49, 4, 49},   // only the PNG is large enough
        {256, 4, 256}, //
        {1024, 4, 256} // nothing is large enough: the largest, never scaled up
    };
    for (const char *bits : {"32", "64"}) {
        const QString path = FixturePath(QStringLiteral("digits%1.dll").arg(QLatin1String(bits)));
        for (const Case &c : cases) {
            SCOPED_TRACE(testing::Message() << bits << " size " << c.size);
            const Made<QImage> made = ShellIconThumbnail(path, c.size);
            ASSERT_TRUE(made) << made.failure()->description().toStdString();
            EXPECT_EQ(made.value().size(), QSize(c.side, c.side));
            QImage expected = PatternIcon(c.entry);
            if (expected.width() > c.size)
                expected = expected.scaled(c.side, c.side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            EXPECT_EQ(Seen(made.value()), Seen(expected));
        }
    }
}

TEST(Thumbnail, TakesTheFirstGroupInDirectoryOrder) {
    // pictures*.dll holds the groups 1, 2, MONO and PNGICON: the directory lists the string names
    // first, in order, so the shell's icon is MONO.
    for (const char *bits : {"32", "64"}) {
        const Made<QImage> made =
            ShellIconThumbnail(FixturePath(QStringLiteral("pictures%1.dll").arg(QLatin1String(bits))), 256);
        ASSERT_TRUE(made) << bits;
        EXPECT_EQ(Seen(made.value()), Seen(PatternMono())) << bits;
    }
}

TEST(Thumbnail, FitKeepsTheProportionAndAtLeastOnePixel) {
    const struct {
        QSize icon;
        int size;
        QSize fitted;
    } cases[] = {{{300, 150}, 128, {128, 64}},
                 {{100, 301}, 128, {43, 128}},
                 {{2048, 1}, 128, {128, 1}},
                 {{16, 16}, 128, {16, 16}},
                 {{128, 20}, 128, {128, 20}}};
    for (const auto &c : cases) {
        QImage icon(c.icon, QImage::Format_ARGB32);
        icon.fill(qRgba(10, 20, 30, 200));
        const QImage fitted = FitThumbnail(icon, c.size);
        EXPECT_EQ(fitted.size(), c.fitted) << c.icon.width() << "x" << c.icon.height();
        EXPECT_EQ(Seen(fitted).pixel(0, 0), qPremultiply(qRgba(10, 20, 30, 200)));
    }
}

namespace {
QByteArray Slurp(const QString &path) {
    return ReadFileBytes(path);
}

// What stands at OUTPUT before the write, made in `dir`; `check` looks at what must stay as it was
// beside it.
struct OutputState {
    const char *label;
    std::function<void(const QDir &dir)> make;
    std::function<void(const QDir &dir)> check;
};

const QByteArray kOld = QByteArrayLiteral("old picture");

std::vector<OutputState> OutputStates() {
    return {
        {"missing", [](const QDir &) {}, [](const QDir &) {}},
        {"a file with content, hard-linked elsewhere",
         [](const QDir &dir) {
             QFile f(dir.filePath(QStringLiteral("out.png")));
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write(kOld);
             f.close();
             ASSERT_EQ(::link(QFile::encodeName(f.fileName()).constData(),
                              QFile::encodeName(dir.filePath(QStringLiteral("kept"))).constData()),
                       0);
         },
         [](const QDir &dir) { EXPECT_EQ(Slurp(dir.filePath(QStringLiteral("kept"))), kOld); }},
        {"a link to another file",
         [](const QDir &dir) {
             QFile f(dir.filePath(QStringLiteral("kept")));
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write(kOld);
             f.close();
             ASSERT_TRUE(QFile::link(f.fileName(), dir.filePath(QStringLiteral("out.png"))));
         },
         [](const QDir &dir) { EXPECT_EQ(Slurp(dir.filePath(QStringLiteral("kept"))), kOld); }},
    };
}
} // namespace

TEST(ThumbnailFile, EveryOutputEndsHoldingThePictureAndNothingElseIsLeft) {
    const QByteArray png = QByteArray("\x89PNG picture bytes", 18).repeated(100);
    for (const NewFileWay way : {NewFileWay::Unnamed, NewFileWay::Named})
        for (const OutputState &state : OutputStates()) {
            SCOPED_TRACE(testing::Message() << state.label << (way == NewFileWay::Named ? ", named" : ""));
            TempFiles files;
            const QDir dir(files.path());
            state.make(dir);
            const QStringList before = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
            const QString out = dir.filePath(QStringLiteral("out.png"));
            WriteThumbnailFile(out, png, way);
            EXPECT_EQ(Slurp(out), png);
            EXPECT_FALSE(QFileInfo(out).isSymLink()); // a link is replaced, never written through
            QStringList after = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
            QStringList expected = before;
            if (!expected.contains(QStringLiteral("out.png"))) expected << QStringLiteral("out.png");
            expected.sort();
            after.sort();
            EXPECT_EQ(after, expected);
            state.check(dir);
        }
}

TEST(ThumbnailFile, AnEmptyPlaceholderIsFilledInPlaceForTheHostThatKeptItOpen) {
    // A host makes an empty file, keeps a descriptor on it, and reads the picture back through it.
    TempFiles files;
    const QString out = files.Write(QStringLiteral("host-XXXX.png"), {});
    const int held = ::open(QFile::encodeName(out).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    const QByteArray png("\x89PNG placeholder filled", 23);
    WriteThumbnailFile(out, png);
    char read[64] = {};
    EXPECT_EQ(::pread(held, read, sizeof read, 0), png.size());
    EXPECT_EQ(QByteArray(read, png.size()), png);
    ::close(held);
}

TEST(ThumbnailFile, AFailedWriteLeavesOutputAndFolderAsTheyWere) {
    // The file-size limit makes every write of more than 8 bytes fail half way (with EFBIG, the
    // signal ignored as the thumbnailer ignores it).
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const QByteArray png = QByteArray("\x89PNG", 4).repeated(1000);
    std::vector<OutputState> states = OutputStates();
    states.push_back(
        {"an empty placeholder",
         [](const QDir &dir) { QFile(dir.filePath(QStringLiteral("out.png"))).open(QIODevice::WriteOnly); },
         [](const QDir &) {}});
    for (const NewFileWay way : {NewFileWay::Unnamed, NewFileWay::Named})
        for (const OutputState &state : states) {
            SCOPED_TRACE(testing::Message() << state.label << (way == NewFileWay::Named ? ", named" : ""));
            TempFiles files;
            const QDir dir(files.path());
            state.make(dir);
            const QString out = dir.filePath(QStringLiteral("out.png"));
            const QByteArray content = Slurp(out);
            const QStringList before = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
            struct rlimit tight = old;
            tight.rlim_cur = 8;
            ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
            bool failed = false;
            try {
                WriteThumbnailFile(out, png, way);
            } catch (const ErrorReport &e) {
                failed = e.code() == ErrorReport::FileAccess;
            }
            ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &old), 0);
            EXPECT_TRUE(failed);
            EXPECT_EQ(Slurp(out), content);
            EXPECT_EQ(dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System), before);
            state.check(dir);
        }
    std::signal(SIGXFSZ, oldHandler);

    // Never written: a folder at OUTPUT, and a folder that is not there.
    TempFiles files;
    const QDir dir(files.path());
    ASSERT_TRUE(dir.mkdir(QStringLiteral("sub")));
    for (const QString &out :
         {dir.filePath(QStringLiteral("sub")), dir.filePath(QStringLiteral("none/out.png"))})
        EXPECT_THROW(WriteThumbnailFile(out, png), ErrorReport) << out.toStdString();
    EXPECT_EQ(dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("sub")});
    EXPECT_TRUE(QDir(dir.filePath(QStringLiteral("sub"))).isEmpty());
}
