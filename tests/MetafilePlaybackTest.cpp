// The GDI playback engine through WMF and EMF records written here: mapping, saved states, the
// object table, clipping, arcs, text, blits, paths, and metafiles that are broken or hostile.
#include "Fixtures.h"
#include "MetafileBuilders.h"
#include "imaging/metafile/Metafile.h"
#include "system/ErrorReport.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kWhite = qRgb(255, 255, 255);

QRgb At(const QImage &image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFFu;
}
QRgb Rgb(QRgb c) {
    return c & 0xFFFFFFu;
}

// A 96 x 96 pixel WMF (one inch of 1000 units) with a null pen selected as object 0.
WmfBuilder Inch() {
    WmfBuilder w(0, 0, 1000, 1000, 1000);
    w.NullPen().Select(0);
    return w;
}

// The bounding box of pixels darker than mid-grey.
QRect DarkBox(const QImage &image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) box |= QRect(x, y, 1, 1);
    return box;
}

QByteArray Dib2x2() {
    // A bottom-up 2 x 2 24-bit DIB: bottom row red, green; top row blue, white.
    QByteArray d;
    for (std::uint32_t v : {40u, 2u, 2u})
        Append32(d, v);
    Append16(d, 1);
    Append16(d, 24);
    for (int i = 0; i < 6; ++i)
        Append32(d, 0);
    d += QByteArray::fromHex("0000FF00FF000000"); // red, green, padding
    d += QByteArray::fromHex("FF0000FFFFFF0000"); // blue, white, padding
    return d;
}
} // namespace

