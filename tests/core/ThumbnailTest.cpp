// The thumbnail of a module: which group and which image of it, fitted to the size asked for, and
// the file it is written to, whatever stands at OUTPUT.
#include "../Fixtures.h"
#include "../fixtures/gen/PicturePattern.h"
#include "imaging/PixelsImage.h"
#include "system/ErrorReport.h"
#include "thumbnailer/FitThumbnail.h"
#include "thumbnailer/ShellIcon.h"
#include "thumbnailer/ThumbnailFile.h"

#include <QDir>
#include <QImage>
#include <array>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <numeric>
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
QImage Seen(const Pixels &pixels) {
    return Seen(ImageOf(pixels));
}

// `image` averaged down to `w` x `h` by supersampling: each axis is divided into as many equal
// parts as both sizes have a multiple in common, each part takes its source pixel, and each output
// pixel is the mean of its parts, in premultiplied colour. That is the exact mean of the area it
// covers.
QImage Supersampled(const QImage &image, int w, int h) {
    using Channels = std::array<double, 4>;
    const QImage src = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const auto mean = [](int from, int to, const std::function<Channels(int)> &at) {
        const int parts = std::lcm(from, to), per = parts / to;
        std::vector<Channels> out(static_cast<std::size_t>(to));
        for (int j = 0; j < parts; ++j) {
            const Channels v = at(static_cast<int>(static_cast<long long>(j) * from / parts));
            for (std::size_t c = 0; c < 4; ++c)
                out[static_cast<std::size_t>(j / per)][c] += v[c] / per;
        }
        return out;
    };
    std::vector<std::vector<Channels>> rows;
    for (int y = 0; y < src.height(); ++y)
        rows.push_back(mean(src.width(), w, [&](int x) {
            const QRgb p = src.pixel(x, y);
            return Channels{double(qAlpha(p)), double(qRed(p)), double(qGreen(p)), double(qBlue(p))};
        }));
    QImage out(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int x = 0; x < w; ++x) {
        const auto column = mean(src.height(), h, [&](int y) {
            return rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
        });
        for (int y = 0; y < h; ++y) {
            const Channels &v = column[static_cast<std::size_t>(y)];
            const auto round = [](double d) { return static_cast<int>(std::lround(d)); };
            out.setPixel(x, y, qRgba(round(v[1]), round(v[2]), round(v[3]), round(v[0])));
        }
    }
    return out;
}

// The largest difference of any premultiplied channel between two images of one size; -1 when
// the sizes differ.
int Farthest(const QImage &a, const QImage &b) {
    if (a.size() != b.size()) return -1;
    int farthest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (const int d :
                 {qAlpha(p) - qAlpha(q), qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)})
                farthest = std::max(farthest, std::abs(d));
        }
    return farthest;
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
            const Made<Pixels> made = ShellIconThumbnail(path, c.size);
            ASSERT_TRUE(made) << made.failure()->description().toStdString();
            EXPECT_EQ(QSize(made.value().width, made.value().height), QSize(c.side, c.side));
            const QImage expected = PatternIcon(c.entry);
            if (expected.width() > c.size) {
                // The mean of the area each pixel covers, give or take the rounding.
                EXPECT_LE(Farthest(Seen(made.value()), Supersampled(expected, c.side, c.side)), 1);
            } else {
                EXPECT_EQ(Seen(made.value()), Seen(expected));
            }
        }
    }
}

TEST(Thumbnail, TakesTheFirstGroupInDirectoryOrder) {
    // pictures*.dll holds the groups 1, 2, MONO and PNGICON: the directory lists the string names
    // first, in order, so the shell's icon is MONO.
    for (const char *bits : {"32", "64"}) {
        const Made<Pixels> made =
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
        Pixels icon(c.icon.width(), c.icon.height());
        std::fill(icon.argb.begin(), icon.argb.end(), qRgba(10, 20, 30, 200));
        const Pixels fitted = FitThumbnail(icon, c.size);
        EXPECT_EQ(QSize(fitted.width, fitted.height), c.fitted) << c.icon.width() << "x" << c.icon.height();
        EXPECT_EQ(Seen(fitted).pixel(0, 0), qPremultiply(qRgba(10, 20, 30, 200)));
    }
}

