// The PE reader over arbitrary file bytes: every type, name and resource is walked and read.
#include "pe/PeImage.h"

#include <QCoreApplication>
#include <QTemporaryFile>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static QTemporaryFile file;
    static const bool opened = file.open();
    if (!opened) return 0;
    file.resize(0);
    file.seek(0);
    file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    file.flush();
    const auto image = PeImage::Load(file.fileName());
    if (!image) return 0;
    unsigned sum = 0;
    // A hostile directory can list thousands of entries at each level; the program looks up one
    // resource per click, so a bounded sample of every level is what matters here.
    auto firstOf = [](std::vector<ResourceId> ids) {
        if (ids.size() > 64) ids.resize(64);
        return ids;
    };
    for (const ResourceId &type : firstOf(image->Types()))
        for (const ResourceId &name : firstOf(image->Names(type))) {
            image->Languages(type, name);
            if (const auto bytes = image->Find(type, name))
                for (std::byte b : *bytes) sum += static_cast<unsigned>(b);
        }
    static volatile unsigned sink;
    sink = sum;
    return 0;
}
