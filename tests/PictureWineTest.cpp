// Every bitmap, icon, cursor and icon or cursor group of Wine's x86-64 libraries decodes, and the
// images of the groups have the pixels that icoutils extract from the same group.
#include "Fixtures.h"
#include "formats/IconDirectory.h"
#include "imaging/ImageLoader.h"
#include "resources/ModuleCatalogue.h"
#include "system/ErrorReport.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QString kWineDir = QStringLiteral("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows");

QStringList WineModules() {
    QStringList paths;
    const QDir dir(kWineDir);
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
        paths << dir.filePath(name);
    return paths;
}

QString IdText(const ResourceId &id) {
    return id.isNumber() ? QString::number(*id.number) : id.name;
}

struct Counts {
    int files = 0, bitmaps = 0, icons = 0, cursors = 0, iconGroups = 0, cursorGroups = 0, pngImages = 0;
    QStringList failures;
};

// Decodes every resource of the picture types, in every language, as the image loader does.
void DecodeModule(const ModuleCatalogue &image, const QString &file, Counts &counts) {
    const auto typeId = [](std::uint16_t n) { return ResourceId::fromNumber(n); };
    for (const std::uint16_t type : std::initializer_list<std::uint16_t>{1, 2, 3, 12, 14}) {
        for (const ResourceId &name : image.Names(typeId(type))) {
            for (std::uint16_t language : image.Languages({typeId(type), name})) {
                const auto data = image.Bytes({typeId(type), name}, language);
                const QString where =
                    QStringLiteral("%1 type %2 name %3").arg(file).arg(type).arg(IdText(name));
                if (!data) {
                    counts.failures << where + QStringLiteral(": no data");
                    continue;
                }
                try {
                    switch (type) {
                    case 2:
                        ++counts.bitmaps;
                        if (LoadBitmapResource(*data, {}).isNull()) counts.failures << where;
                        break;
                    case 1:
                    case 3: {
                        ++(type == 1 ? counts.cursors : counts.icons);
                        const IconImage icon = DecodeIconResource(*data, type == 1);
                        if (icon.image.isNull()) counts.failures << where;
                        if (icon.imageBytes.startsWith("\x89PNG")) ++counts.pngImages;
                        break;
                    }
                    default: {
                        ++(type == 12 ? counts.cursorGroups : counts.iconGroups);
                        const std::uint16_t imageType = type == 12 ? 1 : 3;
                        std::vector<std::byte> chosen; // kept while the group decodes it
                        const IconImage icon =
                            LoadIconGroup(*data, type == 12,
                                          [&](std::uint16_t id) -> std::optional<std::span<const std::byte>> {
                                              auto found = image.Bytes({typeId(imageType), typeId(id)});
                                              if (!found) return std::nullopt;
                                              chosen = std::move(*found);
                                              return std::span<const std::byte>(chosen);
                                          });
                        if (icon.image.isNull()) counts.failures << where;
                        break;
                    }
                    }
                } catch (const ErrorReport &e) {
                    counts.failures << where + QStringLiteral(": code %1").arg(e.code());
                }
            }
        }
    }
}

// Pixels equal where they show: alpha everywhere, colour wherever alpha is not zero.
QString ComparePixels(const QImage &ours, const QImage &theirs) {
    if (ours.size() != theirs.size())
        return QStringLiteral("size %1x%2 against %3x%4")
            .arg(ours.width())
            .arg(ours.height())
            .arg(theirs.width())
            .arg(theirs.height());
    const QImage a = ours.convertToFormat(QImage::Format_ARGB32);
    const QImage b = theirs.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (qAlpha(p) != qAlpha(q) || (qAlpha(p) != 0 && (p & 0xFFFFFF) != (q & 0xFFFFFF)))
                return QStringLiteral("pixel %1,%2: %3 against %4")
                    .arg(x)
                    .arg(y)
                    .arg(p, 8, 16, QLatin1Char('0'))
                    .arg(q, 8, 16, QLatin1Char('0'));
        }
    return {};
}