TEST(MetafilePlayback, ThePlaceableBoxMapsOntoThePicturesOwnSize) {
    WmfBuilder w = Inch();
    w.SolidBrush(kRed).Select(1).Rectangle(0, 0, 500, 500);
    const QByteArray bytes = w.Bytes();
    const MetafileInfo info =
        ReadMetafileInfo(std::as_bytes(std::span(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
    EXPECT_FALSE(info.enhanced);
    EXPECT_EQ(info.widthHimetric, 2540);
    EXPECT_EQ(info.heightHimetric, 2540);
    const QImage image = RenderMetafile(bytes);
    ASSERT_EQ(image.size(), QSize(96, 96));
    EXPECT_EQ(At(image, 10, 10), Rgb(kRed));
    EXPECT_EQ(At(image, 45, 45), Rgb(kRed));
    EXPECT_EQ(At(image, 52, 10), Rgb(kWhite));
    EXPECT_EQ(At(image, 10, 52), Rgb(kWhite));
}

TEST(MetafilePlayback, WindowRecordsOfTheMetafileTakeOverTheMapping) {
    WmfBuilder w = Inch();
    // Window (-100,-100) extent 200: the logical square (-100,-100)-(0,0) is the top-left quarter.
    w.Rec(0x020B, {-100, -100}).Rec(0x020C, {200, 200});
    w.SolidBrush(kBlue).Select(1).Rectangle(-100, -100, 0, 0);
    const QImage image = RenderMetafile(w.Bytes());
    EXPECT_EQ(At(image, 20, 20), Rgb(kBlue));
    EXPECT_EQ(At(image, 70, 70), Rgb(kWhite));
    EXPECT_EQ(At(image, 70, 20), Rgb(kWhite));
}

TEST(MetafilePlayback, WmfWithoutPlaceableHeaderIsSizedByItsWindowInPixels) {
    WmfBuilder w;
    w.Rec(0x0103, {8})
        .Rec(0x020C, {40, 60})
        .NullPen()
        .Select(0)
        .SolidBrush(kRed)
        .Select(1)
        .Rectangle(0, 0, 30, 40);
    const QByteArray bytes = w.Bytes();
    const MetafileInfo info =
        ReadMetafileInfo(std::as_bytes(std::span(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
    EXPECT_EQ(info.widthHimetric, PixelsToHimetric(60, true));
    EXPECT_EQ(info.heightHimetric, PixelsToHimetric(40, false));
    const QImage image = RenderMetafile(bytes);
    EXPECT_EQ(At(image, 10, 30), Rgb(kRed));
    EXPECT_EQ(At(image, 45, 30), Rgb(kWhite));
    // Without a window there is nothing to size the picture by.
    WmfBuilder none;
    none.Rectangle(0, 0, 10, 10);
    const QByteArray noneBytes = none.Bytes();
    try {
        ReadMetafileInfo(
            std::as_bytes(std::span(noneBytes.constData(), static_cast<std::size_t>(noneBytes.size()))));
        ADD_FAILURE() << "sized without a window";
    } catch (const ErrorReport &e) {
        EXPECT_EQ(e.code(), ErrorReport::InvalidPicture);
    }
}

TEST(MetafilePlayback, SavedStatesBringBackObjectsAndClipping) {
    WmfBuilder w = Inch();
    w.SolidBrush(kRed).SolidBrush(kBlue);      // objects 1 and 2
    w.Select(1).Rec(0x001E, {});               // save with the red brush
    w.Select(2).Rec(0x0416, {500, 500, 0, 0}); // blue, clipped to the top-left quarter
    w.Rectangle(0, 0, 1000, 1000);
    w.Rec(0x0127, {-1}); // restore: red, no clip
    w.Rectangle(0, 600, 1000, 1000);
    const QImage image = RenderMetafile(w.Bytes());
    EXPECT_EQ(At(image, 20, 20), Rgb(kBlue));
    EXPECT_EQ(At(image, 70, 20), Rgb(kWhite)); // the clip held
    EXPECT_EQ(At(image, 70, 80), Rgb(kRed));   // restored brush, and no clip
    EXPECT_EQ(At(image, 10, 80), Rgb(kRed));
}

TEST(MetafilePlayback, NewObjectsTakeTheLowestFreeSlot) {
    WmfBuilder w = Inch();
    w.SolidBrush(kRed).SolidBrush(kBlue); // 1 and 2
    w.Rec(0x01F0, {1});                   // delete 1
    w.SolidBrush(kGreen);                 // takes slot 1 again
    w.Select(1).Rectangle(0, 0, 1000, 1000);
    const QImage image = RenderMetafile(w.Bytes());
    EXPECT_EQ(At(image, 48, 48), Rgb(kGreen));
}

TEST(MetafilePlayback, ExcludedRectanglesStayUntouched) {
    WmfBuilder w = Inch();
    w.SolidBrush(kRed).Select(1).Rec(0x0415, {750, 750, 250, 250}).Rectangle(0, 0, 1000, 1000);
    const QImage image = RenderMetafile(w.Bytes());
    EXPECT_EQ(At(image, 48, 48), Rgb(kWhite));
    EXPECT_EQ(At(image, 5, 5), Rgb(kRed));
    EXPECT_EQ(At(image, 90, 48), Rgb(kRed));
}

TEST(MetafilePlayback, ArcsRunCounterClockwiseFromStartToEnd) {
    // Pie over the whole picture from the east radial to the north radial: the upper-right quarter.
    WmfBuilder w = Inch();
    w.SolidBrush(kRed).Select(1).Rec(0x081A, {0, 500, 500, 1000, 1000, 1000, 0, 0});
    const QImage image = RenderMetafile(w.Bytes());
    EXPECT_EQ(At(image, 65, 30), Rgb(kRed));
    EXPECT_EQ(At(image, 30, 30), Rgb(kWhite));
    EXPECT_EQ(At(image, 30, 65), Rgb(kWhite));
    EXPECT_EQ(At(image, 65, 65), Rgb(kWhite));

    // Clockwise in an EMF: the same radials now sweep the other three quarters.
    EmfBuilder e(2540, 2540);
    e.NullPen().SolidBrush(1, kBlue).Select(1).Rec(57, {2}).Rec(47, {0, 0, 96, 96, 96, 48, 48, 0});
    const QImage clockwise = RenderMetafile(e.Bytes());
    EXPECT_EQ(At(clockwise, 65, 30), Rgb(kWhite));
    EXPECT_EQ(At(clockwise, 30, 30), Rgb(kBlue));
    EXPECT_EQ(At(clockwise, 30, 65), Rgb(kBlue));
    EXPECT_EQ(At(clockwise, 65, 65), Rgb(kBlue));
}

TEST(MetafilePlayback, TextIsAlignedOnItsReferencePoint) {
    // "MMMM" centred on x = 500, top at y = 300, in a 200-unit (19-pixel) font.
    QByteArray font;
    for (int v : {-200, 0, 0, 0, 700})
        Append16(font, static_cast<std::uint32_t>(v));
    font += QByteArray("\0\0\0\0\0\0\0\0", 8);
    font += QByteArray("Arial\0", 6);
    WmfBuilder w = Inch();
    w.Raw(0x02FB, font).Select(1);
    w.Rec(0x0102, {1}); // transparent background
    w.Rec(0x012E, {6}); // TA_CENTER | TA_TOP
    QByteArray text;
    Append16(text, 4);
    text += "MMMM";
    Append16(text, 300);
    Append16(text, 500);
    w.Raw(0x0521, text);
    const QImage image = RenderMetafile(w.Bytes());
    const QRect box = DarkBox(image);
    ASSERT_FALSE(box.isEmpty());
    EXPECT_NEAR(box.center().x(), 48, 3);
    EXPECT_GE(box.top(), 28);
    EXPECT_LE(box.top(), 33);
    EXPECT_NEAR(box.height(), 14, 4);
}

TEST(MetafilePlayback, DibBlitsKeepTheirRowsTheRightWayUpAndMirror) {
    const QByteArray dib = Dib2x2();
    // STRETCHDIB: rop, usage, source h, w, y, x, dest h, w, y, x, DIB.
    QByteArray params;
    Append32(params, 0x00CC0020);
    for (int v : {0, 2, 2, 0, 0, 1000, 1000, 0, 0})
        Append16(params, static_cast<std::uint32_t>(v));
    params += dib;
    WmfBuilder w = Inch();
    w.Raw(0x0F43, params);
    const QImage image = RenderMetafile(w.Bytes());
    EXPECT_EQ(At(image, 20, 20), Rgb(kBlue));
    EXPECT_EQ(At(image, 70, 20), Rgb(kWhite));
    EXPECT_EQ(At(image, 20, 70), Rgb(kRed));
    EXPECT_EQ(At(image, 70, 70), Rgb(kGreen));

    // The same with a negative destination width: left and right swap.
    QByteArray mirrored;
    Append32(mirrored, 0x00CC0020);
    for (int v : {0, 2, 2, 0, 0, 1000, -1000, 0, 1000})
        Append16(mirrored, static_cast<std::uint32_t>(v));
    mirrored += dib;
    WmfBuilder m = Inch();
    m.Raw(0x0F43, mirrored);
    const QImage flipped = RenderMetafile(m.Bytes());
    EXPECT_EQ(At(flipped, 20, 20), Rgb(kWhite));
    EXPECT_EQ(At(flipped, 70, 20), Rgb(kBlue));
}

TEST(MetafilePlayback, EmfPathsWorldTransformsAndMappingModes) {
    // A triangle made as a path and filled.
    EmfBuilder e(2540, 2540);
    e.NullPen().SolidBrush(1, kRed).Select(1);
    e.Rec(59, {}).Rec(27, {0, 0}).Rec(54, {96, 0}).Rec(54, {0, 96}).Rec(61, {}).Rec(60, {});
    e.Rec(62, {0, 0, 96, 96});
    const QImage path = RenderMetafile(e.Bytes());
    EXPECT_EQ(At(path, 20, 20), Rgb(kRed));
    EXPECT_EQ(At(path, 80, 80), Rgb(kWhite));

    // A world transform scaling by 2: a 24-pixel square becomes 48.
    EmfBuilder s(2540, 2540);
    s.NullPen().SolidBrush(1, kBlue).Select(1);
    s.Rec(35, {0x40000000, 0, 0, 0x40000000, 0, 0}); // eM11 = eM22 = 2.0f
    s.Rectangle(0, 0, 24, 24);
    const QImage scaled = RenderMetafile(s.Bytes());
    EXPECT_EQ(At(scaled, 40, 40), Rgb(kBlue));
    EXPECT_EQ(At(scaled, 60, 60), Rgb(kWhite));

    // MM_HIMETRIC: y grows upwards from the viewport origin, 2540 units to the inch.
    EmfBuilder h(2540, 2540);
    h.NullPen().SolidBrush(1, kGreen).Select(1);
    h.Rec(17, {3}).Rec(12, {0, 96}); // viewport origin at the bottom-left corner
    h.Rectangle(0, 0, 1270, 1270);   // the bottom-left quarter
    const QImage metric = RenderMetafile(h.Bytes());
    EXPECT_EQ(At(metric, 20, 70), Rgb(kGreen));
    EXPECT_EQ(At(metric, 20, 20), Rgb(kWhite));
    EXPECT_EQ(At(metric, 70, 70), Rgb(kWhite));
}

TEST(MetafilePlayback, EmfClipRegionsComeInDevicePixels) {
    // RGNDATA with one rectangle: the right half.
    QByteArray region;
    for (std::uint32_t v : {32u, 1u, 1u, 16u, 48u, 0u, 96u, 96u, 48u, 0u, 96u, 96u})
        Append32(region, v);
    QByteArray fields;
    Append32(fields, static_cast<std::uint32_t>(region.size()));
    Append32(fields, 5); // RGN_COPY
    fields += region;
    EmfBuilder e(2540, 2540);
    e.NullPen().SolidBrush(1, kRed).Select(1).Raw(75, fields).Rectangle(0, 0, 96, 96);
    e.Rec(75, {0, 5}); // no region: clipping off again
    e.SolidBrush(2, kBlue).Select(2).Rectangle(0, 80, 96, 96);
    const QImage image = RenderMetafile(e.Bytes());
    EXPECT_EQ(At(image, 70, 40), Rgb(kRed));
    EXPECT_EQ(At(image, 20, 40), Rgb(kWhite));
    EXPECT_EQ(At(image, 20, 90), Rgb(kBlue));
}

TEST(MetafilePlayback, BrokenRecordsAreSkippedAndEndlessOnesEnd) {
    // A polygon claiming 30000 points inside a short record is skipped; drawing goes on.
    WmfBuilder w = Inch();
    w.SolidBrush(kRed).Select(1);
    w.Rec(0x0324, {30000, 0, 0, 10, 10});
    w.Rectangle(0, 0, 1000, 1000);
    EXPECT_EQ(At(RenderMetafile(w.Bytes()), 48, 48), Rgb(kRed));

    // A record size of 0 would never advance: playback stops there, before the rectangle.
    WmfBuilder z = Inch();
    z.SolidBrush(kRed).Select(1);
    QByteArray zero;
    Append32(zero, 0);
    Append16(zero, 0x041B);
    z.RawBytes(zero).Rectangle(0, 0, 1000, 1000);
    EXPECT_EQ(At(RenderMetafile(z.Bytes()), 48, 48), Rgb(kWhite));

    // 200,000 saved states and restores to states that do not exist: bounded and harmless.
    WmfBuilder deep = Inch();
    for (int i = 0; i < 200000; ++i)
        deep.Rec(0x001E, {});
    deep.Rec(0x0127, {-300000}).Rec(0x0127, {5000}).SolidBrush(kBlue).Select(1).Rectangle(0, 0, 1000, 1000);
    EXPECT_EQ(At(RenderMetafile(deep.Bytes()), 48, 48), Rgb(kBlue));

    // An EMF record whose size runs past the end ends playback without reading beyond it.
    EmfBuilder e(2540, 2540);
    e.NullPen().SolidBrush(1, kRed).Select(1).Rectangle(0, 0, 96, 96);
    QByteArray bytes = e.Bytes();
    bytes.chop(20); // no end record
    Append32(bytes, 43);
    Append32(bytes, 0x7FFFFFF0);
    EXPECT_EQ(At(RenderMetafile(bytes), 48, 48), Rgb(kRed));
}

TEST(MetafilePlayback, EveryCutOfARealMetafilePlaysOrIsRefused) {
    for (const char *name : {"lo_drawing.emf", "lo_drawing.wmf"}) {
        const QByteArray whole = ReadFileBytes(QStringLiteral(FIXTURE_SOURCE_DIR "/") + QLatin1String(name));
        ASSERT_FALSE(whole.isEmpty());
        int played = 0, refused = 0;
        for (qsizetype cut = 0; cut < whole.size(); cut += 97) {
            const QByteArray part = whole.left(cut);
            try {
                const QImage image = RenderMetafile(part);
                ++played;
                EXPECT_FALSE(image.isNull());
            } catch (const ErrorReport &e) {
                EXPECT_EQ(e.code(), ErrorReport::InvalidPicture);
                ++refused;
            }
        }
        // Only cuts inside the header are refused; the rest play what they hold.
        EXPECT_GT(played, refused) << name;
    }
}

TEST(MetafilePlayback, ExtremeValuesFoundByFuzzingDrawSensibly) {
    // A pen far wider than Qt accepts still draws, as wide as Qt allows: it covers the picture.
    WmfBuilder wide = Inch();
    wide.Rec(0x020C, {10, 10}); // 10 units to the inch: the pen is some 290,000 pixels wide
    wide.Pen(kRed, 30000).Select(1).Rec(0x0214, {5, 0}).Rec(0x0213, {5, 10});
    EXPECT_EQ(At(RenderMetafile(wide.Bytes()), 5, 5), Rgb(kRed));

    // A clip region whose rectangle spans the whole 32-bit range keeps everything visible.
    QByteArray region;
    for (std::uint32_t v : {32u, 1u, 1u, 16u, 0x80000000u, 0x80000000u, 0x7FFFFFFFu, 0x7FFFFFFFu, 0x80000000u,
                            0x80000000u, 0x7FFFFFFFu, 0x7FFFFFFFu})
        Append32(region, v);
    QByteArray fields;
    Append32(fields, static_cast<std::uint32_t>(region.size()));
    Append32(fields, 5);
    fields += region;
    EmfBuilder e(2540, 2540);
    e.NullPen().SolidBrush(1, kBlue).Select(1).Raw(75, fields).Rectangle(0, 0, 96, 96);
    // A clip rectangle turned by a world transform, its corners far away: the picture stays inside.
    e.Rec(35,
          {0x3F3504F3, 0x3F3504F3, static_cast<std::int64_t>(0xBF3504F3u), 0x3F3504F3, 0, 0}); // 45 degrees
    e.Rec(30, {-2000000000, -2000000000, 2000000000, 2000000000});
    e.SolidBrush(2, kGreen).Select(2).Rectangle(-10, -10, 10, 10);
    const QImage image = RenderMetafile(e.Bytes());
    EXPECT_EQ(At(image, 90, 90), Rgb(kBlue));
    EXPECT_EQ(At(image, 2, 3), Rgb(kGreen));

    // A box smaller than half a unit still makes a picture with a size.
    const QByteArray tiny = WmfBuilder(0, 0, 1, 1, 65535).Bytes();
    const MetafileInfo info =
        ReadMetafileInfo(std::as_bytes(std::span(tiny.constData(), static_cast<std::size_t>(tiny.size()))));
    EXPECT_EQ(info.widthHimetric, 1);
    EXPECT_EQ(info.heightHimetric, 1);
}
