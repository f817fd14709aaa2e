// Icon and cursor images, their directories and files on their own: data cut short, PNG that does
// not decode, entries past the end, choices between entries.
#include "Fixtures.h"
#include "formats/IconDirectory.h"
#include "imaging/IconImage.h"
#include "imaging/ImageLoader.h"
#include "imaging/PictureFiles.h"
#include "system/ErrorReport.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {
std::span<const std::byte> Span(const QByteArray &b) {
    return std::as_bytes(std::span(b.constData(), static_cast<std::size_t>(b.size())));
}

int CodeOf(const std::function<void()> &f) {
    try {
        f();
        return 0;
    } catch (const ErrorReport &e) {
        return e.code();
    }
}

IconDirectory Directory(std::initializer_list<std::tuple<int, int, int>> sizes) {
    IconDirectory d;
    for (const auto &[w, h, bits] : sizes) {
        IconDirEntry e;
        e.width = w;
        e.height = h;
        e.bitCount = bits;
        d.entries.push_back(e);
    }
    return d;
}
} // namespace

TEST(IconDecoder, EveryCutOfTheIconAndCursorFilesDecodesWholeOrFails) {
    for (const char *name : {"pic_icon.ico", "pic_cursor.cur", "pic_icon2.ico", "pic_png.ico"}) {
        SCOPED_TRACE(name);
        const QByteArray whole = ReadFileBytes(FixturePath(QLatin1String(name)));
        ASSERT_FALSE(whole.isEmpty());
        EXPECT_EQ(CodeOf([&] { LoadIconFile(Span(whole)); }), 0);
        // The loader reads the directory and the one image it chooses: a cut after that image
        // still decodes, any other cut fails.
        const IconDirectory dir = ReadIconFileDirectory(Span(whole));
        const IconDirEntry &chosen = dir.entries[*ChooseIconEntry(dir)];
        const qsizetype needed = chosen.idOrOffset + chosen.bytes;
        for (qsizetype cut = 0; cut < whole.size(); cut += (cut < 2000 ? 1 : 37)) {
            const int code = CodeOf([&] { LoadIconFile(Span(whole.left(cut))); });
            if (cut >= needed)
                EXPECT_EQ(code, 0) << cut;
            else
                EXPECT_TRUE(code == ErrorReport::OutOfRange || code == ErrorReport::InvalidPicture)
                    << cut << ": " << code;
        }
    }
}

TEST(IconDecoder, ImagesCutShortOrUndecodableAreRefused) {
    const QByteArray file = ReadFileBytes(FixturePath(QStringLiteral("pic_icon.ico")));
    const IconDirectory dir = ReadIconFileDirectory(Span(file));
    ASSERT_EQ(dir.entries.size(), 5u);
    const QByteArray dib8 = file.mid(dir.entries[1].idOrOffset, dir.entries[1].bytes);
    const QByteArray png = file.mid(dir.entries[4].idOrOffset, dir.entries[4].bytes);
    EXPECT_EQ(CodeOf([&] { DecodeIconImage(Span(dib8), false, {}); }), 0);
    // The AND mask missing at the end.
    EXPECT_EQ(CodeOf([&] { DecodeIconImage(Span(dib8.left(dib8.size() - 1)), false, {}); }),
              ErrorReport::OutOfRange);
    // A PNG signature with broken data after it, and a PNG cut in half.
    QByteArray broken = png.left(16) + QByteArray(200, 'x');
    EXPECT_EQ(CodeOf([&] { DecodeIconImage(Span(broken), false, {}); }), ErrorReport::InvalidPicture);
    EXPECT_EQ(CodeOf([&] { DecodeIconImage(Span(png.left(png.size() / 2)), false, {}); }),
              ErrorReport::InvalidPicture);
    // A cursor resource too short for its hotspot.
    EXPECT_EQ(CodeOf([&] { DecodeIconResource(Span(QByteArray("\x05\x00", 2)), true); }),
              ErrorReport::OutOfRange);
    // A compressed icon image has no place for its mask.
    QByteArray rle = dib8;
    rle[16] = 1; // BI_RLE8
    EXPECT_EQ(CodeOf([&] { DecodeIconImage(Span(rle), false, {}); }), ErrorReport::InvalidPicture);
}