QString TempWrite(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes) {
    QFile f(dir.filePath(name));
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
    return f.fileName();
}

bool RunTool(const QString &program, const QStringList &arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}
} // namespace

TEST(PictureWine, EveryPictureResourceOfTheX64LibrariesDecodes) {
    const QStringList modules = WineModules();
    if (modules.isEmpty()) GTEST_SKIP() << "Wine's libraries are not installed";
    Counts counts;
    for (const QString &path : modules) {
        const auto image = ModuleCatalogue::Open(path);
        if (!image) continue;
        ++counts.files;
        DecodeModule(*image, QFileInfo(path).fileName(), counts);
    }
    std::printf("[ wine     ] %d modules: %d bitmaps, %d icons (%d PNG), %d cursors, %d icon groups, %d "
                "cursor groups\n",
                counts.files, counts.bitmaps, counts.icons, counts.pngImages, counts.cursors,
                counts.iconGroups, counts.cursorGroups);
    std::fflush(stdout);
    EXPECT_TRUE(counts.failures.isEmpty()) << counts.failures.join(QLatin1Char('\n')).toStdString();
    // The libraries hold every kind: a walk that finds none of one has walked nothing.
    EXPECT_GT(counts.bitmaps, 0);
    EXPECT_GT(counts.icons, 0);
    EXPECT_GT(counts.cursors, 0);
    EXPECT_GT(counts.iconGroups, 0);
    EXPECT_GT(counts.cursorGroups, 0);
    EXPECT_GT(counts.pngImages, 0);
}

