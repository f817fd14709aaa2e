// The picture decoders over fixtures built by windres: bitmaps of every depth and compression,
// icons and cursors with masks, alpha, PNG and hotspots, groups, and picture files in custom
// resources read from their bytes.
#include "decoders/PictureDecoders.h"
#include "OpenedModule.h"
#include "decoders/ResourceAccess.h"
#include "fixtures/gen/PicturePattern.h"
#include "formats/IconDirectory.h"
#include "imaging/RasterPicture.h"
#include "system/ErrorReport.h"

#include <gtest/gtest.h>

namespace {
QString FixtureFile(const QString &name) {
    return FixturePath(name);
}

const RasterPicture &Raster(const std::shared_ptr<Picture> &picture) {
    const auto *raster = dynamic_cast<const RasterPicture *>(picture.get());
    if (raster == nullptr) throw std::runtime_error("not a raster picture");
    return *raster;
}

// Pixels equal in colour, or with `alpha` equal in alpha and in colour where they show; the first
// difference described.
std::string Differences(const QImage &ours, const QImage &expected, bool alpha) {
    if (ours.size() != expected.size())
        return "size " + std::to_string(ours.width()) + "x" + std::to_string(ours.height()) + " against " +
               std::to_string(expected.width()) + "x" + std::to_string(expected.height());
    for (int y = 0; y < ours.height(); ++y)
        for (int x = 0; x < ours.width(); ++x) {
            const QRgb a = ours.pixel(x, y), b = expected.pixel(x, y);
            const bool differ =
                alpha ? qAlpha(a) != qAlpha(b) || (qAlpha(a) != 0 && (a & 0xFFFFFF) != (b & 0xFFFFFF))
                      : (a & 0xFFFFFF) != (b & 0xFFFFFF);
            if (differ)
                return "pixel " + std::to_string(x) + "," + std::to_string(y) + ": " +
                       QString::number(a, 16).toStdString() + " against " +
                       QString::number(b, 16).toStdString();
        }
    return {};
}

// An image of the pattern through `colour(x, y)`.
template <typename F> QImage Expected(int w, int h, F colour) {
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, colour(x, y));
    return image;
}

class PictureDecoders : public testing::TestWithParam<const char *> {
protected:
    void SetUp() override { ASSERT_TRUE(module.loaded()); }
    // The picture of a picture type, by identifier strings, in the standard theme's colours.
    std::shared_ptr<Picture> Decoded(const QString &type, const QString &name,
                                     const SystemColours &colours = {}) {
        return DecodeResourcePicture(module, module.Entry(type, name), colours).take();
    }
    std::shared_ptr<Picture> File(const QString &type, const QString &name) {
        return DecodePictureFile(module, module.Entry(type, name));
    }
    std::optional<ResourceBytes> Bytes(const QString &type, const QString &name) {
        return GetResourceBytes(module, module.Entry(type, name));
    }
    std::vector<std::uint16_t> GroupImageIds(const QString &type, const QString &name) {
        const auto data = Bytes(type, name);
        if (!data) return {};
        std::vector<std::uint16_t> ids;
        for (const IconDirEntry &e : ReadGroupDirectory(*data, type == QLatin1String("12")).entries)
            ids.push_back(static_cast<std::uint16_t>(e.idOrOffset));
        return ids;
    }
    OpenedModule module{FixtureFile(QStringLiteral("pictures%1.dll").arg(QLatin1String(GetParam())))};
};
} // namespace

TEST_P(PictureDecoders, BitmapsOfEveryDepthAndHeaderMatchQtsOwnReader) {
    const std::pair<int, const char *> bitmaps[] = {{101, "pic_1bpp.bmp"},     {102, "pic_4bpp.bmp"},
                                                    {109, "pic_24bpp.bmp"},    {110, "pic_24bpp_topdown.bmp"},
                                                    {111, "pic_32bpp.bmp"},    {112, "pic_32bpp_v5.bmp"},
                                                    {113, "pic_32bpp_v4.bmp"}, {114, "pic_core.bmp"}};
    for (const auto &[id, file] : bitmaps) {
        SCOPED_TRACE(file);
        const auto picture = Decoded(QStringLiteral("2"), QStringLiteral("#%1").arg(id));
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->Type(), Picture::Bitmap);
        EXPECT_EQ(picture->Width(), PixelsToHimetric(kPatternWidth, true));
        EXPECT_EQ(picture->Height(), PixelsToHimetric(kPatternHeight, false));
        const QImage reference(FixtureFile(QLatin1String(file)));
        ASSERT_FALSE(reference.isNull());
        EXPECT_EQ(Differences(Raster(picture).image(), reference, false), "");
        // A bitmap is drawn opaque, whatever the fourth byte of its pixels holds.
        EXPECT_FALSE(Raster(picture).image().hasAlphaChannel());
    }
}