// Whatever stands at OUTPUT (nothing, the host's empty placeholder that it reads back through
// the descriptor it keeps, a file hard-linked elsewhere, a link to another file), either way of
// making a new file: a write ends with OUTPUT holding the picture and everything else as it was;
// a write that fails half way (the file-size limit, its signal ignored as the thumbnailer ignores
// it) leaves OUTPUT and the folder exactly as they were.
TEST(ThumbnailFile, OutputGetsTheWholePictureOrStaysAsItWas) {
    const QByteArray png = QByteArray("\x89PNG", 4).repeated(1000), old("old picture");
    enum State { Missing, Placeholder, HardLinked, Link };
    struct rlimit limit {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    for (const bool failing : {false, true})
        for (const NewFileWay way : {NewFileWay::Unnamed, NewFileWay::Named})
            for (const State state : {Missing, Placeholder, HardLinked, Link}) {
                SCOPED_TRACE(testing::Message() << "state " << state << (failing ? ", failing" : "")
                                                << (way == NewFileWay::Named ? ", named" : ""));
                TempFiles files;
                const QDir dir(files.path());
                const QString out = dir.filePath(QStringLiteral("out.png")),
                              kept = dir.filePath(QStringLiteral("kept"));
                if (state == HardLinked || state == Link) files.Write(QStringLiteral("kept"), old);
                if (state == HardLinked) {
                    ASSERT_EQ(::link(QFile::encodeName(kept).constData(), QFile::encodeName(out).constData()),
                              0);
                }
                if (state == Link) {
                    ASSERT_TRUE(QFile::link(kept, out));
                }
                if (state == Placeholder) files.Write(QStringLiteral("out.png"), {});
                const int held = ::open(QFile::encodeName(out).constData(), O_RDONLY | O_CLOEXEC);
                const QByteArray before = ReadFileBytes(out);
                const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System);

                struct rlimit tight = limit;
                tight.rlim_cur = failing ? 8 : limit.rlim_cur;
                ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
                bool threw = false;
                try {
                    WriteThumbnailFile(out, png, way);
                } catch (const ErrorReport &e) {
                    threw = e.code() == ErrorReport::FileAccess;
                }
                ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);

                EXPECT_EQ(threw, failing);
                EXPECT_EQ(ReadFileBytes(out), failing ? before : png);
                // A link is replaced, never written through; what it named keeps its content.
                EXPECT_EQ(QFileInfo(out).isSymLink(), failing && state == Link);
                if (state == HardLinked || state == Link) {
                    EXPECT_EQ(ReadFileBytes(kept), old);
                }
                QStringList after = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
                if (!failing && state == Missing) after.removeOne(QStringLiteral("out.png"));
                EXPECT_EQ(after, entries);
                if (state == Placeholder && !failing) {
                    char read[8] = {};
                    EXPECT_EQ(::pread(held, read, sizeof read, 0), qsizetype{sizeof read});
                    EXPECT_EQ(QByteArray(read, sizeof read), png.left(sizeof read));
                }
                if (held >= 0) ::close(held);
            }
    std::signal(SIGXFSZ, handler);

    // Never written: a folder at OUTPUT, and a folder that is not there.
    TempFiles files;
    const QDir dir(files.path());
    ASSERT_TRUE(dir.mkdir(QStringLiteral("sub")));
    for (const char *out : {"sub", "none/out.png"})
        EXPECT_THROW(WriteThumbnailFile(dir.filePath(QLatin1String(out)), png), ErrorReport) << out;
    EXPECT_EQ(dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("sub")});
    EXPECT_TRUE(QDir(dir.filePath(QStringLiteral("sub"))).isEmpty());
}
