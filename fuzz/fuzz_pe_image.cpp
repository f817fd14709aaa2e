// The PE reader over arbitrary file bytes: every type, name and resource is walked and read.
#include "platform/PeImage.h"

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
    for (const ResourceId &type : image->Types())
        for (const ResourceId &name : image->Names(type)) {
            image->Languages(type, name);
            if (const auto bytes = image->Find(type, name))
                for (std::byte b : *bytes) sum += static_cast<unsigned>(b);
        }
    static volatile unsigned sink;
    sink = sum;
    return 0;
}