TEST_P(PictureDecoders, SixteenBitPixelsWidenByRepeatingTheirHighBits) {
    // 5-5-5 pixels were made from the pattern's 5-bit components, so they widen back to it exactly
    // (Qt's reader widens by shifting alone, so it is no reference here).
    const auto rgb555 = Decoded(QStringLiteral("2"), QStringLiteral("#107"));
    ASSERT_NE(rgb555, nullptr);
    EXPECT_EQ(
        Differences(Raster(rgb555).image(), Expected(kPatternWidth, kPatternHeight, PatternColor), false),
        "");
    // 5-6-5 with bit fields: green keeps 6 bits, abcdef widening to abcdefab.
    const auto rgb565 = Decoded(QStringLiteral("2"), QStringLiteral("#108"));
    ASSERT_NE(rgb565, nullptr);
    EXPECT_EQ(Differences(Raster(rgb565).image(),
                          Expected(kPatternWidth, kPatternHeight,
                                   [](int x, int y) {
                                       const QRgb c = PatternColor(x, y);
                                       const int g6 = qGreen(c) >> 2;
                                       return qRgb(qRed(c), (g6 << 2) | (g6 >> 4), qBlue(c));
                                   }),
                          false),
              "");
}

TEST_P(PictureDecoders, ShortColourTablesAndRunLengthsDrawTheirMissingPixelsBlack) {
    const auto palette = PatternPalette(16);
    const auto shortTable = Decoded(QStringLiteral("2"), QStringLiteral("#103"));
    ASSERT_NE(shortTable, nullptr);
    EXPECT_EQ(Differences(Raster(shortTable).image(),
                          Expected(kPatternWidth, kPatternHeight,
                                   [&](int x, int y) {
                                       const int i = PatternIndex(x, y, 16);
                                       return i < kShortTable ? palette[i] : qRgb(0, 0, 0);
                                   }),
                          false),
              "");
    for (const char *name : {"#105", "#106"}) {
        SCOPED_TRACE(name);
        const auto rle = Decoded(QStringLiteral("2"), QLatin1String(name));
        ASSERT_NE(rle, nullptr);
        const QImage expected = Expected(kPatternWidth, kPatternHeight, [&](int x, int y) {
            const bool skipped = y == kRleSkippedRow || (y == kRleDeltaRow && x < kRleDeltaSkip);
            return skipped ? qRgb(0, 0, 0) : palette[static_cast<std::size_t>(PatternIndex(x, y, 16))];
        });
        EXPECT_EQ(Differences(Raster(rle).image(), expected, false), "");
    }
}

TEST_P(PictureDecoders, TheLoadersGreysBecomeTheThreeDColours) {
    const auto picture = Decoded(QStringLiteral("2"), QStringLiteral("#104"),
                                 {qRgb(10, 20, 30), qRgb(40, 50, 60), qRgb(70, 80, 90)});
    ASSERT_NE(picture, nullptr);
    auto palette = PatternPalette(16);
    palette[kGreyIndex[0]] = qRgb(10, 20, 30);
    palette[kGreyIndex[1]] = qRgb(40, 50, 60);
    palette[kGreyIndex[2]] = qRgb(70, 80, 90);
    EXPECT_EQ(Differences(Raster(picture).image(),
                          Expected(kPatternWidth, kPatternHeight,
                                   [&](int x, int y) { return palette[PatternIndex(x, y, 16)]; }),
                          false),
              "");
}

TEST_P(PictureDecoders, BrokenOrMissingBitmapsGiveNoPictureWithoutAnError) {
    // Bits cut short, a colour table past the end, a size beyond any image, no such bitmap.
    for (const char *name : {"#201", "#202", "#203", "#999", "NOSUCH"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Decoded(QStringLiteral("2"), QLatin1String(name)), nullptr);
    }
    EXPECT_EQ(Decoded(QStringLiteral("14"), QStringLiteral("#999")), nullptr);
    EXPECT_EQ(Decoded(QStringLiteral("5"), QStringLiteral("#1")), nullptr);
    // A type named "02" is no bitmap type, though one named "2" would be.
    EXPECT_EQ(DecodeResourcePicture(
                  module, {ResourceId::fromName(QStringLiteral("02")), ResourceId::fromNumber(101)}, {})
                  .take(),
              nullptr);
}

