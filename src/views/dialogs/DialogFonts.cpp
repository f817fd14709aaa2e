#include "views/dialogs/DialogFonts.h"

#include "system/Twips.h"
#include "views/dialogs/DialogGeometry.h"

#include <QDir>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QRawFont>
#include <QStringList>
#include <algorithm>

namespace {
// Fonts of Wine's font package stand in for the faces Windows dialogs ask for by name. They are
// outside fontconfig's folders, so they are registered with the application when present.
void RegisterStandInFonts() {
    static const bool done = [] {
        const QStringList folders{QStringLiteral("/usr/share/wine/fonts"),
                                  QStringLiteral("/usr/lib/wine/fonts")};
        // Not its bold face: that file draws regular glyphs on bold advances at dialog sizes;
        // the bold made from the regular face reads right.
        const QStringList files{QStringLiteral("tahoma.ttf"), QStringLiteral("marlett.ttf"),
                                QStringLiteral("symbol.ttf"), QStringLiteral("wingding.ttf"),
                                QStringLiteral("webdings.ttf")};
        for (const QString &folder : folders)
            for (const QString &file : files)
                if (QDir(folder).exists(file)) QFontDatabase::addApplicationFont(QDir(folder).filePath(file));
        return true;
    }();
    (void)done;
}

QStringList StandIns(const QString &lowerFace) {
    static const QStringList sans{QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"),
                                  QStringLiteral("DejaVu Sans")};
    static const QStringList metricSans{QStringLiteral("Liberation Sans"), QStringLiteral("Tahoma"),
                                        QStringLiteral("DejaVu Sans")};
    static const QStringList mono{QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")};
    static const QStringList serif{QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")};
    static const QStringList monoFaces{"courier new", "courier",  "lucida console", "fixedsys",
                                       "terminal",    "consolas", "system fixed"};
    static const QStringList serifFaces{"times new roman", "times", "ms serif", "georgia", "roman"};
    static const QStringList arialFaces{"arial", "helvetica", "verdana", "arial unicode ms"};
    if (monoFaces.contains(lowerFace)) return mono;
    if (serifFaces.contains(lowerFace)) return serif;
    if (arialFaces.contains(lowerFace)) return metricSans;
    // "MS Shell Dlg", "MS Shell Dlg 2", "MS Sans Serif", "Microsoft Sans Serif", "System" and any
    // face this system lacks: the platform's dialog face.
    return sans;
}

int RoundedScale(int fontUnits, int pixelsPerEm, int unitsPerEm) {
    return static_cast<int>((static_cast<std::int64_t>(fontUnits) * pixelsPerEm + unitsPerEm / 2) /
                            unitsPerEm);
}

int BigEndian16(const QByteArray &table, int offset) {
    return (static_cast<unsigned char>(table[offset]) << 8) | static_cast<unsigned char>(table[offset + 1]);
}

// The size of the platform's system font, used by templates without a font block.
constexpr int kSystemFontPixels = 16;
// Larger point sizes in a template make glyphs no screen can show; they are cut to this.
constexpr int kMaxFontPixels = 400;
// The point size that extended templates use to ask for the message-box font.
constexpr std::uint16_t kMessageBoxFontSize = 0x7FFF;
} // namespace

QString ResolveFaceName(const QString &face) {
    RegisterStandInFonts();
    if (!face.isEmpty() && QFontDatabase::hasFamily(face)) return face;
    const QStringList candidates = StandIns(face.trimmed().toLower());
    for (const QString &family : candidates)
        if (QFontDatabase::hasFamily(family)) return family;
    return candidates.constLast();
}

QFont DialogFontFor(const std::optional<DialogFont> &font) {
    QFont result;
    result.setStyleStrategy(QFont::PreferAntialias);
    result.setKerning(false); // GDI's text extents have no kerning
    const double dpi = 1440.0 / TwipsPerPixelY();
    if (!font) {
        result.setFamily(ResolveFaceName(QStringLiteral("System")));
        result.setPixelSize(kSystemFontPixels);
        result.setWeight(QFont::Bold);
        return result;
    }
    std::uint16_t points = font->pointSize;
    QString face = font->face;
    if (points == kMessageBoxFontSize || points == 0) {
        points = 8;
        face = QStringLiteral("MS Shell Dlg");
    }
    // The platform asks for a character height of -MulDiv(points, logical dpi, 72) pixels.
    const int pixels = std::clamp(MulDiv(points, static_cast<int>(std::lround(dpi)), 72), 1, kMaxFontPixels);
    result.setFamily(ResolveFaceName(face));
    result.setPixelSize(pixels);
    if (font->weight != 0)
        result.setWeight(static_cast<QFont::Weight>(std::clamp<int>(font->weight, 1, 1000)));
    result.setItalic(font->italic);
    return result;
}

int PlatformFontHeight(const QFont &font) {
    const QRawFont raw = QRawFont::fromFont(font);
    const QByteArray os2 = raw.isValid() ? raw.fontTable("OS/2") : QByteArray();
    const QByteArray head = raw.isValid() ? raw.fontTable("head") : QByteArray();
    // usWinAscent and usWinDescent at offsets 74 and 76 of the OS/2 table, unitsPerEm at 18 of
    // the head table; GDI scales each to the pixel size and rounds it.
    if (os2.size() >= 78 && head.size() >= 20) {
        const int unitsPerEm = BigEndian16(head, 18);
        const int ppem = font.pixelSize() > 0 ? font.pixelSize() : QFontMetrics(font).height();
        if (unitsPerEm > 0)
            return RoundedScale(BigEndian16(os2, 74), ppem, unitsPerEm) +
                   RoundedScale(BigEndian16(os2, 76), ppem, unitsPerEm);
    }
    const QFontMetrics metrics(font);
    return metrics.ascent() + metrics.descent();
}

DialogBaseUnits MeasureBaseUnits(const QFont &font) {
    static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int width = QFontMetrics(font).horizontalAdvance(letters);
    return {std::max(1, (width + 26) / 52), std::max(1, PlatformFontHeight(font))};
}
