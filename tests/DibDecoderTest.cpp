// The DIB decoder on its own: hostile headers, data cut short, runs that leave the image.
#include "Fixtures.h"
#include "imaging/Dib.h"
#include "imaging/PixelsImage.h"
#include "system/ErrorReport.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {
std::span<const std::byte> Span(const QByteArray &b) {
    return std::as_bytes(std::span(b.constData(), static_cast<std::size_t>(b.size())));
}

void Put16(QByteArray &b, std::uint32_t v) {
    b.append(static_cast<char>(v & 0xFF));
    b.append(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(QByteArray &b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

QByteArray InfoHeader(std::int32_t w, std::int32_t h, int bits, std::uint32_t compression,
                      std::uint32_t used = 0, std::uint32_t sizeImage = 0) {
    QByteArray b;
    Put32(b, 40);
    Put32(b, static_cast<std::uint32_t>(w));
    Put32(b, static_cast<std::uint32_t>(h));
    Put16(b, 1);
    Put16(b, static_cast<std::uint32_t>(bits));
    Put32(b, compression);
    Put32(b, sizeImage);
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, used);
    Put32(b, 0);
    return b;
}

// The failure code of decoding, 0 when it succeeds.
int FailureOf(const QByteArray &packed) {
    try {
        DecodePackedDib(Span(packed));
        return 0;
    } catch (const ErrorReport &e) {
        return e.code();
    }
}

QStringList GeneratedBitmaps() {
    QStringList files;
    for (const QString &f :
         QDir(QStringLiteral(FIXTURE_DIR)).entryList({QStringLiteral("pic_*.bmp")}, QDir::Files))
        if (f != QLatin1String("pic_big.bmp")) files << FixturePath(f);
    return files;
}
} // namespace

TEST(DibDecoder, EveryCutOfEveryBitmapDecodesWholeOrFails) {
    const QStringList files = GeneratedBitmaps();
    ASSERT_GE(files.size(), 14);
    for (const QString &file : files) {
        SCOPED_TRACE(file.toStdString());
        const QByteArray whole = ReadFileBytes(file);
        EXPECT_NO_THROW(DecodeBmpFile(Span(whole)));
        for (qsizetype cut = 0; cut < whole.size(); ++cut) {
            const QByteArray part = whole.left(cut);
            try {
                const DecodedDib d = DecodeBmpFile(Span(part));
                // Only RLE data may end early: its missing rows stay transparent.
                EXPECT_TRUE(d.header.compression == BiRle8 || d.header.compression == BiRle4) << cut;
            } catch (const ErrorReport &e) {
                EXPECT_TRUE(e.code() == ErrorReport::OutOfRange || e.code() == ErrorReport::InvalidPicture)
                    << e.code();
            }
        }
    }
}

TEST(DibDecoder, SizesBeyondAnyImageAreRefusedBeforeAnythingIsAllocated) {
    // Each side within 16 bits, their product far beyond the pixel limit.
    EXPECT_EQ(FailureOf(InfoHeader(32767, 32767, 32, BiRgb)), ErrorReport::InvalidPicture);
    // Products that overflow 32 bits, negative and zero sizes, the most negative height.
    EXPECT_EQ(FailureOf(InfoHeader(0x7FFFFFFF, 0x7FFFFFFF, 1, BiRgb)), ErrorReport::InvalidPicture);
    EXPECT_EQ(FailureOf(InfoHeader(-5, 5, 8, BiRgb)), ErrorReport::InvalidPicture);
    EXPECT_EQ(FailureOf(InfoHeader(5, 0, 8, BiRgb)), ErrorReport::InvalidPicture);
    EXPECT_EQ(FailureOf(InfoHeader(5, std::numeric_limits<std::int32_t>::min(), 8, BiRgb)),
              ErrorReport::InvalidPicture);
    // An RLE image of the largest allowed size is only as large as it says, not larger.
    QByteArray rle = InfoHeader(8, 8, 8, BiRle8, 1);
    Put32(rle, 0x00FF0000);
    rle += QByteArray::fromHex("0001");
    EXPECT_EQ(FailureOf(rle), 0);
    // Depths and compressions that do not go together.
    EXPECT_EQ(FailureOf(InfoHeader(4, 4, 7, BiRgb)), ErrorReport::InvalidPicture);
    EXPECT_EQ(FailureOf(InfoHeader(4, 4, 24, BiRle8)), ErrorReport::InvalidPicture);
    EXPECT_EQ(FailureOf(InfoHeader(4, 4, 8, BiBitfields)), ErrorReport::InvalidPicture);
    EXPECT_EQ(FailureOf(InfoHeader(4, -4, 8, BiRle8)), ErrorReport::InvalidPicture); // RLE is never top-down
    EXPECT_EQ(FailureOf(InfoHeader(4, 4, 8, 77)), ErrorReport::InvalidPicture);
}

TEST(DibDecoder, TablesMasksAndBitsPastTheEndAreOutOfRange) {
    // 256 colours promised, 4 given.
    QByteArray table = InfoHeader(2, 2, 8, BiRgb, 256);
    Put32(table, 0);
    EXPECT_EQ(FailureOf(table), ErrorReport::OutOfRange);
    // Bit fields announced after the header, only two of the three masks there.
    QByteArray masks = InfoHeader(2, 2, 16, BiBitfields);
    Put32(masks, 0xF800);
    Put32(masks, 0x07E0);
    EXPECT_EQ(FailureOf(masks), ErrorReport::OutOfRange);
    // 2 x 2 at 24 bits needs 16 bytes of rows; 15 are there.
    QByteArray bits = InfoHeader(2, 2, 24, BiRgb);
    bits += QByteArray(15, '\x7F');
    EXPECT_EQ(FailureOf(bits), ErrorReport::OutOfRange);
    bits += '\x7F';
    EXPECT_EQ(FailureOf(bits), 0);
    // Headers shorter than any kind, or cut inside.
    EXPECT_EQ(FailureOf(QByteArray::fromHex("20000000")), ErrorReport::InvalidPicture);
    EXPECT_EQ(FailureOf(InfoHeader(2, 2, 24, BiRgb).left(30)), ErrorReport::OutOfRange);
}

TEST(DibDecoder, RunsAndDeltasThatLeaveTheImageAreCutAtItsEdge) {
    // 4 x 3, colours 1 = red and 2 = green.
    QByteArray rle = InfoHeader(4, 3, 8, BiRle8, 3);
    for (QRgb c : {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0)}) {
        rle.append(static_cast<char>(qBlue(c)));
        rle.append(static_cast<char>(qGreen(c)));
        rle.append(static_cast<char>(qRed(c)));
        rle.append('\0');
    }
    // Bottom row: a run of 255 red (cut at 4). Then a delta far to the right and down, then an
    // absolute stretch of 5 green starting at x = 2 of the middle row (cut at 4).
    rle += QByteArray::fromHex("FF01" // 255 x colour 1
                               "0000" // end of line
                               "0002"
                               "0200" // delta (+2, +0)
                               "0005"
                               "0202020202"
                               "00" // absolute 5, padded
                               "0002"
                               "FFFF" // delta far outside
                               "0501" // a run that lands nowhere
                               "0001");
    const DecodedDib d = DecodePackedDib(Span(rle));
    const QImage img = ImageOf(d.image);
    ASSERT_EQ(img.size(), QSize(4, 3));
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(img.pixel(x, 2), qRgb(255, 0, 0)) << x;
    EXPECT_EQ(qAlpha(img.pixel(0, 1)), 0); // skipped by the delta
    EXPECT_EQ(qAlpha(img.pixel(1, 1)), 0);
    EXPECT_EQ(img.pixel(2, 1), qRgb(0, 255, 0));
    EXPECT_EQ(img.pixel(3, 1), qRgb(0, 255, 0));
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(qAlpha(img.pixel(x, 0)), 0) << x;
}

TEST(DibDecoder, ColourTablesMayBeIndicesIntoAPalette) {
    QByteArray dib = InfoHeader(2, 1, 8, BiRgb, 2);
    Put16(dib, 1); // entry 0 is palette index 1
    Put16(dib, 0);
    dib += QByteArray::fromHex("00010000");
    const std::vector<QRgb> palette = {qRgb(1, 2, 3), qRgb(200, 100, 50)};
    DibOptions options;
    options.paletteIndices = true;
    options.palette = palette;
    const DecodedDib d = DecodePackedDib(Span(dib), options);
    EXPECT_EQ(d.image.Row(0)[0], palette[1]);
    EXPECT_EQ(d.image.Row(0)[1], palette[0]);
}