TEST_P(PictureDecoders, IconImagesTakeTransparencyFromAlphaOrElseTheMask) {
    const auto ids = GroupImageIds(QStringLiteral("14"), QStringLiteral("#1"));
    ASSERT_EQ(ids.size(), 5u);
    const auto image = [this](std::uint16_t id) {
        const auto picture = Decoded(QStringLiteral("3"), QStringLiteral("#%1").arg(id));
        if (!picture) throw std::runtime_error("no icon");
        EXPECT_EQ(picture->Type(), Picture::Icon);
        return Raster(picture).image();
    };
    const auto masked = [](QRgb c, int x, int y) {
        return IconMasked(x, y) ? (c & 0x00FFFFFFu) : (c | 0xFF000000u);
    };
    // 4 and 8 bits: colours from the table, the mask cut out.
    const auto p16 = PatternPalette(16), p256 = PatternPalette(256);
    const auto maskedImage = [&](int size, const std::vector<QRgb> &pal) {
        return Expected(size, size, [&](int x, int y) {
            return masked(pal[static_cast<std::size_t>(PatternIndex(x, y, static_cast<int>(pal.size())))], x,
                          y);
        });
    };
    const auto transparentAgree = [](const QImage &ours, const QImage &expected) {
        // Alpha everywhere, colour where the pixel shows.
        for (int y = 0; y < ours.height(); ++y)
            for (int x = 0; x < ours.width(); ++x) {
                const QRgb a = ours.pixel(x, y), b = expected.pixel(x, y);
                if (qAlpha(a) != qAlpha(b) || (qAlpha(a) != 0 && (a & 0xFFFFFF) != (b & 0xFFFFFF)))
                    return false;
            }
        return ours.size() == expected.size();
    };
    EXPECT_TRUE(transparentAgree(image(ids[0]), maskedImage(16, p16)));
    EXPECT_TRUE(transparentAgree(image(ids[1]), maskedImage(32, p256)));
    // 32 bits with alpha: the alpha channel wins over the mask.
    EXPECT_TRUE(transparentAgree(image(ids[2]), Expected(32, 32, [](int x, int y) {
                                     const QRgb c = PatternColor(x, y);
                                     return qRgba(qRed(c), qGreen(c), qBlue(c), IconAlpha(x, y));
                                 })));
    // 32 bits whose alpha is all zero: the mask decides, as for lower depths.
    EXPECT_TRUE(transparentAgree(
        image(ids[3]), Expected(48, 48, [&](int x, int y) { return masked(PatternColor(x, y), x, y); })));
    // The PNG image of 256 x 256 shows, with its alpha.
    const QImage png = image(ids[4]);
    EXPECT_TRUE(transparentAgree(png, Expected(256, 256, [](int x, int y) {
                                     const QRgb c = PatternColor(x, y);
                                     return qRgba(qRed(c), qGreen(c), qBlue(c), IconAlpha(x, y));
                                 })));
}

TEST_P(PictureDecoders, GroupsShowTheImageClosestToTheStandardSizeAtItsOwnSize) {
    // 16, 32 (8 bits), 32 (32 bits), 48, 256: the deepest 32 x 32.
    const auto group = Decoded(QStringLiteral("14"), QStringLiteral("#1"));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->Type(), Picture::Icon);
    EXPECT_EQ(Raster(group).image().size(), QSize(32, 32));
    EXPECT_EQ(Raster(group).icon()->bitCount, 32);
    EXPECT_EQ(group->Width(), PixelsToHimetric(32, true));
    // 16 and 48 are equally far from 32: the deeper 48 x 48 image.
    const auto second = Decoded(QStringLiteral("14"), QStringLiteral("#2"));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(Raster(second).image().size(), QSize(48, 48));
    EXPECT_EQ(Raster(second).icon()->bitCount, 24);
    // A named group with a PNG image only.
    const auto png = Decoded(QStringLiteral("14"), QStringLiteral("pngicon"));
    ASSERT_NE(png, nullptr);
    EXPECT_EQ(Raster(png).image().size(), QSize(256, 256));
}

