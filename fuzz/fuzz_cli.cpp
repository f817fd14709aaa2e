// zorvika-cli over arbitrary file bytes: the listing, the text of the first resources, and each of
// them made into a file in every form extract writes, with its file name.
#include "FuzzFile.h"
#include "cli/CliCommands.h"
#include "cli/SafeFileNames.h"
#include "export/ResourceExport.h"
#include "resources/ModuleCatalogue.h"

#include <QGuiApplication>
#include <cstdint>

// Fonts that metafiles ask for fill caches that live until the process ends (see fuzz_metafile).
extern "C" const char *__lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:libharfbuzz\nleak:libQt6Gui\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_cli";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    const QString path = InputAsFile(data, size);
    if (path.isEmpty()) return 0;

    std::size_t sum = 0;
    const CliStreams streams{[&](const QByteArray &b) {
                                 sum += static_cast<std::size_t>(b.size());
                                 return 0;
                             },
                             [&](const QByteArray &b) { sum += static_cast<std::size_t>(b.size()); }};
    const int listed = RunCli({QStringLiteral("list"), QStringLiteral("--json"), path}, streams);
    if (listed != 0 && listed != 1) __builtin_trap();
    const auto module = ModuleCatalogue::Open(path);
    if (!module) return 0;
    SafeFileNames names;
    int budget = 8; // a hostile directory lists thousands; a few resources reach every decoder
    for (const ResourceId &type : module->Types())
        for (const ResourceId &id : module->Names(type)) {
            if (budget-- <= 0) break;
            for (ExportChoice choice : {ExportChoice::Saved, ExportChoice::Drawn, ExportChoice::Png}) {
                const ExportedResource out = ExportResource(*module, {type, id}, choice, SystemColours{});
                if (out.bytes) sum += static_cast<std::size_t>(out.bytes->size());
                const QString fileName = names.Assign({type, id}, out.extension);
                if (fileName.contains(QLatin1Char('/')) || fileName.startsWith(QLatin1Char('.')))
                    __builtin_trap();
            }
        }
    static volatile std::size_t sink;
    sink = sum;
    return 0;
}
