// Icon and cursor decoding over arbitrary bytes: single images with and without hotspot, icon and
// cursor files, and groups whose images are looked up in the same bytes, chosen from and made whole
// into files, whose directories must read back. Images that decode are written back as icon files
// and read again.
#include "formats/IconDirectory.h"
#include "formats/IconGroupFile.h"
#include "imaging/IconImage.h"
#include "imaging/ImageLoader.h"
#include "imaging/PictureFiles.h"
#include "system/ErrorReport.h"
#include "system/Made.h"

#include <QGuiApplication>
#include <QPainter>
#include <cstdint>

namespace {
void RoundTrip(const IconImage &icon) {
    if (!icon.screenXor.isNull() && icon.screenXor.size() != icon.image.size()) __builtin_trap();
    // Drawn as the picture pane draws it, XOR pixels included (small images only: speed).
    if (!icon.image.isNull() && icon.image.width() <= 256 && icon.image.height() <= 256) {
        QImage canvas(icon.image.size(), QImage::Format_RGB32);
        canvas.fill(Qt::gray);
        QPainter painter(&canvas);
        DrawIconImage(painter, QPoint(0, 0), icon.image, icon.screenXor);
    }
    const QByteArray file = IconFileBytes(icon);
    const IconImage again =
        LoadIconFile(std::as_bytes(std::span(file.constData(), static_cast<std::size_t>(file.size()))));
    if (again.image.size() != icon.image.size() || again.imageBytes != icon.imageBytes) __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_icon";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    const auto bytes = std::as_bytes(std::span(data, size));
    for (bool cursor : {false, true}) {
        try {
            RoundTrip(DecodeIconResource(bytes, cursor));
        } catch (const ErrorReport &) {
        }
        try {
            // Image n of a group lives at offset 64 * n of the same bytes.
            LoadIconGroup(bytes, cursor, [&](std::uint16_t id) -> std::optional<std::span<const std::byte>> {
                const std::size_t at = std::size_t{id} * 64;
                if (at >= bytes.size()) return std::nullopt;
                return bytes.subspan(at);
            });
        } catch (const ErrorReport &) {
        }
        std::optional<QByteArray> file;
        try {
            file = IconGroupFile(bytes, cursor, [&](std::uint16_t id) -> std::optional<std::vector<std::byte>> {
                const std::size_t at = std::size_t{id} * 64;
                if (at >= bytes.size()) return std::nullopt;
                return std::vector<std::byte>(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end());
            });
        } catch (const ErrorReport &) {
        }
        if (file) {
            // The file made reads back (a failure here traps): its entries lie inside it, the last
            // one ending where the file does.
            const auto made = std::as_bytes(std::span(file->constData(), static_cast<std::size_t>(file->size())));
            const IconDirectory directory = MadeBy([&] { return ReadIconFileDirectory(made); }).value();
            if (directory.cursor != cursor || directory.entries.empty()) __builtin_trap();
            const IconDirEntry &last = directory.entries.back();
            if (std::size_t{last.idOrOffset} + last.bytes != made.size()) __builtin_trap();
        }
    }
    try {
        RoundTrip(LoadIconFile(bytes));
    } catch (const ErrorReport &) {
    }
    return 0;
}