TEST_P(PictureDecoders, CursorsKeepTheirHotspotWithoutShiftingTheImage) {
    const auto group = Decoded(QStringLiteral("12"), QStringLiteral("#1"));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->Type(), Picture::Icon);
    const RasterPicture &chosen = Raster(group);
    ASSERT_TRUE(chosen.icon().has_value());
    EXPECT_TRUE(chosen.icon()->cursor);
    EXPECT_EQ(chosen.icon()->hotspot, kCursorHotspot);
    EXPECT_EQ(chosen.image().size(), QSize(32, 32));
    // Monochrome: the two table colours where the mask lets them show, starting at the corner.
    const auto mono = PatternPalette(2);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QRgb p = chosen.image().pixel(x, y);
            ASSERT_EQ(qAlpha(p) == 0, IconMasked(x, y)) << x << "," << y;
            if (!IconMasked(x, y)) {
                ASSERT_EQ(p & 0xFFFFFF, mono[PatternIndex(x, y, 2)] & 0xFFFFFF) << x << "," << y;
            }
        }
    // The single 48 x 48 cursor image (type 1) has a hotspot of its own.
    const auto ids = GroupImageIds(QStringLiteral("12"), QStringLiteral("#1"));
    ASSERT_EQ(ids.size(), 2u);
    const auto single = Decoded(QStringLiteral("1"), QStringLiteral("#%1").arg(ids[1]));
    ASSERT_NE(single, nullptr);
    EXPECT_EQ(Raster(single).icon()->hotspot, kCursorHotspot48);
    EXPECT_EQ(Raster(single).image().size(), QSize(48, 48));
    EXPECT_EQ(qAlpha(Raster(single).image().pixel(7, 3)), IconAlpha(7, 3));
}

TEST_P(PictureDecoders, AMissingSingleImageIsAnErrorAndNotJustNoPicture) {
    for (const char *type : {"1", "3"}) {
        try {
            Decoded(QLatin1String(type), QStringLiteral("#999"));
            ADD_FAILURE() << "no error for type " << type;
        } catch (const ErrorReport &e) {
            EXPECT_EQ(e.code(), ErrorReport::OutOfRange);
        }
    }
}

TEST_P(PictureDecoders, PicturesSaveInTheirOwnFileForms) {
    // A bitmap: a BMP file that reads back to the same pixels.
    const auto bitmap = Decoded(QStringLiteral("2"), QStringLiteral("#114"));
    ASSERT_NE(bitmap, nullptr);
    const auto bmp = bitmap->FileBytes();
    ASSERT_TRUE(bmp.has_value());
    EXPECT_TRUE(bmp->startsWith("BM"));
    EXPECT_EQ(Differences(QImage::fromData(*bmp, "BMP"), Raster(bitmap).image(), false), "");

    // An icon: an icon file around the image's stored bytes, unchanged.
    const auto ids = GroupImageIds(QStringLiteral("14"), QStringLiteral("#1"));
    for (std::uint16_t id : ids) {
        const QString name = QStringLiteral("#%1").arg(id);
        const auto icon = Decoded(QStringLiteral("3"), name);
        const auto file = icon->FileBytes();
        ASSERT_TRUE(file.has_value());
        const auto stored = Bytes(QStringLiteral("3"), name);
        const auto fileSpan =
            std::as_bytes(std::span(file->constData(), static_cast<std::size_t>(file->size())));
        const IconDirectory dir = ReadIconFileDirectory(fileSpan);
        ASSERT_EQ(dir.entries.size(), 1u);
        EXPECT_FALSE(dir.cursor);
        EXPECT_EQ(file->mid(dir.entries[0].idOrOffset),
                  QByteArray(reinterpret_cast<const char *>(stored->data()),
                             static_cast<qsizetype>(stored->size())));
        EXPECT_EQ(dir.entries[0].width, Raster(icon).image().width());
    }
    // A cursor: a cursor file with the hotspot in its directory and the image without it.
    const auto cursorIds = GroupImageIds(QStringLiteral("12"), QStringLiteral("#1"));
    const auto cursor = Decoded(QStringLiteral("1"), QStringLiteral("#%1").arg(cursorIds[0]));
    const auto cur = cursor->FileBytes();
    ASSERT_TRUE(cur.has_value());
    const IconDirectory dir = ReadIconFileDirectory(
        std::as_bytes(std::span(cur->constData(), static_cast<std::size_t>(cur->size()))));
    EXPECT_TRUE(dir.cursor);
    EXPECT_EQ(dir.entries[0].hotspot, kCursorHotspot);
    const auto stored = Bytes(QStringLiteral("1"), QStringLiteral("#%1").arg(cursorIds[0]));
    EXPECT_EQ(cur->mid(dir.entries[0].idOrOffset),
              QByteArray(reinterpret_cast<const char *>(stored->data()) + 4,
                         static_cast<qsizetype>(stored->size() - 4)));
    // Released pictures have nothing left to save.
    cursor->Release();
    EXPECT_FALSE(cursor->FileBytes().has_value());
}

