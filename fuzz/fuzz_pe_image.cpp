// The PE reader and the module catalogue over arbitrary file bytes: every type, name and resource
// is walked and read by exact entry, and its size asked as a listing asks it. Inputs whose first byte is odd
// have their file cut short after the first type, as a rebuild of an open file would cut it.
#include "FuzzFile.h"
#include "resources/ModuleCatalogue.h"

#include <QCoreApplication>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QString path = InputAsFile(data, size);
    if (path.isEmpty()) return 0;
    const auto module = ModuleCatalogue::Open(path);
    if (!module) return 0;
    unsigned sum = 0;
    // A hostile directory can list thousands of entries at each level; the program looks up one
    // resource per click, so a bounded sample of every level is what matters here.
    auto firstOf = [](const std::vector<ResourceId> &ids) {
        return std::span(ids).first(std::min<std::size_t>(ids.size(), 64));
    };
    bool cutDone = (data[0] & 1) == 0;
    for (const ResourceId &type : firstOf(module->Types())) {
        for (const ResourceId &name : firstOf(module->Names(type))) {
            const ResourceEntry entry{type, name};
            const std::vector<std::uint16_t> languages = module->Languages(entry);
            for (std::uint16_t language :
                 std::span(languages).first(std::min<std::size_t>(languages.size(), 64)))
                if (const auto bytes = module->Bytes(entry, language))
                    sum += static_cast<unsigned>(bytes->size());
            if (const auto bytes = module->Bytes(entry))
                for (std::byte b : *bytes)
                    sum += static_cast<unsigned>(b);
            sum += module->Size(entry).value_or(0);
        }
        if (!cutDone) cutDone = QFile::resize(path, static_cast<qint64>(size * data[0] / 256));
    }
    static volatile unsigned sink;
    sink = sum;
    return 0;
}
