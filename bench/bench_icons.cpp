// Icon decoding speed against icoutils: every icon group of Wine's x86-64 libraries and every
// image in them, decoded by our loader, beside `icotool -x` extracting the same groups to PNG,
// in the same run. Usage: bench_icons [wine folder] [repetitions]
#include "formats/IconDirectory.h"
#include "imaging/IconImage.h"
#include "imaging/ImageLoader.h"
#include "resources/ModuleCatalogue.h"
#include "system/ErrorReport.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

namespace {
struct Group {
    const ModuleCatalogue *module;
    std::vector<std::byte> data;
};

bool Run(const QString &program, const QStringList &arguments) {
    QProcess p;
    p.start(program, arguments);
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}
} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString wineDir = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                     : QStringLiteral("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows");
    const int repetitions = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    std::vector<std::shared_ptr<const ModuleCatalogue>> modules;
    std::vector<Group> groups;
    QStringList modulesWithGroups;
    for (const QString &name : QDir(wineDir).entryList(QDir::Files, QDir::Name)) {
        auto image = ModuleCatalogue::Open(wineDir + QLatin1Char('/') + name);
        if (!image) continue;
        const auto names = image->Names(ResourceId::fromNumber(14));
        for (const ResourceId &n : names)
            for (std::uint16_t language : image->Languages({ResourceId::fromNumber(14), n}))
                if (auto data = image->Bytes({ResourceId::fromNumber(14), n}, language))
                    groups.push_back({image.get(), std::move(*data)});
        if (!names.empty()) modulesWithGroups << image->path();
        modules.push_back(std::move(image));
    }
    if (groups.empty()) {
        std::fprintf(stderr, "no icon groups under %s\n", qPrintable(wineDir));
        return 1;
    }

    // Ours: each group's chosen image (as the viewer shows it), and every image of every group
    // (as icotool extracts them); then the same with each image encoded to PNG in memory.
    // The chosen image is read from the file as the viewer reads it, and kept while it is decoded.
    std::vector<std::byte> chosen;
    auto lookup = [&chosen](const ModuleCatalogue *module) {
        return [module, &chosen](std::uint16_t id) -> std::optional<std::span<const std::byte>> {
            auto found = module->Bytes({ResourceId::fromNumber(3), ResourceId::fromNumber(id)});
            if (!found) return std::nullopt;
            chosen = std::move(*found);
            return std::span<const std::byte>(chosen);
        };
    };
    std::size_t images = 0, failures = 0, pngImages = 0;
    double pngDecodeNs = 0;
    QElapsedTimer timer;
    double chosenNs = 0, allNs = 0, pngNs = 0;
    for (int round = 0; round < repetitions; ++round) {
        timer.start();
        for (const Group &g : groups) {
            try {
                LoadIconGroup(g.data, false, lookup(g.module));
            } catch (const ErrorReport &) {
                ++failures;
            }
        }
        chosenNs += static_cast<double>(timer.nsecsElapsed());
        for (int encode = 0; encode < 2; ++encode) {
            images = 0;
            timer.start();
            for (const Group &g : groups) {
                for (const IconDirEntry &e : ReadGroupDirectory(g.data, false).entries) {
                    const auto data = lookup(g.module)(static_cast<std::uint16_t>(e.idOrOffset));
                    if (!data) continue;
                    try {
                        QElapsedTimer one;
                        one.start();
                        const IconImage icon = DecodeIconResource(*data, false);
                        if (!encode && icon.imageBytes.startsWith("\x89PNG")) {
                            pngDecodeNs += static_cast<double>(one.nsecsElapsed());
                            if (round == 0) ++pngImages;
                        }
                        if (encode) {
                            QBuffer buffer;
                            buffer.open(QIODevice::WriteOnly);
                            icon.image.save(&buffer, "PNG");
                        }
                        ++images;
                    } catch (const ErrorReport &) {
                        ++failures;
                    }
                }
            }
            (encode ? pngNs : allNs) += static_cast<double>(timer.nsecsElapsed());
        }
    }
    chosenNs /= repetitions;
    allNs /= repetitions;
    pngNs /= repetitions;

    // icoutils: the groups as icon files (wrestool, not timed), then icotool -x on them, one run
    // per module, timed.
    const QString wrestool = QStandardPaths::findExecutable(QStringLiteral("wrestool"));
    const QString icotool = QStandardPaths::findExecutable(QStringLiteral("icotool"));
    double icotoolNs = 0;
    std::size_t pngs = 0;
    if (!wrestool.isEmpty() && !icotool.isEmpty()) {
        QTemporaryDir work;
        std::vector<QStringList> icoFiles;
        for (const QString &path : modulesWithGroups) {
            const QString dir = work.filePath(QFileInfo(path).fileName());
            QDir().mkpath(dir);
            Run(wrestool, {QStringLiteral("-x"), QStringLiteral("-t14"), QStringLiteral("-o"), dir, path});
            QStringList files;
            for (const QString &f : QDir(dir).entryList({QStringLiteral("*.ico")}, QDir::Files))
                files << dir + QLatin1Char('/') + f;
            icoFiles.push_back(files);
        }
        for (int round = 0; round < repetitions; ++round) {
            const QString out = work.filePath(QStringLiteral("png%1").arg(round));
            QDir().mkpath(out);
            timer.start();
            for (const QStringList &files : icoFiles)
                if (!files.isEmpty())
                    Run(icotool, QStringList{QStringLiteral("-x"), QStringLiteral("-o"), out} + files);
            icotoolNs += static_cast<double>(timer.nsecsElapsed());
            if (round == 0)
                pngs = static_cast<std::size_t>(
                    QDir(out).entryList({QStringLiteral("*.png")}, QDir::Files).size());
        }
        icotoolNs /= repetitions;
    }

    std::printf("icon groups: %zu, images in them: %zu, decode failures: %zu, repetitions: %d\n",
                groups.size(), images, failures, repetitions);
    std::printf("ours, chosen image per group:      %9.3f ms  %8.2f us per group\n", chosenNs / 1e6,
                chosenNs / 1e3 / static_cast<double>(groups.size()));
    std::printf("ours, every image decoded:         %9.3f ms  %8.2f us per image\n", allNs / 1e6,
                allNs / 1e3 / static_cast<double>(images));
    std::printf("  of which PNG-compressed images:  %9.3f ms  %8.2f us per image (%zu images)\n",
                pngDecodeNs / repetitions / 1e6,
                pngDecodeNs / repetitions / 1e3 / static_cast<double>(pngImages), pngImages);
    std::printf("ours, every image decoded + PNG:   %9.3f ms  %8.2f us per image\n", pngNs / 1e6,
                pngNs / 1e3 / static_cast<double>(images));
    if (pngs > 0) {
        std::printf("icotool -x, every image to PNG:    %9.3f ms  %8.2f us per image (%zu PNG files)\n",
                    icotoolNs / 1e6, icotoolNs / 1e3 / static_cast<double>(pngs), pngs);
        const double oursPerImage = allNs / static_cast<double>(images),
                     theirsPerImage = icotoolNs / static_cast<double>(pngs);
        std::printf("ratio icotool / ours per image: decode %.1fx, decode + PNG %.1fx\n",
                    theirsPerImage / oursPerImage, theirsPerImage / (pngNs / static_cast<double>(images)));
    } else {
        std::printf("icotool or wrestool not found: no comparison\n");
    }
    return failures == 0 ? 0 : 1;
}
