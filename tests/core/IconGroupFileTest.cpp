// A whole group made into a file from hostile bytes: every way a group or its images can be wrong
// raises its failure, and no group, however it repeats an image, makes a file past the bound.
#include "formats/IconGroupFile.h"
#include "system/ErrorReport.h"

#include <QtEndian>
#include <gtest/gtest.h>
#include <map>

namespace {
std::vector<std::byte> Bytes(const QByteArray &b) {
    const auto *p = reinterpret_cast<const std::byte *>(b.constData());
    return {p, p + b.size()};
}

// A group header and `ids.size()` 14-byte entries naming those identifiers.
QByteArray Group(std::uint16_t type, const std::vector<std::uint16_t> &ids) {
    QByteArray g(6 + 14 * static_cast<qsizetype>(ids.size()), '\0');
    qToLittleEndian<quint16>(type, g.data() + 2);
    qToLittleEndian<quint16>(static_cast<quint16>(ids.size()), g.data() + 4);
    for (std::size_t i = 0; i < ids.size(); ++i)
        qToLittleEndian<quint16>(ids[i], g.data() + 6 + 14 * i + 12);
    return g;
}

// The failure code IconGroupFile raises, or 0 when it makes a file.
int Outcome(const QByteArray &group, bool cursor, const std::map<std::uint16_t, QByteArray> &images) {
    try {
        IconGroupFile(Bytes(group), cursor, [&](std::uint16_t id) -> std::optional<std::vector<std::byte>> {
            const auto at = images.find(id);
            if (at == images.end()) return std::nullopt;
            return Bytes(at->second);
        });
        return 0;
    } catch (const ErrorReport &failure) {
        return failure.code();
    }
}
} // namespace

TEST(IconGroupFile, EveryWrongGroupRaisesItsFailure) {
    const QByteArray dib = [] {
        QByteArray d(40 + 8 + 4 + 4, '\0'); // 1 x 1, 1 bit: header, two colours, a row, a mask row
        qToLittleEndian<quint32>(40, d.data());
        qToLittleEndian<qint32>(1, d.data() + 4);
        qToLittleEndian<qint32>(2, d.data() + 8);
        qToLittleEndian<quint16>(1, d.data() + 12);
        qToLittleEndian<quint16>(1, d.data() + 14);
        return d;
    }();
    const QByteArray cursor = QByteArray("\x01\x00\x02\x00", 4) + dib;
    const int invalid = ErrorReport::InvalidPicture, outside = ErrorReport::OutOfRange;
    const struct {
        const char *what;
        QByteArray group;
        bool cursor;
        std::map<std::uint16_t, QByteArray> images;
        int code;
    } rows[] = {
        {"an icon", Group(1, {7}), false, {{7, dib}}, 0},
        {"a cursor", Group(2, {7}), true, {{7, cursor}}, 0},
        {"no images", Group(1, {}), false, {}, invalid},
        {"a cursor group read as icons", Group(2, {7}), false, {{7, dib}}, invalid},
        {"reserved word set", QByteArray("\x01") + Group(1, {7}).mid(1), false, {{7, dib}}, invalid},
        {"an image missing", Group(1, {7, 8}), false, {{7, dib}}, invalid},
        {"an empty image", Group(1, {7}), false, {{7, QByteArray()}}, invalid},
        {"a cursor without its hotspot", Group(2, {7}), true, {{7, QByteArray("\x01\x00", 2)}}, outside},
        {"a cursor of a hotspot alone", Group(2, {7}), true, {{7, cursor.left(4)}}, invalid},
        {"a cursor whose header is cut", Group(2, {7}), true, {{7, cursor.left(10)}}, outside},
        {"entries cut short", Group(1, {7, 7}).chopped(3), false, {{7, dib}}, outside},
        // One image of 8 MiB named 40 times: past the bound, refused before any is kept.
        {"an image repeated past the bound", Group(1, std::vector<std::uint16_t>(40, 7)), false,
         {{7, QByteArray(8 << 20, 'x')}}, ErrorReport::OutOfMemory},
    };
    for (const auto &row : rows)
        EXPECT_EQ(Outcome(row.group, row.cursor, row.images), row.code) << row.what;
}