namespace {
// A cursor file of the group's images, each without its hotspot (which moves to the directory).
QByteArray CursorFile(const ModuleCatalogue &image, const IconDirectory &directory) {
    QByteArray header, images;
    auto put16 = [](QByteArray &out, std::uint32_t v) {
        out.append(static_cast<char>(v & 0xFF));
        out.append(static_cast<char>((v >> 8) & 0xFF));
    };
    auto put32 = [&](QByteArray &out, std::uint32_t v) {
        put16(out, v & 0xFFFF);
        put16(out, v >> 16);
    };
    put16(header, 0);
    put16(header, 2);
    put16(header, static_cast<std::uint32_t>(directory.entries.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(directory.entries.size());
    for (const IconDirEntry &e : directory.entries) {
        const auto data = image.Bytes(
            {ResourceId::fromNumber(1), ResourceId::fromNumber(static_cast<std::uint16_t>(e.idOrOffset))});
        if (!data || data->size() < 4) return {};
        const QByteArray bytes(reinterpret_cast<const char *>(data->data()),
                               static_cast<qsizetype>(data->size()));
        header.append(static_cast<char>(e.width >= 256 ? 0 : e.width));
        header.append(static_cast<char>(e.height >= 256 ? 0 : e.height));
        header.append('\0');
        header.append('\0');
        header.append(bytes.mid(0, 4)); // hotspot x and y
        put32(header, static_cast<std::uint32_t>(bytes.size() - 4));
        put32(header, offset);
        images.append(bytes.mid(4));
        offset += static_cast<std::uint32_t>(bytes.size() - 4);
    }
    return header + images;
}
} // namespace

TEST(PictureWine, GroupImagesMatchWhatIcoutilsExtracts) {
    const QString wrestool = QStandardPaths::findExecutable(QStringLiteral("wrestool"));
    const QString icotool = QStandardPaths::findExecutable(QStringLiteral("icotool"));
    const QStringList modules = WineModules();
    if (wrestool.isEmpty() || icotool.isEmpty() || modules.isEmpty())
        GTEST_SKIP() << "icoutils or Wine missing";
    int groups = 0, images = 0, chosen = 0;
    QStringList mismatches;
    for (const QString &path : modules) {
        const auto image = ModuleCatalogue::Open(path);
        if (!image) continue;
        const QString module = QFileInfo(path).fileName();
        const auto iconGroups = image->Names(ResourceId::fromNumber(14));
        const auto cursorGroups = image->Names(ResourceId::fromNumber(12));
        if (iconGroups.empty() && cursorGroups.empty()) continue;
        // Icon groups as wrestool rebuilds them into icon files; cursor groups as cursor files made
        // here, since wrestool writes their sizes 4 bytes too large and icotool refuses them.
        QTemporaryDir work;
        QStringList files;
        if (!iconGroups.empty()) {
            RunTool(wrestool,
                    {QStringLiteral("-x"), QStringLiteral("-t14"), QStringLiteral("-o"), work.path(), path});
            for (const QString &f : QDir(work.path()).entryList({QStringLiteral("*.ico")}, QDir::Files))
                files << work.filePath(f);
        }
        for (const ResourceId &name : cursorGroups)
            for (std::uint16_t language : image->Languages({ResourceId::fromNumber(12), name})) {
                const auto group = image->Bytes({ResourceId::fromNumber(12), name}, language);
                files << TempWrite(work,
                                   QStringLiteral("%1_12_%2_%3.cur").arg(module, IdText(name)).arg(language),
                                   CursorFile(*image, ReadGroupDirectory(*group, true)));
            }
        ASSERT_TRUE(
            RunTool(icotool, QStringList{QStringLiteral("-x"), QStringLiteral("-o"), work.path()} + files));

        for (const std::uint16_t type : std::initializer_list<std::uint16_t>{12, 14}) {
            const bool cursor = type == 12;
            for (const ResourceId &name : cursor ? cursorGroups : iconGroups) {
                for (std::uint16_t language : image->Languages({ResourceId::fromNumber(type), name})) {
                    const auto group = image->Bytes({ResourceId::fromNumber(type), name}, language);
                    ASSERT_TRUE(group.has_value());
                    ++groups;
                    const QString base =
                        QStringLiteral("%1_%2_%3_%4").arg(module).arg(type).arg(IdText(name)).arg(language);
                    const IconDirectory directory = ReadGroupDirectory(*group, cursor);
                    const auto choice = ChooseIconEntry(directory);
                    for (std::size_t i = 0; i < directory.entries.size(); ++i) {
                        const auto data = image->Bytes({ResourceId::fromNumber(cursor ? 1 : 3),
                                                        ResourceId::fromNumber(static_cast<std::uint16_t>(
                                                            directory.entries[i].idOrOffset))});
                        ASSERT_TRUE(data.has_value());
                        const IconImage ours = DecodeIconResource(*data, cursor);
                        // icotool names its files <file>_<index from 1>_<width>x<height>x<depth>.png.
                        const QStringList found =
                            QDir(work.path())
                                .entryList({QStringLiteral("%1_%2_*.png").arg(base).arg(i + 1)}, QDir::Files);
                        const QString where = QStringLiteral("%1 image %2").arg(base).arg(i + 1);
                        if (found.size() != 1) {
                            mismatches
                                << where + QStringLiteral(": icotool wrote %1 files").arg(found.size());
                            continue;
                        }
                        const QString difference = ComparePixels(ours.image, QImage(work.filePath(found[0])));
                        if (!difference.isEmpty()) mismatches << where + QStringLiteral(": ") + difference;
                        ++images;
                        if (choice && *choice == i) ++chosen;
                    }
                }
            }
        }
    }
    std::printf("[ icoutils ] %d groups, %d images compared, %d of them chosen for display\n", groups, images,
                chosen);
    EXPECT_TRUE(mismatches.isEmpty()) << mismatches.size() << " differences:\n"
                                      << mismatches.mid(0, 40).join(QLatin1Char('\n')).toStdString();
    EXPECT_GT(images, 0);
    EXPECT_EQ(chosen, groups);
}
