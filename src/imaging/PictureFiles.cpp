#include "imaging/PictureFiles.h"

#include "imaging/IconImage.h"
#include "pe/ByteWriter.h"
#include "system/ErrorReport.h"

QByteArray BmpFileBytes(const QImage &source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const auto w = static_cast<std::uint32_t>(image.width());
    const auto h = static_cast<std::uint32_t>(image.height());
    const std::uint32_t stride = (w * 3u + 3u) & ~3u;
    const std::uint32_t bitsSize = CheckedMul(stride, h);
    const std::uint32_t headers = 14 + 40;
    QByteArray out;
    out.reserve(static_cast<qsizetype>(CheckedAdd(headers, bitsSize)));
    out.append("BM", 2);
    Put32(out, headers + bitsSize);
    Put32(out, 0);
    Put32(out, headers);
    Put32(out, 40);
    Put32(out, w);
    Put32(out, h); // positive: bottom-up
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0); // BI_RGB
    Put32(out, bitsSize);
    Put32(out, 3780); // 96 dpi in pixels per metre
    Put32(out, 3780);
    Put32(out, 0);
    Put32(out, 0);
    QByteArray row(static_cast<qsizetype>(stride), '\0');
    for (int y = static_cast<int>(h) - 1; y >= 0; --y) {
        const auto *p = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (std::uint32_t x = 0; x < w; ++x) {
            row[static_cast<qsizetype>(x * 3)] = static_cast<char>(qBlue(p[x]));
            row[static_cast<qsizetype>(x * 3 + 1)] = static_cast<char>(qGreen(p[x]));
            row[static_cast<qsizetype>(x * 3 + 2)] = static_cast<char>(qRed(p[x]));
        }
        out.append(row);
    }
    return out;
}

QByteArray IconFileBytes(const IconImage &icon) {
    QByteArray out;
    Put16(out, 0);
    Put16(out, icon.cursor ? 2 : 1);
    Put16(out, 1);
    // Sizes of 256 and more are written as 0.
    out.append(static_cast<char>(icon.image.width() >= 256 ? 0 : icon.image.width()));
    out.append(static_cast<char>(icon.image.height() >= 256 ? 0 : icon.image.height()));
    out.append(static_cast<char>(icon.bitCount > 0 && icon.bitCount < 8 ? 1 << icon.bitCount : 0));
    out.append('\0');
    if (icon.cursor) {
        Put16(out, static_cast<std::uint32_t>(icon.hotspot.x()));
        Put16(out, static_cast<std::uint32_t>(icon.hotspot.y()));
    } else {
        Put16(out, 1);
        Put16(out, icon.bitCount);
    }
    Put32(out, static_cast<std::uint32_t>(icon.imageBytes.size()));
    Put32(out, 6 + 16);
    out.append(icon.imageBytes);
    return out;
}
