// zorvika-cli over every Windows library that Wine installs: list agrees with `wrestool -l` (types,
// names, languages, the size of the language the program shows), extract --raw writes exactly
// the bytes `wrestool -x --raw` gives for that language, and extract --ico the groups wrestool
// writes, made standard.
#include "CliRun.h"
#include "Fixtures.h"
#include "Wrestool.h"

#include "imaging/IconImage.h"
#include "pe/ResourceLanguage.h"
#include "resources/ModuleCatalogue.h"

#include <QColorSpace>
#include <QDir>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtEndian>
#include <gtest/gtest.h>
#include <set>

namespace {
QString Spelled(const QJsonObject &r, const char *key) {
    const QJsonValue id = r[QLatin1String(key) + QStringLiteral("Id")];
    return id.isNull() ? WrestoolSpelling(r[QLatin1String(key) + QStringLiteral("Name")].toString(), false)
                       : QString::number(id.toInt());
}
} // namespace

TEST(CliWine, ListAndRawExtractionMatchWrestool) {
    const QStringList files = QDir(kWineDir).entryList(QDir::Files, QDir::Name);
    if (files.isEmpty()) GTEST_SKIP() << "Wine's libraries are not installed";
    int compared = 0, resources = 0;
    for (const QString &file : files) {
        const QString path = kWineDir + QLatin1Char('/') + file;
        // Both runs of wrestool at once: its raw extraction is every resource in listing order.
        QProcess listing, extraction;
        listing.start(QStringLiteral("wrestool"), {QStringLiteral("-l"), path});
        extraction.start(QStringLiteral("wrestool"), {QStringLiteral("-x"), QStringLiteral("--raw"), path});
        extraction.setReadChannel(QProcess::StandardOutput);
        QByteArray raw;
        while (extraction.state() != QProcess::NotRunning) {
            extraction.waitForReadyRead(30000);
            raw += extraction.readAllStandardOutput();
        }
        raw += extraction.readAllStandardOutput();
        listing.waitForFinished(30000);
        const std::vector<WrestoolListed> expected = ParseWrestoolList(listing.readAllStandardOutput());
        if (expected.empty()) continue;
        const std::string where = file.toStdString();

        const CliRun list = RunCliHere({QStringLiteral("list"), QStringLiteral("--json"), path});
        ASSERT_EQ(list.status, 0) << where << list.err.toStdString();
        const QJsonArray listed = QJsonDocument::fromJson(list.out)[QStringLiteral("resources")].toArray();
        TempFiles out;
        const CliRun extract = RunCliHere(
            {QStringLiteral("extract"), path, QStringLiteral("--raw"), QStringLiteral("-o"), out.path()});
        ASSERT_EQ(extract.status, 0) << where << extract.err.toStdString();
        const QList<QByteArray> written = extract.out.split('\n').mid(0, listed.size());
        ASSERT_EQ(written.size(), listed.size()) << where;

        std::size_t line = 0;
        qsizetype offset = 0;
        for (qsizetype i = 0; i < listed.size(); ++i) {
            const QJsonObject r = listed[i].toObject();
            const QString type = Spelled(r, "type"), name = Spelled(r, "name");
            const std::string what = where + ' ' + type.toStdString() + ' ' + name.toStdString();
            QByteArray chosen;
            bool found = false;
            for (const QJsonValue language : r[QStringLiteral("languages")].toArray()) {
                ASSERT_LT(line, expected.size()) << what;
                const WrestoolListed &want = expected[line++];
                ASSERT_EQ(type, want.type) << what;
                // wrestool prints the type's name in place of a name under a named type.
                if (!r[QStringLiteral("typeId")].isNull() || !r[QStringLiteral("nameId")].isNull() ||
                    want.name != want.type) {
                    ASSERT_EQ(name, want.name) << what;
                }
                ASSERT_EQ(language.toInt(), want.language) << what;
                if (language == r[QStringLiteral("language")]) {
                    ASSERT_EQ(r[QStringLiteral("size")].toInt(), want.size) << what;
                    chosen = raw.mid(offset, want.size);
                    found = true;
                }
                offset += want.size;
            }
            ASSERT_TRUE(found) << what;
            EXPECT_EQ(ReadFileBytes(QString::fromUtf8(written[i])), chosen) << what;
            ++resources;
        }
        EXPECT_EQ(line, expected.size()) << where;
        EXPECT_EQ(offset, raw.size()) << where;
        ++compared;
    }
    std::printf("[ compared %d libraries, %d resources ]\n", compared, resources);
    EXPECT_GT(compared, 300);
}

