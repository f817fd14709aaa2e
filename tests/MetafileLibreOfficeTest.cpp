// Metafiles written by another program render close to that program's own rendering of them.
// lo_drawing.emf and lo_drawing.wmf were converted by LibreOffice Draw from lo_drawing.svg
// (libreoffice --headless --convert-to emf|wmf); lo_drawing_emf.png and lo_drawing_wmf.png are
// LibreOffice's PNG export of each metafile, cut from its page to the picture's own size.
#include "Fixtures.h"
#include "MetafileBuilders.h"
#include "imaging/metafile/MetafilePicture.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {
struct Similarity {
    double meanDifference = 0; // mean absolute difference per channel (0 to 255) at the best shift
    double closeShare = 0;     // share of pixels with a pixel within 48 levels in the other's 3 x 3
};

int Channel(QRgb c, int channel) {
    return channel == 0 ? qRed(c) : channel == 1 ? qGreen(c) : qBlue(c);
}

int Distance(QRgb a, QRgb b) {
    int worst = 0;
    for (int c = 0; c < 3; ++c)
        worst = std::max(worst, std::abs(Channel(a, c) - Channel(b, c)));
    return worst;
}

// Two renderers place edges and smooth them each in their own way, a pixel or so apart; that says
// nothing about whether the drawing is right. So the mean difference is taken at the best whole
// shift of up to 2 pixels, and a pixel counts as close when the other image has a pixel of nearly
// its colour within one pixel of it (checked both ways).
Similarity Compare(const QImage &oursIn, const QImage &theirsIn) {
    const QImage a = oursIn.convertToFormat(QImage::Format_RGB32);
    const QImage b = theirsIn.convertToFormat(QImage::Format_RGB32);
    const int w = std::min(a.width(), b.width()), h = std::min(a.height(), b.height());
    auto at = [&](const QImage &img, int x, int y) {
        return img.pixel(std::clamp(x, 0, w - 1), std::clamp(y, 0, h - 1));
    };
    double best = 1e9;
    for (int sy = -2; sy <= 2; ++sy)
        for (int sx = -2; sx <= 2; ++sx) {
            double total = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    for (int c = 0; c < 3; ++c)
                        total += std::abs(Channel(at(a, x + sx, y + sy), c) - Channel(at(b, x, y), c));
            best = std::min(best, total / (3.0 * w * h));
        }
    auto nearShare = [&](const QImage &p, const QImage &q) {
        long close = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                int nearest = 255;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        nearest = std::min(nearest, Distance(at(p, x, y), at(q, x + dx, y + dy)));
                if (nearest <= 48) ++close;
            }
        return static_cast<double>(close) / (double(w) * h);
    };
    return {best, std::min(nearShare(a, b), nearShare(b, a))};
}

QImage Render(const QString &file) {
    return RenderMetafile(ReadFileBytes(QStringLiteral(FIXTURE_SOURCE_DIR "/") + file));
}

void ExpectClose(const QString &metafile, const QString &reference, int expectedType) {
    const MetafilePicture picture(ReadFileBytes(QStringLiteral(FIXTURE_SOURCE_DIR "/") + metafile));
    EXPECT_EQ(picture.Type(), expectedType);
    const QImage ours = Render(metafile);
    const QImage theirs(QStringLiteral(FIXTURE_SOURCE_DIR "/") + reference);
    ASSERT_FALSE(theirs.isNull());
    // The picture's own size is the size LibreOffice gives it, within a pixel of rounding.
    EXPECT_NEAR(ours.width(), theirs.width(), 1);
    EXPECT_NEAR(ours.height(), theirs.height(), 1);
    const Similarity s = Compare(ours, theirs);
    ours.save(QStringLiteral(FIXTURE_DIR "/rendered_") + metafile + QStringLiteral(".png"));
    std::printf("[ similar  ] %s: mean difference %.2f of 255, %.1f%% of pixels close\n",
                qPrintable(metafile), s.meanDifference, 100.0 * s.closeShare);
    EXPECT_LT(s.meanDifference, 8.0);
    EXPECT_GT(s.closeShare, 0.95);
}
} // namespace

TEST(MetafileLibreOffice, EmfRendersCloseToLibreOffice) {
    ExpectClose(QStringLiteral("lo_drawing.emf"), QStringLiteral("lo_drawing_emf.png"), Picture::EnhMetafile);
}

TEST(MetafileLibreOffice, WmfRendersCloseToLibreOffice) {
    ExpectClose(QStringLiteral("lo_drawing.wmf"), QStringLiteral("lo_drawing_wmf.png"), Picture::Metafile);
}