TEST_P(PictureDecoders, PictureFilesLoadByTheirData) {
    const auto photo = File(QStringLiteral("JPEG"), QStringLiteral("PHOTO"));
    ASSERT_NE(photo, nullptr);
    EXPECT_EQ(photo->Type(), Picture::Bitmap);
    const QImage jpeg = Raster(photo).image();
    ASSERT_EQ(jpeg.size(), QSize(kPhotoWidth, kPhotoHeight));
    for (int y = 0; y < kPhotoHeight; y += 7)
        for (int x = 0; x < kPhotoWidth; x += 7) {
            const QRgb a = jpeg.pixel(x, y), b = PhotoColor(x, y);
            ASSERT_LE(std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                          std::abs(qBlue(a) - qBlue(b)),
                      24)
                << x << "," << y;
        }

    // A GIF keeps its transparent colour.
    const auto gif = File(QStringLiteral("gif"), QStringLiteral("ANIM"));
    ASSERT_NE(gif, nullptr);
    const auto palette = PatternPalette(4);
    EXPECT_EQ(Differences(Raster(gif).image(),
                          Expected(kPatternWidth, kPatternHeight,
                                   [&](int x, int y) {
                                       const int i = PatternIndex(x, y, 4);
                                       return i == kGifTransparent ? 0u : palette[i];
                                   }),
                          true),
              "");

    // The data decides, not the type: a JPEG under GIF, a BMP under JPG, an icon under JPEG.
    const auto jpegAsGif = File(QStringLiteral("GIF"), QStringLiteral("JPEGASGIF"));
    EXPECT_EQ(Raster(jpegAsGif).image().size(), QSize(kPhotoWidth, kPhotoHeight));
    const auto bmp = File(QStringLiteral("JPG"), QStringLiteral("BMPFILE"));
    EXPECT_EQ(bmp->Type(), Picture::Bitmap);
    EXPECT_EQ(Differences(Raster(bmp).image(), Expected(kPatternWidth, kPatternHeight, PatternColor), false),
              "");
    const auto ico = File(QStringLiteral("JPEG"), QStringLiteral("ICOFILE"));
    EXPECT_EQ(ico->Type(), Picture::Icon);
    EXPECT_EQ(Raster(ico).image().size(), QSize(32, 32));

    // Metafiles: type 4 sized by the EMF frame, type 2 by the placeable header's box.
    const auto emf = File(QStringLiteral("EMF"), QStringLiteral("DRAWING"));
    EXPECT_EQ(emf->Type(), Picture::EnhMetafile);
    EXPECT_EQ(emf->Width(), 9855);
    EXPECT_EQ(emf->Height(), 7209);
    const auto wmf = File(QStringLiteral("WMF"), QStringLiteral("DRAWING"));
    EXPECT_EQ(wmf->Type(), Picture::Metafile);
    EXPECT_EQ(wmf->Width(), 9856);
    EXPECT_EQ(wmf->Height(), 7210);
    EXPECT_FALSE(wmf->Release()); // a metafile owns no bitmap or icon
}

TEST_P(PictureDecoders, DataThatIsNoPictureOrNoDataFails) {
    EXPECT_EQ(FailureCode([&] { File(QStringLiteral("JPG"), QStringLiteral("NOTAPICTURE")); }),
              ErrorReport::InvalidPicture);
    EXPECT_EQ(FailureCode([&] { File(QStringLiteral("GIF"), QStringLiteral("NOSUCH")); }),
              ErrorReport::OutOfRange);
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe32Plus, PictureDecoders, testing::Values("32", "64"));
