// WMF and EMF playback over arbitrary bytes: the header is read and the records are played onto
// a small image, whatever they claim.
#include "system/ErrorReport.h"
#include "imaging/metafile/Metafile.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>

// Fonts the records ask for fill the font caches of fontconfig, HarfBuzz and Qt's font database,
// which live until the process ends and are never freed; they are not leaks of the code under test.
extern "C" const char *__lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:libharfbuzz\nleak:libQt6Gui\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_metafile";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    static QImage target(64, 48, QImage::Format_RGB32);
    const auto bytes = std::as_bytes(std::span(data, size));
    try {
        const MetafileInfo info = ReadMetafileInfo(bytes);
        if (info.widthHimetric <= 0 || info.heightHimetric <= 0) __builtin_trap();
    } catch (const ErrorReport &) {
    }
    if (!LooksLikeMetafile(bytes)) return 0;
    target.fill(Qt::white);
    QPainter painter(&target);
    PlayMetafile(bytes, painter, QRectF(2, 2, 60, 44));
    return 0;
}