namespace {
quint16 U16(const QByteArray &b, qsizetype at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}
quint32 U32(const QByteArray &b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}

// What one icon or cursor file's directory says, entry by entry (16 bytes each).
struct FileEntry {
    int width, height, colors, reserved, planesOrX, bitsOrY;
    quint32 bytes, offset;
};
std::vector<FileEntry> Entries(const QByteArray &file) {
    std::vector<FileEntry> out;
    for (qsizetype i = 0, n = file.size() >= 6 ? U16(file, 4) : 0; i < n && 6 + 16 * (i + 1) <= file.size(); ++i) {
        const qsizetype at = 6 + 16 * i;
        out.push_back({static_cast<quint8>(file[at]), static_cast<quint8>(file[at + 1]),
                       static_cast<quint8>(file[at + 2]), static_cast<quint8>(file[at + 3]), U16(file, at + 4),
                       U16(file, at + 6), U32(file, at + 8), U32(file, at + 12)});
    }
    return out;
}
} // namespace

// Every icon and cursor group of Wine's libraries, written whole by extract --ico, beside what
// `wrestool -x` writes for the same group in the same language. Ours holds the same images as
// theirs, byte for byte, and nothing after the last one; theirs has as many bytes more as the
// group's directory holds, of no fixed content (two runs over one group differ there). Icon
// entries are theirs exactly. Cursor entries take their height from the image (Wine's cursor
// groups do not count the mask in it; wrestool halves it all the same), count two colours for a
// 1-bit image, as an icon entry does, and give the size of the image they store, where wrestool
// gives the resource's, which counts the hotspot too (icotool refuses its files for that). Ours
// are read back whole by icotool, and by Qt as the images the module holds, but for two limits of
// Qt's reader, counted: it leaves the mask of a 24-bit image unapplied, and refuses a DIB of more
// than 256 pixels a side.
TEST(CliWine, WholeGroupsAreWrestoolsFilesMadeStandard) {
    const QStringList files = QDir(kWineDir).entryList(QDir::Files, QDir::Name);
    if (files.isEmpty()) GTEST_SKIP() << "Wine's libraries are not installed";
    std::map<std::string, int> counts;
    for (const QString &file : files) {
        const QString path = kWineDir + QLatin1Char('/') + file;
        const auto module = ModuleCatalogue::Open(path);
        if (!module) continue;
        for (const int type : {14, 12}) {
            const bool cursor = type == 12;
            const ResourceId groupType = ResourceId::fromNumber(static_cast<std::uint16_t>(type));
            if (module->Names(groupType).empty()) continue;
            TempFiles ours, theirs;
            const CliRun run = RunCliHere({QStringLiteral("extract"), path, QStringLiteral("--ico"), QStringLiteral("-t"),
                                           QString::number(type), QStringLiteral("-o"), ours.path()});
            ASSERT_EQ(run.status, 0) << file.toStdString() << run.err.toStdString();
            QProcess wrestool;
            wrestool.start(QStringLiteral("wrestool"), {QStringLiteral("-x"), QStringLiteral("-t%1").arg(type),
                                                        QStringLiteral("-o"), theirs.path(), path});
            ASSERT_TRUE(wrestool.waitForFinished(60000));
            for (const ResourceId &name : module->Names(groupType)) {
                const ResourceEntry group{groupType, name};
                const auto languages = module->Languages(group);
                const std::uint16_t language = languages[PreferredLanguageIndex(languages)];
                const QString id = name.isNumber() ? QString::number(*name.number) : name.name;
                const std::string where = file.toStdString() + " " + std::to_string(type) + "/" + id.toStdString();
                const QString extension = cursor ? QStringLiteral(".cur") : QStringLiteral(".ico");
                const QByteArray mine = ReadFileBytes(ours.path() + QStringLiteral("/%1_%2").arg(type).arg(id) + extension);
                const QByteArray wrestools =
                    ReadFileBytes(theirs.path() + QStringLiteral("/%1_%2_%3_%4").arg(file).arg(type).arg(id).arg(language) + extension);
                ASSERT_FALSE(mine.isEmpty()) << where;
                ASSERT_FALSE(wrestools.isEmpty()) << where;
                ++counts["groups compared"];
                const auto groupBytes = *module->Bytes(group);
                const qsizetype count = U16(mine, 4);
                const std::vector<FileEntry> a = Entries(mine), b = Entries(wrestools);
                ASSERT_EQ(a.size(), static_cast<std::size_t>(count)) << where;
                ASSERT_EQ(b.size(), a.size()) << where;
                ASSERT_EQ(mine.left(6), wrestools.left(6)) << where;
                ASSERT_EQ(static_cast<qsizetype>(a.back().offset + a.back().bytes), mine.size()) << where;
                if (mine == wrestools) {
                    ++counts["identical"];
                    continue;
                }
                std::set<std::string> fields;
                if (wrestools.size() - mine.size() == static_cast<qsizetype>(groupBytes.size()))
                    fields.insert("wrestool's tail of the group's size");
                else
                    fields.insert("length");
                for (std::size_t i = 0; i < a.size(); ++i) {
                    // The same image at the same place.
                    ASSERT_EQ(a[i].offset, b[i].offset) << where << " " << i;
                    ASSERT_EQ(mine.mid(a[i].offset, a[i].bytes), wrestools.mid(b[i].offset, a[i].bytes)) << where << " " << i;
                    const std::pair<const char *, bool> differs[] = {
                        {"width", a[i].width != b[i].width},          {"height", a[i].height != b[i].height},
                        {"colour count", a[i].colors != b[i].colors},   {"reserved", a[i].reserved != b[i].reserved},
                        {"planes or hotspot x", a[i].planesOrX != b[i].planesOrX},
                        {"bit count or hotspot y", a[i].bitsOrY != b[i].bitsOrY}, {"bytes", a[i].bytes != b[i].bytes}};
                    for (const auto &[field, differ] : differs)
                        if (differ) fields.insert(field);
                    if (!cursor) continue;
                    // The image's own height and depth, read from its DIB header (PNG cursors have none here).
                    const QByteArray image = mine.mid(a[i].offset, a[i].bytes);
                    ASSERT_EQ(U32(image, 0), 40u) << where;
                    EXPECT_EQ(a[i].height, static_cast<int>(U32(image, 8) / 2) % 256) << where;
                    const int bits = U16(image, 14);
                    EXPECT_EQ(a[i].colors, bits < 8 ? 1 << bits : 0) << where;
                    EXPECT_EQ(b[i].bytes, a[i].bytes + 4) << where;
                }
                std::string kind = cursor ? "cursor: " : "icon: ";
                for (const std::string &field : fields)
                    kind += field + "; ";
                ++counts[kind];
                if (!cursor) {
                    EXPECT_EQ(fields, std::set<std::string>{"wrestool's tail of the group's size"}) << where;
                }
                EXPECT_TRUE(fields.count("wrestool's tail of the group's size")) << where;

                // Read back by icotool, every entry, and by Qt, as the images the module holds.
                QProcess icotool;
                TempFiles copy;
                const QString made = copy.Write(QStringLiteral("made") + extension, mine);
                icotool.start(QStringLiteral("icotool"), {QStringLiteral("-l"), made});
                ASSERT_TRUE(icotool.waitForFinished(30000));
                EXPECT_EQ(icotool.exitCode(), 0) << where << icotool.readAllStandardError().toStdString();
                EXPECT_EQ(icotool.readAllStandardOutput().count(cursor ? "--cursor" : "--icon"), count) << where;
                QImageReader reader(made);
                ASSERT_EQ(reader.imageCount(), count) << where;
                for (int i = 0; i < count; ++i) {
                    ASSERT_TRUE(reader.jumpToImage(i)) << where;
                    // As they are drawn: colour and alpha premultiplied, so that a translucent pixel
                    // compares by what it puts on the screen, whichever form it was made in.
                    QImage read = reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
                    // The pixels are compared; the colour space a PNG names is carried, not applied.
                    read.setColorSpace(QColorSpace());
                    const std::uint16_t imageId = qFromLittleEndian<quint16>(groupBytes.data() + 6 + 14 * i + 12);
                    const auto resource = *module->Bytes({ResourceId::fromNumber(cursor ? 1 : 3), ResourceId::fromNumber(imageId)});
                    const QImage decoded = DecodeIconResource(resource, cursor).image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
                    const QByteArray stored = mine.mid(a[i].offset, a[i].bytes);
                    if (read.isNull()) {
                        // Qt's reader takes no DIB of more than 256 pixels a side (icotool does).
                        EXPECT_FALSE(stored.startsWith("\x89PNG")) << where << " image " << i;
                        EXPECT_TRUE(decoded.width() > 256 || decoded.height() > 256) << where << " image " << i;
                        ++counts["images Qt's reader refuses: DIBs past 256 pixels"];
                        continue;
                    }
                    QImage expected = decoded;
                    if (!stored.startsWith("\x89PNG") && U16(stored, 14) == 24) {
                        // Qt's reader leaves a 24-bit image's mask unapplied: what the mask clears
                        // stays the opaque black of its colour bits.
                        for (int y = 0; y < expected.height(); ++y)
                            for (int x = 0; x < expected.width(); ++x)
                                if (qAlpha(expected.pixel(x, y)) == 0) expected.setPixel(x, y, 0xFF000000u);
                        ++counts["24-bit images Qt's reader reads without their mask"];
                    }
                    EXPECT_EQ(read, expected) << where << " image " << i;
                    ++counts["images read back by Qt"];
                }
                ++counts["read back by icotool and Qt"];
            }
        }
    }
    for (const auto &[what, n] : counts)
        std::printf("[ %s: %d ]\n", what.c_str(), n);
    EXPECT_GT(counts["groups compared"], 200);
}