TEST(IconDecoder, GroupsThatPromiseMoreThanTheyHoldFail) {
    // Five entries promised, one present.
    QByteArray group = QByteArray::fromHex("000001000500"
                                           "2020000001002000A8100000"
                                           "0100");
    EXPECT_EQ(CodeOf([&] { ReadGroupDirectory(Span(group), false); }), ErrorReport::OutOfRange);
    // A group of the wrong kind, and a reserved word that is not 0.
    EXPECT_EQ(CodeOf([&] { ReadGroupDirectory(Span(QByteArray::fromHex("000001000000")), true); }),
              ErrorReport::InvalidPicture);
    EXPECT_EQ(CodeOf([&] { ReadGroupDirectory(Span(QByteArray::fromHex("010001000000")), false); }),
              ErrorReport::InvalidPicture);
    // A well-formed group whose image is missing, and an empty group: no picture.
    const QByteArray one = QByteArray::fromHex("000001000100"
                                               "2020000001002000A8100000"
                                               "0700");
    const auto none = [](std::uint16_t) { return std::optional<std::span<const std::byte>>(); };
    EXPECT_EQ(CodeOf([&] { LoadIconGroup(Span(one), false, none); }), ErrorReport::InvalidPicture);
    EXPECT_EQ(CodeOf([&] { LoadIconGroup(Span(QByteArray::fromHex("000001000000")), false, none); }),
              ErrorReport::InvalidPicture);
    // The image the group names is asked for by its identifier.
    std::uint16_t asked = 0;
    CodeOf([&] {
        LoadIconGroup(Span(one), false, [&](std::uint16_t id) {
            asked = id;
            return std::optional<std::span<const std::byte>>();
        });
    });
    EXPECT_EQ(asked, 7);
}

TEST(IconDecoder, TheChoiceIsClosestToThirtyTwoThenDeepestThenFirst) {
    EXPECT_EQ(ChooseIconEntry(Directory({{16, 16, 32}, {32, 32, 4}, {48, 48, 32}})), 1u);
    EXPECT_EQ(ChooseIconEntry(Directory({{32, 32, 8}, {32, 32, 32}, {32, 32, 24}})), 1u);
    EXPECT_EQ(ChooseIconEntry(Directory({{24, 24, 8}, {40, 40, 8}})), 0u);
    EXPECT_EQ(ChooseIconEntry(Directory({{16, 16, 8}, {48, 48, 24}})), 1u);
    EXPECT_EQ(ChooseIconEntry(Directory({{256, 256, 32}, {64, 64, 8}})), 1u);
    EXPECT_EQ(ChooseIconEntry(Directory({})), std::nullopt);
    // Old directories without a bit count: the colour count says how deep.
    IconDirectory old = Directory({{32, 32, 0}, {32, 32, 0}});
    old.entries[0].colorCount = 2;
    old.entries[1].colorCount = 16;
    EXPECT_EQ(ChooseIconEntry(old), 1u);
}

TEST(IconDecoder, SavedIconFilesReadBackToTheSameImage) {
    const QByteArray file = ReadFileBytes(FixturePath(QStringLiteral("pic_cursor.cur")));
    const IconImage original = LoadIconFile(Span(file));
    const QByteArray saved = IconFileBytes(original);
    const IconImage again = LoadIconFile(Span(saved));
    EXPECT_TRUE(again.cursor);
    EXPECT_EQ(again.hotspot, original.hotspot);
    EXPECT_EQ(again.imageBytes, original.imageBytes);
    EXPECT_EQ(again.image, original.image);
    // Qt's own icon reader agrees on the pixels of the saved file.
    QImage qt = QImage::fromData(saved, "CUR");
    if (!qt.isNull()) {
        qt = qt.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < qt.height(); ++y)
            for (int x = 0; x < qt.width(); ++x)
                ASSERT_EQ(qAlpha(qt.pixel(x, y)), qAlpha(again.image.pixel(x, y))) << x << "," << y;
    }
}
